#include "batch/CellText.h"

#include "worksheet/WorksheetLayout.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace orvalis {

namespace {

constexpr int kLastListedRow = 1000;

void AppendControl(std::string& out, unsigned char ch)
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

bool IsControl(unsigned char ch) { return ch < 0x20 || ch == 0x7F; }

} // namespace

std::string EscapeCellText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char ch : text) {
        if (ch == '\\')
            out += "\\\\";
        else if (IsControl(ch))
            AppendControl(out, ch);
        else
            out += static_cast<char>(ch);
    }
    return out;
}

void WriteCellListing(const CellStore& cells, std::ostream& out)
{
    const int lastRow = std::min(kLastListedRow, cells.GetRowCount() - 1);
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
