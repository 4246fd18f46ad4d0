#include "worksheet/RunWorksheet.h"

#include "network/ConfidenceRating.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <cmath>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

// "Trg/In" in column 1 with 60 rows; sections 40/10/10 and taps 5. The stored
// parameters are kept (automatic training configuration off) and the runs kept short.
struct TrainSheet : RunWorksheet {
    explicit TrainSheet(bool twoPass = false, int mode = ResultsModeEvaluate, int rows = 60)
        : RunWorksheet(twoPass, mode)
    {
        Role(1, "Trg/In");
        Column(1, TestSeries(rows));
        Counts(40, 10, mode == ResultsModeEvaluate ? 10 : 0, 5);
        ws->network.autoTrainingConfigure = 0;
        ws->network.maxCycles = 5;
        ws->network.iterationsPerCycle = 2;
    }
    CBackpropNet& Net() { return ws->Network().net; }
};

struct Recorder final : TrainingProgress {
    int shown = 0;
    std::vector<int> cycles;
    int confidences = 0;
    void Show() override { ++shown; }
    void ReportCycle(int cycle, int, double, double) override { cycles.push_back(cycle); }
    void ShowConfidence(float, float) override { ++confidences; }
};

std::vector<std::string> ResultColumn(const RunWorksheet& sheet, int col, int rows)
{
    std::vector<std::string> texts;
    for (int r = 0; r < rows; ++r)
        texts.push_back(sheet.Cell(r, col));
    return texts;
}

} // namespace

TEST(TrainingRun, TrainsWritesResultsAndReportsEveryCycle)
{
    TrainSheet sheet;
    Recorder progress;
    TrainingOutcome outcome;
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, &progress, &outcome));
    EXPECT_TRUE(sheet.messages.entries.empty());
    EXPECT_EQ(sheet.ws->state, WorksheetState::Trained);
    EXPECT_EQ(sheet.Header(kStateRow, kStateColumn), "Trained");
    EXPECT_TRUE(sheet.ws->IsModified());
    EXPECT_EQ(progress.shown, 1);
    EXPECT_EQ(progress.confidences, 1);
    EXPECT_EQ(static_cast<int>(progress.cycles.size()), outcome.cycles);
    EXPECT_GE(outcome.updates, 1);
    // Automatic shape: 5 taps x 1 input set, half as many hidden units, one output.
    EXPECT_EQ(sheet.Net().BuiltShape().Inputs(), 5);
    EXPECT_EQ(sheet.Net().BuiltShape().unitsPerLayer[1], 2);
    EXPECT_TRUE(sheet.ws->phaseOffset == 0 || sheet.ws->phaseOffset == -1);
    EXPECT_EQ(sheet.Cell(4, 3), "."); // "Val:Slope" created next to "Val:Est"
    EXPECT_NE(sheet.Cell(20, 2), "0.000");
    EXPECT_NE(sheet.Header(kSlopeFmRow, kStateColumn), "0");
}

TEST(TrainingRun, TwoFreshRunsAreIdentical)
{
    TrainSheet a(true), b(true);
    ASSERT_TRUE(TrainWorksheet(*a.ws, nullptr));
    const std::vector<double> first = a.Net().WeightsInOrder();
    ASSERT_TRUE(TrainWorksheet(*b.ws, nullptr));
    EXPECT_EQ(b.Net().WeightsInOrder(), first);
    EXPECT_EQ(ResultColumn(a, 2, 60), ResultColumn(b, 2, 60));
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(a.Header(row, kFigureColumn), b.Header(row, kFigureColumn));
    // Training one worksheet leaves the other's network alone.
    EXPECT_EQ(a.Net().WeightsInOrder(), first);
}

TEST(TrainingRun, RefusalsLeaveNetworkParametersAndModeAlone)
{
    struct Case {
        const char* name;
        std::function<void(TrainSheet&)> setup;
        std::string message;
    } cases[] = {
        {"no testing rows", [](TrainSheet& s) { s.Counts(40, 0, 10, 5); },
         "Error: Training or Testing Section Size = 0"},
        {"negative eval", [](TrainSheet& s) { s.Counts(40, 10, -2, 5); },
         "Error: Num Eval Must Not Be Negative"},
        {"no window", [](TrainSheet& s) { s.Counts(40, 10, 10, 0); }, "Error: Num Taps Must Be At Least 1"},
        {"too many inputs", [](TrainSheet& s) { s.Counts(40, 10, 10, 201); },
         "Error: Too Many Inputs to Network, Maximum = 200"},
        {"too many hidden units",
         [](TrainSheet& s) {
             s.ws->network.autoNetworkConfigure = 0;
             s.ws->network.layerCount = 3;
             s.ws->network.unitsPerLayer = {5, 201, 1};
         },
         "Error: Too Many Units in Network Layer, Maximum = 200"},
        {"too many layers",
         [](TrainSheet& s) {
             s.ws->network.autoNetworkConfigure = 0;
             s.ws->network.layerCount = 9;
             s.ws->network.unitsPerLayer = {5, 4, 4, 4, 4, 4, 4, 4, 1};
         },
         "Error: Too Many Layers in Network, Maximum = 8"},
        {"window as long as training", [](TrainSheet& s) { s.Counts(40, 10, 10, 40); },
         "Error: Num Taps Must Be Less Than Num Training"},
        {"shape does not take the window",
         [](TrainSheet& s) {
             s.ws->network.autoNetworkConfigure = 0;
             s.ws->network.layerCount = 3;
             s.ws->network.unitsPerLayer = {7, 3, 1};
         },
         "Error: Network Inputs Must Equal Num Taps x Input Sets (5)"},
        {"outputs past the sections",
         [](TrainSheet& s) {
             s.Counts(40, 20, 0, 5);
             s.ws->network.autoNetworkConfigure = 0;
             s.ws->network.layerCount = 3;
             s.ws->network.unitsPerLayer = {5, 3, 2};
         },
         "Error: Too Many Network Outputs For The Rows After Testing"},
        {"no target", [](TrainSheet& s) { s.Role(1, "Input"); }, "Error: No Target Sets Defined"},
    };
    for (const Case& c : cases) {
        TrainSheet sheet;
        sheet.settings.use2PassEstimate = false;
        sheet.ws->network.autoTrainingConfigure = 1; // would reset the parameters and the mode
        c.setup(sheet);
        EXPECT_FALSE(TrainWorksheet(*sheet.ws, nullptr)) << c.name;
        EXPECT_EQ(sheet.messages.Texts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_FALSE(sheet.Net().IsBuilt()) << c.name;
        EXPECT_EQ(sheet.Net().abortRequested, 1) << c.name;
        EXPECT_EQ(sheet.Net().parameters.maxCycles, 5) << c.name;
        EXPECT_FALSE(sheet.settings.use2PassEstimate) << c.name;
        EXPECT_EQ(sheet.ws->state, WorksheetState::Init) << c.name;
    }
}

TEST(TrainingRun, ContinueWorksOnTheTrainedWorksheetOnly)
{
    TrainSheet sheet;
    EXPECT_FALSE(ContinueTraining(*sheet.ws, nullptr));
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
    const std::vector<double> before = sheet.Net().WeightsInOrder();
    sheet.ws->SetModified(false);
    Recorder progress;
    sheet.Net().abortRequested = 1; // Abort then Continue: exactly one cycle
    ASSERT_TRUE(ContinueTraining(*sheet.ws, &progress));
    EXPECT_EQ(progress.cycles, std::vector<int>{0});
    EXPECT_EQ(progress.confidences, 1);
    EXPECT_NE(sheet.Net().WeightsInOrder(), before);
    EXPECT_FALSE(sheet.ws->IsModified());
    EXPECT_EQ(sheet.ws->state, WorksheetState::Trained);
}

TEST(TrainingRun, ClearAndAutoConfigAskFirst)
{
    TrainSheet sheet;
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
    sheet.messages.answer = false;
    EXPECT_FALSE(ClearTraining(*sheet.ws));
    EXPECT_EQ(sheet.ws->state, WorksheetState::Trained);
    sheet.messages.answer = true;
    EXPECT_TRUE(ClearTraining(*sheet.ws));
    EXPECT_EQ(sheet.ws->state, WorksheetState::Init);
    EXPECT_EQ(sheet.Header(kSlopeFmRow, kStateColumn), "0");
    EXPECT_TRUE(AutoConfigVectors(*sheet.ws));
    EXPECT_EQ(sheet.ws->counts.numTraining, 40);
    EXPECT_EQ(sheet.ws->counts.numTesting, 10);
    EXPECT_EQ(sheet.messages.Texts(),
              (std::vector<std::string>{"Proceed With Reset of Training State?",
                                        "Proceed With Reset of Training State?",
                                        "Proceed With Automatic Configuration of Vector Sets?"}));
}

TEST(ConfidenceRating, Boundaries)
{
    struct Case {
        double x;
        const char* rating;
        int bar;
    } cases[] = {{70.0, "Fair", 70}, {70.5, "High", 70}, {30.0, "Poor", 30}, {30.01, "Fair", 30},
                 {0.5, "Poor", 0},   {-12.7, "Poor", -12}, {std::nan(""), "Poor", 0}, {HUGE_VAL, "Poor", INT_MAX}};
    for (const Case& c : cases) {
        EXPECT_STREQ(RateConfidence(c.x), c.rating) << c.x;
        EXPECT_EQ(ConfidenceBarPosition(c.x), c.bar) << c.x;
    }
}

// Continue after the header counts changed trains on the vectors of the run and writes
// results for the new counts without reading or writing past the worksheet.
TEST(TrainingRun, ContinueAfterTheCountsChanged)
{
    for (int training : {3, 900, 20000}) {
        TrainSheet sheet;
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
        sheet.Counts(training, 10, 10, 2);
        EXPECT_TRUE(ContinueTraining(*sheet.ws, nullptr)) << training;
        EXPECT_EQ(sheet.ws->state, WorksheetState::Init) << training; // the edit reset it
    }
}
