#pragma once

#include <string>

namespace orvalis {

// Reads an integer typed by the user as the C library's atoi does on 64-bit Linux:
// leading white space, an optional sign and the longest run of decimal digits, read
// into a 64-bit value that saturates, then cut to its low 32 bits. No digits gives 0,
// so "abc" is 0, "12ab" is 12 and "4294967336" is 40.
int ReadIntegerText(const std::string& text);

// The "%d" text of a value.
std::string IntegerText(int value);

} // namespace orvalis
