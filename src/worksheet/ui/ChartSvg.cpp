#include "worksheet/ui/ChartSvg.h"

#include "shell/core/QtOutputFile.h"
#include "worksheet/ui/WorksheetChart.h"

#include <QBuffer>

#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QSvgGenerator>

#include <optional>

namespace orvalis {

namespace {

// The part of segment a-b inside rect (Liang-Barsky), or nothing.
std::optional<QLineF> ClipSegment(QPointF a, QPointF b, const QRectF& rect)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(), rect.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return std::nullopt;
    }
    return QLineF(a + t0 * (b - a), a + t1 * (b - a));
}

} // namespace

QList<QPolygonF> ClipPolyline(const QList<QPointF>& points, const QRectF& rect)
{
    QList<QPolygonF> parts;
    if (points.size() == 1 && rect.contains(points[0]))
        parts.append(QPolygonF({points[0]}));
    for (qsizetype i = 1; i < points.size(); ++i) {
        const auto piece = ClipSegment(points[i - 1], points[i], rect);
        if (!piece)
            continue;
        // A piece goes on the current part when it starts where that part ends.
        if (!parts.isEmpty() && parts.back().back() == piece->p1())
            parts.back().append(piece->p2());
        else
            parts.append(QPolygonF({piece->p1(), piece->p2()}));
    }
    return parts;
}

bool DrawChartSvg(QChartView& view, QByteArray& bytes)
{
    bytes.clear();
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return false;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(view.size());
    generator.setViewBox(QRect(QPoint(0, 0), view.size()));
    // Texts are written in points converted at this resolution; the screen's keeps them
    // the size they are on the screen, next to lines drawn in its pixels.
    generator.setResolution(view.logicalDpiY());
    QChart* chart = view.chart();
    generator.setTitle(chart ? chart->title() : QString());

    // An SVG picture keeps no clipping, so a zoomed chart's lines would run past its
    // plot: they are left out of the chart's own drawing and drawn again cut to the plot.
    const QList<QLineSeries*> lines = chart ? ValueSeries(*chart) : QList<QLineSeries*>();
    QList<QLineSeries*> hidden;
    for (QLineSeries* line : lines) {
        if (line->isVisible()) {
            line->setVisible(false);
            // The legend hides a hidden line's entry; this one stays.
            for (QLegendMarker* marker : chart->legend()->markers(line))
                marker->setVisible(true);
            hidden.append(line);
        }
    }
    bool drawn = false;
    {
        QPainter painter;
        if (painter.begin(&generator)) {
            view.render(&painter);
            const auto toView = [&](QPointF p) { return view.mapFromScene(chart->mapToScene(p)); };
            const QRectF plot = view.mapFromScene(chart->mapToScene(chart->plotArea())).boundingRect();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setClipping(false);
            for (QLineSeries* line : hidden) {
                QList<QPointF> points;
                points.reserve(line->count());
                for (const QPointF& value : line->points())
                    points.append(toView(chart->mapToPosition(value, line)));
                painter.setPen(line->pen());
                for (const QPolygonF& part : ClipPolyline(points, plot))
                    painter.drawPolyline(part);
            }
            drawn = true;
        }
    }
    for (QLineSeries* line : hidden)
        line->setVisible(true);
    return drawn;
}

bool SaveChartSvg(QChartView& view, const QString& path)
{
    QByteArray bytes;
    return DrawChartSvg(view, bytes) && WriteOutputFile(path, bytes);
}

} // namespace orvalis
