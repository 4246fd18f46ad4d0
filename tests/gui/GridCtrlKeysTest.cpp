#include "GridTestSupport.h"

#include "grid/InPlaceEdit.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

struct KeysFixture : ::testing::Test {
    WorksheetLikeGrid w{640, 480};
    CGridCtrl& grid = *w.grid;
    void Focus(int row, int col)
    {
        grid.SetFocusCell(row, col);
        grid.Selection().SetSelectionStartCell({row, col});
        w.notes.ended.clear();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&grid, key, mods);
    }
};

} // namespace

TEST_F(KeysFixture, TabWrapsAtTheLastColumnAndStopsAtTheLastCell)
{
    Focus(3, 68);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{4, 1}));
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 0) << "the view returns to the first column";
    EXPECT_TRUE(grid.IsCellVisible(4, 1));

    Focus(1000, 68);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{1000, 68})) << "the last cell keeps the focus";
    Focus(1, 1);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{1, 1}));
    EXPECT_TRUE(w.notes.ended.empty());
}

TEST_F(KeysFixture, HomeEndAndPagingMoveRowsOnly)
{
    Focus(5, 3);
    Key(Qt::Key_End);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{1000, 3}));
    EXPECT_TRUE(grid.IsCellVisible(1000, 3));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{1000, 3})) << "cannot scroll: stays on the last row";
    Key(Qt::Key_Home);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{1, 3}));
    const int before = grid.GetTopLeftNonFixedCell().row;
    Key(Qt::Key_PageDown);
    const int moved = grid.GetTopLeftNonFixedCell().row - before;
    EXPECT_GT(moved, 5);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{1 + moved, 3})) << "moves with the page";
}

TEST_F(KeysFixture, EveryKeyMoveShowsTheWholeFocusCell)
{
    const auto wholeInView = [&] {
        const CellId focus = grid.GetFocusCell();
        QRect rect;
        const bool placed = grid.GetCellRect(focus.row, focus.col, rect);
        return placed && rect.left() >= w.store.GetFixedColumnWidth() &&
               rect.top() >= w.store.GetFixedRowHeight() &&
               rect.right() < grid.viewport()->width() &&
               rect.bottom() < grid.viewport()->height();
    };
    Focus(1, 1);
    for (int i = 0; i < 13; ++i) {
        Key(Qt::Key_Right);
        EXPECT_TRUE(wholeInView()) << "Right #" << i + 1;
    }
    for (int i = 0; i < 40; ++i) {
        Key(Qt::Key_Down);
        EXPECT_TRUE(wholeInView()) << "Down #" << i + 1;
    }
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
    } moves[] = {
        {"End", Qt::Key_End, Qt::NoModifier},
        {"Ctrl+Right", Qt::Key_Right, Qt::ControlModifier},
        {"Home", Qt::Key_Home, Qt::NoModifier},
        {"Page Down", Qt::Key_PageDown, Qt::NoModifier},
        {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier},
        {"Left", Qt::Key_Left, Qt::NoModifier},
    };
    for (const auto& move : moves) {
        Key(move.key, move.mods);
        EXPECT_TRUE(wholeInView()) << move.name;
    }
    Focus(3, 68);
    Key(Qt::Key_Tab);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{3, 68}));
    EXPECT_TRUE(wholeInView()) << "Shift+Tab back to the end of the row above";

    // A column wider than the view shows from its left edge, its right neighbour whole.
    w.store.SetColumnWidth(5, 2 * grid.viewport()->width());
    grid.ResetScrollBars();
    Focus(2, 4);
    Key(Qt::Key_Right);
    QRect wide;
    ASSERT_TRUE(grid.GetCellRect(2, 5, wide));
    EXPECT_EQ(wide.left(), w.store.GetFixedColumnWidth());
    Key(Qt::Key_Right);
    EXPECT_TRUE(wholeInView());
}

TEST_F(KeysFixture, ArrowsSelectTheNewCellShiftExtendsFromTheAnchor)
{
    Focus(5, 3);
    Key(Qt::Key_Down);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{6, 3}));
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{6, 3, 6, 3}));
    EXPECT_FALSE(grid.Selection().IsSelected(5, 3)) << "the old cell left the selection";
    EXPECT_TRUE(w.notes.ended.empty()) << "moving edits nothing";
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{6, 3, 7, 4}));
    Key(Qt::Key_Up);
    EXPECT_EQ(grid.GetSelectedCellRange(), (CellRange{6, 4, 6, 4}));
    EXPECT_TRUE(grid.Selection().CheckConsistency());
}

TEST_F(KeysFixture, DeleteClearsOnlyAnEditableFocusCell)
{
    w.store.SetCellText(3, 3, "keep");
    w.store.SetCellState(3, 3, CellReadOnly);
    Focus(3, 3);
    Key(Qt::Key_Delete);
    EXPECT_EQ(w.store.GetCellText(3, 3), "keep");
    EXPECT_TRUE(w.notes.ended.empty());
    EXPECT_FALSE(w.store.GetModified());

    w.store.SetCellText(4, 3, "gone");
    w.store.SetCellText(4, 4, "stays");
    Focus(4, 3);
    grid.SetSelectedRange(4, 3, 4, 4);
    Key(Qt::Key_Delete);
    EXPECT_EQ(w.store.GetCellText(4, 3), "");
    EXPECT_EQ(w.store.GetCellText(4, 4), "stays") << "only the focus cell, whatever the selection";
    EXPECT_TRUE(w.store.GetModified());
    EXPECT_NE(w.store.GetCellState(4, 3) & CellModified, 0u);
    EXPECT_EQ(w.notes.ended, (std::vector<CellId>{{4, 3}}));
    EXPECT_FALSE(grid.IsEditing());
}

TEST_F(KeysFixture, CtrlASelectsEveryNonFixedCellAndStartsNoEdit)
{
    Focus(2, 2);
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.Selection().SelectedCells().size(), 1000u * 68u);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(grid.GetFocusCell(), (CellId{2, 2}));
}

TEST_F(KeysFixture, TypingStartsAnEditWithThatCharacter)
{
    w.store.SetCellText(3, 2, "123");
    Focus(3, 2);
    QTest::keyClick(&grid, '7');
    ASSERT_TRUE(grid.IsEditing());
    auto* edit = qobject_cast<QLineEdit*>(grid.InPlaceEditor());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("7"));
    EXPECT_EQ(w.EditsEnded(), 0) << "the edit is open";
    QTest::keyClick(edit, Qt::Key_Return);
    Settle();
    EXPECT_EQ(w.store.GetCellText(3, 2), "7");
    EXPECT_EQ(w.EditsEnded(), 1);
    EXPECT_FALSE(grid.IsEditing()) << "Enter ends editing without moving on";
    EXPECT_EQ(grid.GetFocusCell(), (CellId{3, 2}));

    QTest::keyClick(&grid, Qt::Key_F2);
    edit = qobject_cast<QLineEdit*>(grid.InPlaceEditor());
    ASSERT_NE(edit, nullptr) << "F2 edits the focus cell";
    EXPECT_EQ(edit->text(), QStringLiteral("7"));
    EXPECT_EQ(edit->cursorPosition(), 1) << "keeping its text, the caret at its end";
    QTest::keyClick(edit, Qt::Key_Escape);
    Settle();
    QTest::keyClick(&grid, Qt::Key_Escape);
    EXPECT_FALSE(grid.IsEditing()) << "Escape on the grid opens no editor";

    w.store.SetCellState(3, 2, CellReadOnly);
    QTest::keyClick(&grid, '8');
    EXPECT_FALSE(grid.IsEditing()) << "a read-only cell is not edited";
}

TEST_F(KeysFixture, PunctuationTypedOntoACellIsTypedNotTakenForAKey)
{
    // These characters share their numbers with navigation keys on some platforms; on
    // the grid they are typed like any other.
    const char typed[] = {'!', '"', '#', '$', '%', '&', '\'', '('};
    for (const char c : typed) {
        w.store.SetCellText(3, 2, "old");
        Focus(3, 2);
        QTest::keyClick(&grid, c);
        auto* edit = qobject_cast<QLineEdit*>(grid.InPlaceEditor());
        ASSERT_NE(edit, nullptr) << c;
        EXPECT_EQ(edit->text(), QString(QLatin1Char(c))) << c;
        QTest::keyClick(edit, Qt::Key_Return);
        Settle();
        EXPECT_EQ(w.store.GetCellText(3, 2), std::string(1, c));
    }
}
