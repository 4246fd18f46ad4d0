#include "worksheet/FieldChecks.h"

#include "worksheet/IntegerText.h"
#include "worksheet/NumberText.h"
#include "worksheet/UserMessages.h"

#include <cfloat>
#include <cmath>

namespace orvalis {

namespace {

// The value held at the precision of a 32-bit float and widened back. Values beyond
// the float range (and NaN) are returned as they are: they fail every upper bound.
double RoundToSingle(double value)
{
    if (!(std::fabs(value) <= static_cast<double>(FLT_MAX)))
        return value;
    return static_cast<double>(static_cast<float>(value));
}

// The value of a passing field, or false when it lies outside lo..hi.
bool ReadInRange(const FieldCheck& check, double& value)
{
    switch (check.read) {
    case FieldCheck::Read::Integer:
        value = ReadIntegerText(check.text);
        return value >= check.lo && value <= check.hi;
    case FieldCheck::Read::Number:
        value = ReadNumberText(check.text);
        return value >= check.lo && value <= check.hi;
    case FieldCheck::Read::Single:
        value = ReadNumberText(check.text);
        if (!(value >= check.lo))
            return false;
        value = RoundToSingle(value);
        return value <= check.hi;
    }
    return false;
}

} // namespace

bool RunFieldChecks(const std::vector<FieldCheck>& checks, UserMessages& messages)
{
    for (const FieldCheck& check : checks) {
        double value = 0.0;
        if (!ReadInRange(check, value)) {
            if (check.plain)
                messages.Plain(check.message);
            else
                messages.Error(check.message);
            return false;
        }
        check.store(value);
    }
    return true;
}

} // namespace orvalis
