#pragma once

#include <iosfwd>
#include <string>

namespace orvalis {

class CellStore;

// The used part of a worksheet's grid: rows 0..lastRow and columns 0..lastColumn. A
// row or column is used when one of its data-column cells below the title row holds
// text, the role texts "No Data" not counting; the labels of column 0 and the titles of
// row 0 never make a row or column used. An empty grid gives (0, 0).
struct UsedGridExtent {
    int lastRow = 0;
    int lastColumn = 0;
};

UsedGridExtent FindUsedGrid(const CellStore& cells);

// Control bytes (below 0x20, and 0x7F) are escaped in every listing of cell texts.
bool IsControlByte(unsigned char ch);
// Appends a control byte's escape: "\t", "\n", "\r", otherwise "\xhh" (two lower-case
// hex digits).
void AppendEscapedControl(std::string& out, unsigned char ch);

// The used part, one line per row: fields separated by separator (',' or TAB) and
// written without quoting; line ends, other control bytes and, in tab-separated output,
// TABs inside a text are escaped as "\t", "\n", "\r" or "\xhh" (two lower-case hex
// digits); backslashes are kept.
void WriteUsedGrid(const CellStore& cells, char separator, std::ostream& out);

} // namespace orvalis
