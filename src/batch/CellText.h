#pragma once

#include "grid/core/CellStore.h"
#include "worksheet/UsedGrid.h" // WriteUsedGrid, the listing of `show`

#include <iosfwd>
#include <string>

namespace orvalis {

// Cell text in a line-oriented listing: backslash, TAB, LF and CR as "\\", "\t", "\n",
// "\r", other control bytes as "\xhh" (two lower-case hex digits); everything else,
// bytes from 0x80 up included, as it is.
std::string EscapeCellText(const std::string& text);

// The --cells listing: one "row<TAB>column<TAB>text" line for every non-empty cell of
// grid rows 1 to the last (1000 on a worksheet that has not grown) and columns 1..68,
// row by row, texts escaped as above.
void WriteCellListing(const CellStore& cells, std::ostream& out);

} // namespace orvalis
