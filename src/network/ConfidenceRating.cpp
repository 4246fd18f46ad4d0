#include "network/ConfidenceRating.h"

#include <cmath>
#include <limits>

namespace orvalis {

const char* RateConfidence(double x)
{
    // A figure that could not be computed (a single row, a target without spread) is
    // no ground for confidence, whatever its sign.
    if (!std::isfinite(x))
        return "Poor";
    if (x > 70)
        return "High";
    if (x > 30)
        return "Fair";
    return "Poor";
}

int ConfidenceBarPosition(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (x <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(std::trunc(x));
}

} // namespace orvalis
