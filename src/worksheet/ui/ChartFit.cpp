#include "worksheet/ui/ChartFit.h"

#include "worksheet/ui/WorksheetChart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QFontMetricsF>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace orvalis {

namespace {

constexpr char kBandFrom[] = "orvalisBandFrom";
constexpr char kBandTo[] = "orvalisBandTo";
constexpr char kMendQueued[] = "orvalisMendQueued";

int DecimalsFor(double step)
{
    return std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
}

QString LabelFormat(double step)
{
    return QStringLiteral("%.%1f").arg(DecimalsFor(step));
}

bool RangeIsSafe(const QValueAxis& axis)
{
    return SafeAxisRange(axis.min(), axis.max()) == AxisRange{axis.min(), axis.max()};
}

// Ticks spaced for the axis's labels: along a vertical axis labels stack, so the
// spacing is a few line heights; along a horizontal one it is the widest label plus a gap.
void FitTicks(QValueAxis& axis, double pixels, bool vertical, double minStep)
{
    // A plot squeezed to nothing still gets ticks for its range: a step kept from an
    // earlier, narrower range would put countless ticks on this one.
    pixels = std::max(pixels, 1.0);
    // Until an unsafe range is mended, a fixed count of ticks: the drawing places them
    // without stepping through the range.
    if (!RangeIsSafe(axis)) {
        axis.setTickType(QValueAxis::TicksFixed);
        return;
    }
    const double span = axis.max() - axis.min();
    const QFontMetricsF metrics(axis.labelsFont());
    double step = 0.0;
    // Not more than about ten ticks however large the plot.
    const double atLeast = pixels / 10.0;
    if (vertical) {
        step = RoundTickStep(span, pixels, std::max(metrics.height() * 2.0, atLeast), minStep);
    } else {
        // The labels' width depends on the decimals, which depend on the step: widen
        // until the spacing holds the labels the step gives.
        double need = std::max(metrics.averageCharWidth() * 6, atLeast);
        for (int round = 0; round < 4; ++round) {
            step = RoundTickStep(span, pixels, need, minStep);
            if (step <= 0.0)
                break;
            const int decimals = DecimalsFor(step);
            const double widest = std::max(metrics.horizontalAdvance(QString::number(axis.min(), 'f', decimals)),
                                           metrics.horizontalAdvance(QString::number(axis.max(), 'f', decimals)));
            const double wanted = widest + metrics.averageCharWidth() * 3;
            if (wanted <= need)
                break;
            need = wanted;
        }
    }
    if (step <= 0.0)
        return;
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0.0);
    axis.setTickInterval(step);
    axis.setLabelFormat(LabelFormat(step));
}

// The row axis's dated labels: at least the widest label plus a gap apart, and not many
// more than ten (a year's step on a chart of a dozen years). Rebuilt only when they
// change, since new labels may resize the plot, which fits the chart again.
void FitRowLabels(QCategoryAxis& axis, const RowLabels& labels, double pixels)
{
    pixels = std::max(pixels, 1.0);
    const QFontMetricsF metrics(axis.labelsFont());
    const double widest = metrics.horizontalAdvance(QStringLiteral("0000-00-00")) * 1.0;
    const double label = labels.kind == RowLabels::Kind::Year    ? widest * 0.4
                         : labels.kind == RowLabels::Kind::Month ? widest * 0.7
                                                                 : widest;
    const double spacing = std::max(label + metrics.averageCharWidth() * 3, pixels / 13.0);
    const double span = axis.max() - axis.min();
    const std::vector<double> ticks =
        RowLabelTicks(labels, axis.min(), axis.max(), span * spacing / pixels, 14);
    QStringList texts;
    for (double x : ticks)
        texts.append(QString::fromStdString(labels.Label(x)));
    if (texts == axis.categoriesLabels() && axis.startValue() == axis.min())
        return;
    for (const QString& text : axis.categoriesLabels())
        axis.remove(text);
    axis.setStartValue(axis.min());
    for (qsizetype i = 0; i < texts.size(); ++i)
        axis.append(texts[i], ticks[std::size_t(i)]);
}

// Puts an axis whose range cannot be drawn (a zoom went past its values' resolution or
// far out) back to the nearest one that can, on the next turn of the event loop: a
// zoom sets the ranges of the axes and of the chart's domain in turn, and a range
// corrected while that goes on is set back by its next step. Its rangeChanged then
// fits the chart again.
void MendRangeLater(QValueAxis& axis)
{
    if (axis.property(kMendQueued).toBool())
        return;
    axis.setProperty(kMendQueued, true);
    QMetaObject::invokeMethod(
        &axis,
        [&axis] {
            axis.setProperty(kMendQueued, false);
            const AxisRange safe = SafeAxisRange(axis.min(), axis.max());
            if (safe != AxisRange{axis.min(), axis.max()})
                axis.setRange(safe.low, safe.high);
        },
        Qt::QueuedConnection);
}

void Fit(QChart& chart, QValueAxis& xAxis, QValueAxis& yAxis, const std::optional<RowLabels>& rowLabels)
{
    for (QValueAxis* axis : {&xAxis, &yAxis}) {
        if (!RangeIsSafe(*axis))
            MendRangeLater(*axis);
    }
    const double xLow = xAxis.min();
    const double xHigh = xAxis.max();
    const double yLow = yAxis.min();
    const double yHigh = yAxis.max();
    for (QAbstractSeries* series : chart.series()) {
        if (IsIntervalBand(series))
            continue;
        if (auto* band = qobject_cast<QAreaSeries*>(series)) {
            // A band wholly outside the view shrinks to nothing at its nearer edge.
            const double from = std::clamp(band->property(kBandFrom).toDouble(), xLow, xHigh);
            const double to = std::clamp(band->property(kBandTo).toDouble(), xLow, xHigh);
            band->upperSeries()->replace({QPointF(from, yHigh), QPointF(to, yHigh)});
            band->lowerSeries()->replace({QPointF(from, yLow), QPointF(to, yLow)});
        } else if (series->name() == ForecastMarkerName()) {
            auto* marker = static_cast<QLineSeries*>(series);
            const double x = marker->at(0).x();
            marker->replace({QPointF(x, yLow), QPointF(x, yHigh)});
        }
    }
    const QRectF plot = chart.plotArea();
    auto* categories = qobject_cast<QCategoryAxis*>(&xAxis);
    if (rowLabels && categories)
        FitRowLabels(*categories, *rowLabels, plot.width());
    else
        FitTicks(xAxis, plot.width(), false, 1.0);
    FitTicks(yAxis, plot.height(), true, 0.0);
}

} // namespace

void KeepChartFitted(QChart& chart, QValueAxis& xAxis, QValueAxis& yAxis,
                     const std::optional<RowLabels>& rowLabels)
{
    for (QAbstractSeries* series : chart.series()) {
        auto* band = IsIntervalBand(series) ? nullptr : qobject_cast<QAreaSeries*>(series);
        if (band) {
            const QList<QPointF> upper = band->upperSeries()->points();
            if (upper.size() == 2 && !band->property(kBandFrom).isValid()) {
                band->setProperty(kBandFrom, upper[0].x());
                band->setProperty(kBandTo, upper[1].x());
            }
        }
    }
    // The axes are the connections' context: when a refill replaces them, their
    // connections go with them.
    const auto fit = [&chart, &xAxis, &yAxis, rowLabels] { Fit(chart, xAxis, yAxis, rowLabels); };
    QObject::connect(&xAxis, &QValueAxis::rangeChanged, &xAxis, fit);
    QObject::connect(&yAxis, &QValueAxis::rangeChanged, &yAxis, fit);
    QObject::connect(&chart, &QChart::plotAreaChanged, &yAxis, fit);
    Fit(chart, xAxis, yAxis, rowLabels);
}

} // namespace orvalis
