#include "worksheet/UsedGrid.h"

#include "grid/core/CellStore.h"
#include "worksheet/WorksheetLayout.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

namespace orvalis {

bool IsControlByte(unsigned char ch)
{
    return ch < 0x20 || ch == 0x7F;
}

void AppendEscapedControl(std::string& out, unsigned char ch)
{
    switch (ch) {
    case '\t':
        out += "\\t";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\r':
        out += "\\r";
        break;
    default: {
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02x", ch);
        out += hex;
    }
    }
}

UsedGridExtent FindUsedGrid(const CellStore& cells)
{
    UsedGridExtent used;
    for (int r = 1; r < cells.GetRowCount(); ++r) {
        for (int c = 1; c < cells.GetColumnCount(); ++c) {
            const std::string& text = cells.CellTextRef(r, c);
            if (text.empty() || (r == kRoleRow && text == "No Data"))
                continue;
            used.lastRow = std::max(used.lastRow, r);
            used.lastColumn = std::max(used.lastColumn, c);
        }
    }
    return used;
}

void WriteUsedGrid(const CellStore& cells, char separator, std::ostream& out)
{
    const UsedGridExtent used = FindUsedGrid(cells);
    std::string line;
    for (int r = 0; r <= used.lastRow; ++r) {
        line.clear();
        for (int c = 0; c <= used.lastColumn; ++c) {
            if (c > 0)
                line += separator;
            for (unsigned char ch : cells.CellTextRef(r, c)) {
                if (IsControlByte(ch) && !(ch == '\t' && separator != '\t'))
                    AppendEscapedControl(line, ch);
                else
                    line += static_cast<char>(ch);
            }
        }
        line += '\n';
        out << line;
    }
}

} // namespace orvalis
