#pragma once

#include "worksheet/ForecastCheck.h"

#include <vector>

namespace orvalis {

// The p-quantile (0 <= p <= 1) of sorted values, interpolated linearly between the order
// statistics: position p * (n - 1), counted from 0. sorted must not be empty.
double EmpiricalQuantile(const std::vector<double>& sorted, double p);

// The 80 % and 95 % offsets of the h-step interval from the h-step errors (actual minus
// estimate): their 10/90 % and 2.5/97.5 % quantiles. Fewer than kMinIntervalErrors
// errors give offsets without a value.
constexpr int kMinIntervalErrors = 5;
ForecastInterval IntervalFromErrors(int h, std::vector<double> errors);

// Sets each row's lo/hi to its estimate plus the one-step offsets (nothing when the
// offsets have no value) and returns the share of rows whose actual value lies within
// [lo80, hi80] and [lo95, hi95], empty when there are no rows or no offsets.
struct IntervalCoverage {
    std::optional<double> coverage80;
    std::optional<double> coverage95;
};
IntervalCoverage ApplyOneStepInterval(std::vector<ForecastCheckRow>& rows,
                                      const ForecastInterval& oneStep);

} // namespace orvalis
