#pragma once

#include "grid/core/CellStore.h"

#include <iosfwd>
#include <string>

namespace orvalis {

// Cell text in a line-oriented listing: backslash, TAB, LF and CR as "\\", "\t", "\n",
// "\r", other control bytes as "\xhh" (two lower-case hex digits); everything else,
// bytes from 0x80 up included, as it is.
std::string EscapeCellText(const std::string& text);

// The --cells listing: one "row<TAB>column<TAB>text" line for every non-empty cell of
// grid rows 1..1000 and columns 1..68, row by row, texts escaped as above.
void WriteCellListing(const CellStore& cells, std::ostream& out);

// The used part of the grid, one line per row: rows 0 to the last row with text in a
// data column (1..68), columns 0 to the last column with text below the title row,
// role texts "No Data" not counting. Fields are separated by separator (',' or TAB) and
// written without quoting; line ends, other control bytes and, in tab-separated output,
// TABs inside a text are escaped as in EscapeCellText, backslashes are kept.
void WriteUsedGrid(const CellStore& cells, char separator, std::ostream& out);

} // namespace orvalis
