#include "GridTestSupport.h"

#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

struct MouseFixture : ::testing::Test {
    WorksheetLikeGrid w{640, 480};
    CGridCtrl& grid = *w.grid;
    QWidget* area = grid.viewport();
    void Press(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mousePress(area, Qt::LeftButton, mods, p);
    }
    void Release(QPoint p) { QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, p); }
    void Move(QPoint p, Qt::MouseButtons buttons = Qt::LeftButton)
    {
        QMouseEvent move(QEvent::MouseMove, p, area->mapToGlobal(p), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(area, &move);
    }
    QPoint HeaderDivider(int col)  // the left edge of col in the header row
    {
        QPoint origin;
        grid.GetCellOrigin(0, col, origin);
        return QPoint(origin.x(), 5);
    }
};

} // namespace

TEST_F(MouseFixture, PressAndReleaseOnTheFocusCellEditsWithTheMouseKey)
{
    w.store.SetCellText(4, 2, "123");
    QSignalSpy clicks(&grid, &CGridCtrl::Clicked);
    Press(w.CellCentre(4, 2));
    Release(w.CellCentre(4, 2));
    EXPECT_EQ(grid.GetFocusCell(), (CellId{4, 2}));
    EXPECT_FALSE(grid.IsEditing()) << "the first click only moves the focus";
    Press(w.CellCentre(4, 2));
    EXPECT_EQ(grid.GetMouseMode(), MousePrepareEdit);
    Move(w.CellCentre(4, 2) + QPoint(3, 1));
    EXPECT_EQ(grid.GetMouseMode(), MousePrepareEdit) << "moving starts no drag";
    Release(w.CellCentre(4, 2));
    ASSERT_TRUE(grid.IsEditing());
    auto* edit = qobject_cast<QLineEdit*>(grid.InPlaceEditor());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    EXPECT_EQ(edit->cursorPosition(), 3);
    EXPECT_FALSE(edit->hasSelectedText());
    Settle();
    EXPECT_EQ(clicks.count(), 2) << "each completed click is posted to the parent";
}

TEST_F(MouseFixture, ClickOnASelectedCellWithDragOnClearsSelectionAndFocus)
{
    grid.Options().dragAndDropEnabled = true;
    grid.SetFocusCell(3, 3);
    grid.SetSelectedRange(3, 3, 5, 5);
    Press(w.CellCentre(4, 4));
    EXPECT_EQ(grid.GetMouseMode(), MousePrepareDrag);
    Release(w.CellCentre(4, 4));
    EXPECT_TRUE(grid.Selection().SelectedCells().empty());
    EXPECT_EQ(grid.GetFocusCell(), CellId{});

    grid.Options().dragAndDropEnabled = false;
    grid.SetFocusCell(3, 3);
    grid.SetSelectedRange(3, 3, 5, 5);
    Press(w.CellCentre(4, 4));
    Release(w.CellCentre(4, 4));
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{4, 4, 4, 4})) << "without drag: a new selection";
}

TEST_F(MouseFixture, HeaderPressesSelectWholeColumnsAndRowsTheCornerNothing)
{
    Press(w.CellCentre(0, 3));
    Release(w.CellCentre(0, 3));
    EXPECT_EQ(grid.GetFocusCell(), (CellId{1, 3}));
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 3, 1000, 3}));
    // Shift extends from the focus cell to the pressed column.
    Press(w.CellCentre(0, 5), Qt::ShiftModifier);
    Release(w.CellCentre(0, 5));
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{1, 3, 1000, 5}));

    Press(w.CellCentre(6, 0));
    Release(w.CellCentre(6, 0));
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{6, 1, 6, 68}));
    EXPECT_EQ(grid.GetFocusCell(), (CellId{6, 1}));

    Press(w.CellCentre(0, 0));
    Release(w.CellCentre(0, 0));
    EXPECT_EQ(grid.GetFocusCell(), (CellId{1, 1}));
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{6, 1, 6, 68})) << "the corner keeps the selection";
}

TEST_F(MouseFixture, CtrlClickAddsToTheSelection)
{
    Press(w.CellCentre(2, 2));
    Release(w.CellCentre(2, 2));
    Press(w.CellCentre(5, 4), Qt::ControlModifier);
    Release(w.CellCentre(5, 4));
    EXPECT_EQ(grid.Selection().SelectedCells().size(), 2u);
    EXPECT_TRUE(grid.Selection().CheckConsistency());
}

TEST_F(MouseFixture, DraggingTwoPixelsRightOfADividerResizesTheColumnToItsLeft)
{
    const int before = w.store.GetColumnWidth(2);
    const int third = w.store.GetColumnWidth(3);
    const QPoint start = HeaderDivider(3) + QPoint(2, 0);
    Move(start, Qt::NoButton);
    EXPECT_EQ(grid.GetMouseMode(), MouseOverColumnDivider);
    Press(start);
    EXPECT_EQ(grid.GetMouseMode(), MouseSizingColumn);
    Move(start + QPoint(20, 0));
    Release(start + QPoint(20, 0));
    EXPECT_EQ(w.store.GetColumnWidth(2), before + 22);
    EXPECT_EQ(w.store.GetColumnWidth(3), third);
    EXPECT_EQ(grid.GetMouseMode(), MouseOverColumnDivider) << "the pointer rests on the moved divider";

    // Dragging left past the column's own left edge cannot make it negative.
    const QPoint divider = HeaderDivider(3);
    Move(divider, Qt::NoButton);
    Press(divider);
    Move(divider - QPoint(500, 0));
    Release(divider - QPoint(500, 0));
    EXPECT_EQ(w.store.GetColumnWidth(2), 0);
}

TEST_F(MouseFixture, DoubleClickOnADividerAutoSizesTheColumn)
{
    w.store.SetCellText(7, 4, "a rather long piece of text for one cell");
    const QPoint divider = HeaderDivider(5) - QPoint(1, 0);  // right edge of column 4
    Move(divider, Qt::NoButton);
    Press(divider);
    Release(divider);
    Press(divider);
    QTest::mouseDClick(area, Qt::LeftButton, Qt::NoModifier, divider);
    Release(divider);
    EXPECT_EQ(w.store.GetColumnWidth(4), w.store.GetCellExtent(7, 4).width);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(grid.GetFocusCell(), CellId{}) << "clicking a divider does not move the focus";
}

TEST_F(MouseFixture, DoubleClickOnACellEdits)
{
    w.store.SetCellText(3, 3, "abc");
    // The platform's sequence: press, release, press, double click, release.
    const QPoint p = w.CellCentre(3, 3);
    Press(p);
    Release(p);
    Press(p);
    QTest::mouseDClick(area, Qt::LeftButton, Qt::NoModifier, p);
    Release(p);
    Settle();
    ASSERT_TRUE(grid.IsEditing());
    EXPECT_EQ(qobject_cast<QLineEdit*>(grid.InPlaceEditor())->text(), QStringLiteral("abc"));
}

TEST_F(MouseFixture, HoldingTheButtonBelowTheCellsScrollsAndExtendsTheSelection)
{
    Press(w.CellCentre(3, 2));
    Move(w.CellCentre(5, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{3, 2, 5, 2}));
    Move(QPoint(w.CellCentre(5, 2).x(), area->height() + 30));
    QTest::qWait(1000);  // enough 25 ms ticks to run past the last visible row
    Release(QPoint(w.CellCentre(5, 2).x(), area->height() + 30));
    const CellRange range = grid.GetSelectedCellRange();
    EXPECT_EQ(range.minRow, 3);
    EXPECT_GT(range.maxRow, grid.GetUnobstructedNonFixedCellRange().maxRow - 2);
    EXPECT_GT(grid.GetTopLeftNonFixedCell().row, 1) << "the view scrolled down";
    const int after = grid.GetTopLeftNonFixedCell().row;
    QTest::qWait(100);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, after) << "the timer stops with the release";
}

TEST(GridContextMenu, ItemsSeparatorsAndWhatIsOffered)
{
    WorksheetLikeGrid w(400, 300);
    const std::unique_ptr<QMenu> menu = w.grid->CreateContextMenu();
    QStringList shown;
    for (QAction* a : menu->actions())
        shown << (a->isSeparator() ? QStringLiteral("-")
                                   : a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)")));
    EXPECT_EQ(shown.join(QLatin1Char('|')),
              QStringLiteral("Undo (off)|-|Cut (off)|Copy (off)|Paste (off)|Delete (off)|-|Select All"));
    menu->actions().last()->trigger();
    EXPECT_EQ(w.grid->Selection().SelectedCells().size(), 1000u * 68u);
}
