#include "RunWorksheet.h"

#include "worksheet/VectorExtraction.h"
#include "worksheet/VectorSets.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvalis;

namespace {

// Column 1 "Input", column 2 "Trg/In", 40 rows of data, sections 20/10/10, taps 3.
struct ExtractionSheet : RunWorksheet {
    explicit ExtractionSheet(bool twoPass = false) : RunWorksheet(twoPass)
    {
        Role(1, "Input");
        Role(2, "Trg/In");
        Role(3, "Target");
        Column(1, TestSeries(40, 1.0));
        Column(2, TestSeries(40));
        Column(3, TestSeries(40, 2.0));
        Counts(20, 10, 10, 3);
        ws->ScanColumnRoles();
        messages.entries.clear();
    }
};

} // namespace

TEST(VectorExtraction, RefusalsComeBeforeAnyCellIsRead)
{
    struct Case {
        const char* name;
        int training, testing, eval, taps;
        const char* message;
    } cases[] = {
        {"no testing rows", 20, 0, 10, 3, "Error: Training or Testing Section Size = 0"},
        {"negative training rows", -5, 10, 10, 3, "Error: Training or Testing Section Size = 0"},
        {"negative eval rows", 20, 10, -1, 3, "Error: Num Eval Must Not Be Negative"},
        {"no window", 20, 10, 10, 0, "Error: Num Taps Must Be At Least 1"},
        {"sections whose int sum wraps to 8", 2147483647, 10, 2147483647, 3,
         "Error: Sections Run Past the Last Worksheet Row"},
        {"one row more than the grid holds", 900, 84, 10, 3,
         "Error: Sections Run Past the Last Worksheet Row"},
        {"sections that fill the grid exactly are read", 900, 83, 10, 3,
         "Error: Non-Numeric Input Cell Encountered at Row: 1\nExpecting 993 Data Rows"},
    };
    for (const Case& c : cases) {
        ExtractionSheet sheet;
        sheet.Text(0, 1, ""); // would be refused if cells were read
        sheet.Counts(c.training, c.testing, c.eval, c.taps);
        sheet.ws->ScanColumnRoles();
        EXPECT_FALSE(ExtractVectors(*sheet.ws, sheet.ws->counts.totalRows, true)) << c.name;
        EXPECT_EQ(sheet.messages.Texts(), std::vector<std::string>{c.message}) << c.name;
    }
}

// A one-row window in 2 Pass would hand back each actual value as its own estimate;
// in 1 Pass the same window is a real (if short) forecast and is extracted.
TEST(VectorExtraction, TwoPassRefusesAOneRowWindow)
{
    for (const bool twoPass : {true, false}) {
        ExtractionSheet sheet(twoPass);
        sheet.Counts(20, 10, 10, 1);
        sheet.ws->ScanColumnRoles();
        EXPECT_EQ(ExtractVectors(*sheet.ws, 40, true), !twoPass) << twoPass;
        EXPECT_EQ(sheet.messages.Texts(),
                  twoPass ? std::vector<std::string>{"Error: Num Taps Must Be At Least 2 in 2 Pass Mode"}
                          : std::vector<std::string>{});
    }
}

TEST(VectorExtraction, EmptyCellsAreRefusedWithTheirDataRow)
{
    struct Case {
        const char* name;
        int col, dataRow;
        bool forTraining;
        const char* message;
    } cases[] = {
        {"input cell", 1, 4, true,
         "Error: Non-Numeric Input Cell Encountered at Row: 5\nExpecting 40 Data Rows"},
        {"target cell", 3, 4, false,
         "Error: (Aborting) Non-Numeric Input Cell Encountered at Row: 5\nExpecting 40 Data Rows"},
        {"evaluate rows are read by training too", 1, 35, true,
         "Error: Non-Numeric Input Cell Encountered at Row: 36\nExpecting 40 Data Rows"},
    };
    for (const Case& c : cases) {
        ExtractionSheet sheet;
        sheet.Text(c.dataRow, c.col, "");
        EXPECT_FALSE(ExtractVectors(*sheet.ws, 40, c.forTraining)) << c.name;
        EXPECT_EQ(sheet.messages.Texts(), std::vector<std::string>{c.message}) << c.name;
    }
}

TEST(VectorExtraction, RowsPastTheGridReadAsEmpty)
{
    ExtractionSheet sheet;
    for (int r = 40; r < 1001 - sheet.ws->firstDataRow; ++r) {
        sheet.Text(r, 1, "1");
        sheet.Text(r, 2, "1");
        sheet.Text(r, 3, "1");
    }
    sheet.Counts(900, 83, 10, 3);
    sheet.ws->ScanColumnRoles();
    EXPECT_FALSE(ExtractVectors(*sheet.ws, 1010, true));
    EXPECT_EQ(sheet.messages.Texts(),
              std::vector<std::string>{
                  "Error: Non-Numeric Input Cell Encountered at Row: 994\nExpecting 1010 Data Rows"});
}

// Missing values as data tools write them, and numbers too large for a double, have no
// value: they stop the run as an empty cell does instead of turning every figure nan.
TEST(VectorExtraction, NonFiniteNumbersAreRefusedLikeEmptyCells)
{
    struct Case {
        const char* text;
        int col;
        const char* message;
    } cases[] = {
        {"NaN", 1, "Error: Non-Numeric Input Cell Encountered at Row: 8\nExpecting 40 Data Rows"},
        {"nan", 2, "Error: Non-Numeric Input Cell Encountered at Row: 8\nExpecting 40 Data Rows"},
        {"-inf", 1, "Error: Non-Numeric Input Cell Encountered at Row: 8\nExpecting 40 Data Rows"},
        {"Infinity", 3, "Error: (Aborting) Non-Numeric Input Cell Encountered at Row: 8\nExpecting 40 Data Rows"},
        {"1e999", 3, "Error: (Aborting) Non-Numeric Input Cell Encountered at Row: 8\nExpecting 40 Data Rows"},
    };
    for (const Case& c : cases) {
        ExtractionSheet sheet;
        sheet.Text(7, c.col, c.text);
        EXPECT_FALSE(ExtractVectors(*sheet.ws, 40, true)) << c.text;
        EXPECT_EQ(sheet.messages.Texts(), std::vector<std::string>{c.message}) << c.text;
    }
    ExtractionSheet sheet;
    sheet.Text(7, 1, "1e308");  // large but finite
    EXPECT_TRUE(ExtractVectors(*sheet.ws, 40, true));
}

TEST(VectorExtraction, TextWithoutANumberReadsAsZero)
{
    ExtractionSheet sheet;
    for (int r = 0; r < 40; ++r)
        sheet.Text(r, 1, std::to_string(r + 1));
    sheet.Text(3, 1, "abc");
    sheet.Text(4, 1, "7.5xyz");
    ASSERT_TRUE(ExtractVectors(*sheet.ws, 40, false));
    EXPECT_TRUE(sheet.messages.entries.empty());
    const double* x = sheet.ws->vectors.Input(0);
    EXPECT_EQ(x[3], 0.1); // 0 is the minimum
    EXPECT_EQ(x[4], 0.1 + (0.8 * 7.5) / 40.0);
    EXPECT_EQ(x[39], 0.9);
}

TEST(VectorExtraction, ConstantSeriesScalesWithTheFallbackRange)
{
    ExtractionSheet sheet;
    sheet.Column(2, std::vector<double>(40, 7.0));
    ASSERT_TRUE(ExtractVectors(*sheet.ws, 40, true));
    const double expected = 0.1 + (0.8 * 7.0) / 255.0;
    for (int r = 0; r < 30; ++r)
        EXPECT_EQ(sheet.ws->vectors.Target(0)[r], expected) << r;
    EXPECT_EQ(sheet.ws->vectors.Target(0)[30], 7.0); // Evaluate rows stay unscaled
    const TargetScale& s = sheet.ws->vectors.trainingTargetScale;
    EXPECT_EQ(s.min, 0.0f);
    EXPECT_EQ(s.max, 255.0f);
    EXPECT_EQ(s.mean, static_cast<float>(sheet.ws->vectors.targetMean));
}

TEST(VectorExtraction, MovingAverageOfThreeTaps)
{
    std::vector<double> x = {3.0, 5.0, 10.0, 2.0, 7.0};
    std::vector<double> avg(5);
    MovingAverageDetrend(avg.data(), x.data(), 5, 3);
    const std::vector<double> expectedAvg = {3.0, 4.0, 18.0 / 3.0, 17.0 / 3.0, 19.0 / 3.0};
    EXPECT_EQ(avg, expectedAvg);
    const std::vector<double> expectedX = {0.0, 1.0, 10.0 - 18.0 / 3.0, 2.0 - 17.0 / 3.0,
                                           7.0 - 19.0 / 3.0};
    EXPECT_EQ(x, expectedX);
}

TEST(VectorExtraction, TwoPassDetrendsBeforeScalingOnePassZeroesTheAverages)
{
    ExtractionSheet twoPass(true);
    ASSERT_TRUE(ExtractVectors(*twoPass.ws, 40, true));
    std::vector<double> raw = TestSeries(40, 1.0);
    for (double& v : raw)
        v = ReadNumberText(FormatNumber("%.3f", v));
    std::vector<double> avg(30);
    MovingAverageDetrend(avg.data(), raw.data(), 30, 3);
    TargetScale scale;
    ScaleToUnitRange(scale, raw.data(), 30, 0.0, 255.0);
    for (int r = 0; r < 30; ++r) {
        EXPECT_EQ(twoPass.ws->vectors.InputAverage(0)[r], avg[static_cast<std::size_t>(r)]) << r;
        EXPECT_EQ(twoPass.ws->vectors.Input(0)[r], raw[static_cast<std::size_t>(r)]) << r;
    }

    // 1 Pass zeroes the averages of the Training and Testing rows only.
    ASSERT_TRUE(ExtractVectors(*twoPass.ws, 40, false));
    twoPass.settings.use2PassEstimate = false;
    ASSERT_TRUE(ExtractVectors(*twoPass.ws, 40, true));
    for (int r = 0; r < 30; ++r)
        EXPECT_EQ(twoPass.ws->vectors.InputAverage(0)[r], 0.0) << r;
    EXPECT_NE(twoPass.ws->vectors.InputAverage(0)[35], 0.0);
}
