// A short session as a user works: type a column of numbers moving down with the arrow,
// correct one, widen a column by its divider, and look at the result.

#include "GridTestSupport.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

TEST(GridUserSession, TypeAColumnOfNumbersMovingDownWithTheArrow)
{
    WorksheetLikeGrid w(800, 500);
    CGridCtrl& grid = *w.grid;
    QWidget* area = grid.viewport();
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, w.CellCentre(8, 3));
    ASSERT_EQ(grid.GetFocusCell(), (CellId{8, 3}));
    const QStringList values = {"101.5", "102.25", "99.75", "100", "98.5"};
    // The first key opens the editor; Down stores the cell and opens the next one.
    QTest::keyClicks(&grid, values.front().left(1));
    for (int i = 0; i < values.size(); ++i) {
        auto* edit = qobject_cast<QLineEdit*>(grid.InPlaceEditor());
        ASSERT_NE(edit, nullptr) << i;
        QTest::keyClicks(edit, i == 0 ? values[i].mid(1) : values[i]);
        QTest::keyClick(edit, Qt::Key_Down);
    }
    // The editor left open on the row after the last value ends with Escape.
    ASSERT_TRUE(grid.IsEditing());
    QTest::keyClick(grid.InPlaceEditor(), Qt::Key_Escape);
    Settle();
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(w.store.GetCellText(8 + i, 3), values[i].toStdString()) << i;
    EXPECT_EQ(w.store.GetCellText(8 + values.size(), 3), "");
    EXPECT_TRUE(w.store.GetModified());
    EXPECT_EQ(grid.GetFocusCell(), (CellId{8 + static_cast<int>(values.size()), 3}));

    // Correct the second value: Up twice... from the row below the last, then Backspace.
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&grid, Qt::Key_Up);
    ASSERT_EQ(grid.GetFocusCell(), (CellId{9, 3}));
    QTest::keyClick(&grid, Qt::Key_Backspace);
    ASSERT_TRUE(grid.IsEditing());
    QTest::keyClicks(grid.InPlaceEditor(), QStringLiteral("6"));
    area->grab().save(QStringLiteral("grid_session_editing.png"));
    QTest::keyClick(grid.InPlaceEditor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(w.store.GetCellText(9, 3), "102.26");

    // Widen column 3 by dragging its right divider in the header row.
    QPoint origin;
    ASSERT_TRUE(grid.GetCellOrigin(0, 4, origin));
    const int before = w.store.GetColumnWidth(3);
    const QPoint divider(origin.x() - 1, 4);
    QMouseEvent hover(QEvent::MouseMove, divider, area->mapToGlobal(divider), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &hover);
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, divider);
    QMouseEvent drag(QEvent::MouseMove, divider + QPoint(40, 0), area->mapToGlobal(divider + QPoint(40, 0)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &drag);
    area->grab().save(QStringLiteral("grid_session_resizing.png"));
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, divider + QPoint(40, 0));
    // The new width reaches the pointer: pressed on the last pixel, moved 40 on.
    EXPECT_EQ(w.store.GetColumnWidth(3), before - 1 + 40);
    area->grab().save(QStringLiteral("grid_session.png"));
}
