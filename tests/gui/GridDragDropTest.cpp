#include "GridTestSupport.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

// Sends the drag events a pointer travelling to point would produce over target's cell
// area, then the drop (or a leave when drop is false); returns the drop's action.
Qt::DropAction DragOnto(CGridCtrl& target, QPoint point, const QMimeData& mime,
                        Qt::KeyboardModifiers mods, bool drop = true)
{
    QWidget* area = target.viewport();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(point, offered, &mime, Qt::LeftButton, mods);
    QCoreApplication::sendEvent(area, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDragMoveEvent move(point, offered, &mime, Qt::LeftButton, mods);
    QCoreApplication::sendEvent(area, &move);
    if (!drop || !move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(area, &leave);
        return Qt::IgnoreAction;
    }
    QDropEvent dropped(QPointF(point), offered, &mime, Qt::LeftButton, mods);
    QCoreApplication::sendEvent(area, &dropped);
    return dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction;
}

// A grid whose drag loop is played by DragOnto against a chosen target.
class DragGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    CGridCtrl* target = nullptr;  // nullptr: the drag ends without a drop
    CellId dropCell;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    int drags = 0;
    Qt::DropAction ExecDrag(std::unique_ptr<QMimeData> mime) override
    {
        ++drags;
        if (!target)
            return Qt::IgnoreAction;
        QRect rect;
        target->GetCellRect(dropCell.row, dropCell.col, rect);
        return DragOnto(*target, rect.center(), *mime, mods);
    }
};

struct Sheet {
    bool appMade = (App(), true);  // before the first widget
    CellStore store{60, 8, 1, 1};
    DragGrid grid{store};
    Sheet()
    {
        grid.Options().dragAndDropEnabled = true;
        grid.resize(500, 400);
        grid.show();
        grid.activateWindow();
        // A press starts a drag only in a grid that already had the keyboard focus.
        EXPECT_TRUE(QTest::qWaitForWindowActive(&grid, 2000));
        grid.ResetScrollBars();
    }
    QPoint Centre(int row, int col)
    {
        QRect rect;
        grid.GetCellRect(row, col, rect);
        return rect.center();
    }
    // Selects rows 2-3, columns 1-2 (texts r2c1 ...), focus on (2,1), then presses on
    // (3,2) and moves: the drag starts.
    void DragBlock(QPoint moveBy = QPoint(20, 20))
    {
        for (int r = 2; r <= 3; ++r)
            for (int c = 1; c <= 2; ++c)
                store.SetCellText(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
        grid.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&grid, 2000));
        grid.setFocus();
        grid.SetFocusCell(2, 1);
        grid.SetSelectedRange(2, 1, 3, 2);
        QWidget* area = grid.viewport();
        QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, Centre(3, 2));
        const QPoint to = Centre(3, 2) + moveBy;
        QMouseEvent move(QEvent::MouseMove, to, area->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(area, &move);
    }
};

} // namespace

TEST(GridDragDrop, PlainDragMovesCtrlDragCopiesWithinOneGrid)
{
    Sheet move;
    move.grid.target = &move.grid;
    move.grid.dropCell = {3, 4};  // overlaps nothing of the block
    move.DragBlock();
    EXPECT_EQ(move.store.GetCellText(3, 4), "r2c1");
    EXPECT_EQ(move.store.GetCellText(4, 5), "r3c2");
    EXPECT_EQ(move.store.GetCellText(2, 1), "") << "moved away";
    EXPECT_EQ(move.store.GetCellText(3, 2), "");
    EXPECT_EQ(move.grid.GetMouseMode(), MouseNothing);

    Sheet overlap;
    overlap.grid.target = &overlap.grid;
    overlap.grid.dropCell = {3, 2};  // one row down, one column right: overlaps (3,2)
    overlap.DragBlock();
    EXPECT_EQ(overlap.store.GetCellText(3, 2), "r2c1") << "the dropped cell is not cut";
    EXPECT_EQ(overlap.store.GetCellText(4, 3), "r3c2");
    EXPECT_EQ(overlap.store.GetCellText(2, 1), "");
    EXPECT_EQ(overlap.store.GetCellText(3, 1), "");

    Sheet copy;
    copy.grid.target = &copy.grid;
    copy.grid.dropCell = {10, 1};
    copy.grid.mods = Qt::ControlModifier;
    copy.DragBlock();
    EXPECT_EQ(copy.store.GetCellText(11, 2), "r3c2");
    EXPECT_EQ(copy.store.GetCellText(2, 1), "r2c1") << "Ctrl copies: the source keeps its text";
}

TEST(GridDragDrop, DragBetweenTwoWorksheetWindowsAndFromOtherPrograms)
{
    Sheet from;
    Sheet to;
    from.grid.target = &to.grid;
    from.grid.dropCell = {5, 3};
    from.DragBlock();
    EXPECT_EQ(to.store.GetCellText(5, 3), "r2c1");
    EXPECT_EQ(to.store.GetCellText(6, 4), "r3c2");
    EXPECT_EQ(from.store.GetCellText(3, 2), "") << "moved out of the first window";
    EXPECT_TRUE(to.store.GetModified());

    QMimeData outside;
    outside.setText(QStringLiteral("7\t8\r\n9\r\n"));
    QRect rect;
    to.grid.GetCellRect(20, 1, rect);
    EXPECT_EQ(DragOnto(to.grid, rect.center(), outside, Qt::NoModifier), Qt::MoveAction);
    EXPECT_EQ(to.store.GetCellText(20, 2), "8");
    EXPECT_EQ(to.store.GetCellText(21, 1), "9");
    EXPECT_EQ(to.store.GetCellText(22, 1), "");
}

TEST(GridDragDrop, RefusedTargetsChangeNothingAndKeepSelectionAndFocus)
{
    struct Case {
        const char* name;
        CellId dropCell;  // (-1,-1): released without any drop
    };
    for (const Case& c : {Case{"read-only cell", {8, 2}}, Case{"fixed header cell", {0, 3}},
                          Case{"fixed row label", {8, 0}}, Case{"no drop at all", {-1, -1}}}) {
        Sheet s;
        s.store.SetCellState(8, 2, CellReadOnly);
        s.store.SetCellText(8, 2, "locked");
        s.grid.target = c.dropCell.row >= 0 ? &s.grid : nullptr;
        s.grid.dropCell = c.dropCell;
        s.DragBlock();
        EXPECT_EQ(s.store.GetCellText(2, 1), "r2c1") << c.name;
        EXPECT_EQ(s.store.GetCellText(8, 2), "locked") << c.name;
        EXPECT_EQ(s.store.GetCellText(0, 3), "") << c.name;
        EXPECT_EQ(s.grid.GetSelectedCellRange(), (CellRange{2, 1, 3, 2})) << c.name;
        EXPECT_EQ(s.grid.GetFocusCell(), (CellId{3, 2})) << c.name << ": focus on the pressed cell";
        EXPECT_EQ(s.grid.GetMouseMode(), MouseNothing) << c.name;
        EXPECT_EQ(s.grid.LastDragOverCell(), CellId{}) << c.name << ": no drop mark left";
        // The keys still work: the drag left no dead state behind.
        QTest::mouseRelease(s.grid.viewport(), Qt::LeftButton, Qt::NoModifier, s.Centre(3, 2));
        QTest::keyClick(&s.grid, Qt::Key_Down);
        EXPECT_EQ(s.grid.GetFocusCell(), (CellId{4, 2})) << c.name;
    }
}

TEST(GridDragDrop, ADragThatLeavesTheWindowInItsFirstMoveStillStarts)
{
    Sheet s;
    s.DragBlock(QPoint(0, -1000));
    EXPECT_EQ(s.grid.drags, 1);
    EXPECT_EQ(s.grid.GetSelectedCellRange(), (CellRange{2, 1, 3, 2}));
}

TEST(GridDragDrop, TheCellUnderTheDragIsHighlightedUntilTheDragLeaves)
{
    Sheet s;
    QMimeData mime;
    mime.setText(QStringLiteral("1"));
    QWidget* area = s.grid.viewport();
    QDragEnterEvent enter(s.Centre(4, 2), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::ControlModifier);
    QCoreApplication::sendEvent(area, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction) << "Ctrl held: copy";
    EXPECT_EQ(s.grid.LastDragOverCell(), (CellId{4, 2}));
    QDragMoveEvent over(s.Centre(5, 3), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(area, &over);
    EXPECT_EQ(over.dropAction(), Qt::MoveAction);
    EXPECT_EQ(s.grid.LastDragOverCell(), (CellId{5, 3}));
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(area, &leave);
    EXPECT_EQ(s.grid.LastDragOverCell(), CellId{});

    s.grid.Options().dragAndDropEnabled = false;
    QDragEnterEvent refused(s.Centre(4, 2), Qt::CopyAction | Qt::MoveAction, &mime,
                            Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &refused);
    EXPECT_FALSE(refused.isAccepted()) << "dragging switched off";
}

TEST(GridDragDrop, ADragRestingAtTheBottomEdgeScrollsTheSheet)
{
    Sheet s;
    QMimeData mime;
    mime.setText(QStringLiteral("1"));
    const QPoint nearBottom(s.Centre(2, 2).x(), s.grid.viewport()->height() - 4);
    QDragEnterEvent enter(nearBottom, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(s.grid.viewport(), &enter);
    const int before = s.grid.GetTopLeftNonFixedCell().row;
    QTest::qWait(400);
    EXPECT_GT(s.grid.GetTopLeftNonFixedCell().row, before);
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(s.grid.viewport(), &leave);
    const int after = s.grid.GetTopLeftNonFixedCell().row;
    QTest::qWait(250);
    EXPECT_EQ(s.grid.GetTopLeftNonFixedCell().row, after) << "leaving stops the scrolling";
}
