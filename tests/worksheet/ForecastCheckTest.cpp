#include "worksheet/RunWorksheet.h"

#include "worksheet/EvaluationRun.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/IntervalQuantiles.h"
#include "worksheet/LinearBaseline.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

// A worksheet whose network is set by hand: 2 taps of one "Trg/In" series, 4 Training,
// 2 Testing and 2 Evaluate rows, shape 2-1 with output sigmoid(-1 + 0.5 x[r-2] + 2 x[r-1]).
struct HandSheet : RunWorksheet {
    explicit HandSheet(bool twoPass, const std::vector<double>& y = {1, 2, 4, 3, 5, 6, 8, 7})
        : RunWorksheet(twoPass)
    {
        Role(1, "Trg/In");
        Column(1, y);
        Counts(4, 2, static_cast<int>(y.size()) - 6, 2);
        EXPECT_TRUE(ws->ScanColumnRoles());
        NetworkShape shape;
        shape.layerCount = 2;
        shape.unitsPerLayer[0] = 2;
        shape.unitsPerLayer[1] = 1;
        SetNetworkShape(*ws, shape);
        CBackpropNet& net = ws->Network().net;
        net.InitNetwork();
        net.SetWeight(1, 1, 0, -1.0);
        net.SetWeight(1, 1, 1, 0.5); // the older tap, row r-2
        net.SetWeight(1, 1, 2, 2.0); // row r-1
        ws->SetStateAndText(WorksheetState::Trained);
        ws->phaseOffset = 0;
    }
};

// The sheet of the evaluation tests: two input sets, a trained network.
struct TrainedSheet : RunWorksheet {
    explicit TrainedSheet(bool twoPass = true, double phase = 0.0) : RunWorksheet(twoPass)
    {
        Role(1, "Trg/In");
        Role(2, "Input");
        Column(1, TestSeries(60, phase));
        Column(2, TestSeries(60, phase + 0.5));
        Counts(40, 10, 10, 4);
        ws->network.autoTrainingConfigure = 0;
        ws->network.maxCycles = 4;
        ws->network.iterationsPerCycle = 2;
        EXPECT_TRUE(TrainWorksheet(*ws, nullptr));
    }
};

std::vector<double> Estimates(const ForecastCheck& check)
{
    std::vector<double> e;
    for (const ForecastCheckRow& row : check.rows)
        e.push_back(row.estimate);
    return e;
}

} // namespace

// The estimates of the hand-set network, worked out on paper from the formulas: 1 Pass
// scales y by the range 1..6 of rows 0..5; 2 Pass removes the mean of each row and the
// one before it (d = 0, .5, 1, -.5, 1, .5, 1, -.5), scales by -0.5..1 and solves
// e = g + (y[r-1] + e) / 2, e = 2 g + y[r-1]. The phase offset the training picked
// changes nothing: the estimate of row r comes from the rows before r.
TEST(ForecastCheck, HandSetNetworkGivesTheWorkedEstimates)
{
    struct Case {
        const char* name;
        bool twoPass;
        int phaseOffset;
        double row6, row7;
    };
    const Case cases[] = {
        {"1 Pass", false, 0, 5.1446563482928465, 5.80472206600923},
        {"1 Pass, phase -1", false, -1, 5.1446563482928465, 5.80472206600923},
        {"2 Pass", true, 0, 7.144522146704846, 9.4501371025093},
        {"2 Pass, phase -1", true, -1, 7.144522146704846, 9.4501371025093},
    };
    for (const Case& c : cases) {
        HandSheet sheet(c.twoPass);
        sheet.ws->phaseOffset = c.phaseOffset;
        const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 1);
        ASSERT_TRUE(check.available) << c.name << ": " << check.reason;
        ASSERT_EQ(check.n, 2) << c.name;
        ASSERT_EQ(check.rows.size(), 2u) << c.name;
        EXPECT_EQ(check.rows[0].gridRow, sheet.ws->firstDataRow + 6) << c.name;
        EXPECT_EQ(check.rows[0].actual, 8.0) << c.name;
        EXPECT_EQ(check.rows[1].actual, 7.0) << c.name;
        EXPECT_NEAR(check.rows[0].estimate, c.row6, 1e-12) << c.name;
        EXPECT_NEAR(check.rows[1].estimate, c.row7, 1e-12) << c.name;
        // Naive: 6 and 8 against 8 and 7; the in-sample naive error is 7/5.
        EXPECT_EQ(check.season, 0) << c.name;
        EXPECT_DOUBLE_EQ(*check.naive.mae, 1.5) << c.name;
        EXPECT_DOUBLE_EQ(*check.naive.rmse, std::sqrt(2.5)) << c.name;
        EXPECT_DOUBLE_EQ(*check.naive.mase, 1.5 / 1.4) << c.name;
        const double mae = (std::fabs(8 - c.row6) + std::fabs(7 - c.row7)) / 2;
        EXPECT_NEAR(*check.network.mae, mae, 1e-12) << c.name;
        EXPECT_NEAR(*check.vsNaive, 1 - mae / 1.5, 1e-12) << c.name;
        EXPECT_FALSE(check.seasonalNaive.mae) << c.name;
    }
}

// Changing the actual value of an Evaluate row leaves the estimate of that row and of
// every row before it as it was, to the bit: nothing of a row enters its own estimate
// or an earlier one (no moving average, no window, no scaling range).
TEST(ForecastCheck, AnEvaluateRowsValueNeverReachesItsOwnOrEarlierEstimates)
{
    for (bool twoPass : {true, false}) {
        TrainedSheet sheet(twoPass);
        const ForecastCheck before = ComputeForecastCheck(*sheet.ws, 5);
        ASSERT_TRUE(before.available) << before.reason;
        ASSERT_EQ(before.n, 10);
        for (int changed : {0, 4, 9}) {
            const std::string old = sheet.Cell(50 + changed, 1);
            sheet.Text(50 + changed, 1, "9999");
            const ForecastCheck after = ComputeForecastCheck(*sheet.ws, 5);
            sheet.Text(50 + changed, 1, old);
            ASSERT_TRUE(after.available) << after.reason;
            const std::vector<double> a = Estimates(before);
            const std::vector<double> b = Estimates(after);
            for (int r = 0; r <= changed; ++r)
                EXPECT_EQ(a[r], b[r]) << "twoPass " << twoPass << ", row " << r << " after changing " << changed;
            if (changed < 9) {
                EXPECT_NE(a[changed + 1], b[changed + 1]) << "the next row reads the new value";
            }
            EXPECT_EQ(after.rows[changed].actual, 9999.0);
        }
    }
}
