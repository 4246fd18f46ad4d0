#include "worksheet/ForecastCheck.h"

#include "worksheet/AppSettings.h"
#include "worksheet/CheckSeries.h"
#include "worksheet/IntervalQuantiles.h"
#include "worksheet/LinearBaseline.h"
#include "worksheet/NetworkForecaster.h"
#include "worksheet/RecursiveForecasts.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace orvalis {

namespace {

// The longest interval horizon computed: an extrapolation is at most 21 rows long, and
// errors exist only for h up to the Testing rows anyway.
constexpr int kMaxHorizon = 100;

// A check that is not available, or the reason the sections and the network do not
// allow one; empty when they do.
std::string SectionProblem(const Worksheet& ws, const CheckColumns& columns)
{
    const SectionCounts& c = ws.counts;
    if (ws.state == WorksheetState::Init)
        return "the network is not trained";
    if (columns.inputs.empty() || columns.target == 0)
        return "the worksheet has no input or target column";
    if (c.numTraining <= 0 || c.numTesting <= 0)
        return "the Training or Testing section is empty";
    if (c.numEval < 0)
        return "Num Eval is negative";
    if (c.numTaps < 1)
        return "Num Taps is below 1";
    if (c.numTaps < 2 && ws.Settings().use2PassEstimate)
        return "2 Pass needs Num Taps of at least 2";
    const std::int64_t fitted = static_cast<std::int64_t>(c.numTraining) + c.numTesting;
    if (c.numTaps >= fitted)
        return "Num Taps is not less than the Training and Testing rows";
    if (fitted + c.numEval > static_cast<std::int64_t>(ws.Store().GetRowCount()) - ws.firstDataRow)
        return "the sections run past the last worksheet row";
    return {};
}

std::string NetworkProblem(const CBackpropNet& net, const Worksheet& ws, const CheckColumns& columns)
{
    const auto sets = static_cast<std::int64_t>(columns.inputs.size());
    if (!net.IsBuilt() ||
        net.BuiltShape().Inputs() != static_cast<std::int64_t>(ws.counts.numTaps) * sets ||
        net.BuiltShape().Outputs() < 1)
        return "the network does not take Num Taps x input sets values";
    return {};
}

// What the check derives from the fitted target rows alone: the season they suggest and
// the linear baseline fitted on them. The season search and the fit are the check's
// costliest parts on a long series, and the check runs after every Evaluate of a
// worksheet whose fitted rows rarely change; so the last rows seen (per thread) are kept
// with what was derived from them, and rows equal to them bit for bit (with the same
// window) reuse it. Both are pure functions of those rows, so the figures are the same.
class FittedRowsMemo {
public:
    // Prepares the memo for y[0 .. fitted-1] and a window of taps rows.
    void Use(const double* y, int fitted, int taps)
    {
        const auto count = static_cast<std::size_t>(std::max(fitted, 0));
        if (m_valid && taps == m_taps && m_rows.size() == count &&
            (count == 0 || std::memcmp(m_rows.data(), y, count * sizeof(double)) == 0))
            return;
        m_rows.assign(y, y + count);
        m_taps = taps;
        m_season.reset();
        m_linearFits.reset();
        m_valid = true;
    }
    int Season()
    {
        if (!m_season)
            m_season = DetectSeason(m_rows.data(), static_cast<int>(m_rows.size()));
        return *m_season;
    }
    // The fitted baseline, or nullptr when it cannot be fitted.
    const LinearBaseline* Linear()
    {
        if (!m_linearFits)
            m_linearFits = m_linear.Fit(m_rows.data(), static_cast<int>(m_rows.size()), m_taps);
        return *m_linearFits ? &m_linear : nullptr;
    }

private:
    bool m_valid = false;
    std::vector<double> m_rows;
    int m_taps = 0;
    std::optional<int> m_season;
    std::optional<bool> m_linearFits;
    LinearBaseline m_linear;
};

FittedRowsMemo& MemoOf(const CheckSeries& s)
{
    thread_local FittedRowsMemo memo;
    memo.Use(s.target.data(), s.fitted, s.taps);
    return memo;
}

// The season the check uses: the setting, or (automatic) what the fitted rows suggest.
// A season needs one whole season of fitted rows before the first row it scores.
void ChooseSeason(int seasonSetting, const CheckSeries& s, FittedRowsMemo& memo, ForecastCheck& check)
{
    check.seasonAutomatic = seasonSetting < 0;
    const int season = check.seasonAutomatic ? memo.Season() : seasonSetting;
    check.season = season >= 2 && season < s.fitted ? season : 0;
}

// Mean |y[j] - y[j-lag]| over j = lag .. fitted-1: the in-sample error of repeating the
// value `lag` rows back, MASE's yardstick.
std::optional<double> InSampleScale(const std::vector<double>& y, int fitted, int lag)
{
    if (lag < 1 || fitted <= lag)
        return std::nullopt;
    double sum = 0.0;
    for (int j = lag; j < fitted; ++j)
        sum += std::fabs(y[static_cast<std::size_t>(j)] - y[static_cast<std::size_t>(j - lag)]);
    const double scale = sum / (fitted - lag);
    if (!(scale > 0.0) || !std::isfinite(scale))
        return std::nullopt;
    return scale;
}

ForecastErrors ErrorsOf(const std::vector<double>& actual, const std::vector<double>& estimate,
                        std::optional<double> scale)
{
    ForecastErrors errors;
    if (actual.empty() || actual.size() != estimate.size())
        return errors;
    double absolute = 0.0;
    double squared = 0.0;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const double e = actual[i] - estimate[i];
        absolute += std::fabs(e);
        squared += e * e;
    }
    const double n = static_cast<double>(actual.size());
    if (!std::isfinite(absolute) || !std::isfinite(squared))
        return errors;
    errors.mae = absolute / n;
    errors.rmse = std::sqrt(squared / n);
    if (scale)
        errors.mase = *errors.mae / *scale;
    return errors;
}

// The h-step errors of the recursive forecasts from every origin in the Testing rows
// (and from the first row with a full window, should the window reach into them), for
// h = 1 .. horizon, while the forecast row is still a fitted row.
std::vector<ForecastInterval> Intervals(const CBackpropNet& net, const CheckSeries& s,
                                        int firstOrigin, int horizon)
{
    std::vector<std::vector<double>> errors = RecursiveErrors(net, s, firstOrigin, horizon);
    std::vector<ForecastInterval> intervals;
    for (int h = 1; h <= horizon; ++h) {
        std::vector<double>& e = errors[static_cast<std::size_t>(h - 1)];
        // An estimate that is not a number (weights gone wild) makes no interval.
        const bool finite = std::all_of(e.begin(), e.end(), [](double v) { return std::isfinite(v); });
        intervals.push_back(finite ? IntervalFromErrors(h, std::move(e)) : ForecastInterval{h, {}, {}, {}, {}});
    }
    return intervals;
}

// The one-step estimates of the Evaluate rows and the baselines on the same rows.
void ScoreEvaluateRows(NetworkForecaster& forecaster, const CheckSeries& s,
                       const LinearBaseline* linear, int firstDataRow, ForecastCheck& check)
{
    const std::vector<double>& y = s.target;
    std::vector<double> actual, network, naive, seasonal, linearEstimates;
    for (int r = s.fitted; r < s.rows; ++r) {
        const double value = y[static_cast<std::size_t>(r)];
        const double estimate = forecaster.OneStep(r);
        actual.push_back(value);
        network.push_back(estimate);
        naive.push_back(y[static_cast<std::size_t>(r - 1)]);
        if (check.season >= 2)
            seasonal.push_back(y[static_cast<std::size_t>(r - check.season)]);
        if (linear)
            linearEstimates.push_back(linear->Forecast(y.data(), r).value_or(0.0));
        ForecastCheckRow row;
        row.gridRow = firstDataRow + r;
        row.actual = value;
        row.estimate = estimate;
        check.rows.push_back(row);
    }
    const std::optional<double> scale = InSampleScale(y, s.fitted, check.season >= 2 ? check.season : 1);
    check.n = static_cast<int>(actual.size());
    check.network = ErrorsOf(actual, network, scale);
    check.naive = ErrorsOf(actual, naive, scale);
    check.seasonalNaive = ErrorsOf(actual, seasonal, scale);
    check.linear = ErrorsOf(actual, linearEstimates, scale);
    if (check.network.mae && check.naive.mae && *check.naive.mae > 0.0)
        check.vsNaive = 1.0 - *check.network.mae / *check.naive.mae;
}

} // namespace

ForecastCheck ComputeForecastCheck(Worksheet& ws, int horizon)
{
    return RunForecastCheck(ReadForecastCheckInput(ws, horizon));
}

void ForecastCheckInput::Detach()
{
    if (net && !ownNet) {
        ownNet = std::make_shared<const CBackpropNet>(*net);
        net = ownNet.get();
    }
}

ForecastCheckInput ReadForecastCheckInput(Worksheet& ws, int horizon)
{
    ForecastCheckInput input;
    ForecastCheck& check = input.early;
    check.seasonAutomatic = ws.Settings().seasonLength < 0;
    check.figuresLeakFree = EffectiveForecastOptions(ws.Settings().forecast).leakFreeEvaluation;
    const CheckColumns columns = CheckColumnsOf(ws);
    check.reason = SectionProblem(ws, columns);
    if (!check.reason.empty())
        return input;
    const CBackpropNet& net = ws.Network().net;
    check.reason = NetworkProblem(net, ws, columns);
    if (!check.reason.empty())
        return input;

    const SectionCounts& c = ws.counts;
    CheckSeries& series = input.series;
    series.taps = c.numTaps;
    series.fitted = c.numTraining + c.numTesting;
    series.twoPass = ws.Settings().use2PassEstimate;
    series.lag = ws.Network().changeLag; // -1 (a network read from a file): the settings' lag
    if (!ReadCheckSeries(ws, columns, series.fitted + c.numEval, series, check.reason))
        return input;
    input.readable = true;
    input.seasonSetting = ws.Settings().seasonLength;
    input.firstOrigin = c.numTraining;
    input.firstDataRow = ws.firstDataRow;
    input.horizon = std::clamp(horizon, 1, kMaxHorizon);
    input.net = &net;
    return input;
}

ForecastCheck RunForecastCheck(const ForecastCheckInput& input)
{
    ForecastCheck check = input.early;
    if (!input.readable)
        return check;
    const CheckSeries& series = input.series;
    const CBackpropNet& net = *input.net;
    if (series.lag > 0 && static_cast<std::int64_t>(series.taps) + series.lag >= series.fitted) {
        check.reason = "Num Taps and the change lag are not less than the Training and Testing rows";
        return check;
    }
    FittedRowsMemo& memo = MemoOf(series);
    ChooseSeason(input.seasonSetting, series, memo, check);

    NetworkForecaster forecaster(net, series);
    check.intervals = Intervals(net, series, input.firstOrigin, input.horizon);
    if (series.rows == series.fitted) {
        check.reason = "the worksheet has no Evaluate rows";
        return check;
    }
    ScoreEvaluateRows(forecaster, series, memo.Linear(), input.firstDataRow, check);
    if (!check.network.mae) {
        check.reason = "the network's estimates are not numbers";
        return check;
    }
    const IntervalCoverage coverage = ApplyOneStepInterval(check.rows, check.intervals.front());
    check.coverage80 = coverage.coverage80;
    check.coverage95 = coverage.coverage95;
    check.available = true;
    return check;
}

} // namespace orvalis
