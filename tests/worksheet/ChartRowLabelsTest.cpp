// The dating of a chart's rows by the comment columns: which layouts date them, which
// do not, and the labels continued past the dated rows and placed on the axis.
#include "worksheet/ChartRowLabels.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using orvalis::ReadRowLabels;
using orvalis::RowLabels;
using orvalis::RowLabelTicks;

namespace {

using Columns = std::vector<std::vector<std::string>>;

struct LabelCase {
    const char* name;
    Columns columns;
    const char* title;               // nullptr: no labels
    std::vector<const char*> labels; // of rows 1, 2, ... (past the columns' rows too)
};

} // namespace

TEST(ChartRowLabels, ReadsTheLayoutsThatDateTheRowsAndContinuesThem)
{
    const LabelCase cases[] = {
        {"year and month, wrapping into the next year",
         {{"1960", "1960", "1960"}, {"10", "11", "12"}},
         "Month",
         {"1960-10", "1960-11", "1960-12", "1961-01", "1961-02"}},
        {"year column stepping by one", {{"1871", " 1872 ", "1873"}}, "Year", {"1871", "1872", "1873", "1874"}},
        {"ISO days, a week apart over a leap day",
         {{"2024-02-15", "2024-02-22"}},
         "Date",
         {"2024-02-15", "2024-02-22", "2024-02-29", "2024-03-07"}},
        {"ISO months by quarter", {{"2019-07", "2019-10"}}, "Month", {"2019-07", "2019-10", "2020-01", "2020-04"}},
        {"ISO dates on the same day of every month",
         {{"2023-11-15", "2023-12-15", "2024-01-15"}},
         "Date",
         {"2023-11-15", "2023-12-15", "2024-01-15", "2024-02-15"}},
        {"a label column after one that dates nothing",
         {{"a", "b"}, {"2000", "2001"}},
         "Year",
         {"2000", "2001", "2002"}},
        {"a day counter is not a year", {{"1", "2", "3"}}, nullptr, {}},
        {"a gap in the years", {{"1871", "1873", "1874"}}, nullptr, {}},
        {"years two apart", {{"1870", "1872"}}, nullptr, {}},
        {"an empty cell", {{"1871", "", "1873"}}, nullptr, {}},
        {"a cell that is no date", {{"2020-01-01", "2020-01-02", "soon"}}, nullptr, {}},
        {"a month skipped", {{"1949", "1949", "1949"}, {"1", "2", "4"}}, nullptr, {}},
        {"a month 13", {{"1949", "1949"}, {"12", "13"}}, nullptr, {}},
        {"a day past the month's end", {{"2023-02-28", "2023-02-29"}}, nullptr, {}},
        {"irregular days", {{"2020-01-01", "2020-01-02", "2020-01-04"}}, nullptr, {}},
        {"one row gives no step", {{"1871"}}, nullptr, {}},
    };
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<RowLabels> labels = ReadRowLabels(c.columns);
        if (!c.title) {
            EXPECT_FALSE(labels.has_value());
            continue;
        }
        ASSERT_TRUE(labels.has_value());
        EXPECT_EQ(labels->Title(), c.title);
        for (std::size_t i = 0; i < c.labels.size(); ++i)
            EXPECT_EQ(labels->Label(double(i + 1)), c.labels[i]) << "row " << i + 1;
    }
}

TEST(ChartRowLabels, TicksFallOnRoundStepsOfTheUnitAndOnlyOnDatedRows)
{
    // Months from 1949-01: yearly ticks fall on January, rows 1, 13, 25...
    const RowLabels months = *ReadRowLabels({{"1949", "1949"}, {"1", "2"}});
    EXPECT_EQ(RowLabelTicks(months, 0.5, 30.0, 10.0, 14), (std::vector<double>{1.0, 13.0, 25.0}));
    // A quarter's step from March 2000: April, July, October, January.
    const RowLabels fromMarch = *ReadRowLabels({{"2000", "2000"}, {"3", "4"}});
    EXPECT_EQ(RowLabelTicks(fromMarch, 1.0, 12.0, 2.5, 14), (std::vector<double>{2.0, 5.0, 8.0, 11.0}));
    // Years from 1871 on fives: 1875, 1880...
    const RowLabels years = *ReadRowLabels({{"1871", "1872"}});
    EXPECT_EQ(RowLabelTicks(years, 1.0, 16.0, 4.0, 14), (std::vector<double>{5.0, 10.0, 15.0}));
    // At most maxTicks, and none for rows before year 1 or on a zoom far out.
    EXPECT_EQ(RowLabelTicks(years, 1.0, 1000.0, 1.0, 5).size(), 5u);
    EXPECT_EQ(RowLabelTicks(years, -5000.0, -1900.0, 1.0, 14), std::vector<double>{});
    EXPECT_TRUE(RowLabelTicks(years, -1e18, 1e18, 1.0, 14).empty());
    EXPECT_EQ(years.Label(2.5), "");
    EXPECT_EQ(years.Label(9000.0), "");
}
