#include "worksheet/RunWorksheet.h"

#include "worksheet/ChangeLag.h"
#include "worksheet/CheckSeries.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/NetworkForecaster.h"
#include "worksheet/RecursiveForecasts.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

// A rising line with a small wobble, so that its changes are not all equal.
std::vector<double> Line(int n)
{
    std::vector<double> y;
    for (int j = 0; j < n; ++j)
        y.push_back(10.0 + 2.0 * j + 0.3 * std::sin(1.7 * j));
    return y;
}

// One "Trg/In" series with 40 Training, 10 Testing and 10 Evaluate rows, trained briefly
// with the given change lag.
struct LagSheet : RunWorksheet {
    LagSheet(int lag, bool twoPass, const std::vector<double>& y, int taps = 4,
             int mode = ResultsModeEvaluate)
        : RunWorksheet(twoPass, mode)
    {
        settings.forecast.changeLag = lag;
        Role(1, "Trg/In");
        Column(1, y);
        Counts(40, 10, mode == ResultsModeEvaluate ? 10 : 0, taps);
        ws->network.autoTrainingConfigure = 0;
        ws->network.maxCycles = 40;
        ws->network.iterationsPerCycle = 20;
    }
    double Value(int row, int col) const { return ReadNumberText(Cell(row, col)); }
};

double MeanAbsoluteError(const LagSheet& sheet, int first, int end, int col)
{
    double sum = 0.0;
    for (int r = first; r < end; ++r)
        sum += std::fabs(sheet.Value(r, 1) - sheet.Value(r, col));
    return sum / (end - first);
}

} // namespace

// The line rises past everything the network saw in training: learning the values (1
// Pass), the output cannot leave the training range by more than an eighth of it;
// learning the change, every estimate is a change added to the row before, and the line
// goes on.
TEST(ChangeLag, OnlyLearningTheChangeFollowsALinePastItsTrainingRange)
{
    for (bool twoPass : {false, true}) {
        double mae[2] = {0.0, 0.0};
        double checkMae[2] = {0.0, 0.0};
        for (int lag : {0, 1}) {
            LagSheet sheet(lag, twoPass, Line(60));
            ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr)) << sheet.messages.Texts().front();
            ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
            mae[lag] = MeanAbsoluteError(sheet, 50, 60, sheet.ws->roles.valEstColumn);
            const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 1);
            ASSERT_TRUE(check.available) << check.reason;
            checkMae[lag] = *check.network.mae;
        }
        // 2 Pass adds a moving average back, which follows a line in part by itself.
        if (!twoPass) {
            EXPECT_GT(mae[0], 8.0);
            EXPECT_GT(checkMae[0], 8.0);
        }
        EXPECT_LT(mae[1], 1.5) << "twoPass " << twoPass;
        EXPECT_LT(checkMae[1], 1.5) << "twoPass " << twoPass;
    }
}

// In Data Extrapolate the extended rows build on one another: each estimate is a change
// added to the estimate L rows before, so the extrapolated line keeps rising.
TEST(ChangeLag, ExtrapolatedRowsBuildOnTheirOwnEstimates)
{
    for (int lag : {1, 2}) {
        LagSheet sheet(lag, false, Line(50), 4, ResultsModeExtrapolate);
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
        ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
        const int col = sheet.ws->roles.valEstColumn;
        const int extra = sheet.settings.extrapolationRows;
        ASSERT_EQ(extra, 5);
        for (int r = 50; r < 50 + extra; ++r) {
            const double line = 10.0 + 2.0 * r;
            EXPECT_NEAR(sheet.Value(r, col), line, 2.0 + 0.5 * (r - 49)) << "lag " << lag << ", row " << r;
        }
        EXPECT_GT(sheet.Value(50 + extra - 1, col), sheet.Value(49, 1) + 5.0) << "lag " << lag;
        // The user's cells below the sections are as they were.
        EXPECT_EQ(sheet.Cell(50, 1), "") << "lag " << lag;
    }
}

// The check's estimate of a row, worked by hand for a hand-set network 2-1 (output
// sigmoid(-1 + 0.5 s[r-2] + 2 s[r-1])) on the changes at lag L: the changes are scaled
// by their range over rows L..F-1, the output turned back into a change, and the value
// L rows before added.
TEST(ChangeLag, CheckEstimateWorkedByHand)
{
    const std::vector<double> y = {1, 2, 4, 3, 5, 6, 8, 7, 9, 12};
    for (bool twoPass : {false, true}) {
        for (int lag : {1, 2}) {
            RunWorksheet sheet(twoPass);
            sheet.settings.forecast.changeLag = lag;
            sheet.Role(1, "Trg/In");
            sheet.Column(1, y);
            sheet.Counts(6, 2, 2, 2);
            ASSERT_TRUE(sheet.ws->ScanColumnRoles());
            NetworkShape shape;
            shape.layerCount = 2;
            shape.unitsPerLayer[0] = 2;
            shape.unitsPerLayer[1] = 1;
            SetNetworkShape(*sheet.ws, shape);
            CBackpropNet& net = sheet.ws->Network().net;
            net.InitNetwork();
            net.SetWeight(1, 1, 0, -1.0);
            net.SetWeight(1, 1, 1, 0.5);
            net.SetWeight(1, 1, 2, 2.0);
            sheet.ws->SetStateAndText(WorksheetState::Trained);
            sheet.ws->phaseOffset = 0;

            // The learned series by hand: changes, less in 2 Pass their trailing mean of
            // two rows from row L on.
            const int n = static_cast<int>(y.size());
            std::vector<double> d(n, 0.0), learned(n, 0.0);
            for (int j = lag; j < n; ++j)
                d[j] = y[j] - y[j - lag];
            for (int j = lag; j < n; ++j)
                learned[j] = twoPass ? d[j] - (j > lag ? (d[j] + d[j - 1]) / 2 : d[j]) : d[j];
            const auto [lo, hi] = std::minmax_element(learned.begin() + lag, learned.begin() + 8);
            const auto scaled = [&](int j) { return 0.1 + 0.8 * (learned[j] - *lo) / (*hi - *lo); };
            const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 1);
            ASSERT_TRUE(check.available) << check.reason;
            ASSERT_EQ(check.rows.size(), 2u);
            for (int r = 8; r < 10; ++r) {
                const double out = 1.0 / (1.0 + std::exp(-(-1.0 + 0.5 * scaled(r - 2) + 2.0 * scaled(r - 1))));
                const double g = (out - 0.1) * 1.25 * (static_cast<float>(*hi) - static_cast<float>(*lo)) +
                                 static_cast<float>(*lo);
                // 2 Pass: e = g + (d[r-1] + e) / 2.
                const double change = twoPass ? 2 * g + d[r - 1] : g;
                EXPECT_NEAR(check.rows[r - 8].estimate, change + y[r - lag], 1e-5)
                    << "twoPass " << twoPass << ", lag " << lag << ", row " << r;
            }
        }
    }
}

// The block forecasts of the intervals go through the same turning back as the
// engine's row-by-row forecasts, from every origin.
TEST(ChangeLag, BlockForecastsMatchRowByRowForecasts)
{
    for (bool twoPass : {true, false}) {
        for (int lag : {1, 3}) {
            LagSheet sheet(lag, twoPass, TestSeries(60));
            sheet.ws->network.maxCycles = 4;
            ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
            CheckSeries series;
            series.taps = 4;
            series.fitted = 50;
            series.twoPass = twoPass;
            series.lag = lag;
            std::string reason;
            ASSERT_TRUE(ReadCheckSeries(*sheet.ws, CheckColumnsOf(*sheet.ws), 60, series, reason)) << reason;
            const CBackpropNet& net = sheet.ws->Network().net;
            const int horizon = 5;
            const std::vector<std::vector<double>> errors = RecursiveErrors(net, series, 40, horizon);
            NetworkForecaster forecaster(net, series);
            std::vector<double> estimates;
            std::vector<std::size_t> seen(horizon, 0);
            for (int origin = 40; origin < 50; ++origin) {
                const int count = std::min(horizon, 50 - origin);
                forecaster.Recursive(origin, count, estimates);
                EXPECT_NEAR(estimates[0], forecaster.OneStep(origin), 1e-9);
                for (int h = 0; h < count; ++h) {
                    ASSERT_LT(seen[h], errors[h].size());
                    EXPECT_NEAR(errors[h][seen[h]++], series.target[origin + h] - estimates[h], 1e-9)
                        << "twoPass " << twoPass << ", lag " << lag << ", origin " << origin << ", h " << h + 1;
                }
            }
            EXPECT_EQ(errors[0].size(), 10u);
        }
    }
}

// The network keeps the lag it was trained with: an Evaluate after the setting changed
// gives the same cells, and a reopened worksheet (whose file cannot hold the lag) uses
// the setting's lag, which is the one it was trained with here.
TEST(ChangeLag, EvaluateUsesTheTrainedLag)
{
    LagSheet sheet(2, true, TestSeries(60));
    sheet.ws->network.maxCycles = 4;
    ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
    // The weights as a file holds them, so the reopened worksheet has the same network.
    CBackpropNet& net = sheet.ws->Network().net;
    net.ImportWeights(net.ExportWeights().data());
    ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
    const int col = sheet.ws->roles.valEstColumn;
    const auto estimates = [col](const RunWorksheet& s) {
        std::vector<std::string> texts;
        for (int r = 50; r < 60; ++r)
            texts.push_back(s.Cell(r, col));
        return texts;
    };
    const std::vector<std::string> before = estimates(sheet);
    const double checkMae = *ComputeForecastCheck(*sheet.ws, 1).network.mae;

    sheet.settings.forecast.changeLag = 0;
    ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
    EXPECT_EQ(estimates(sheet), before);
    EXPECT_EQ(*ComputeForecastCheck(*sheet.ws, 1).network.mae, checkMae);

    ExportNetworkRecord(*sheet.ws);
    const std::vector<std::uint8_t> bytes = WorksheetFileBytes(*sheet.ws);
    for (int lag : {2, 0}) {
        RunWorksheet reopened(true);
        reopened.settings.forecast.changeLag = lag;
        ASSERT_TRUE(LoadWorksheetBytes(*reopened.ws, bytes.data(), bytes.size()));
        ASSERT_TRUE(EvaluateWorksheet(*reopened.ws));
        const double mae = *ComputeForecastCheck(*reopened.ws, 1).network.mae;
        if (lag == 2) {
            EXPECT_EQ(estimates(reopened), before);
            EXPECT_NEAR(mae, checkMae, 1e-9);
        } else {
            EXPECT_NE(estimates(reopened), before);
            EXPECT_GT(std::fabs(mae - checkMae), 1e-3);
        }
    }
}

TEST(ChangeLag, WhichLagARunUses)
{
    struct Case {
        const char* name;
        int changeLag;
        int seasonLength;
        int expected;
    };
    // A season of 4 in the changes of 40 fitted rows.
    std::vector<double> y;
    for (int j = 0; j < 40; ++j)
        y.push_back(j + 6.0 * std::sin(j * 3.14159265358979 / 2));
    const Case cases[] = {
        {"off", 0, -1, 0},
        {"fixed lag", 3, 0, 3},
        {"season found in the data", ForecastOptions::ChangeLagSeason, -1, 4},
        {"season fixed by the setting", ForecastOptions::ChangeLagSeason, 7, 7},
        {"no season: off", ForecastOptions::ChangeLagSeason, 0, 0},
        {"a season as long as the fitted rows: off", ForecastOptions::ChangeLagSeason, 40, 0},
    };
    for (const Case& c : cases) {
        AppSettings settings;
        settings.forecast.changeLag = c.changeLag;
        settings.seasonLength = c.seasonLength;
        EXPECT_EQ(ResolveChangeLag(settings, y.data(), 40), c.expected) << c.name;
    }
    AppSettings forecaster;
    forecaster.forecast.forecaster = true;
    EXPECT_EQ(ResolveChangeLag(forecaster, y.data(), 40),
              EffectiveForecastOptions(forecaster.forecast).changeLag);
}

TEST(ChangeLag, RefusesAWindowThatWouldReachBelowTheFirstChange)
{
    LagSheet sheet(37, false, TestSeries(60));
    EXPECT_FALSE(TrainWorksheet(*sheet.ws, nullptr));
    EXPECT_EQ(sheet.messages.Texts(),
              std::vector<std::string>{"Error: Num Taps + Change Lag Must Be Less Than Num Training"});
    EXPECT_EQ(sheet.ws->state, WorksheetState::Init);

    LagSheet fits(35, false, TestSeries(60));
    fits.ws->network.maxCycles = 2;
    EXPECT_TRUE(TrainWorksheet(*fits.ws, nullptr)) << fits.messages.Texts().front();
    // Training estimates start where the first full window of changes ends.
    const int col = fits.ws->roles.valEstColumn;
    EXPECT_EQ(fits.Cell(38, col), "0.000");
    EXPECT_NE(fits.Cell(39, col), "0.000");
    EXPECT_EQ(fits.ws->estimateBegin, 39);

    // Reopened, the rows without an estimate stay out of what counts as estimated.
    ExportNetworkRecord(*fits.ws);
    const std::vector<std::uint8_t> bytes = WorksheetFileBytes(*fits.ws);
    RunWorksheet reopened(false);
    reopened.settings.forecast.changeLag = 35;
    ASSERT_TRUE(LoadWorksheetBytes(*reopened.ws, bytes.data(), bytes.size()));
    EXPECT_EQ(reopened.ws->estimateBegin, 39);
}

// In 1 Pass the check reads the same windows of the same scaled changes as training: its
// estimate of a Testing row is the training estimate of that row, turned back alike.
TEST(ChangeLag, CheckAgreesWithTrainingOnTheFittedRows)
{
    for (int lag : {1, 3}) {
        LagSheet sheet(lag, false, TestSeries(60));
        sheet.ws->network.maxCycles = 4;
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
        CheckSeries series;
        series.taps = 4;
        series.fitted = 50;
        series.lag = lag;
        std::string reason;
        ASSERT_TRUE(ReadCheckSeries(*sheet.ws, CheckColumnsOf(*sheet.ws), 60, series, reason)) << reason;
        NetworkForecaster forecaster(sheet.ws->Network().net, series);
        const int col = sheet.ws->roles.valEstColumn;
        const int shift = sheet.ws->phaseOffset == -1 ? 1 : 0;
        // Phase -1 shows on row r the estimate of row r + 1.
        for (int r = 40; r < 48; ++r)
            EXPECT_NEAR(sheet.Value(r, col), forecaster.OneStep(r + shift), 2e-3) << "lag " << lag << ", row " << r;
    }
}
