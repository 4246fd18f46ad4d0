#pragma once

#include "worksheet/ChartData.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace orvalis {

// Draws the chart of data, as the chart pane shows it, at size pixels as the bytes of
// the picture file path: an SVG picture when path ends in ".svg" (any case), a JPEG for
// ".jpg" or ".jpeg", otherwise a PNG. Shows no window, but needs a QApplication (the
// offscreen platform will do). False when it could not be drawn.
bool DrawChartPicture(const ChartData& data, QSize size, const QString& path, QByteArray& bytes);
// The same written into path through WriteOutputFile; false when the file could not be
// written.
bool WriteChartPicture(const ChartData& data, QSize size, const QString& path);

} // namespace orvalis
