// Two windows on one store: each has its own focus, selection and options, and every
// change of the cells reaches both.

#include "GridTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

QRgb PixelIn(CGridCtrl& grid, int row, int col)
{
    QRect rect;
    EXPECT_TRUE(grid.GetCellRect(row, col, rect));
    return grid.viewport()->grab().toImage().pixel(rect.left() + 2, rect.bottom() - 2) & 0xFFFFFF;
}

struct TwoViews {
    bool appMade = (App(), true); // before the first widget
    CellStore store{30, 6, 1, 1};
    CGridCtrl first{store};
    CGridCtrl second{store};
    TwoViews()
    {
        for (CGridCtrl* grid : {&first, &second}) {
            grid->resize(500, 400);
            grid->show();
        }
        Settle();
    }
};

} // namespace

TEST(GridViews, EachWindowHasItsOwnFocusAndSelection)
{
    TwoViews v;
    v.first.SetFocusCell(3, 2);
    v.first.Selection().SetSelectionStartCell({3, 2});
    v.first.SetSelectedRange(3, 2, 5, 4);
    v.second.SetFocusCell(10, 1);
    v.second.Selection().SetSelectionStartCell({10, 1});
    v.second.SetSelectedRange(10, 1, 10, 1);

    EXPECT_EQ(v.first.GetFocusCell(), (CellId{3, 2}));
    EXPECT_EQ(v.first.GetSelectedCellRange(), (CellRange{3, 2, 5, 4}));
    EXPECT_EQ(v.second.GetFocusCell(), (CellId{10, 1})) << "the other window's focus stays";
    EXPECT_EQ(v.second.GetSelectedCellRange(), (CellRange{10, 1, 10, 1}));

    // Keys and the mouse act on the window they reach.
    QTest::keyClick(&v.second, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(v.second.GetSelectedCellRange(), (CellRange{10, 1, 11, 1}));
    EXPECT_EQ(v.first.GetSelectedCellRange(), (CellRange{3, 2, 5, 4}));
    QRect cell;
    ASSERT_TRUE(v.first.GetCellRect(7, 3, cell));
    QTest::mouseClick(v.first.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(v.first.GetFocusCell(), (CellId{7, 3}));
    EXPECT_EQ(v.second.GetFocusCell(), (CellId{11, 1}));
    EXPECT_TRUE(v.second.Selection().IsSelected(10, 1));

    // Each paints its own selection: a cell selected in one window only is highlighted
    // there and nowhere else.
    v.first.SetSelectedRange(4, 4, 4, 4);
    Settle();
    const QRgb highlight = v.first.palette().color(QPalette::Active, QPalette::Highlight).rgb() & 0xFFFFFF;
    EXPECT_EQ(PixelIn(v.first, 4, 4), highlight);
    EXPECT_NE(PixelIn(v.second, 4, 4), highlight);
    EXPECT_EQ(PixelIn(v.second, 10, 1), highlight);
    EXPECT_NE(PixelIn(v.first, 10, 1), highlight);
}

TEST(GridViews, ModelChangesReachBothAndEachDropsItsOwnRemovedCells)
{
    TwoViews v;
    v.first.SetFocusCell(25, 2);
    v.first.Selection().SetSelectionStartCell({25, 2});
    v.first.SetSelectedRange(20, 2, 25, 2);
    v.second.SetFocusCell(5, 5);
    v.second.Selection().SetSelectionStartCell({5, 5});
    v.second.SetSelectedRange(5, 3, 5, 5);
    QSignalSpy firstHeard(&v.first, &CGridCtrl::cellChanged);
    QSignalSpy secondHeard(&v.second, &CGridCtrl::cellChanged);

    v.store.SetCellText(2, 2, "new");
    ASSERT_EQ(firstHeard.size(), 1);
    ASSERT_EQ(secondHeard.size(), 1);
    EXPECT_EQ(secondHeard[0][0].toInt(), 2);

    // Rows 22.. go: the first window loses its focus, anchor and part of its selection,
    // the second keeps everything, and neither gets the removed cells back with new rows.
    v.store.SetRowCount(22);
    EXPECT_EQ(v.first.GetFocusCell(), CellId{});
    EXPECT_EQ(v.first.Selection().GetSelectionStartCell(), CellId{});
    EXPECT_EQ(v.first.GetSelectedCellRange(), (CellRange{20, 2, 21, 2}));
    EXPECT_EQ(v.second.GetFocusCell(), (CellId{5, 5}));
    EXPECT_EQ(v.second.GetSelectedCellRange(), (CellRange{5, 3, 5, 5}));
    v.store.SetRowCount(30);
    EXPECT_FALSE(v.first.Selection().IsSelected(24, 2));
    EXPECT_TRUE(v.first.Selection().CheckConsistency());
    EXPECT_TRUE(v.second.Selection().CheckConsistency());
    EXPECT_EQ(firstHeard.last()[0].toInt(), -1) << "both hear the layout change";
    EXPECT_EQ(secondHeard.last()[0].toInt(), -1);

    // The columns shrink under the second window's selection only.
    v.store.SetColumnCount(4);
    EXPECT_EQ(v.second.GetSelectedCellRange(), (CellRange{5, 3, 5, 3}));
    EXPECT_EQ(v.second.GetFocusCell(), CellId{});
    EXPECT_EQ(v.first.GetSelectedCellRange(), (CellRange{20, 2, 21, 2}));
}

TEST(GridViews, OptionsBelongToEachWindow)
{
    TwoViews v;
    v.first.Options().selectionEnabled = false;
    v.first.SetSelectedRange(2, 2, 3, 3);
    v.second.SetSelectedRange(2, 2, 3, 3);
    EXPECT_TRUE(v.first.Selection().SelectedCells().empty()) << "selecting is off in the first";
    EXPECT_EQ(v.second.Selection().SelectedCells().size(), 4u);
    EXPECT_FALSE(v.first.CanSelectAll());
    EXPECT_TRUE(v.second.CanSelectAll());
}
