#include "RunWorksheet.h"

#include "worksheet/Extrapolation.h"
#include "worksheet/ResultStatistics.h"
#include "worksheet/VectorSets.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

enum Col { kTrgIn = 1, kValEst, kValSlope, kErrValue, kErrSlope, kErrSign };

// Sections 30/10/5 with taps 5 and every result column; targets and predictions are
// set directly in the scaled space.
struct ResultSheet : RunWorksheet {
    explicit ResultSheet(int mode = ResultsModeEvaluate) : RunWorksheet(false, mode)
    {
        const char* roles[] = {"", "Trg/In", "Val:Est", "Val:Slope", "Err:Value", "Err:Slope", "Err:Sign"};
        for (int c = kTrgIn; c <= kErrSign; ++c)
            Role(c, roles[c]);
        Column(kTrgIn, TestSeries(45));
        Counts(30, 10, 5, 5);
        EXPECT_TRUE(ws->ScanColumnRoles());
        ws->vectors.trainingTargetScale = {0.0f, 100.0f, 0.5f};
        ws->vectors.evaluationTargetScale = {0.0f, 100.0f, 0.5f};
    }
    void Fill(const std::function<double(int)>& target, const std::function<float(int)>& prediction,
              std::vector<float>& predictions)
    {
        for (int i = 0; i < 60; ++i) {
            ws->vectors.Target(0)[i] = target(i);
            predictions[static_cast<std::size_t>(i)] = prediction(i);
        }
    }
};

} // namespace

TEST(ResultStatistics, SlopeFigureOfMeritCountsTheRangeOverN)
{
    ResultSheet sheet;
    // Both rising everywhere: every row of 5..38 matches with either phase; the tie
    // reads the output one row later.
    sheet.Fill([](int i) { return 0.1 + 0.01 * i; }, [](int i) { return 0.2f + 0.005f * i; },
               sheet.ws->trainingPredictions);
    WriteTrainingResults(*sheet.ws);
    EXPECT_EQ(sheet.ws->phaseOffset, -1);
    EXPECT_EQ(sheet.Header(kSlopeFmRow, kStateColumn), "97.143"); // 34 x 100 / 35
    EXPECT_EQ(sheet.Cell(38, kErrSlope), "0.000");                // last row of the range
    EXPECT_EQ(sheet.Cell(37, kErrSign), "++");
    EXPECT_NE(sheet.Cell(37, kErrSlope), "0.000");
    for (int i : {0, 4, 39, 44}) {
        EXPECT_EQ(sheet.Cell(i, kErrSign), "N/A") << i;
        EXPECT_EQ(sheet.Cell(i, kValEst), "0.000") << i;
        EXPECT_EQ(sheet.Cell(i, kValSlope), ".") << i;
        EXPECT_EQ(sheet.Cell(i, kErrValue), "0.000") << i;
    }
    EXPECT_EQ(sheet.Cell(45, kErrSign), ""); // nothing past TotalRows
    // Phase -1: row 10's estimate is the output of row 11 turned back: (0.255-0.1)*1.25*100.
    EXPECT_EQ(sheet.Cell(10, kValEst), "19.375");
    EXPECT_EQ(sheet.Cell(10, kValSlope), "+");
}

TEST(ResultStatistics, PhaseDecision)
{
    struct Case {
        const char* name;
        std::function<float(int)> prediction;
        int phase;
    } cases[] = {
        // The target zig-zags; an output following it on the same row matches every step.
        {"same row matches", [](int i) { return 0.5f + 0.1f * static_cast<float>(i % 2); }, 0},
        {"next row matches", [](int i) { return 0.5f + 0.1f * static_cast<float>((i + 1) % 2); }, -1},
        {"tie", [](int) { return 0.5f; }, -1},
    };
    for (const Case& c : cases) {
        ResultSheet sheet;
        sheet.Fill([](int i) { return 0.5 + 0.1 * (i % 2); }, c.prediction, sheet.ws->trainingPredictions);
        WriteTrainingResults(*sheet.ws);
        EXPECT_EQ(sheet.ws->phaseOffset, c.phase) << c.name;
    }
}

TEST(ResultStatistics, NonFiniteFiguresShowAsPrinted)
{
    ResultSheet sheet;
    sheet.Counts(6, 1, 5, 5); // n = 6 + 1 - 5 = 2 with a single row in the range
    sheet.Fill([](int) { return 0.1; }, [](int i) { return 0.3f + 0.01f * i; },
               sheet.ws->trainingPredictions);
    WriteTrainingResults(*sheet.ws);
    // A target of 0 everywhere has no spread: the value figure of merit divides by zero.
    const std::string valueFm = sheet.Header(kValueFmRow, kStateColumn);
    EXPECT_TRUE(valueFm == "-inf" || valueFm == "nan" || valueFm == "-nan" || valueFm == "inf")
        << valueFm;

    sheet.Counts(6, 1, 5, 6); // n = 1: every spread is 0/0
    WriteTrainingResults(*sheet.ws);
    const std::string sd = sheet.Header(2, kFigureColumn);
    EXPECT_TRUE(sd == "nan" || sd == "-nan") << sd;
}

TEST(ResultStatistics, EvaluationResults)
{
    ResultSheet sheet;
    sheet.ws->phaseOffset = 0;
    sheet.Fill([](int i) { return 0.3 + 0.01 * i; }, [](int i) { return i < 40 ? 0.0f : 0.6f - 0.01f * i; },
               sheet.ws->evaluationPredictions);
    WriteEvaluationResults(*sheet.ws);
    EXPECT_EQ(sheet.Cell(39, kErrSign), "N/A"); // rows before Evaluate
    EXPECT_EQ(sheet.Cell(40, kErrSign), "+-");
    EXPECT_EQ(sheet.Header(kSlopeFmRow, kStateColumn), "0.000");
    // Net changes read the cells back: 100 plus the steps of rows 41..43.
    const float target = sheet.ws->statistics.targetNetChange;
    const double expected = ReadNumberText(sheet.Cell(43, kTrgIn)) - ReadNumberText(sheet.Cell(40, kTrgIn));
    EXPECT_NEAR(target, 100.0 + expected, 1e-3);
    EXPECT_NEAR(sheet.ws->statistics.estimateNetChange,
                100.0 + ReadNumberText(sheet.Cell(43, kValEst)) - ReadNumberText(sheet.Cell(40, kValEst)),
                1e-3);
}

TEST(ResultStatistics, DataExtrapolateShowsDashesAndExtendedRowsGetEstimatesOnly)
{
    ResultSheet sheet(ResultsModeExtrapolate);
    sheet.Counts(30, 15, 0, 5);
    sheet.ws->ScanColumnRoles();
    sheet.ws->phaseOffset = 0;
    sheet.ws->statistics.slopeFM = 42.0f;
    sheet.Fill([](int i) { return 0.3 + 0.01 * i; }, [](int i) { return 0.2f + 0.01f * i; },
               sheet.ws->evaluationPredictions);
    WriteEvaluationResults(*sheet.ws);
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(sheet.Header(row, kFigureColumn), "---") << row;
    EXPECT_EQ(sheet.Header(kSlopeFmRow, kStateColumn), "---");
    EXPECT_EQ(sheet.Header(kValueFmRow, kStateColumn), "---");
    EXPECT_EQ(sheet.ws->statistics.slopeFM, 42.0f);
    // Rows 45..49 are the extrapolated ones (ExtrapolationLen 5).
    EXPECT_EQ(sheet.Cell(49, kValSlope), "+");
    EXPECT_NE(sheet.Cell(49, kValEst), "");
    EXPECT_EQ(sheet.Cell(49, kErrSign), "");
    EXPECT_EQ(sheet.Cell(49, kErrValue), "");
    EXPECT_EQ(sheet.Cell(50, kValEst), "");
}

TEST(ResultStatistics, ExtrapolationCount)
{
    struct Case {
        int mode, rows, phase, count;
    } cases[] = {
        {ResultsModeEvaluate, 0, 0, 0},    {ResultsModeEvaluate, 0, 100, 0},
        {ResultsModeEvaluate, 0, -1, 1},   {ResultsModeExtrapolate, 5, 0, 5},
        {ResultsModeExtrapolate, 5, 100, 5}, {ResultsModeExtrapolate, 5, -1, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExtrapolationCountFor(c.mode, c.rows, c.phase), c.count)
            << c.mode << " " << c.rows << " " << c.phase;
}
