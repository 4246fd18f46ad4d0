#include "grid/core/GridPagination.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace orvalis;

TEST(GridPagination, PageLayoutFollowsThePaperAspectRounded)
{
    // 992 units of sheet + 8 x 4 margin = 1024 wide; 1024 x 5657 / 4000 = 1448.17.
    const PrintPageLayout a = ComputePrintPageLayout(992, 20, 4, 10, 4000, 5657);
    EXPECT_EQ(a.pageWidth, 1024);
    EXPECT_EQ(a.pageHeight, 1448);
    EXPECT_EQ(a.bodyHeight, 1448 - 60 - 20);
    // 1024 x 2 / 3 = 682.67 rounds up; a large sheet on a fine printer does not overflow.
    EXPECT_EQ(ComputePrintPageLayout(992, 0, 4, 10, 3, 2).pageHeight, 683);
    EXPECT_EQ(ComputePrintPageLayout(100000, 0, 4, 10, 40000, 56570).pageHeight, 141470);
    EXPECT_EQ(ComputePrintPageLayout(992, 20, 4, 10, 0, 100).pageWidth, 0) << "no paper";
    // Sizes at the ends of int are held there, not wrapped to negative pages.
    const PrintPageLayout huge = ComputePrintPageLayout(INT_MAX, INT_MAX, 1000000, 1000000, 1, 2);
    EXPECT_EQ(huge.pageWidth, INT_MAX);
    EXPECT_EQ(huge.pageHeight, INT_MAX);
    EXPECT_EQ(huge.bodyHeight, INT_MAX - 6000000 - INT_MAX);
}

TEST(GridPagination, RowsAreNeverSplitAcrossPages)
{
    struct Case {
        const char* name;
        std::vector<int> heights;  // row 0 is the fixed row
        int body;
        std::vector<int> starts;
    };
    const std::vector<Case> cases = {
        {"a sheet that fits one page", {30, 10, 10, 10}, 30, {1}},
        {"three pages, the row that would pass the bottom begins the next",
         {30, 10, 10, 10, 10, 10, 10, 10}, 25, {1, 3, 5, 7}},
        {"three pages exactly", {30, 10, 10, 10, 10, 10, 10}, 20, {1, 3, 5}},
        {"a row taller than the body gets a page of its own", {30, 10, 99, 10}, 25, {1, 2, 3}},
        {"a tall first row leaves no empty page before it", {30, 99, 10, 10}, 25, {1, 2}},
        {"only fixed rows: nothing to print", {30}, 25, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageStartRows(c.heights, 1, c.body), c.starts) << c.name;
}
