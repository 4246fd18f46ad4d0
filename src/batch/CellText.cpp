#include "batch/CellText.h"

#include "worksheet/WorksheetLayout.h"

#include <algorithm>
#include <ostream>

namespace orvalis {

std::string EscapeCellText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char ch : text) {
        if (ch == '\\')
            out += "\\\\";
        else if (IsControlByte(ch))
            AppendEscapedControl(out, ch);
        else
            out += static_cast<char>(ch);
    }
    return out;
}

void WriteCellListing(const CellStore& cells, std::ostream& out)
{
    // Every row: 1000 on a worksheet as created, more on one that has grown.
    const int lastRow = cells.GetRowCount() - 1;
    const int lastCol = std::min(kLastDataColumn, cells.GetColumnCount() - 1);
    std::string line;
    for (int r = 1; r <= lastRow; ++r) {
        for (int c = 1; c <= lastCol; ++c) {
            const std::string& text = cells.CellTextRef(r, c);
            if (text.empty())
                continue;
            line = std::to_string(r);
            line += '\t';
            line += std::to_string(c);
            line += '\t';
            line += EscapeCellText(text);
            line += '\n';
            out << line;
        }
    }
}

} // namespace orvalis
