#include "worksheet/ui/ChartFit.h"

#include "worksheet/ui/WorksheetChart.h"

#include <QAreaSeries>
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

int DecimalsFor(double step)
{
    return std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
}

QString LabelFormat(double step)
{
    return QStringLiteral("%.%1f").arg(DecimalsFor(step));
}

// Ticks spaced for the axis's labels: along a vertical axis labels stack, so the
// spacing is a few line heights; along a horizontal one it is the widest label plus a gap.
void FitTicks(QValueAxis& axis, double pixels, bool vertical, double minStep)
{
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

void Fit(QChart& chart, QValueAxis& xAxis, QValueAxis& yAxis)
{
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
    FitTicks(xAxis, plot.width(), false, 1.0);
    FitTicks(yAxis, plot.height(), true, 0.0);
}

} // namespace

double RoundTickStep(double span, double pixels, double minPixels, double minStep)
{
    if (!(span > 0.0) || !(pixels > 0.0) || !std::isfinite(span))
        return 0.0;
    // The least step that keeps the spacing, then the first round number at or above it.
    const double least = std::max(span * std::max(minPixels, 1.0) / pixels, minStep);
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= least * (1.0 - 1e-12))
            return m * power;
    }
    return 10.0 * power;
}

void KeepChartFitted(QChart& chart, QValueAxis& xAxis, QValueAxis& yAxis)
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
    const auto fit = [&chart, &xAxis, &yAxis] { Fit(chart, xAxis, yAxis); };
    QObject::connect(&xAxis, &QValueAxis::rangeChanged, &xAxis, fit);
    QObject::connect(&yAxis, &QValueAxis::rangeChanged, &yAxis, fit);
    QObject::connect(&chart, &QChart::plotAreaChanged, &yAxis, fit);
    Fit(chart, xAxis, yAxis);
}

} // namespace orvalis
