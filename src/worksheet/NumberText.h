#pragma once

#include <optional>
#include <string>

namespace orvalis {

// Numbers as the worksheet reads and shows them, always in the C conventions whatever
// locale the program runs under (a GUI toolkit may set the user's locale, and a decimal
// comma must not change what a cell means).

// The text's leading decimal number as strtod reads it: leading blanks skipped, the
// longest prefix that forms a number, 0.0 when there is none ("abc" 0.0, "1,5" 1.0,
// "0x1p3" 8.0, "nan" a NaN).
double ReadNumberText(const std::string& text);

// The same reading for figures that must tell a number from no number: the value when
// the text starts with a decimal number (after leading blanks) that is finite, nothing
// for an empty cell, "abc", "nan" or "inf".
std::optional<double> ReadFiniteNumberText(const std::string& text);

// value printed with one printf conversion (for example "%.3f" or "%f"); non-finite
// values print as the C library prints them ("nan", "-nan", "inf").
std::string FormatNumber(const char* format, double value);

} // namespace orvalis
