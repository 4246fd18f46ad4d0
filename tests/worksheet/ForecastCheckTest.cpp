#include "worksheet/RunWorksheet.h"

#include "worksheet/CheckSeries.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/IntervalQuantiles.h"
#include "worksheet/LinearBaseline.h"
#include "worksheet/NetworkForecaster.h"
#include "worksheet/RecursiveForecasts.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace orvalis;

namespace {

// A worksheet whose network is set by hand: 2 taps of one "Trg/In" series, 4 Training,
// 2 Testing and 2 Evaluate rows, shape 2-1 with output sigmoid(-1 + 0.5 x[r-2] + 2 x[r-1]).
struct HandSheet : RunWorksheet {
    explicit HandSheet(bool twoPass, const std::vector<double>& y = {1, 2, 4, 3, 5, 6, 8, 7},
                       int training = 4, int testing = 2)
        : RunWorksheet(twoPass)
    {
        Role(1, "Trg/In");
        Column(1, y);
        Counts(training, testing, static_cast<int>(y.size()) - training - testing, 2);
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

namespace {

// Every cell text of the grid, the run's arrays and figures: what a check must leave
// exactly as it found it.
struct Snapshot {
    std::vector<std::string> cells;
    std::vector<double> vectors;
    std::vector<float> predictions, engine, weights;
    std::vector<float> figures;
    int phaseOffset = 0, extrapolationCount = 0;
    WorksheetState state = WorksheetState::Init;
    std::uint64_t modifications = 0;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(Worksheet& ws)
{
    Snapshot s;
    for (int r = 0; r < ws.Store().GetRowCount(); ++r)
        for (int c = 0; c < ws.Store().GetColumnCount(); ++c)
            s.cells.push_back(ws.Store().CellTextRef(r, c));
    for (double* a : {ws.vectors.Input(0), ws.vectors.Input(1), ws.vectors.InputAverage(0),
                      ws.vectors.Target(0), ws.vectors.TargetAverage(0)})
        s.vectors.insert(s.vectors.end(), a, a + VectorSets::kCapacity);
    s.predictions = ws.evaluationPredictions;
    s.predictions.insert(s.predictions.end(), ws.trainingPredictions.begin(), ws.trainingPredictions.end());
    const CBackpropNet& net = ws.Network().net;
    s.engine.assign(net.Predictions().begin(), net.Predictions().end());
    s.weights = net.ExportWeights();
    const ResultStatistics& st = ws.statistics;
    s.figures = {st.slopeFM, st.valueFM, st.slopeErrAvg, st.slopeErrSD, st.valueErrAvg, st.valueErrSD};
    s.phaseOffset = ws.phaseOffset;
    s.extrapolationCount = ws.extrapolationCount;
    s.state = ws.state;
    s.modifications = ws.ModificationCount();
    return s;
}

} // namespace

// A trained network that picked the phase offset -1 (its estimate shown on row i is the
// output of the window that ends at row i): after Evaluate the check leaves every cell,
// array, figure and weight as it found it, and its estimates do not depend on the phase
// offset.
TEST(ForecastCheck, LeavesTheUsualResultsAloneAndIgnoresThePhaseOffset)
{
    for (bool twoPass : {true, false}) {
        TrainedSheet sheet(twoPass);
        ASSERT_EQ(sheet.ws->phaseOffset, -1) << "the training no longer picks -1 here";
        ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
        const Snapshot before = Take(*sheet.ws);
        const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 5);
        ASSERT_TRUE(check.available) << check.reason;
        EXPECT_TRUE(Take(*sheet.ws) == before) << "twoPass " << twoPass;

        sheet.ws->phaseOffset = 0;
        const ForecastCheck turned = ComputeForecastCheck(*sheet.ws, 5);
        EXPECT_EQ(Estimates(turned), Estimates(check)) << "twoPass " << twoPass;
        EXPECT_EQ(turned.network.mae, check.network.mae);
        ASSERT_EQ(turned.intervals.size(), 5u);
        EXPECT_EQ(turned.intervals[4].lo95, check.intervals[4].lo95);
        EXPECT_EQ(turned.coverage80, check.coverage80);
    }
}

// A saved and reopened worksheet gives the same check: it comes from the cells and the
// network alone (the file keeps the weights as floats, hence the tolerance).
TEST(ForecastCheck, ReopenedWorksheetGivesTheSameCheck)
{
    TrainedSheet sheet;
    ASSERT_TRUE(EvaluateWorksheet(*sheet.ws));
    const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 3);
    ASSERT_TRUE(check.available) << check.reason;
    ExportNetworkRecord(*sheet.ws);
    const std::vector<std::uint8_t> bytes = WorksheetFileBytes(*sheet.ws);

    RunWorksheet loaded;
    loaded.settings = sheet.settings;
    ASSERT_TRUE(LoadWorksheetBytes(*loaded.ws, bytes.data(), bytes.size()));
    const ForecastCheck reopened = ComputeForecastCheck(*loaded.ws, 3);
    ASSERT_TRUE(reopened.available) << reopened.reason;
    ASSERT_EQ(reopened.n, check.n);
    EXPECT_EQ(reopened.season, check.season);
    for (int r = 0; r < check.n; ++r) {
        EXPECT_EQ(reopened.rows[r].gridRow, check.rows[r].gridRow);
        EXPECT_EQ(reopened.rows[r].actual, check.rows[r].actual);
        EXPECT_NEAR(reopened.rows[r].estimate, check.rows[r].estimate, 1e-4) << r;
    }
    EXPECT_EQ(reopened.naive.mae, check.naive.mae);
    EXPECT_EQ(reopened.linear.mae, check.linear.mae);
}

// A check that cannot be made says why, without a message box and without touching the
// worksheet.
TEST(ForecastCheck, UnavailableChecksSayWhy)
{
    struct Case {
        const char* name;
        std::function<void(RunWorksheet&)> spoil;
        const char* reason;
    };
    const Case cases[] = {
        {"not trained", [](RunWorksheet& s) { s.ws->ResetTraining(); }, "not trained"},
        {"an empty Evaluate cell", [](RunWorksheet& s) { s.Text(55, 1, ""); },
         "row 56 of column 1 does not hold a number"},
        {"nan in an input column", [](RunWorksheet& s) { s.Text(3, 2, "nan"); },
         "row 4 of column 2 does not hold a number"},
        {"window changed after training",
         [](RunWorksheet& s) { s.ws->ApplyCellEdit(kNumTapsRow, kValueColumn, "5"); }, "network"},
        {"sections past the last row",
         [](RunWorksheet& s) { s.ws->counts.numEval = 2000; }, "past the last worksheet row"},
        {"window as long as the fitted rows",
         [](RunWorksheet& s) { s.ws->counts.numTaps = 50; }, "Num Taps"},
        {"one tap in 2 Pass", [](RunWorksheet& s) { s.ws->counts.numTaps = 1; }, "Num Taps"},
        {"no Evaluate rows", [](RunWorksheet& s) { s.ws->counts.numEval = 0; }, "no Evaluate rows"},
    };
    for (const Case& c : cases) {
        TrainedSheet sheet;
        c.spoil(sheet);
        sheet.messages.entries.clear();
        const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 3);
        EXPECT_FALSE(check.available) << c.name;
        EXPECT_NE(check.reason.find(c.reason), std::string::npos) << c.name << ": " << check.reason;
        EXPECT_TRUE(check.rows.empty()) << c.name;
        EXPECT_TRUE(sheet.messages.entries.empty()) << c.name;
        EXPECT_EQ(MakeForecastVerdict(check).text, "Forecast check not available: " + check.reason + ".");
    }
}

// In Data Extrapolate the worksheet has no Evaluate rows, but the bands around the
// extrapolated rows still come from the Testing rows: 10 origins give 10 one-step errors,
// 6 two-step ones, 1 at h = 5 (no offsets below 5 errors).
TEST(ForecastCheck, IntervalsWithoutEvaluateRows)
{
    TrainedSheet sheet;
    sheet.ws->counts.numEval = 0;
    const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 7);
    EXPECT_FALSE(check.available);
    ASSERT_EQ(check.intervals.size(), 7u);
    for (int h = 1; h <= 7; ++h) {
        const ForecastInterval& in = check.intervals[h - 1];
        EXPECT_EQ(in.h, h);
        EXPECT_EQ(in.lo80.has_value(), h <= 6) << h;
        if (in.lo80) {
            EXPECT_LE(*in.lo95, *in.lo80) << h;
            EXPECT_LE(*in.lo80, *in.hi80) << h;
            EXPECT_LE(*in.hi80, *in.hi95) << h;
        }
    }
}

// The intervals forecast many origins at once; each h-step error is the one the engine's
// own single-row passes give from that origin (to rounding): windows, held input sets,
// fed-back estimates and 2 Pass moving averages line up. A separate target column too.
TEST(ForecastCheck, BlockForecastsMatchTheEnginesRowByRowForecasts)
{
    for (bool twoPass : {true, false}) {
        for (bool separateTarget : {false, true}) {
            TrainedSheet sheet(twoPass);
            if (separateTarget) {
                sheet.Role(1, "Input");
                sheet.Role(3, "Target");
                sheet.Column(3, TestSeries(60, 2.0));
                ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr));
            }
            CheckSeries series;
            series.taps = 4;
            series.fitted = 50;
            series.twoPass = twoPass;
            std::string reason;
            ASSERT_TRUE(ReadCheckSeries(*sheet.ws, CheckColumnsOf(*sheet.ws), 60, series, reason)) << reason;
            EXPECT_EQ(series.targetInput, separateTarget ? -1 : 0);
            const CBackpropNet& net = sheet.ws->Network().net;
            const int horizon = 6;
            const std::vector<std::vector<double>> errors = RecursiveErrors(net, series, 40, horizon);
            NetworkForecaster forecaster(net, series);
            std::vector<double> estimates;
            std::vector<std::size_t> seen(horizon, 0);
            for (int origin = 40; origin < 50; ++origin) {
                const int count = std::min(horizon, 50 - origin);
                forecaster.Recursive(origin, count, estimates);
                EXPECT_EQ(estimates[0], forecaster.OneStep(origin));
                for (int h = 0; h < count; ++h) {
                    ASSERT_LT(seen[h], errors[h].size());
                    EXPECT_NEAR(errors[h][seen[h]++], series.target[origin + h] - estimates[h], 1e-9)
                        << "twoPass " << twoPass << ", origin " << origin << ", h " << h + 1;
                }
            }
            for (int h = 0; h < horizon; ++h)
                EXPECT_EQ(seen[h], errors[h].size()) << h;
            EXPECT_EQ(errors[0].size(), 10u);
            EXPECT_EQ(errors[5].size(), 5u);
        }
    }
}

// The linear baseline reproduces a series that a linear recursion on its window
// determines, also when the lags are collinear (more taps than the recursion needs, a
// straight line, a constant): the least-norm solution forecasts as well as any.
TEST(LinearBaseline, FitsSeriesItDeterminesExactly)
{
    struct Case {
        const char* name;
        std::function<double(int, const std::vector<double>&)> next;
        int taps;
    };
    const auto ar2 = [](int j, const std::vector<double>& y) {
        return j < 2 ? 100.0 + 7.0 * j : 5.0 + 0.6 * y[j - 1] + 0.3 * y[j - 2];
    };
    const Case cases[] = {
        {"AR(2), 2 taps", ar2, 2},
        {"AR(2), 5 taps (collinear lags)", ar2, 5},
        {"oscillation, 3 taps",
         [](int j, const std::vector<double>& y) { return j < 2 ? 3.0 * j : 1.2 * y[j - 1] - 0.9 * y[j - 2] + 40.0; },
         3},
        {"straight line, 3 taps", [](int j, const std::vector<double>&) { return 4000.0 + 2.5 * j; }, 3},
        {"constant, 4 taps", [](int, const std::vector<double>&) { return 17.0; }, 4},
    };
    for (const Case& c : cases) {
        std::vector<double> y;
        for (int j = 0; j < 60; ++j)
            y.push_back(c.next(j, y));
        LinearBaseline linear;
        ASSERT_TRUE(linear.Fit(y.data(), 45, c.taps)) << c.name;
        for (int r = 45; r < 60; ++r) {
            const std::optional<double> f = linear.Forecast(y.data(), r);
            ASSERT_TRUE(f) << c.name;
            EXPECT_NEAR(*f, y[r], 1e-7 * std::max(1.0, std::fabs(y[r]))) << c.name << ", row " << r;
        }
    }
    LinearBaseline none;
    EXPECT_FALSE(none.Fit(std::vector<double>(5, 1.0).data(), 5, 5));
    EXPECT_FALSE(none.Forecast(std::vector<double>(9, 1.0).data(), 6));
}

// A season of 4 on a trend: the value one season back misses by the trend over a season
// (4 x 0.5 = 2), as it does in-sample, so its MASE is 1; the season is found from the
// fitted rows, or set, or switched off.
TEST(ForecastCheck, SeasonalNaiveAndTheSeasonSetting)
{
    std::vector<double> y;
    const double pattern[] = {10, 12, 15, 11};
    for (int j = 0; j < 48; ++j)
        y.push_back(pattern[j % 4] + 0.5 * j);
    struct Case {
        int setting, season;
        bool automatic;
    };
    for (const Case& c : {Case{-1, 4, true}, Case{4, 4, false}, Case{8, 8, false}, Case{0, 0, false},
                          Case{40, 0, false}}) {
        HandSheet sheet(true, y, 30, 10);
        sheet.settings.seasonLength = c.setting;
        const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 1);
        ASSERT_TRUE(check.available) << check.reason;
        EXPECT_EQ(check.season, c.season) << c.setting;
        EXPECT_EQ(check.seasonAutomatic, c.automatic) << c.setting;
        if (c.season == 0) {
            EXPECT_FALSE(check.seasonalNaive.mae) << c.setting;
            // Naive in-sample: |2|, |3|, |-4 + 0.5|... mean over the 39 changes.
            EXPECT_TRUE(check.naive.mase) << c.setting;
            continue;
        }
        const double miss = 0.5 * c.season;
        EXPECT_NEAR(*check.seasonalNaive.mae, miss, 1e-12) << c.setting;
        EXPECT_NEAR(*check.seasonalNaive.rmse, miss, 1e-12) << c.setting;
        EXPECT_NEAR(*check.seasonalNaive.mase, 1.0, 1e-12) << c.setting;
        EXPECT_NEAR(*check.naive.mase, *check.naive.mae / miss, 1e-12) << c.setting;
    }
}

// The check keeps what it derived from the last columns it read (the season, the linear
// fit, the detrended series): a check after checks of other series, or of the same
// series with one value changed, gives what a check on a thread that saw nothing before
// gives.
TEST(ForecastCheck, FiguresFollowTheCellsFromCheckToCheck)
{
    const auto seasonal = [](int season) {
        std::vector<double> y;
        for (int j = 0; j < 48; ++j)
            y.push_back((j % season == 1 ? 6.0 : 0.0) + 0.5 * j + 0.01 * (j % 7));
        return y;
    };
    std::vector<double> fittedChanged = seasonal(4);
    fittedChanged[10] += 0.25;
    std::vector<double> evaluateChanged = fittedChanged;
    evaluateChanged[45] += 3.0;
    struct Case {
        const char* name;
        std::vector<double> y;
    };
    const Case cases[] = {{"season 4", seasonal(4)},
                          {"season 6", seasonal(6)},
                          {"season 4 again", seasonal(4)},
                          {"one fitted value changed", fittedChanged},
                          {"one Evaluate value changed", evaluateChanged}};
    for (const Case& c : cases) {
        HandSheet sheet(true, c.y, 30, 10);
        const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 1);
        ForecastCheck fresh;
        std::thread([&] { fresh = ComputeForecastCheck(*sheet.ws, 1); }).join();
        ASSERT_TRUE(check.available) << c.name << ": " << check.reason;
        EXPECT_EQ(check.season, fresh.season) << c.name;
        EXPECT_EQ(check.linear.mae, fresh.linear.mae) << c.name;
        EXPECT_EQ(check.linear.rmse, fresh.linear.rmse) << c.name;
        EXPECT_EQ(check.seasonalNaive.mase, fresh.seasonalNaive.mase) << c.name;
        EXPECT_EQ(Estimates(check), Estimates(fresh)) << c.name;
        ASSERT_EQ(check.intervals.size(), fresh.intervals.size()) << c.name;
        EXPECT_EQ(check.intervals[0].lo80, fresh.intervals[0].lo80) << c.name;
    }
}

namespace {

// A fixed pseudo-random stream in -0.5..0.5, the same on every machine.
struct Lcg {
    std::uint32_t state = 12345;
    double Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 16777216.0 - 0.5;
    }
};

std::vector<double> SampleColumn(const char* file, int rows)
{
    std::ifstream in(std::string(ORVALIS_SAMPLE_DATA_DIR) + "/" + file);
    std::string line;
    std::getline(in, line);
    std::vector<double> values;
    while (static_cast<int>(values.size()) < rows && std::getline(in, line))
        values.push_back(std::stod(line.substr(line.rfind(',') + 1)));
    return values;
}

} // namespace

TEST(DetectSeason, FindsARepeatInTheChangesOrTheLevelsOnly)
{
    struct Case {
        const char* name;
        std::vector<double> y;
        int season;
    };
    std::vector<Case> cases;
    Lcg noise;
    std::vector<double> quarterly, monthly, white, walk, line;
    double level = 0.0;
    for (int j = 0; j < 200; ++j) {
        const double pattern[] = {0, 3, 5, -2};
        quarterly.push_back(pattern[j % 4] + 0.3 * j + noise.Next());
        monthly.push_back(20 * std::sin(6.283185307179586 * j / 12) + 0.5 * j + noise.Next());
        white.push_back(noise.Next());
        level += noise.Next();
        walk.push_back(level);
        line.push_back(3.0 + 0.25 * j);
    }
    cases.push_back({"a season of 4 on a trend", quarterly, 4});
    cases.push_back({"a season of 12 on a trend", monthly, 12});
    cases.push_back({"monthly airline passengers, 8 years", SampleColumn("airpassengers_full.csv", 96), 12});
    // Lung disease deaths peak in a different winter month from year to year, so their
    // changes repeat poorly; the levels still peak again a year on.
    cases.push_back({"monthly deaths, 5 years", SampleColumn("ldeaths_full.csv", 60), 12});
    cases.push_back({"white noise", white, 0});
    cases.push_back({"random walk", walk, 0});
    cases.push_back({"straight line (changes all equal)", line, 0});
    cases.push_back({"constant", std::vector<double>(50, 4.0), 0});
    cases.push_back({"too short for a lag of 2", {1, 5, 1, 5, 1}, 0});
    for (const Case& c : cases)
        EXPECT_EQ(DetectSeason(c.y.data(), static_cast<int>(c.y.size())), c.season) << c.name;
    EXPECT_EQ(DetectSeason(nullptr, 100), 0);
}

TEST(IntervalQuantiles, QuantilesOffsetsAndCoverage)
{
    const std::vector<double> sorted = {1, 2, 3, 4, 5};
    EXPECT_DOUBLE_EQ(EmpiricalQuantile(sorted, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(EmpiricalQuantile(sorted, 0.1), 1.4);
    EXPECT_DOUBLE_EQ(EmpiricalQuantile(sorted, 0.5), 3.0);
    EXPECT_DOUBLE_EQ(EmpiricalQuantile(sorted, 0.975), 4.9);
    EXPECT_DOUBLE_EQ(EmpiricalQuantile(sorted, 1.0), 5.0);
    EXPECT_DOUBLE_EQ(EmpiricalQuantile({7.0}, 0.9), 7.0);

    const ForecastInterval in = IntervalFromErrors(3, {5, 1, 4, 2, 3});
    EXPECT_EQ(in.h, 3);
    EXPECT_DOUBLE_EQ(*in.lo80, 1.4);
    EXPECT_DOUBLE_EQ(*in.hi80, 4.6);
    EXPECT_DOUBLE_EQ(*in.lo95, 1.1);
    EXPECT_DOUBLE_EQ(*in.hi95, 4.9);
    const ForecastInterval few = IntervalFromErrors(2, {5, 1, 4, 2});
    EXPECT_FALSE(few.lo80 || few.hi80 || few.lo95 || few.hi95);

    // Offsets -1..1 and -2..2 around estimates of 10: inside both, on the 80 % edge,
    // inside 95 % only (twice), outside both.
    std::vector<ForecastCheckRow> rows;
    for (double actual : {10.0, 11.0, 11.5, 8.5, 7.9})
        rows.push_back({0, actual, 10.0, {}, {}, {}, {}});
    EXPECT_FALSE(ApplyOneStepInterval(rows, few).coverage80);
    EXPECT_FALSE(rows[0].lo80);
    const IntervalCoverage coverage = ApplyOneStepInterval(rows, {1, -1.0, 1.0, -2.0, 2.0});
    EXPECT_DOUBLE_EQ(*coverage.coverage80, 0.4);
    EXPECT_DOUBLE_EQ(*coverage.coverage95, 0.8);
    EXPECT_EQ(*rows[4].lo80, 9.0);
    EXPECT_EQ(*rows[4].hi95, 12.0);
    std::vector<ForecastCheckRow> none;
    EXPECT_FALSE(ApplyOneStepInterval(none, {1, -1.0, 1.0, -2.0, 2.0}).coverage95);
}

TEST(ForecastVerdict, OneSentenceFromTheFigures)
{
    ForecastCheck better;
    better.available = true;
    better.network.mae = 0.82;
    better.network.mase = 0.82;
    better.naive.mae = 1.0;
    better.linear.mae = 0.79;
    better.vsNaive = 0.18;
    ForecastCheck seasonal = better;
    seasonal.seasonalNaive.mae = 0.9;
    ForecastCheck worse = better;
    worse.vsNaive = -0.35;
    worse.network.mase = 3.35;
    ForecastCheck even = better;
    even.vsNaive = 0.004;
    ForecastCheck flat = better;
    flat.vsNaive.reset();
    flat.network.mae = 0.5;
    ForecastCheck worseLeakFree = worse;
    worseLeakFree.figuresLeakFree = true;
    ForecastCheck none;
    none.reason = "the network is not trained";
    struct Case {
        const char* name;
        const ForecastCheck& check;
        const char* text;
        bool good;
    };
    const Case cases[] = {
        {"better", better,
         "Forecast check: 18 % better than repeating the last value (MASE 0.82); a linear model "
         "on the same window: 21 % better.",
         true},
        {"seasonal naive beats naive", seasonal,
         "Forecast check: 18 % better than repeating the last value (MASE 0.82); a linear model "
         "on the same window: 21 % better; the value one season back: 10 % better.",
         true},
        {"worse", worse,
         "Forecast check: 35 % worse than repeating the last value (MASE 3.35). The figures "
         "above use the values they estimate.",
         false},
        {"worse, the figures formed from these estimates (leak-free evaluation)", worseLeakFree,
         "Forecast check: 35 % worse than repeating the last value (MASE 3.35).", false},
        {"even", even,
         "Forecast check: as good as repeating the last value (MASE 0.82); a linear model on the "
         "same window: 21 % better.",
         true},
        {"naive exact", flat,
         "Forecast check: repeating the last value is exact on these rows; the network's mean "
         "absolute error is 0.5.",
         false},
        {"unavailable", none, "Forecast check not available: the network is not trained.", false},
    };
    for (const Case& c : cases) {
        const ForecastVerdict verdict = MakeForecastVerdict(c.check);
        EXPECT_EQ(verdict.text, c.text) << c.name;
        EXPECT_EQ(verdict.good, c.good) << c.name;
    }
}
