#pragma once

#include "worksheet/ChartData.h"

#include <QString>

class QChart;
class QLineSeries;

namespace orvalis {

// Names of the chart's series that are not a worksheet column.
QString ForecastMarkerName();  // "Forecast start"

// Replaces everything in chart with the worksheet chart of data: the section bands
// (area series behind the lines, in the section colours, half transparent), one line
// per target column, the "Val:Est" line, the forecast-start marker, a value axis of row
// numbers and one of values titled from the worksheet, and the legend at the bottom.
// The axes' ranges are set here, so the chart's zoom reset returns to them.
void FillChart(QChart& chart, const ChartData& data);

// The value lines of a filled chart (targets, then "Val:Est"), for hover tooltips.
QList<QLineSeries*> ValueSeries(const QChart& chart);

// The cell value a point of a filled chart's value lines stands for: the value axis
// shows very large or very small values in a power of ten (its title says which).
double CellValueOf(const QChart& chart, double shown);

} // namespace orvalis
