#pragma once

#include "worksheet/ForecastCheck.h"

#include <optional>
#include <ostream>
#include <string>

namespace orvalis {

// A JSON number with every digit a double holds, or null: JSON has no words for an
// overflow or a quotient without a value, so a reader never meets "inf" or "nan".
std::string JsonNumber(const std::optional<double>& value);

// The report's "forecast_check" value: the check's figures, its rows with their
// one-step intervals and the interval offsets per h; null when there is no check (the
// worksheet is not evaluated).
void WriteForecastCheckJson(std::ostream& out, const ForecastCheck* check);

// The same for the plain report, in lines of their own: the season used, n, the errors
// of the network and of each baseline, the share better than the naive forecast, the
// coverage, the interval offsets per h, and the verdict.
void WriteForecastCheckPlain(std::ostream& out, const ForecastCheck& check);

} // namespace orvalis
