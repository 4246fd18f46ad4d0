#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace orvalis {

// Colour: red in bits 0-7, green 8-15, blue 16-23. In a cell, DefaultColor stands for
// the grid's own colour (normal or fixed).
using GridColour = std::uint32_t;
constexpr GridColour DefaultColor = 0xFF000000u;

constexpr GridColour Rgb(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// Cell state bits. Focus, selection and the drop target are each view's own, not the
// cell's (see GridSelection).
enum CellStateBits : unsigned {
    CellReadOnly = 0x08,
    CellModified = 0x20,
};

// Text-drawing flags kept in a cell's format and handed to the painter unchanged.
enum TextFormatBits : unsigned {
    FormatLeft = 0x00,
    FormatCenter = 0x01,
    FormatRight = 0x02,
    FormatVCenter = 0x04,
    FormatWordBreak = 0x10,
    FormatSingleLine = 0x20,
    FormatEndEllipsis = 0x8000,
};

// GridItem mask bits: which fields SetCell/GetCell transfer.
enum GridItemMask : unsigned {
    ItemText = 0x01,
    ItemImage = 0x02,
    ItemParam = 0x04,
    ItemState = 0x08,
    ItemBackColor = 0x10,
    ItemTextColor = 0x20,
    ItemFormat = 0x40,
    ItemFont = 0x80,
};

enum GridLinesMode : int {
    GridLinesNone = 0,
    GridLinesHorizontal = 1,
    GridLinesVertical = 2,
    GridLinesBoth = 3,
};

// A logical-font record, 60 bytes: the description of a font, not the font itself.
struct LogFont {
    std::int32_t height = 0;      // character height in pixels; negative: em height
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 400;    // 400 normal, 600 semi-bold, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[32] = {};

    bool operator==(const LogFont& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};
static_assert(sizeof(LogFont) == 60, "the logical-font record is 60 bytes");

struct CellId {
    int row = -1;
    int col = -1;
    bool operator==(const CellId&) const = default;
};

struct CellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;
    bool operator==(const CellRange&) const = default;
    bool Contains(int row, int col) const
    {
        return row >= minRow && row <= maxRow && col >= minCol && col <= maxCol;
    }
};

// Exchange record of SetCell/GetCell; mask chooses the fields.
struct GridItem {
    int row = 0;
    int col = 0;
    unsigned mask = 0;
    unsigned state = 0;
    unsigned format = 0;
    std::string text;
    int image = -1;
    GridColour backColor = DefaultColor;
    GridColour textColor = DefaultColor;
    std::uint32_t param = 0;
    LogFont font;
};

} // namespace orvalis
