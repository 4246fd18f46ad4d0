#include "RunWorksheet.h"

#include "worksheet/ChartData.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/LastRunCheck.h"
#include "worksheet/NumberText.h"
#include "worksheet/ResultLayout.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvalis;

namespace {

// A small worksheet trained and evaluated in the given results mode.
struct BandSheet : RunWorksheet {
    explicit BandSheet(int mode) : RunWorksheet(true, mode)
    {
        Role(1, "Trg/In");
        Column(1, TestSeries(80));
        Counts(40, mode == ResultsModeEvaluate ? 20 : 40, mode == ResultsModeEvaluate ? 20 : 0, 4);
        ws->network.autoTrainingConfigure = 0;
        ws->network.maxCycles = 4;
        ws->network.iterationsPerCycle = 2;
    }
    ChartData Chart(const ForecastCheck* check) const
    {
        return BuildChartData(ws->Store(), ReadResultLayout(*ws), settings, check);
    }
};

} // namespace

// In Data Extrapolate the chart's interval bands run over the extrapolated rows: row h
// of the extension is its "Val:Est" plus the check's h-step offsets. Without a check,
// in Model Evaluate, or once the worksheet is back to Init, there are none.
TEST(ChartDataIntervals, BandsAroundTheExtrapolatedRows)
{
    BandSheet sheet(ResultsModeExtrapolate);
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
    ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
    const ForecastCheck check = CheckLastEvaluation(*sheet.ws);
    ASSERT_EQ(check.intervals.size(), std::size_t(sheet.settings.extrapolationLen));
    ASSERT_TRUE(check.intervals.back().lo95) << "too few Testing rows for the offsets";

    const ChartData chart = sheet.Chart(&check);
    const int valEst = ReadResultLayout(*sheet.ws).valEstColumn;
    ASSERT_EQ(chart.intervals.size(), std::size_t(sheet.settings.extrapolationLen));
    for (std::size_t h = 1; h <= chart.intervals.size(); ++h) {
        SCOPED_TRACE(h);
        const ChartIntervalPoint& p = chart.intervals[h - 1];
        const int dataRow = 80 + static_cast<int>(h) - 1;
        EXPECT_DOUBLE_EQ(p.x, dataRow + 1.0);
        const double estimate = ReadNumberText(sheet.Cell(dataRow, valEst));
        const ForecastInterval& offsets = check.intervals[h - 1];
        EXPECT_DOUBLE_EQ(p.lo80, estimate + *offsets.lo80);
        EXPECT_DOUBLE_EQ(p.hi80, estimate + *offsets.hi80);
        EXPECT_DOUBLE_EQ(p.lo95, estimate + *offsets.lo95);
        EXPECT_DOUBLE_EQ(p.hi95, estimate + *offsets.hi95);
        EXPECT_LE(p.lo95, p.lo80);
        EXPECT_GE(p.hi95, p.hi80);
    }
    EXPECT_TRUE(sheet.Chart(nullptr).intervals.empty());

    // Offsets that stop at h = 2 stop the bands there.
    ForecastCheck shorter = check;
    shorter.intervals[2] = ForecastInterval{3, {}, {}, {}, {}};
    EXPECT_EQ(sheet.Chart(&shorter).intervals.size(), 2u);

    sheet.ws->SetStateAndText(WorksheetState::Init);
    EXPECT_TRUE(sheet.Chart(&check).intervals.empty());

    BandSheet modelEvaluate(ResultsModeEvaluate);
    ASSERT_TRUE(TrainWorksheet(*modelEvaluate.ws, nullptr));
    ASSERT_TRUE(EvaluateWorksheet(*modelEvaluate.ws));
    const ForecastCheck evaluated = CheckLastEvaluation(*modelEvaluate.ws);
    EXPECT_TRUE(evaluated.available) << evaluated.reason;
    EXPECT_TRUE(modelEvaluate.Chart(&evaluated).intervals.empty());
}
