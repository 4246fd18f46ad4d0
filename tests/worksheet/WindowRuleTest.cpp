#include "worksheet/RunWorksheet.h"

#include "worksheet/TrainingRun.h"
#include "worksheet/WindowRule.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

// A repeatable noise in -0.5..0.5.
struct Noise {
    std::uint32_t state = 12345;
    double operator()()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / (1u << 24) - 0.5;
    }
};

// A trend with a season of four rows and some noise.
std::vector<double> Seasonal(int n)
{
    const double pattern[4] = {5.0, -3.0, 8.0, -10.0};
    Noise noise;
    std::vector<double> y;
    for (int j = 0; j < n; ++j)
        y.push_back(100.0 + 0.5 * j + pattern[j % 4] + noise());
    return y;
}

// A series whose first differences follow z[t] = 0.6 z[t-1] - 0.5 z[t-2] + noise.
std::vector<double> AutoregressiveTwo(int n)
{
    Noise noise;
    std::vector<double> y = {100.0, 100.0};
    double z1 = 0.0, z2 = 0.0;
    for (int j = 2; j < n; ++j) {
        const double z = 0.6 * z1 - 0.5 * z2 + 2.0 * noise();
        y.push_back(y.back() + z);
        z2 = z1;
        z1 = z;
    }
    return y;
}

struct RuleSheet : RunWorksheet {
    RuleSheet(const std::vector<double>& y, int training, int testing, int eval, int taps)
    {
        settings.forecast.tapsByRule = true;
        Role(1, "Trg/In");
        Column(1, y);
        Counts(training, testing, eval, taps);
        ws->network.autoTrainingConfigure = 0;
        ws->network.maxCycles = 2;
        ws->network.iterationsPerCycle = 2;
    }
};

} // namespace

TEST(WindowRule, TrainSetsNumTapsFromTheSeries)
{
    struct Case {
        const char* name;
        std::vector<double> y;
        int training, testing, eval, season;
        int lowest, highest; // the taps Train must set
        bool locked;         // run as the window runs it, with the user's edits locked out
    };
    const Case cases[] = {
        {"a season of 4 found in the data: season + 1", Seasonal(120), 80, 20, 20, -1, 5, 5, false},
        {"the same in the window, its edits locked during the run", Seasonal(120), 80, 20, 20, -1, 5, 5, true},
        {"AR(2) differences: order 2 or 3", AutoregressiveTwo(300), 200, 50, 50, 0, 2, 3, false},
        {"a season longer than the Training rows allow: cut to Num Training - 1", Seasonal(40), 20, 10, 10,
         25, 19, 19, false},
    };
    for (const Case& c : cases) {
        RuleSheet sheet(c.y, c.training, c.testing, c.eval, 12);
        sheet.settings.seasonLength = c.season;
        sheet.ws->Store().editable = !c.locked;
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr)) << c.name;
        EXPECT_EQ(sheet.ws->Store().editable, !c.locked) << c.name;
        const int taps = sheet.ws->counts.numTaps;
        EXPECT_GE(taps, c.lowest) << c.name;
        EXPECT_LE(taps, c.highest) << c.name;
        EXPECT_EQ(sheet.Header(kNumTapsRow, kValueColumn), std::to_string(taps)) << c.name;
        // The automatic network takes the new window.
        EXPECT_EQ(sheet.ws->Network().net.BuiltShape().Inputs(), taps) << c.name;
    }
}

TEST(WindowRule, BicOrderOfAnAutoregressionOfOrderTwo)
{
    const std::vector<double> y = AutoregressiveTwo(600);
    std::vector<double> z;
    for (std::size_t j = 1; j < y.size(); ++j)
        z.push_back(y[j] - y[j - 1]);
    const int order = AutoregressiveOrderByBic(z.data(), static_cast<int>(z.size()), 24);
    EXPECT_GE(order, 2);
    EXPECT_LE(order, 3);
    // Too few rows to compare: the smallest order.
    EXPECT_EQ(AutoregressiveOrderByBic(z.data(), 20, 10), 2);
}
