#include "grid/core/GridGeometry.h"
#include "grid/core/GridScroll.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvalis;

namespace {

// 1 fixed row of 20 and fixed column of 50; other rows 10 high, columns 30 wide.
void Shape(CellStore& store, int rows = 101, int cols = 11)
{
    store.SetRowCount(rows);
    store.SetColumnCount(cols);
    store.SetFixedRowCount(1);
    store.SetFixedColumnCount(1);
    for (int r = 0; r < rows; ++r)
        store.SetRowHeight(r, r == 0 ? 20 : 10);
    for (int c = 0; c < cols; ++c)
        store.SetColumnWidth(c, c == 0 ? 50 : 30);
}

} // namespace

TEST(GridGeometry, TopLeftCellFollowsTheScrollPositionInWholeRows)
{
    CellStore store;
    Shape(store);
    struct Case {
        const char* name;
        int vPos;
        int row;
    } cases[] = {
        {"at the top", 0, 1},
        {"one pixel on starts the next row", 1, 2},
        {"exactly one row", 10, 2},
        {"far down", 955, 97},
        {"past the end stops at the last row", 100000, 100},
    };
    for (const Case& c : cases) {
        const GridGeometry g(store, GridViewport{300, 200, 0, c.vPos});
        EXPECT_EQ(g.TopLeftNonFixedCell().row, c.row) << c.name;
        EXPECT_EQ(g.TopLeftNonFixedCell().col, 1) << c.name;
    }
}

TEST(GridGeometry, OriginsRectanglesAndHitTesting)
{
    CellStore store;
    Shape(store);
    store.SetColumnWidth(3, 0);
    const GridGeometry g(store, GridViewport{300, 200, 30, 20});  // top-left (3, 2)
    ASSERT_EQ(g.TopLeftNonFixedCell(), (CellId{3, 2}));
    GridPoint p;
    EXPECT_TRUE(g.CellOrigin(0, 0, p));
    EXPECT_EQ(p, (GridPoint{0, 0}));
    EXPECT_TRUE(g.CellOrigin(3, 2, p));
    EXPECT_EQ(p, (GridPoint{50, 20}));
    EXPECT_FALSE(g.CellOrigin(2, 2, p)) << "scrolled out above";
    EXPECT_FALSE(g.CellOrigin(3, 1, p)) << "scrolled out left";
    EXPECT_TRUE(g.CellOrigin(0, 5, p)) << "fixed row over a visible column";
    EXPECT_EQ(p, (GridPoint{50 + 30 + 0 + 30, 0}));
    EXPECT_TRUE(g.CellOrigin(100, 10, p)) << "past the bottom edge still has an origin";
    EXPECT_EQ(p.y, 20 + (100 - 3) * 10);
    GridRect r;
    EXPECT_TRUE(g.CellRect(3, 3, r));
    EXPECT_EQ(r, (GridRect{80, 20, 79, 29})) << "zero width: the neighbours touch";
    EXPECT_FALSE(g.CellRect(101, 1, r));

    struct Hit {
        const char* name;
        GridPoint point;
        bool allowFixed;
        CellId cell;
    } hits[] = {
        {"left of 0", {-1, 25}, true, {3, -1}},
        {"fixed corner", {10, 5}, true, {0, 0}},
        {"fixed not allowed", {10, 25}, false, {3, -1}},
        {"first scrolled cell", {50, 20}, true, {3, 2}},
        {"zero-width column never hit", {80, 25}, true, {3, 4}},
        {"last pixel of a cell", {79, 29}, true, {3, 2}},
        {"last pixel of the last column", {289, 25}, true, {3, 10}},
        {"past the last column", {290, 25}, true, {3, -1}},
    };
    for (const Hit& h : hits)
        EXPECT_EQ(g.CellFromPoint(h.point, h.allowFixed), h.cell) << h.name;
}

TEST(GridGeometry, DividersGrabbedForSizing)
{
    CellStore store;
    Shape(store);
    // Column 1 covers x 50..79, column 2 starts at 80; row 1 covers y 20..29.
    const GridGeometry g(store, GridViewport{300, 200, 0, 0});
    struct Case {
        const char* name;
        GridPoint point;
        int range;
        bool onColumnDivider;
        int columnToSize;
        bool onRowDivider;
        int rowToSize;
    } cases[] = {
        {"title just right of a divider sizes the column before", {81, 5}, 3, true, 1, false, 0},
        {"title at the range's end before a divider", {77, 5}, 3, true, 1, false, 0},
        {"title one pixel out of range", {76, 5}, 3, false, 1, false, 0},
        {"title middle", {65, 5}, 3, false, 1, false, 0},
        {"narrower range lets go", {81, 5}, 0, false, 2, false, 0},
        {"left edge of column 0 is no divider", {1, 5}, 3, false, -1, false, 0},
        {"right edge of column 0", {48, 5}, 3, true, 0, false, 0},
        {"data rows offer no column divider", {81, 25}, 3, false, 1, false, 1},
        {"label just below a divider sizes the row above", {5, 31}, 3, false, 0, true, 1},
        {"label at the range's end above a divider", {5, 27}, 3, false, 0, true, 1},
        {"label middle", {5, 25}, 3, false, 0, false, 1},
        {"top edge of row 0 is no divider", {5, 2}, 3, false, 0, false, -1},
        {"cells offer no row divider", {60, 31}, 3, false, 1, false, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(g.IsOnColumnDivider(c.point, c.range), c.onColumnDivider) << c.name;
        EXPECT_EQ(g.ColumnToSize(c.point, c.range), c.columnToSize) << c.name;
        EXPECT_EQ(g.IsOnRowDivider(c.point, c.range), c.onRowDivider) << c.name;
        EXPECT_EQ(g.RowToSize(c.point, c.range), c.rowToSize) << c.name;
    }
}

TEST(GridGeometry, VisibleAndUnobstructedRanges)
{
    CellStore store;
    Shape(store);
    // Client 125 x 75: columns 1..3 fill 50..139 (the third partly), rows 1..6 fill
    // 20..79 (the sixth partly).
    const GridGeometry g(store, GridViewport{125, 75, 0, 0});
    GridRect area;
    EXPECT_EQ(g.VisibleNonFixedCellRange(&area), (CellRange{1, 1, 6, 3}));
    EXPECT_EQ(area, (GridRect{0, 0, 125, 75}));
    EXPECT_EQ(g.UnobstructedNonFixedCellRange(), (CellRange{1, 1, 5, 2}));
    EXPECT_TRUE(g.IsCellVisible(6, 3));
    EXPECT_FALSE(g.IsCellVisible(7, 1));

    // Everything fits: the drawn area ends with the last cell.
    CellStore small;
    Shape(small, 3, 3);
    const GridGeometry all(small, GridViewport{500, 500, 0, 0});
    EXPECT_EQ(all.VisibleNonFixedCellRange(&area), (CellRange{1, 1, 2, 2}));
    EXPECT_EQ(area, (GridRect{0, 0, 110, 40}));

    // Only fixed rows: no valid range, so the scroll bars stay as they are.
    const CellStore header(1, 3, 1, 1);
    const GridGeometry none(header, GridViewport{300, 200, 0, 0});
    const CellRange r = none.VisibleNonFixedCellRange();
    EXPECT_GT(r.minRow, r.maxRow);
    EXPECT_FALSE(ComputeScrollBars(header, none).apply);
}

TEST(GridGeometry, CellsBelowTheVisibleEndGetTheirOriginWithoutAWalkFromTheTop)
{
    CellStore store;
    Shape(store, 65536, 3);
    const GridGeometry g(store, GridViewport{300, 200, 0, 10 * 65000});
    GridPoint p;
    ASSERT_TRUE(g.CellOrigin(65535, 1, p));
    EXPECT_EQ(p.y, 20 + (65535 - g.TopLeftNonFixedCell().row) * 10);
}

// The one walk that screen and paper share: cells edge to edge from the origin, only
// those meeting the clip, the walk ending at the clip's far edges.
TEST(GridGeometry, CellRectangleWalk)
{
    CellStore store;
    Shape(store);
    store.SetRowHeight(3, 0); // a hidden row takes no pixel and moves nothing
    const GridGeometry g(store, GridViewport{400, 300, 0, 0});
    struct Visit {
        int row, col;
        GridRect rect;
        bool operator==(const Visit&) const = default;
    };
    struct Case {
        const char* name;
        CellRange cells;
        GridPoint origin;
        GridRect clip;
        std::vector<Visit> expected;
    };
    const GridRect all{-1000, -1000, 100000, 100000};
    const Case cases[] = {
        {"two by two from the origin", {1, 1, 2, 2}, {50, 20}, all, {{1, 1, {50, 20, 79, 29}}, {1, 2, {80, 20, 109, 29}}, {2, 1, {50, 30, 79, 39}}, {2, 2, {80, 30, 109, 39}}}},
        {"a zero-height row is an empty rectangle and shifts nothing", {2, 1, 4, 1}, {0, 0}, all, {{2, 1, {0, 0, 29, 9}}, {3, 1, {0, 10, 29, 9}}, {4, 1, {0, 10, 29, 19}}}},
        {"cells wholly outside the clip are skipped", {1, 1, 3, 4}, {0, 0}, {35, 0, 64, 9}, {{1, 2, {30, 0, 59, 9}}, {1, 3, {60, 0, 89, 9}}}},
        {"the walk stops below the clip", {1, 1, 100, 1}, {0, 0}, {0, 0, 10, 15}, {{1, 1, {0, 0, 29, 9}}, {2, 1, {0, 10, 29, 19}}}},
        {"an empty range visits nothing", {0, 0, -1, -1}, {0, 0}, all, {}},
    };
    for (const Case& c : cases) {
        std::vector<Visit> got;
        g.ForEachCellRect(c.cells, c.origin, c.clip,
                          [&](int row, int col, const GridRect& rect) { got.push_back({row, col, rect}); });
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(GridScroll, ScrollBarsAndStepTargets)
{
    CellStore store;
    Shape(store);
    const GridGeometry g(store, GridViewport{200, 120, 0, 0});
    const ScrollBarSetup s = ComputeScrollBars(store, g);
    ASSERT_TRUE(s.apply);
    EXPECT_EQ(s.vPage, 100);
    EXPECT_EQ(s.vMax, 999) << "1000 pixels of scrolled rows, less one";
    EXPECT_EQ(s.hPage, 150);
    EXPECT_EQ(s.hMax, 299);
    EXPECT_EQ(ReachableScrollPos(s.vMax, s.vPage), 900);
    EXPECT_EQ(ReachableScrollPos(0, 100), 0);

    struct Case {
        const char* name;
        int pos;
        ScrollAction action;
        int expected;
    } cases[] = {
        {"line down is one row", 0, ScrollAction::LineForward, 10},
        {"line up at the first row does nothing", 0, ScrollAction::LineBack, 0},
        {"page down", 0, ScrollAction::PageForward, 100},
        {"page down stops at the maximum", 950, ScrollAction::PageForward, 999},
        {"page up stops at 0", 40, ScrollAction::PageBack, 0},
        {"bottom", 0, ScrollAction::ToEnd, 999},
        {"top", 500, ScrollAction::ToStart, 0},
    };
    for (const Case& c : cases) {
        const GridGeometry at(store, GridViewport{200, 120, 0, c.pos});
        EXPECT_EQ(ScrollTarget(at, true, c.pos, s.vMax, c.action), c.expected) << c.name;
    }

    const GridGeometry a(store, GridViewport{200, 120, 0, 0});
    const GridGeometry b(store, GridViewport{200, 120, 0, 10});
    const GridGeometry far(store, GridViewport{200, 120, 0, 100});
    EXPECT_EQ(RepaintAfterScroll(a, b, true).kind, ScrollRepaint::Shift);
    EXPECT_EQ(RepaintAfterScroll(a, b, true).shift, 10);
    EXPECT_EQ(RepaintAfterScroll(b, a, true).shift, -10);
    EXPECT_EQ(RepaintAfterScroll(a, far, true).kind, ScrollRepaint::Scrolled);
    EXPECT_EQ(RepaintAfterScroll(a, a, true).kind, ScrollRepaint::None);
}

TEST(GridScroll, PositionThatShowsAWholeCell)
{
    CellStore store;
    Shape(store);
    store.SetColumnWidth(8, 400);  // wider than the 150-pixel page
    struct Case {
        const char* name;
        int width;  // client width; the page is 50 less
        int hPos;
        bool vertical;
        int index;
        int expected;
    } cases[] = {
        {"whole in view stays", 200, 0, false, 5, 0},
        {"one past the right edge drops one column", 200, 0, false, 6, 30},
        {"cut by the right edge", 190, 0, false, 5, 30},
        {"far right ends at the cell's edge", 200, 0, false, 7, 60},
        {"left of the view becomes the first", 200, 95, false, 3, 60},
        {"a fixed column never scrolls", 200, 95, false, 0, 95},
        {"a wide cell shows from its start", 200, 0, false, 8, 210},
        {"right of a wide cell drops it whole", 200, 210, false, 9, 610},
        {"one row below the bottom", 200, 0, true, 11, 10},
        {"last row", 200, 0, true, 100, 900},
    };
    for (const Case& c : cases) {
        const GridGeometry g(store, GridViewport{c.width, 120, c.vertical ? 0 : c.hPos, 0});
        EXPECT_EQ(ScrollPosToShow(g, c.vertical, c.index), c.expected) << c.name;
    }
}

// The running sums give what a walk from the top gives, on rows of uneven heights
// (hidden rows of height 0 among them), for every scroll position and wanted row.
TEST(GridScroll, RunningSumsAgreeWithAWalkFromTheTop)
{
    CellStore store;
    Shape(store, 400);
    for (int r = 1; r < 400; ++r)
        store.SetRowHeight(r, r % 7 == 0 ? 0 : 5 + (r * 37) % 23);
    std::vector<int> start(401, 0); // pixels of the non-fixed rows before row r
    for (int r = 2; r <= 400; ++r)
        start[r] = start[r - 1] + store.GetRowHeight(r - 1);
    for (int vPos = 0; vPos <= start[400] + 50; vPos += 13) {
        const GridGeometry g(store, GridViewport{300, 200, 0, vPos});
        int walked = 1;
        while (start[walked] < vPos && walked < 399)
            ++walked;
        ASSERT_EQ(g.TopLeftNonFixedCell().row, walked) << "vPos " << vPos;
        for (int row = 1; row < 400; row += 17) {
            // The position that shows the row whole: its own start when it is above the
            // view, else the first start from which its far edge fits in the 180 pixels.
            int expected = vPos;
            const int end = start[row] + store.GetRowHeight(row);
            if (row < walked)
                expected = start[row];
            else if (end - start[walked] > 180) {
                int from = walked;
                while (from < row && end - start[from] > 180)
                    ++from;
                expected = start[from];
            }
            ASSERT_EQ(ScrollPosToShow(g, true, row), expected) << "vPos " << vPos << " row " << row;
            GridPoint origin;
            if (row > walked && g.CellOrigin(row, 1, origin)) {
                ASSERT_EQ(origin.y, 20 + start[row] - start[walked]) << "vPos " << vPos << " row " << row;
            }
        }
    }
}
