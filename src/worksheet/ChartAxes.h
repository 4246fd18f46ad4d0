#pragma once

#include "worksheet/ChartData.h"

#include <string>

namespace orvalis {

// The part of a worksheet chart's axes that needs no drawing: the ranges the axes start
// from, the power of ten the values are shown in, and the round tick step. Every range
// it gives is finite, holds at least MinimalAxisSpan around its values and stays within
// kLargestAxisValue, so the drawing's sums (the span, a value's distance from the low
// end, the next tick) neither overflow nor stall below the values' resolution, for any
// finite cells.

// The largest value an axis shows; a wider range (a zoom far out) is clamped to it.
constexpr double kLargestAxisValue = 1e18;

// A range of an axis, low < high once it has gone through SafeAxisRange.
struct AxisRange {
    double low = 0.0;
    double high = 1.0;
    bool operator==(const AxisRange&) const = default;
};

// The axes a chart of some data starts from. The value axis shows every value divided
// by 10^valueExponent, so that values beyond 1e15 or below 1e-5 in magnitude read as a
// few digits and their range never overflows; 0 for values of ordinary size.
struct ChartFrame {
    AxisRange rows;        // row axis, in row label numbers
    AxisRange values;      // value axis, in shown units
    int valueExponent = 0; // shown value = value / 10^valueExponent
};

ChartFrame FrameChart(const ChartData& data);

// Whether every bound of an interval point is a finite number, so that it can be drawn.
bool IsFiniteInterval(const ChartIntervalPoint& p);

// value / 10^exponent, finite for every finite value and the exponent FrameChart gives.
double ShownValue(double value, int exponent);
// The value a shown value stands for: shown x 10^exponent.
double ValueOfShown(double shown, int exponent);

// What the value axis's title adds for the power of ten: " (×1e307)"; empty for 0.
std::string ValueScaleNote(int exponent);

// The least span an axis around low..high keeps: far above the resolution of doubles of
// that magnitude, so a tick step a tenth of it still moves a value.
double MinimalAxisSpan(double low, double high);

// The range an axis can show for low..high: the same range when it is finite, within
// kLargestAxisValue and at least half MinimalAxisSpan wide; otherwise clamped, or
// widened to MinimalAxisSpan about its middle. A range it gives comes back unchanged.
AxisRange SafeAxisRange(double low, double high);

// The smallest round step (1, 2 or 5 times a power of ten, at least minStep) that puts
// ticks at least minPixels apart when span values are drawn across pixels; 0 when span or
// pixels is not positive, or the step would not be finite.
double RoundTickStep(double span, double pixels, double minPixels, double minStep = 0.0);

// How many ticks a step puts on range, counted as the drawing places them (from the
// first multiple of step at or above range.low, adding step while at or below
// range.high), stopping at limit + 1 or when adding the step no longer moves the value
// (then limit + 1 as well).
int AxisTickCount(AxisRange range, double step, int limit);

} // namespace orvalis
