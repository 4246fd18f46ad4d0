#include "grid/core/GridNavigation.h"
#include "grid/core/GridSelection.h"

#include <gtest/gtest.h>

using namespace orvalis;

TEST(GridNavigation, KeyTable)
{
    // 10 rows x 5 columns, one fixed row and column: cells 1..9 x 1..4.
    CellStore store(10, 5, 1, 1);
    struct Case {
        const char* name;
        CellId from;
        GridKey key;
        bool shift;
        int rowsScrolled;
        CellId to;
        bool changeLine;
        bool defaultHandling;
    } cases[] = {
        {"Tab moves right", {3, 2}, GridKey::Tab, false, 0, {3, 3}, false, false},
        {"Tab at last column wraps to next row", {3, 4}, GridKey::Tab, false, 0, {4, 1}, true, false},
        {"Tab at the last cell is not the grid's", {9, 4}, GridKey::Tab, false, 0, {9, 4}, false, true},
        {"Shift+Tab moves left", {3, 2}, GridKey::Tab, true, 0, {3, 1}, false, false},
        {"Shift+Tab at first column wraps up", {3, 1}, GridKey::Tab, true, 0, {2, 4}, true, false},
        {"Shift+Tab at the first cell is not the grid's", {1, 1}, GridKey::Tab, true, 0, {1, 1}, false, true},
        {"Down", {3, 2}, GridKey::Down, false, 0, {4, 2}, false, false},
        {"Down at the last row stays", {9, 2}, GridKey::Down, false, 0, {9, 2}, false, false},
        {"Up never enters the header", {1, 2}, GridKey::Up, false, 0, {1, 2}, false, false},
        {"Left never enters the header", {3, 1}, GridKey::Left, false, 0, {3, 1}, false, false},
        {"Right at the last column stays", {3, 4}, GridKey::Right, false, 0, {3, 4}, false, false},
        {"Page Down by the rows scrolled", {3, 2}, GridKey::PageDown, false, 4, {7, 2}, false, false},
        {"Page Down clipped to the last row", {8, 2}, GridKey::PageDown, false, 4, {9, 2}, false, false},
        {"Page Down that cannot scroll goes to the last row", {3, 2}, GridKey::PageDown, false, 0, {9, 2}, false, false},
        {"Page Up by the rows scrolled", {7, 2}, GridKey::PageUp, false, -4, {3, 2}, false, false},
        {"Page Up that cannot scroll goes to the first row", {7, 2}, GridKey::PageUp, false, 0, {1, 2}, false, false},
        {"Home keeps the column", {7, 3}, GridKey::Home, false, 0, {1, 3}, false, false},
        {"End keeps the column", {2, 3}, GridKey::End, false, 0, {9, 3}, false, false},
        {"Other keys are not the grid's", {2, 3}, GridKey::Other, false, 0, {2, 3}, false, true},
    };
    for (const Case& c : cases) {
        const Navigation nav = NextCellForKey(store, c.from, c.key, c.shift, c.rowsScrolled);
        EXPECT_EQ(nav.next, c.to) << c.name;
        EXPECT_EQ(nav.changeLine, c.changeLine) << c.name;
        EXPECT_EQ(nav.defaultHandling, c.defaultHandling) << c.name;
    }
    const Navigation del = NextCellForKey(store, {2, 3}, GridKey::Delete, false);
    EXPECT_TRUE(del.defaultHandling) << "Delete moves nothing";
}

TEST(GridSelection, RangesRowsColumnsAndTheKeptSelection)
{
    CellStore store(10, 5, 1, 1);
    GridViewOptions options;
    GridSelection sel(store, options);
    EXPECT_EQ(sel.GetSelectedCellRange(), (CellRange{10, 5, -1, -1})) << "nothing selected";

    sel.SetSelectionStartCell({2, 2});
    sel.SelectCells({4, 1});
    EXPECT_EQ(sel.GetSelectedCellRange(), (CellRange{2, 1, 4, 2}));
    EXPECT_EQ(sel.SelectedCells().size(), 6u);
    sel.SelectCells({0, 3});  // a header cell selects nothing new
    EXPECT_EQ(sel.SelectedCells().size(), 6u);

    sel.SelectRows({3, 0});
    EXPECT_EQ(sel.GetSelectedCellRange(), (CellRange{2, 1, 3, 4})) << "rows from the anchor's";
    sel.SelectColumns({0, 3});
    EXPECT_EQ(sel.GetSelectedCellRange(), (CellRange{1, 2, 9, 3})) << "columns, header rows excluded";

    // Ctrl-extending: the kept cells stay selected beside the new range.
    sel.SetSelectedRange(9, 4, 9, 4);
    sel.KeepSelection();
    sel.SetSelectedRange(1, 1, 1, 1);
    EXPECT_EQ(sel.SelectedCells().size(), 2u);
    options.singleRowSelection = true;
    sel.SetSelectedRange(1, 1, 1, 1);
    EXPECT_EQ(sel.SelectedCells().size(), 1u) << "single-row selection keeps nothing";
    options.singleRowSelection = false;
    sel.ForgetKeptSelection();

    sel.SelectAllCells();
    EXPECT_EQ(sel.SelectedCells().size(), 9u * 4u);
    EXPECT_FALSE(sel.IsSelected(0, 0));
    options.selectionEnabled = false;
    sel.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_EQ(sel.SelectedCells().size(), 36u) << "selection switched off changes nothing";
    options.selectionEnabled = true;
    sel.SetSelectedRange(-1, -1, -1, -1);
    EXPECT_TRUE(sel.SelectedCells().empty());
    EXPECT_TRUE(sel.CheckConsistency());

    options.listMode = true;
    options.singleRowSelection = true;
    sel.SetSelectionStartCell({2, 1});
    sel.OnSelecting({5, 3}, MouseSelectRows);
    EXPECT_EQ(sel.GetSelectedCellRange(), (CellRange{5, 1, 5, 4})) << "list mode, one row only";
    sel.OnSelecting({7, 3}, MouseSelectAll);
    EXPECT_EQ(sel.GetSelectedCellRange(), (CellRange{5, 1, 5, 4})) << "the corner selects nothing";
    EXPECT_TRUE(sel.CheckConsistency());
}
