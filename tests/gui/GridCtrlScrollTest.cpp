#include "GridTestSupport.h"

#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

void Wheel(CGridCtrl& grid, int delta)
{
    const QPointF pos(100, 100);
    QWheelEvent event(pos, grid.viewport()->mapToGlobal(pos), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid.viewport(), &event);
}

} // namespace

TEST(GridCtrlScroll, ScrollBarStepsByWholeRowsAndPages)
{
    WorksheetLikeGrid w(640, 480);
    CGridCtrl& grid = *w.grid;
    QScrollBar* bar = grid.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, 1);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), w.store.GetRowHeight(1)) << "a line is one row";
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, 2);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar->value(), 0);

    const int page = grid.viewport()->height() - w.store.GetFixedRowHeight();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), page);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(grid.IsCellVisible(1000, 1));
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(bar->value(), 0);

    // Columns scroll the same way, by the width of the first scrolled column.
    QScrollBar* hbar = grid.horizontalScrollBar();
    hbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(hbar->value(), w.store.GetColumnWidth(1));
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().col, 2);
}

TEST(GridCtrlScroll, WheelNotchPostsLinesPerNotch)
{
    WorksheetLikeGrid w(640, 480);
    CGridCtrl& grid = *w.grid;
    grid.rowsPerWheelNotch = 3;
    const int h = w.store.GetRowHeight(5);
    Wheel(grid, -120);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, 1) << "the scroll steps are queued";
    Settle();
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, 4);
    EXPECT_EQ(grid.GetScrollPos(true), 3 * h);
    Wheel(grid, 60);  // 3 x 60 / 120 = 1 line up
    Settle();
    EXPECT_EQ(grid.GetTopLeftNonFixedCell().row, 3);

    grid.rowsPerWheelNotch = -1;  // a page per notch
    Wheel(grid, -120);
    Settle();
    EXPECT_EQ(grid.GetScrollPos(true), 2 * h + grid.viewport()->height() - w.store.GetFixedRowHeight());
}

TEST(GridCtrlScroll, EnsureVisibleBringsAFarCellIntoView)
{
    WorksheetLikeGrid w(640, 480);
    CGridCtrl& grid = *w.grid;
    grid.EnsureVisible(500, 60);
    EXPECT_TRUE(grid.IsCellVisible(500, 60));
    QRect rect;
    ASSERT_TRUE(grid.GetCellRect(500, 60, rect));
    EXPECT_LE(rect.right(), grid.viewport()->width());
    EXPECT_LE(rect.bottom(), grid.viewport()->height());
    grid.EnsureVisible(1, 1);
    EXPECT_EQ(grid.GetTopLeftNonFixedCell(), (CellId{1, 1}));
}

TEST(GridCtrlScroll, LineScrollThatMovesPixelsMatchesAFullRepaint)
{
    WorksheetLikeGrid w(640, 480);
    CGridCtrl& grid = *w.grid;
    // What the window shows is read from its backing store: grab() would paint afresh.
    const auto onScreen = [&grid] {
        QCoreApplication::processEvents();
        const QPoint at = grid.viewport()->mapTo(grid.window(), QPoint(0, 0));
        return QGuiApplication::primaryScreen()
            ->grabWindow(grid.window()->winId(), at.x(), at.y(), grid.viewport()->width(),
                         grid.viewport()->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    onScreen();
    for (int i = 0; i < 5; ++i)
        grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    grid.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    const QImage scrolled = onScreen();
    const QImage repainted = grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(scrolled.size(), repainted.size());
    EXPECT_TRUE(scrolled == repainted);
    scrolled.save(QStringLiteral("grid_scrolled.png"));
}
