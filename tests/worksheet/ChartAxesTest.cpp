#include "worksheet/ChartAxes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace orvalis;

namespace {

ChartData OneSeries(const std::vector<double>& values)
{
    ChartData data;
    data.targets.push_back({"Target", 1, {}});
    for (std::size_t i = 0; i < values.size(); ++i)
        data.targets[0].points.push_back({static_cast<double>(i) + 1.0, values[i]});
    return data;
}

// What every range the drawing gets must hold: finite, ordered, not narrower than its
// values resolve, unchanged when it is made safe again, and round ticks for it that
// are few and advance, for plots of any size.
void ExpectDrawable(const AxisRange& range, double minStep, const char* axis)
{
    SCOPED_TRACE(axis);
    ASSERT_TRUE(std::isfinite(range.low) && std::isfinite(range.high));
    ASSERT_LT(range.low, range.high);
    EXPECT_LE(std::fabs(range.low), kLargestAxisValue);
    EXPECT_LE(std::fabs(range.high), kLargestAxisValue);
    EXPECT_EQ(SafeAxisRange(range.low, range.high), range);
    for (double pixels : {1.0, 40.0, 480.0, 8000.0}) {
        const double step = RoundTickStep(range.high - range.low, pixels, std::max(25.0, pixels / 10.0), minStep);
        ASSERT_GT(step, 0.0) << pixels;
        EXPECT_LE(AxisTickCount(range, step, 100), 12) << pixels << " px, step " << step;
    }
}

} // namespace

// The values that overflowed the range's sums, or made its ticks finer than a double
// resolves, and other extremes of finite data: every chart gets drawable axes, and its
// values land inside the value axis as shown.
TEST(ChartAxes, EveryFiniteSeriesGetsDrawableAxes)
{
    const double big = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    std::vector<double> alternating, long990;
    for (int i = 0; i < 990; ++i) {
        alternating.push_back(i % 2 ? -3e300 : 3e300);
        long990.push_back(100.0 + 10.0 * std::sin(i * 0.1));
    }
    struct Case {
        const char* name;
        std::vector<double> values;
        int exponent;
    };
    const std::vector<Case> cases = {
        {"range overflows a double", {9e307, -9e307}, 307},
        {"largest magnitudes", {big, -big, 0.0}, 308},
        {"1e308 and -1e308", {1e308, -1e308}, 308},
        {"near equal after 0.1 + 0.2", {0.3, 0.30000000000000004}, 0},
        {"near equal at 1e16", {1e16, 1.0000000000000002e16}, 16},
        {"subnormals", {2e-308, 4e-320, -2e-310, tiny}, -308},
        {"smallest subnormal alone", {tiny}, -324},
        {"mixed huge and subnormal", {1e308, tiny, -1e-300}, 308},
        {"constant", {5.0, 5.0, 5.0}, 0},
        {"constant zero", {0.0, 0.0}, 0},
        {"one row", {42.0}, 0},
        {"alternating signs", alternating, 300},
        {"990 rows", long990, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ChartData data = OneSeries(c.values);
        const ChartFrame frame = FrameChart(data);
        EXPECT_EQ(frame.valueExponent, c.exponent);
        ExpectDrawable(frame.rows, 1.0, "rows");
        ExpectDrawable(frame.values, 0.0, "values");
        for (const ChartPoint& p : data.targets[0].points) {
            const double shown = ShownValue(p.y, frame.valueExponent);
            EXPECT_TRUE(shown >= frame.values.low && shown <= frame.values.high) << p.y << " shown as " << shown;
        }
    }
}

// Ordinary data keeps the axes it always had: the span plus a twentieth each side, a
// flat series its size; a series that differs only past a double's resolution is flat.
TEST(ChartAxes, OrdinaryDataKeepsItsRangeAndNearFlatReadsFlat)
{
    const ChartFrame ordinary = FrameChart(OneSeries({10.0, 30.0}));
    EXPECT_EQ(ordinary.values, (AxisRange{9.0, 31.0}));
    EXPECT_EQ(ordinary.rows, (AxisRange{1.0, 2.0}));
    const ChartFrame flat = FrameChart(OneSeries({2.0, 2.0}));
    EXPECT_DOUBLE_EQ(flat.values.low, 1.9);
    EXPECT_DOUBLE_EQ(flat.values.high, 2.1);
    const ChartFrame nearFlat = FrameChart(OneSeries({0.3, 0.30000000000000004}));
    EXPECT_NEAR(nearFlat.values.low, 0.3 - 0.05, 1e-12);
    EXPECT_NEAR(nearFlat.values.high, 0.3 + 0.05, 1e-12);
    EXPECT_EQ(ValueScaleNote(0), "");
    EXPECT_EQ(ValueScaleNote(307), " (\u00d71e307)");
    EXPECT_EQ(ValueScaleNote(-324), " (\u00d71e-324)");
    EXPECT_DOUBLE_EQ(ValueOfShown(ShownValue(4e-320, -320), -320), 4e-320);
    EXPECT_DOUBLE_EQ(ValueOfShown(ShownValue(9e307, 307), 307), 9e307);
}

// The ranges a zoom can leave: each comes back drawable, and a drawable one unchanged.
TEST(ChartAxes, SafeAxisRangeMendsWhatAZoomLeaves)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        double low, high;
    };
    const Case cases[] = {
        {"zoomed past the resolution", 0.3, 0.30000000000000004},
        {"one value", 7.0, 7.0},
        {"zero wide at zero", 0.0, 0.0},
        {"reversed", 2.0, 1.0},
        {"zoomed out past the largest value", -1e300, 1e300},
        {"infinite", -inf, inf},
        {"not a number", std::nan(""), 1.0},
        {"narrow at the largest value", 1e18, 1e18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectDrawable(SafeAxisRange(c.low, c.high), 0.0, "axis");
    }
    EXPECT_EQ(SafeAxisRange(-3.5, 120.0), (AxisRange{-3.5, 120.0}));
    EXPECT_EQ(AxisTickCount({0.3, 0.30000000000000004}, 1e-18, 100), 101) << "a step that cannot advance";
}
