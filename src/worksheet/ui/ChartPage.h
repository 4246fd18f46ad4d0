#pragma once

#include "worksheet/ChartData.h"

class QPainter;
class QRectF;

namespace orvalis {

struct AppSettings;
class Worksheet;

struct ForecastCheck;

// The chart of the worksheet as its cells stand now, banded in the settings' colours,
// with the interval bands of its forecast check when one is given.
ChartData ReadWorksheetChart(const Worksheet& worksheet, const AppSettings& settings,
                             const ForecastCheck* check = nullptr);

// Draws the worksheet chart of data into target on painter, at any resolution: the
// chart is laid out at a screen-like size of target's shape (so its texts keep their
// proportion to the lines) and scaled onto target. Used for the printed chart page.
void DrawChartPage(QPainter& painter, const QRectF& target, const ChartData& data);

} // namespace orvalis
