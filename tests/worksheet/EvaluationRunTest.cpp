#include "worksheet/RunWorksheet.h"

#include "worksheet/EvaluationRun.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

struct EvalSheet : RunWorksheet {
    explicit EvalSheet(int mode = ResultsModeEvaluate, bool twoPass = true) : RunWorksheet(twoPass, mode)
    {
        Role(1, "Trg/In");
        Role(2, "Input");
        Column(1, TestSeries(60));
        Column(2, TestSeries(60, 0.5));
        Counts(40, 10, mode == ResultsModeEvaluate ? 10 : 0, 4);
        if (mode == ResultsModeExtrapolate)
            ws->ApplyCellEdit(kNumTestingRow, kValueColumn, "20");
        ws->network.autoTrainingConfigure = 0;
        ws->network.maxCycles = 4;
        ws->network.iterationsPerCycle = 2;
    }
    std::vector<std::string> Column(int col, int rows) const
    {
        std::vector<std::string> texts;
        for (int r = 0; r < rows; ++r)
            texts.push_back(Cell(r, col));
        return texts;
    }
    using RunWorksheet::Column;
};

} // namespace

TEST(EvaluationRun, RefusedInStateInit)
{
    EvalSheet sheet;
    EXPECT_FALSE(EvaluateWorksheet(*sheet.ws));
    EXPECT_EQ(sheet.messages.Texts(), std::vector<std::string>{"Error: Orvalis not Trained"});
    EXPECT_EQ(sheet.Header(kNumTrainingRow, kValueColumn), "40");
    EXPECT_EQ(sheet.Header(kRoleRow, 3), "No Data"); // not even a role scan
}

TEST(EvaluationRun, EvaluatesTheEvaluateRowsAndShowsTheEstimate)
{
    EvalSheet sheet;
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
    sheet.ws->SetModified(false);
    EstimateFigures figures;
    ASSERT_TRUE(EvaluateWorksheet(*sheet.ws, &figures));
    EXPECT_TRUE(sheet.messages.entries.empty());
    EXPECT_EQ(sheet.ws->state, WorksheetState::Eval);
    EXPECT_EQ(sheet.Header(kStateRow, kStateColumn), "Eval");
    EXPECT_FALSE(sheet.ws->IsModified());
    EXPECT_TRUE(figures.show);
    EXPECT_EQ(figures.intervalLength, 10);
    EXPECT_EQ(figures.slopeConfidence, sheet.ws->statistics.slopeFM);
    EXPECT_EQ(sheet.ws->extrapolationCount, sheet.ws->phaseOffset == -1 ? 1 : 0);
    EXPECT_EQ(sheet.Cell(10, 3), "0.000"); // training rows show zeros now
    EXPECT_NE(sheet.Cell(55, 3), "0.000");
    // The network is not changed: a second evaluation writes the same.
    const std::vector<std::string> first = sheet.Column(3, 60);
    ASSERT_TRUE(EvaluateWorksheet(*sheet.ws, &figures));
    EXPECT_EQ(sheet.Column(3, 60), first);
}

TEST(EvaluationRun, ExtrapolationRestoresTheUsersCells)
{
    for (int phase : {0, -1}) {
        EvalSheet sheet(ResultsModeExtrapolate);
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
        sheet.ws->phaseOffset = phase;
        // The scratch rows hold the user's own texts in one column and nothing in the other.
        for (int r = 60; r < 70; ++r)
            sheet.Text(r, 1, "kept " + std::to_string(r));
        for (int r = 60; r < 70; ++r)
            sheet.Text(r, 2, "");
        const std::vector<std::string> trgIn = sheet.Column(1, 80);
        const std::vector<std::string> input = sheet.Column(2, 80);
        ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
        EXPECT_EQ(sheet.ws->extrapolationCount, phase == -1 ? 6 : 5);
        EXPECT_EQ(sheet.Column(1, 80), trgIn) << phase;
        EXPECT_EQ(sheet.Column(2, 80), input) << phase;
        // The extended series shows through "Val:Est" on the five extrapolated rows.
        for (int r = 60; r < 65; ++r)
            EXPECT_NE(sheet.Cell(r, 3), "") << r;
        EXPECT_EQ(sheet.Cell(65, 3), "");
        EXPECT_EQ(sheet.Header(1, kFigureColumn), "---");
        // The first extended value continues the series in the target's units.
        const double last = ReadNumberText(sheet.Cell(59, 1));
        EXPECT_NEAR(ReadNumberText(sheet.Cell(60, 3)), last, 40.0);
    }
}

TEST(EvaluationRun, RefusalsBeforeTheNetworkIsUsed)
{
    {
        // A role scan that finds another input count: the network no longer fits.
        EvalSheet sheet;
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
        sheet.Role(3, "Input");
        sheet.Column(3, TestSeries(60, 2.0));
        EXPECT_FALSE(EvaluateWorksheet(*sheet.ws));
        EXPECT_EQ(sheet.messages.Texts(),
                  std::vector<std::string>{"Error: Network Inputs Must Equal Num Taps x Input Sets (12)"});
    }
    {
        // A window longer than the Training and Testing rows.
        EvalSheet sheet;
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
        sheet.ws->counts.numTraining = 2;
        sheet.ws->counts.numTesting = 1;
        EXPECT_FALSE(EvaluateWorksheet(*sheet.ws));
        EXPECT_EQ(sheet.messages.Texts(),
                  std::vector<std::string>{"Error: Num Taps Exceeds Num Training + Num Testing"});
    }
    // A window exactly as long as the Training and Testing rows fits, unless the phase
    // offset -1 moves it one row before the first data row.
    for (int phase : {0, 100, -1}) {
        EvalSheet sheet(ResultsModeExtrapolate);
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
        sheet.ws->counts.numTraining = 3;
        sheet.ws->counts.numTesting = 1;
        sheet.ws->counts.totalRows = 4;
        sheet.ws->phaseOffset = phase;
        EXPECT_EQ(EvaluateWorksheet(*sheet.ws), phase != -1) << phase;
        EXPECT_EQ(sheet.messages.Texts(),
                  phase == -1 ? std::vector<std::string>{"Error: Num Taps Exceeds Num Training + Num Testing"}
                              : std::vector<std::string>{})
            << phase;
    }
    {
        // The extension would pass the last grid row of a worksheet that may not grow.
        EvalSheet sheet(ResultsModeExtrapolate);
        sheet.ws->maxRows = 1001;
        const int capacity = 1001 - sheet.ws->firstDataRow;
        sheet.Column(1, TestSeries(capacity));
        sheet.Column(2, TestSeries(capacity, 0.5));
        sheet.Counts(600, capacity - 602, 0, 4);
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
        const std::vector<std::string> before = sheet.Column(3, capacity);
        EXPECT_FALSE(EvaluateWorksheet(*sheet.ws));
        EXPECT_EQ(sheet.messages.Texts(),
                  std::vector<std::string>{"Error: Extrapolation Runs Past the Last Worksheet Row"});
        EXPECT_EQ(sheet.Column(3, capacity), before);
        EXPECT_EQ(sheet.ws->state, WorksheetState::Trained);
    }
}

// A network whose weights are not numbers predicts "nan": the first extended row does not
// extract, and the evaluation ends there with that message, the user's scratch cells and
// the last evaluation's results as they were.
TEST(EvaluationRun, ExtrapolationStopsAtARowThatDoesNotExtract)
{
    for (int phase : {0, -1}) {
        EvalSheet sheet(ResultsModeExtrapolate);
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
        sheet.ws->phaseOffset = phase;
        ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
        const int count = sheet.ws->extrapolationCount;
        CBackpropNet& net = sheet.ws->Network().net;
        std::vector<float> weights = net.ExportWeights();
        std::fill(weights.begin(), weights.end(), std::numeric_limits<float>::quiet_NaN());
        net.ImportWeights(weights.data());
        for (int r = 60; r < 70; ++r)
            sheet.Text(r, 1, "kept " + std::to_string(r));
        const std::vector<std::string> trgIn = sheet.Column(1, 80);
        const std::vector<std::string> input = sheet.Column(2, 80);
        const std::vector<std::string> results = sheet.Column(3, 80);
        sheet.messages.entries.clear();

        EXPECT_FALSE(EvaluateWorksheet(*sheet.ws)) << phase;
        ASSERT_EQ(sheet.messages.entries.size(), 1u) << phase;
        EXPECT_NE(sheet.messages.Texts().front().find("Non-Numeric"), std::string::npos);
        EXPECT_EQ(sheet.Column(1, 80), trgIn) << phase;
        EXPECT_EQ(sheet.Column(2, 80), input) << phase;
        EXPECT_EQ(sheet.Column(3, 80), results) << phase;
        EXPECT_EQ(sheet.ws->extrapolationCount, count);
        EXPECT_EQ(sheet.ws->state, WorksheetState::Eval);
    }
}

TEST(EvaluationRun, SavedTrainedWorksheetEvaluatesWithTheSameNetwork)
{
    EvalSheet sheet;
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
    const std::vector<float> weights = sheet.ws->Network().net.ExportWeights();
    ExportNetworkRecord(*sheet.ws);
    const std::vector<std::uint8_t> bytes = WorksheetFileBytes(*sheet.ws);

    RunWorksheet loaded;
    loaded.settings = sheet.settings;
    ASSERT_TRUE(LoadWorksheetBytes(*loaded.ws, bytes.data(), bytes.size()));
    EXPECT_EQ(loaded.ws->state, WorksheetState::Trained);
    EXPECT_EQ(loaded.ws->Network().net.ExportWeights(), weights);
    ASSERT_TRUE(EvaluateWorksheet(*loaded.ws));
    EXPECT_EQ(loaded.ws->state, WorksheetState::Eval);
    EXPECT_TRUE(loaded.messages.entries.empty());
}

// A "Target" column that is not an input is copied down in the scratch rows like the
// inputs, so the extended rows extract without a message, and it gets its cells back.
TEST(EvaluationRun, ExtrapolationWithASeparateTargetColumn)
{
    EvalSheet sheet(ResultsModeExtrapolate);
    sheet.Role(1, "Target");
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
    sheet.Text(61, 1, "user text");
    const std::vector<std::string> before = sheet.Column(1, 80);
    ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
    EXPECT_TRUE(sheet.messages.entries.empty()) << sheet.messages.Texts().front();
    EXPECT_EQ(sheet.Column(1, 80), before);
    EXPECT_NE(sheet.Cell(60, 3), "");
}
