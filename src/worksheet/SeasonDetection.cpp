// The season length a series suggests, found from the autocorrelation of its changes, or
// failing that of its levels about their straight line.

#include "worksheet/ForecastCheck.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvalis {

namespace {

constexpr int kMaxLevelSeason = 24;

// A season shows as a repeat in the changes from row to row: the change one season ago
// resembles today's. Working on the first differences keeps a trend from posing as a
// long season (the levels of any trending series correlate at every lag).
std::vector<double> CentredChanges(const double* y, int count)
{
    std::vector<double> d(static_cast<std::size_t>(count - 1));
    double mean = 0.0;
    for (int i = 1; i < count; ++i) {
        d[static_cast<std::size_t>(i - 1)] = y[i] - y[i - 1];
        mean += d[static_cast<std::size_t>(i - 1)];
    }
    mean /= static_cast<double>(d.size());
    for (double& v : d)
        v -= mean;
    return d;
}

// The sum of a[i] * b[i], i < count: the lags of a long series make this the check's
// costliest loop (count / 3 lags of count products). It adds in eight interleaved
// partial sums, which the compiler keeps in two vectors, and is built also for AVX2
// (the loader picks the build the processor runs).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
__attribute__((target_clones("avx2", "default")))
#endif
double
LaggedProduct(const double* a, const double* b, int count)
{
    double partial[8] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    int i = 0;
    for (; i + 8 <= count; i += 8)
        for (int lane = 0; lane < 8; ++lane)
            partial[lane] += a[i + lane] * b[i + lane];
    double sum = 0.0;
    for (; i < count; ++i)
        sum += a[i] * b[i];
    for (double p : partial)
        sum += p;
    return sum;
}

// The season the levels show once their straight line is taken off, for a series whose
// changes hide it: a monthly count whose peak falls in a different month from year to year
// has changes that repeat poorly, while its levels still rise back to a peak a year on.
// The autocorrelation of levels is high at lag 1 and falls away on any persistent series,
// so only a lag where it peaks again (no lower than either neighbour) above both 0.3 and
// 3.5 / sqrt(count - 1) is a season; the highest such peak, the smaller lag on a tie. The
// lags end at 24 rows (two years of months): a longer repeat in the levels, as the eleven
// years of the monthly sunspots, is a cycle that no window of a season would serve.
int LevelSeason(const double* y, int count)
{
    const int maxLag = std::min(count / 3, kMaxLevelSeason);
    if (maxLag < 2)
        return 0;
    const double middle = 0.5 * (count - 1);
    double mean = 0.0;
    for (int i = 0; i < count; ++i)
        mean += y[i];
    mean /= count;
    double slopeSum = 0.0;
    double spread = 0.0;
    for (int i = 0; i < count; ++i) {
        slopeSum += (i - middle) * (y[i] - mean);
        spread += (i - middle) * (i - middle);
    }
    const double slope = slopeSum / spread;
    std::vector<double> rest(static_cast<std::size_t>(count));
    double variance = 0.0;
    for (int i = 0; i < count; ++i) {
        rest[static_cast<std::size_t>(i)] = y[i] - mean - slope * (i - middle);
        variance += rest[static_cast<std::size_t>(i)] * rest[static_cast<std::size_t>(i)];
    }
    if (!(variance > 0.0) || !std::isfinite(variance))
        return 0;
    std::vector<double> r(static_cast<std::size_t>(maxLag) + 2, 0.0);
    for (int lag = 1; lag <= maxLag + 1; ++lag)
        r[static_cast<std::size_t>(lag)] = LaggedProduct(rest.data() + lag, rest.data(), count - lag) / variance;
    const double threshold = std::max(0.3, 3.5 / std::sqrt(static_cast<double>(count - 1)));
    int best = 0;
    for (int lag = 2; lag <= maxLag; ++lag) {
        const double here = r[static_cast<std::size_t>(lag)];
        const bool peak = here >= r[static_cast<std::size_t>(lag - 1)] && here >= r[static_cast<std::size_t>(lag + 1)];
        if (peak && here > threshold && (best == 0 || here > r[static_cast<std::size_t>(best)]))
            best = lag;
    }
    return best;
}

} // namespace

// The rule: with n = count - 1 changes, take the lag L from 2 to count / 3 whose
// autocorrelation r(L) of the changes is highest, and accept it only when r(L) is above
// both 0.3 and 3.5 / sqrt(n). The search takes the largest of up to n / 3 values, each
// of which scatters by about 1.2 / sqrt(n) around 0 when there is no season (changes of
// white noise have r(1) = -0.5, which widens the others); 3.5 / sqrt(n) keeps chance
// finds on noise and random walks to a few in a hundred, and 0.3 asks that the season
// carries a visible share of the changes. A multiple of the season correlates nearly as
// well as the season itself, so a divisor of L whose autocorrelation is at least 0.9 of
// r(L) is taken instead (the smallest such). When no lag passes, the season of the
// levels about their straight line, if they show one (LevelSeason).
int DetectSeason(const double* y, int count)
{
    const int maxLag = count / 3;
    if (!y || maxLag < 2)
        return 0;
    const std::vector<double> d = CentredChanges(y, count);
    const int n = static_cast<int>(d.size());
    double variance = 0.0;
    for (double v : d)
        variance += v * v;
    if (!(variance > 0.0) || !std::isfinite(variance))
        return 0;
    std::vector<double> r(static_cast<std::size_t>(maxLag) + 1, 0.0);
    int best = 0;
    for (int lag = 2; lag <= maxLag && lag < n; ++lag) {
        const double sum = LaggedProduct(d.data() + lag, d.data(), n - lag);
        r[static_cast<std::size_t>(lag)] = sum / variance;
        if (best == 0 || r[static_cast<std::size_t>(lag)] > r[static_cast<std::size_t>(best)])
            best = lag;
    }
    const double threshold = std::max(0.3, 3.5 / std::sqrt(static_cast<double>(n)));
    if (best == 0 || !(r[static_cast<std::size_t>(best)] > threshold))
        return LevelSeason(y, count);
    for (int p = 2; p < best; ++p)
        if (best % p == 0 && r[static_cast<std::size_t>(p)] >= 0.9 * r[static_cast<std::size_t>(best)])
            return p;
    return best;
}

} // namespace orvalis
