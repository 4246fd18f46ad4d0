#pragma once

#include <QString>

#include <cstddef>
#include <string_view>

namespace orvalis {

// A cell may hold megabytes (one pasted block of 50 MB, say), but no column, title tip,
// printed page or screen reader shows more than a few thousand of its characters.
// Everything that measures, draws, prints or exposes a cell's text reads it through
// ShownCellText, so that its cost stays bounded whatever the cell holds.
inline constexpr std::size_t kShownCellChars = 4096;

// The first kShownCellChars characters of a cell's 8-bit text (one byte, one character)
// as Qt text; a longer text is cut there and ends in an ellipsis.
QString ShownCellText(std::string_view text);

// True when ShownCellText(text) is cut.
inline bool IsCellTextCut(std::string_view text)
{
    return text.size() > kShownCellChars;
}

} // namespace orvalis
