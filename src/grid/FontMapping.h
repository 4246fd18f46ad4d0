#pragma once

#include "grid/core/GridGeometry.h"
#include "grid/core/GridTypes.h"

#include <QColor>
#include <QFont>
#include <QRect>

namespace orvalis {

// Conversions between the cell store's plain records and Qt's font and colour types.

// A font for the record: a negative height is the character (em) height in pixels, a
// positive one the cell height, which is taken as the pixel size too; weight, italic,
// underline, strike-out and face name carry over.
QFont FontFromLogFont(const LogFont& record);
// The record of a font; the height is the negative pixel height, converted from the
// point size at the screen's resolution when the font has no pixel size.
LogFont LogFontFromFont(const QFont& font);

inline QColor ColorFromGrid(GridColour c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

inline GridColour GridFromColor(const QColor& c)
{
    return Rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
               static_cast<unsigned>(c.blue()));
}

// A cell rectangle of the geometry (inclusive edges) as Qt counts it.
inline QRect ToQRect(const GridRect& r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

} // namespace orvalis
