#pragma once

#include <QFont>
#include <QRect>

#include <string>

class QPainter;

namespace orvalis {

// Draws a cell's text into rect (the cell less its margins) with the painter's pen, as
// the cell's format (GridTypes.h) aligns and breaks it. Screen and paper draw cell text
// alike through here. A text that was cut to fit the store ends in an ellipsis where
// the cell ends.
void DrawCellText(QPainter& painter, const QRect& rect, unsigned format, const std::string& text,
                  const QFont& font);

} // namespace orvalis
