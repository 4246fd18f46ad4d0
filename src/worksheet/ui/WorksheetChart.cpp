#include "worksheet/ui/WorksheetChart.h"

#include "worksheet/ui/ChartFit.h"

#include <QAreaSeries>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <limits>

namespace orvalis {

namespace {

constexpr char kValueSeriesProperty[] = "orvalisValueSeries";
constexpr char kIntervalBandProperty[] = "orvalisIntervalBand";

QColor ToQColor(Colour colour, int alpha = 255)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF), alpha);
}

struct Range {
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    void Add(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool Empty() const { return low > high; }
};

QLineSeries* AddLine(QChart& chart, const ChartSeriesData& data, const QPen& pen)
{
    auto* series = new QLineSeries(&chart);
    series->setName(QString::fromStdString(data.name));
    QList<QPointF> points;
    points.reserve(qsizetype(data.points.size()));
    for (const ChartPoint& p : data.points)
        points.append(QPointF(p.x, p.y));
    series->replace(points);
    series->setPen(pen);
    series->setProperty(kValueSeriesProperty, true);
    chart.addSeries(series);
    return series;
}

// One interval band: the area between the rows' lower and upper bounds.
QAreaSeries* AddIntervalBand(QChart& chart, const std::vector<ChartIntervalPoint>& points, bool wide)
{
    auto* upper = new QLineSeries(&chart);
    auto* lower = new QLineSeries(&chart);
    for (const ChartIntervalPoint& p : points) {
        upper->append(p.x, wide ? p.hi95 : p.hi80);
        lower->append(p.x, wide ? p.lo95 : p.lo80);
    }
    auto* area = new QAreaSeries(upper, lower);
    area->setName(IntervalBandName(wide ? 95 : 80));
    area->setColor(QColor(210, 30, 30, wide ? 45 : 90));
    area->setPen(Qt::NoPen);
    area->setProperty(kIntervalBandProperty, true);
    chart.addSeries(area);
    return area;
}

} // namespace

QString IntervalBandName(int percent)
{
    return QStringLiteral("%1 % interval").arg(percent);
}

bool IsIntervalBand(const QAbstractSeries* series)
{
    return series && series->property(kIntervalBandProperty).toBool();
}

QString ForecastMarkerName()
{
    return QStringLiteral("Forecast start");
}

void FillChart(QChart& chart, const ChartData& data)
{
    // A zoom remembers the ranges it started from: forget it before the axes go.
    chart.zoomReset();
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }

    Range x, y;
    for (const ChartSeriesData& s : data.targets)
        for (const ChartPoint& p : s.points) {
            x.Add(p.x);
            y.Add(p.y);
        }
    if (data.estimates)
        for (const ChartPoint& p : data.estimates->points) {
            x.Add(p.x);
            y.Add(p.y);
        }
    for (const ChartBand& band : data.bands) {
        x.Add(band.from);
        x.Add(band.to);
    }
    for (const ChartIntervalPoint& p : data.intervals) {
        y.Add(std::min(p.lo95, p.lo80));
        y.Add(std::max(p.hi95, p.hi80));
    }
    if (x.Empty())
        x = {0.0, 1.0};
    if (y.Empty())
        y = {0.0, 1.0};
    const double ySpan = y.high > y.low ? y.high - y.low : std::max(1.0, std::abs(y.high));
    const double yLow = y.low - ySpan * 0.05;
    const double yHigh = y.high + ySpan * 0.05;
    // Bands and the marker span the plot's height; KeepChartFitted keeps them so at
    // every zoom.
    const double farLow = yLow;
    const double farHigh = yHigh;

    QList<QAbstractSeries*> all;
    for (const ChartBand& band : data.bands) {
        auto* upper = new QLineSeries(&chart);
        auto* lower = new QLineSeries(&chart);
        upper->append({QPointF(band.from, farHigh), QPointF(band.to, farHigh)});
        lower->append({QPointF(band.from, farLow), QPointF(band.to, farLow)});
        auto* area = new QAreaSeries(upper, lower);
        area->setName(QString::fromUtf8(SectionName(band.section)));
        area->setColor(ToQColor(band.colour, 70));
        area->setBorderColor(Qt::transparent);
        area->setPen(Qt::NoPen);
        chart.addSeries(area);
        all.append(area);
    }
    const QColor palette[] = {QColor(0, 60, 160), QColor(0, 130, 60), QColor(120, 0, 160),
                              QColor(150, 90, 0), QColor(0, 120, 140), QColor(90, 90, 90)};
    int colourIndex = 0;
    for (const ChartSeriesData& s : data.targets)
        all.append(AddLine(chart, s, QPen(palette[colourIndex++ % 6], 1.5)));
    if (!data.intervals.empty()) {
        all.append(AddIntervalBand(chart, data.intervals, true));
        all.append(AddIntervalBand(chart, data.intervals, false));
    }
    if (data.estimates)
        all.append(AddLine(chart, *data.estimates, QPen(QColor(210, 30, 30), 1.5)));
    if (data.forecastStart) {
        auto* marker = new QLineSeries(&chart);
        marker->setName(ForecastMarkerName());
        marker->append({QPointF(*data.forecastStart, farLow), QPointF(*data.forecastStart, farHigh)});
        marker->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
        chart.addSeries(marker);
        all.append(marker);
    }

    auto* xAxis = new QValueAxis(&chart);
    xAxis->setTitleText(QString::fromStdString(data.xTitle));
    xAxis->setLabelFormat(QStringLiteral("%.0f"));
    xAxis->setRange(x.low, x.high);
    xAxis->applyNiceNumbers();
    auto* yAxis = new QValueAxis(&chart);
    yAxis->setTitleText(QString::fromStdString(data.yTitle));
    yAxis->setRange(yLow, yHigh);
    yAxis->applyNiceNumbers();
    chart.addAxis(xAxis, Qt::AlignBottom);
    chart.addAxis(yAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : all) {
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    }
    chart.legend()->setVisible(true);
    chart.legend()->setAlignment(Qt::AlignBottom);
    KeepChartFitted(chart, *xAxis, *yAxis);
}

QList<QLineSeries*> ValueSeries(const QChart& chart)
{
    QList<QLineSeries*> result;
    for (QAbstractSeries* series : chart.series()) {
        if (series->property(kValueSeriesProperty).toBool())
            result.append(static_cast<QLineSeries*>(series));
    }
    return result;
}

} // namespace orvalis
