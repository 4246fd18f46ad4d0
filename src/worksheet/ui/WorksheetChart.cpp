#include "worksheet/ui/WorksheetChart.h"

#include "worksheet/ChartAxes.h"
#include "worksheet/ui/ChartFit.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

namespace orvalis {

namespace {

constexpr char kValueSeriesProperty[] = "orvalisValueSeries";
constexpr char kValueExponentProperty[] = "orvalisValueExponent";
constexpr char kIntervalBandProperty[] = "orvalisIntervalBand";

QColor ToQColor(Colour colour, int alpha = 255)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF), alpha);
}

// A column's name as the legend and the axis title show it: at most kLongestName
// characters, the rest given as "...". A comment cell may hold any length of text, and
// the chart's layout measures its texts again for every character it elides.
constexpr qsizetype kLongestName = 100;

QString ShownName(const std::string& name)
{
    QString text = QString::fromStdString(name);
    if (text.size() <= kLongestName)
        return text;
    qsizetype keep = kLongestName;
    if (text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + QStringLiteral("...");
}

QLineSeries* AddLine(QChart& chart, const ChartSeriesData& data, const QPen& pen, int exponent)
{
    auto* series = new QLineSeries(&chart);
    series->setName(ShownName(data.name));
    QList<QPointF> points;
    points.reserve(qsizetype(data.points.size()));
    for (const ChartPoint& p : data.points)
        points.append(QPointF(p.x, ShownValue(p.y, exponent)));
    series->replace(points);
    series->setPen(pen);
    series->setProperty(kValueSeriesProperty, true);
    chart.addSeries(series);
    return series;
}

// One interval band: the area between the rows' lower and upper bounds.
QAreaSeries* AddIntervalBand(QChart& chart, const std::vector<ChartIntervalPoint>& points, bool wide,
                             int valueExponent)
{
    auto* upper = new QLineSeries(&chart);
    auto* lower = new QLineSeries(&chart);
    for (const ChartIntervalPoint& p : points) {
        if (!IsFiniteInterval(p))
            continue;
        upper->append(p.x, ShownValue(wide ? p.hi95 : p.hi80, valueExponent));
        lower->append(p.x, ShownValue(wide ? p.lo95 : p.lo80, valueExponent));
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

    // The ranges and the power of ten the values are shown in, finite and wide enough
    // to draw for any finite cells.
    const ChartFrame frame = FrameChart(data);
    chart.setProperty(kValueExponentProperty, frame.valueExponent);
    // Bands and the marker span the plot's height; KeepChartFitted keeps them so at
    // every zoom.
    const double farLow = frame.values.low;
    const double farHigh = frame.values.high;

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
        all.append(AddLine(chart, s, QPen(palette[colourIndex++ % 6], 1.5), frame.valueExponent));
    if (!data.intervals.empty()) {
        all.append(AddIntervalBand(chart, data.intervals, true, frame.valueExponent));
        all.append(AddIntervalBand(chart, data.intervals, false, frame.valueExponent));
    }
    if (data.estimates)
        all.append(AddLine(chart, *data.estimates, QPen(QColor(210, 30, 30), 1.5), frame.valueExponent));
    if (data.forecastStart) {
        auto* marker = new QLineSeries(&chart);
        marker->setName(ForecastMarkerName());
        marker->append({QPointF(*data.forecastStart, farLow), QPointF(*data.forecastStart, farHigh)});
        marker->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
        chart.addSeries(marker);
        all.append(marker);
    }

    // Dated rows keep their row numbers as x: a category axis (a value axis whose labels
    // are texts at chosen values) shows their dates, placed as the chart is fitted.
    QValueAxis* xAxis = new QValueAxis(&chart);
    if (data.rowLabels) {
        delete xAxis;
        auto* dated = new QCategoryAxis(&chart);
        dated->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        xAxis = dated;
    }
    xAxis->setTitleText(QString::fromStdString(data.xTitle));
    xAxis->setLabelFormat(QStringLiteral("%.0f"));
    xAxis->setRange(frame.rows.low, frame.rows.high);
    xAxis->applyNiceNumbers();
    auto* yAxis = new QValueAxis(&chart);
    yAxis->setTitleText(ShownName(data.yTitle) + QString::fromStdString(ValueScaleNote(frame.valueExponent)));
    yAxis->setRange(frame.values.low, frame.values.high);
    yAxis->applyNiceNumbers();
    chart.addAxis(xAxis, Qt::AlignBottom);
    chart.addAxis(yAxis, Qt::AlignLeft);
    for (QAbstractSeries* series : all) {
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    }
    chart.legend()->setVisible(true);
    chart.legend()->setAlignment(Qt::AlignBottom);
    KeepChartFitted(chart, *xAxis, *yAxis, data.rowLabels);
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

double CellValueOf(const QChart& chart, double shown)
{
    return ValueOfShown(shown, chart.property(kValueExponentProperty).toInt());
}

} // namespace orvalis
