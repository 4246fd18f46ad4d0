#include "worksheet/RunWorksheet.h"

#include "worksheet/EvaluationRun.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/TrainingRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace orvalis;

// Leak-free evaluation writes the forecast check's estimates into "Val:Est" and forms
// the error column and the figures from them, whatever the phase offset training chose
// and whether the network learned the values or their change.
TEST(LeakFreeEvaluation, WritesTheChecksEstimatesAndFiguresFromThem)
{
    struct Case {
        const char* name;
        bool twoPass;
        int lag;
        int phaseOffset;
        bool leaky; // the usual estimates take in the rows they estimate
    };
    const Case cases[] = {
        {"2 Pass", true, 0, 0, true},
        {"1 Pass", false, 0, 0, true},
        {"2 Pass, phase -1", true, 0, -1, true},
        // Changes that stay inside their training range scale the same with every row:
        // the usual estimate is already the check's.
        {"1 Pass, change lag 1", false, 1, 0, false},
        {"2 Pass, change lag 2, phase -1", true, 2, -1, true},
    };
    for (const Case& c : cases) {
        RunWorksheet sheet(c.twoPass);
        sheet.settings.forecast.changeLag = c.lag;
        sheet.Role(1, "Trg/In");
        sheet.Role(2, "Err:Value");
        sheet.Column(1, TestSeries(60));
        sheet.Counts(40, 10, 10, 4);
        sheet.ws->network.autoTrainingConfigure = 0;
        sheet.ws->network.maxCycles = 4;
        ASSERT_TRUE(TrainWorksheet(*sheet.ws, nullptr)) << c.name;
        sheet.ws->phaseOffset = c.phaseOffset;

        ASSERT_TRUE(EvaluateWorksheet(*sheet.ws)) << c.name;
        const std::string leakyFm = sheet.Header(kValueFmRow, kStateColumn);
        sheet.settings.forecast.leakFreeEvaluation = true;
        ASSERT_TRUE(EvaluateWorksheet(*sheet.ws)) << c.name;
        const ForecastCheck check = ComputeForecastCheck(*sheet.ws, 1);
        ASSERT_TRUE(check.available) << c.name << ": " << check.reason;
        ASSERT_EQ(check.rows.size(), 10u) << c.name;

        const ColumnRoleMap& roles = sheet.ws->roles;
        double errorSum = 0.0;
        for (int k = 0; k < 10; ++k) {
            const ForecastCheckRow& row = check.rows[static_cast<std::size_t>(k)];
            const float estimate = static_cast<float>(row.estimate);
            EXPECT_EQ(sheet.Cell(50 + k, roles.valEstColumn), FormatNumber("%.3f", estimate))
                << c.name << ", row " << 50 + k;
            const double error = ReadNumberText(sheet.Cell(50 + k, roles.errValueColumn));
            EXPECT_NEAR(error, row.actual - row.estimate, 2e-3) << c.name << ", row " << 50 + k;
            errorSum += row.actual - row.estimate;
        }
        // Value Err Avg over the Evaluate rows and the one-row window past them (n + 1).
        EXPECT_NEAR(ReadNumberText(sheet.Header(3, kFigureColumn)), errorSum / 11, 1e-3) << c.name;
        if (c.leaky) {
            EXPECT_NE(sheet.Header(kValueFmRow, kStateColumn), leakyFm) << c.name;
        }

        // Off again: the usual figures come back.
        sheet.settings.forecast.leakFreeEvaluation = false;
        ASSERT_TRUE(EvaluateWorksheet(*sheet.ws)) << c.name;
        EXPECT_EQ(sheet.Header(kValueFmRow, kStateColumn), leakyFm) << c.name;
    }
}
