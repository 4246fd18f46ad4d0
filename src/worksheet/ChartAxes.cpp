#include "worksheet/ChartAxes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvalis {

namespace {

// Magnitudes shown as they are; outside, the value axis shows a power of ten.
constexpr double kLargestPlain = 1e15;
constexpr double kSmallestPlain = 1e-5;
// A span keeps at least this share of its values' magnitude (doubles resolve about
// 2e-16 of it), and never less than kAbsoluteSpan.
constexpr double kRelativeSpan = 1e-9;
constexpr double kAbsoluteSpan = 1e-12;

struct Extent {
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    void Add(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool Empty() const { return low > high; }
};

int ScaleExponent(double magnitude)
{
    if (magnitude >= kLargestPlain || (magnitude > 0.0 && magnitude < kSmallestPlain))
        return static_cast<int>(std::floor(std::log10(magnitude)));
    return 0;
}

// value x 10^exponent in steps of at most 10^300, so that neither the power (10^324 is
// past the largest double, 10^-324 below the smallest) nor a step overflows on the way.
double TimesPowerOfTen(double value, int exponent)
{
    for (; exponent > 300; exponent -= 300)
        value *= 1e300;
    for (; exponent < -300; exponent += 300)
        value /= 1e300;
    return exponent >= 0 ? value * std::pow(10.0, exponent) : value / std::pow(10.0, -exponent);
}

} // namespace

double ShownValue(double value, int exponent)
{
    return TimesPowerOfTen(value, -exponent);
}

double ValueOfShown(double shown, int exponent)
{
    return TimesPowerOfTen(shown, exponent);
}

std::string ValueScaleNote(int exponent)
{
    if (exponent == 0)
        return std::string();
    return " (\u00d71e" + std::to_string(exponent) + ")";
}

double MinimalAxisSpan(double low, double high)
{
    return std::max(kRelativeSpan * std::max(std::fabs(low), std::fabs(high)), kAbsoluteSpan);
}

AxisRange SafeAxisRange(double low, double high)
{
    if (std::isnan(low) || std::isnan(high))
        return AxisRange{};
    if (low > high)
        std::swap(low, high);
    low = std::clamp(low, -kLargestAxisValue, kLargestAxisValue);
    high = std::clamp(high, -kLargestAxisValue, kLargestAxisValue);
    const double minimal = MinimalAxisSpan(low, high);
    // Half the minimal span is the test, so a range widened here (whose span rounds to
    // a hair under minimal) passes it the next time.
    if (high - low >= minimal * 0.5)
        return {low, high};
    const double middle = std::clamp(low / 2.0 + high / 2.0, -kLargestAxisValue + minimal,
                                     kLargestAxisValue - minimal);
    return {middle - minimal / 2.0, middle + minimal / 2.0};
}

bool IsFiniteInterval(const ChartIntervalPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.lo80) && std::isfinite(p.hi80) &&
           std::isfinite(p.lo95) && std::isfinite(p.hi95);
}

ChartFrame FrameChart(const ChartData& data)
{
    Extent x, y;
    const auto addSeries = [&x, &y](const ChartSeriesData& series) {
        for (const ChartPoint& p : series.points) {
            x.Add(p.x);
            y.Add(p.y);
        }
    };
    for (const ChartSeriesData& s : data.targets)
        addSeries(s);
    if (data.estimates)
        addSeries(*data.estimates);
    for (const ChartBand& band : data.bands) {
        x.Add(band.from);
        x.Add(band.to);
    }
    // The forecast intervals are drawn whole (those of finite bounds: the others are left
    // out of the drawing too).
    for (const ChartIntervalPoint& p : data.intervals) {
        if (!IsFiniteInterval(p))
            continue;
        y.Add(std::min(p.lo95, p.lo80));
        y.Add(std::max(p.hi95, p.hi80));
    }
    if (x.Empty())
        x = {0.0, 1.0};
    if (y.Empty())
        y = {0.0, 1.0};

    ChartFrame frame;
    // One row: a row either side of it.
    frame.rows = x.high > x.low ? SafeAxisRange(x.low, x.high) : SafeAxisRange(x.low - 1.0, x.high + 1.0);
    frame.valueExponent = ScaleExponent(std::max(std::fabs(y.low), std::fabs(y.high)));
    const double low = ShownValue(y.low, frame.valueExponent);
    const double high = ShownValue(y.high, frame.valueExponent);
    // A margin of a twentieth of the span above and below. A flat series gets a span of
    // its size (at least 1), and so does one that differs only in the last digits a
    // double holds (0.3 beside 0.30000000000000004): its ticks would be that fine.
    const double span = high - low >= MinimalAxisSpan(low, high) ? high - low : std::max(1.0, std::fabs(high));
    frame.values = SafeAxisRange(low - span * 0.05, high + span * 0.05);
    return frame;
}

double RoundTickStep(double span, double pixels, double minPixels, double minStep)
{
    if (!(span > 0.0) || !(pixels > 0.0) || !std::isfinite(span))
        return 0.0;
    // The least step that keeps the spacing, then the first round number at or above it.
    const double least = std::max(span * std::max(minPixels, 1.0) / pixels, minStep);
    if (!std::isfinite(least) || !(least > 0.0))
        return 0.0;
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= least * (1.0 - 1e-12))
            return std::isfinite(m * power) ? m * power : 0.0;
    }
    return 0.0;
}

int AxisTickCount(AxisRange range, double step, int limit)
{
    if (!(step > 0.0) || !std::isfinite(step))
        return 0;
    double value = std::ceil(range.low / step) * step;
    int count = 0;
    while (value <= range.high) {
        if (++count > limit)
            return limit + 1;
        const double next = value + step;
        if (!(next > value))
            return limit + 1;
        value = next;
    }
    return count;
}

} // namespace orvalis
