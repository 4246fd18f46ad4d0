#include "grid/core/GridSelection.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvalis;

namespace {

struct ReportRecorder : GridSelectionObserver {
    std::vector<CellId> cells;
    void SelectionCellChanged(int row, int col) override { cells.push_back({row, col}); }
};

} // namespace

TEST(GridSelection, ReportsEveryCellWhoseMarkChangesAndNoOther)
{
    CellStore store(10, 5, 1, 1);
    GridViewOptions options;
    GridSelection sel(store, options);
    ReportRecorder seen;
    sel.SetObserver(&seen);

    sel.SetFocusCell({2, 2});
    sel.SetFocusCell({3, 2});
    EXPECT_EQ(seen.cells, (std::vector<CellId>{{2, 2}, {2, 2}, {3, 2}})) << "new, then old and new";
    seen.cells.clear();
    sel.SetFocusCell({3, 2});
    sel.SetFocusCell({12, 2});
    EXPECT_EQ(sel.GetFocusCell(), CellId{}) << "a cell outside the store clears the focus";
    EXPECT_EQ(seen.cells, (std::vector<CellId>{{3, 2}}));

    seen.cells.clear();
    sel.SetSelectedRange(2, 1, 2, 2);
    sel.SetSelectedRange(2, 2, 3, 2);
    EXPECT_EQ(seen.cells, (std::vector<CellId>{{2, 1}, {2, 2}, {2, 1}, {3, 2}}))
        << "only the cells that enter or leave";
    seen.cells.clear();
    EXPECT_FALSE(sel.SetSelected({0, 9}, true));
    sel.ClearSelectedCells();
    EXPECT_EQ(seen.cells.size(), 2u);
    EXPECT_TRUE(sel.SelectedCells().empty());
}

TEST(GridSelection, FollowsTheStoreEvenWhileItStaysQuiet)
{
    struct Case {
        const char* name;
        bool quiet; // the store's drawing switched off: no layout is heard
    } cases[] = {{"heard", false}, {"quiet", true}};
    for (const Case& c : cases) {
        CellStore store(10, 5, 1, 1);
        GridViewOptions options;
        GridSelection sel(store, options);
        sel.SetSelectionStartCell({8, 3});
        sel.SetSelectedRange(7, 3, 8, 4);
        sel.KeepSelection();
        sel.SetFocusCell({8, 4});
        store.allowDraw = !c.quiet;
        store.SetRowCount(8);
        EXPECT_EQ(sel.GetFocusCell(), CellId{}) << c.name;
        EXPECT_EQ(sel.GetSelectionStartCell(), CellId{}) << c.name;
        EXPECT_EQ(sel.GetSelectedCellRange(), (CellRange{7, 3, 7, 4})) << c.name;
        store.SetRowCount(10);
        sel.SetSelectedRange(1, 1, 1, 1);
        EXPECT_FALSE(sel.IsSelected(8, 3)) << c.name << ": a removed kept cell stays forgotten";
        EXPECT_TRUE(sel.IsSelected(7, 3)) << c.name;
        EXPECT_TRUE(sel.CheckConsistency()) << c.name;
    }
}

TEST(GridSelection, AFocusCoveredByAWiderFixedBandGoes)
{
    CellStore store(10, 5, 1, 1);
    GridViewOptions options;
    GridSelection sel(store, options);
    sel.SetFocusCell({3, 3});
    store.SetFixedRowCount(3);
    EXPECT_EQ(sel.GetFocusCell(), (CellId{3, 3})) << "below the band: stays";
    store.SetFixedColumnCount(4);
    EXPECT_EQ(sel.GetFocusCell(), CellId{}) << "inside the band: goes";
    store.DeleteAllCells();
    EXPECT_TRUE(sel.CheckConsistency());
}

TEST(GridSelection, TwoSelectionsOnOneStoreAreIndependent)
{
    CellStore store(10, 5, 1, 1);
    GridViewOptions options;
    GridSelection a(store, options);
    GridSelection b(store, options);
    a.SetFocusCell({2, 2});
    a.SetSelectedRange(2, 2, 4, 4);
    b.SetFocusCell({6, 1});
    b.SetSelectedRange(6, 1, 6, 1);
    EXPECT_EQ(a.SelectedCells().size(), 9u);
    EXPECT_EQ(b.SelectedCells().size(), 1u);
    EXPECT_EQ(a.GetFocusCell(), (CellId{2, 2}));
    EXPECT_EQ(b.GetFocusCell(), (CellId{6, 1}));
    store.SetColumnCount(3);
    EXPECT_EQ(a.SelectedCells().size(), 3u) << "each drops its own removed cells";
    EXPECT_EQ(b.SelectedCells().size(), 1u);
    EXPECT_EQ(a.SelectedCellsInOrder(), (std::vector<CellId>{{2, 2}, {3, 2}, {4, 2}}));
}
