#pragma once

#include <QByteArray>
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QString>

class QChartView;

namespace orvalis {

// Draws the chart as the view shows it, at the view's size, as the bytes of an SVG
// file. False when it cannot be drawn.
bool DrawChartSvg(QChartView& view, QByteArray& bytes);
// The same written into the SVG file path through WriteOutputFile (a failed export
// leaves an older picture as it was). False when the file cannot be written.
bool SaveChartSvg(QChartView& view, const QString& path);

// The parts of the polyline through points that lie inside rect, each a polyline of its
// own: a line that leaves the rectangle and comes back gives two.
QList<QPolygonF> ClipPolyline(const QList<QPointF>& points, const QRectF& rect);

} // namespace orvalis
