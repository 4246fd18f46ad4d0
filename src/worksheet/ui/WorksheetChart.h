#pragma once

#include "worksheet/ChartData.h"

#include <QString>

class QAbstractSeries;
class QChart;
class QLineSeries;

namespace orvalis {

// Names of the chart's series that are not a worksheet column.
QString ForecastMarkerName();  // "Forecast start"
QString IntervalBandName(int percent); // "80 % interval", "95 % interval"
// Whether a series is one of the interval bands around the extrapolated rows (an area
// that follows its values, unlike the section bands that span the plot's height).
bool IsIntervalBand(const QAbstractSeries* series);

// Replaces everything in chart with the worksheet chart of data: the section bands
// (area series behind the lines, in the section colours, half transparent), one line
// per target column, the "Val:Est" line with its 95 % and 80 % interval bands over the
// extrapolated rows, the forecast-start marker, a value axis of row
// numbers and one of values titled from the worksheet, and the legend at the bottom.
// The axes' ranges are set here, so the chart's zoom reset returns to them.
void FillChart(QChart& chart, const ChartData& data);

// The value lines of a filled chart (targets, then "Val:Est"), for hover tooltips.
QList<QLineSeries*> ValueSeries(const QChart& chart);

// The cell value a point of a filled chart's value lines stands for: the value axis
// shows very large or very small values in a power of ten (its title says which).
double CellValueOf(const QChart& chart, double shown);

} // namespace orvalis
