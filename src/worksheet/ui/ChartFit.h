#pragma once

#include "worksheet/ChartAxes.h"
#include "worksheet/ChartRowLabels.h"

#include <optional>

class QChart;
class QValueAxis;

namespace orvalis {

// Keeps a filled worksheet chart fitted to what its plot shows, now and whenever the
// axes' ranges (a zoom) or the plot's size change:
// - the section bands and the forecast-start marker span exactly the visible ranges, so
//   they reach every edge at any zoom and nothing of them lies outside the plot (an SVG
//   picture does not clip, and a dashed line thousands of times the plot's height is
//   drawn solid);
// - the ticks of both axes fall on round steps (1, 2 or 5 times a power of ten; whole
//   rows on the row axis) spaced so that every label fits, with as many decimals as the
//   step needs; a short plot gets fewer labels instead of elided ones.
// With row labels, the row axis is a QCategoryAxis whose labels (dates, months, years)
// sit on round steps of their unit, about ten at most.
// The bands are the chart's area series, their section rows remembered on the series; the
// marker is the line series named ForecastMarkerName().
void KeepChartFitted(QChart& chart, QValueAxis& xAxis, QValueAxis& yAxis,
                     const std::optional<RowLabels>& rowLabels = std::nullopt);

} // namespace orvalis
