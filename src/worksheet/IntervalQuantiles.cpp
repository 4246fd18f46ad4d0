#include "worksheet/IntervalQuantiles.h"

#include <algorithm>
#include <cmath>

namespace orvalis {

double EmpiricalQuantile(const std::vector<double>& sorted, double p)
{
    const double position = std::clamp(p, 0.0, 1.0) * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = position - static_cast<double>(below);
    return sorted[below] + fraction * (sorted[above] - sorted[below]);
}

ForecastInterval IntervalFromErrors(int h, std::vector<double> errors)
{
    ForecastInterval interval;
    interval.h = h;
    if (static_cast<int>(errors.size()) < kMinIntervalErrors)
        return interval;
    std::sort(errors.begin(), errors.end());
    interval.lo80 = EmpiricalQuantile(errors, 0.10);
    interval.hi80 = EmpiricalQuantile(errors, 0.90);
    interval.lo95 = EmpiricalQuantile(errors, 0.025);
    interval.hi95 = EmpiricalQuantile(errors, 0.975);
    return interval;
}

IntervalCoverage ApplyOneStepInterval(std::vector<ForecastCheckRow>& rows,
                                      const ForecastInterval& oneStep)
{
    IntervalCoverage coverage;
    if (rows.empty() || !oneStep.lo80 || !oneStep.hi80 || !oneStep.lo95 || !oneStep.hi95)
        return coverage;
    int inside80 = 0;
    int inside95 = 0;
    for (ForecastCheckRow& row : rows) {
        row.lo80 = row.estimate + *oneStep.lo80;
        row.hi80 = row.estimate + *oneStep.hi80;
        row.lo95 = row.estimate + *oneStep.lo95;
        row.hi95 = row.estimate + *oneStep.hi95;
        if (*row.lo80 <= row.actual && row.actual <= *row.hi80)
            ++inside80;
        if (*row.lo95 <= row.actual && row.actual <= *row.hi95)
            ++inside95;
    }
    const double n = static_cast<double>(rows.size());
    coverage.coverage80 = inside80 / n;
    coverage.coverage95 = inside95 / n;
    return coverage;
}

} // namespace orvalis
