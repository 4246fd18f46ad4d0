#include "worksheet/WindowRule.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ChangeLag.h"
#include "worksheet/CheckSeries.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/VectorSets.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace orvalis {

namespace {

constexpr int kMaxRuleOrder = 24;
constexpr int kMaxNetworkInputs = 200;

// The residual sum of squares of the least squares of z[t] on 1, z[t-1] .. z[t-p] over
// t = first .. count-1.
double ResidualSquares(const double* z, int count, int first, int p)
{
    const int rows = count - first;
    Eigen::MatrixXd x(rows, p + 1);
    Eigen::VectorXd target(rows);
    for (int i = 0; i < rows; ++i) {
        const int t = first + i;
        target(i) = z[t];
        x(i, 0) = 1.0;
        for (int l = 1; l <= p; ++l)
            x(i, l) = z[t - l];
    }
    const Eigen::VectorXd b = x.completeOrthogonalDecomposition().solve(target);
    return (target - x * b).squaredNorm();
}

} // namespace

int WindowRuleBound(int fitted)
{
    return std::max(2, std::min(kMaxRuleOrder, fitted / 10));
}

int AutoregressiveOrderByBic(const double* z, int count, int maxOrder)
{
    const int rows = count - maxOrder;
    // Each fit needs clearly more rows than coefficients to be compared at all.
    if (maxOrder < 2 || rows < 2 * (maxOrder + 1))
        return 2;
    const double n = rows;
    int best = 2;
    double bestBic = std::numeric_limits<double>::infinity();
    for (int p = 2; p <= maxOrder; ++p) {
        const double rss = ResidualSquares(z, count, maxOrder, p);
        // An exact fit has no logarithm; the smallest positive variance ranks it first
        // and leaves the penalty to choose among exact fits.
        const double variance = std::max(rss / n, std::numeric_limits<double>::min());
        const double bic = n * std::log(variance) + (p + 1) * std::log(n);
        if (bic < bestBic) {
            bestBic = bic;
            best = p;
        }
    }
    return best;
}

int RuleTaps(const double* y, int fitted, int season)
{
    if (season >= 2)
        return season + 1;
    std::vector<double> z;
    for (int j = 1; j < fitted; ++j)
        z.push_back(y[j] - y[j - 1]);
    return AutoregressiveOrderByBic(z.data(), static_cast<int>(z.size()), WindowRuleBound(fitted));
}

int ApplyWindowRule(Worksheet& ws)
{
    const SectionCounts& c = ws.counts;
    const std::int64_t sections = static_cast<std::int64_t>(c.numTraining) + c.numTesting;
    if (c.numTraining <= 0 || c.numTesting <= 0 ||
        sections > ws.Store().GetRowCount() - ws.firstDataRow)
        return c.numTaps;
    const int fitted = static_cast<int>(sections);
    CheckSeries series;
    series.taps = 1;
    series.fitted = fitted;
    std::string reason;
    // The rule runs before Train's role scan, which alone shows the scan's messages.
    const CheckColumns columns = RoleRowColumns(ws);
    if (columns.target == 0 || !ReadCheckSeries(ws, columns, fitted, series, reason))
        return c.numTaps;

    const AppSettings& settings = ws.Settings();
    const double* y = series.target.data();
    const int found = settings.seasonLength >= 0 ? settings.seasonLength : DetectSeason(y, fitted);
    const int season = found >= 2 && found < fitted ? found : 0;
    int taps = RuleTaps(y, fitted, season);
    const int lag = ResolveChangeLag(settings, y, fitted);
    const int sets = std::max<int>(1, static_cast<int>(columns.inputs.size()));
    taps = std::min({taps, c.numTraining - 1 - lag, kMaxNetworkInputs / sets});
    if (taps < (settings.use2PassEstimate ? 2 : 1))
        return c.numTaps;
    if (taps != c.numTaps) {
        // Typed in as a user types a window, so everything a new window sets off follows;
        // the window locks the worksheet against the user's edits while Train runs, and
        // this value is Train's own.
        CellStore& store = ws.Store();
        const bool editable = store.editable;
        store.editable = true;
        ws.ApplyCellEdit(kNumTapsRow, kValueColumn, std::to_string(taps));
        store.editable = editable;
    }
    return c.numTaps;
}

} // namespace orvalis
