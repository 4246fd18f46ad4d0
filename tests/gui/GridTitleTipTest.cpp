#include "GridTestSupport.h"

#include "grid/TitleTip.h"

#include <QFontMetrics>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

struct TipFixture : ::testing::Test {
    WorksheetLikeGrid w{640, 480};
    CGridCtrl& grid = *w.grid;
    QWidget* area = grid.viewport();
    void Hover(QPoint p)
    {
        QMouseEvent move(QEvent::MouseMove, p, area->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(area, &move);
    }
    int SpacedWidth(const std::string& text)
    {
        return QFontMetrics(grid.GetGridFont())
            .horizontalAdvance(QStringLiteral(" ") + QString::fromStdString(text) + QStringLiteral(" "));
    }
};

} // namespace

TEST_F(TipFixture, ShowsOnlyForTextThatDoesNotFit)
{
    // The same text in a column that holds it with its spaces before the last pixel
    // column, and in one a pixel narrower.
    const std::string text = "12345.678";
    const int spaced = SpacedWidth(text);
    w.store.SetColumnWidth(2, spaced + 1);
    w.store.SetColumnWidth(3, spaced);
    grid.viewport()->update();
    w.store.SetCellText(3, 2, text);
    w.store.SetCellText(3, 3, text);
    Hover(w.CellCentre(3, 2));
    ASSERT_NE(grid.TitleTip(), nullptr);
    EXPECT_FALSE(grid.TitleTip()->isVisible());

    Hover(w.CellCentre(3, 3));
    CTitleTip* tip = grid.TitleTip();
    ASSERT_TRUE(tip->isVisible()) << "one pixel too wide";
    QRect cell3;
    grid.GetCellRect(3, 3, cell3);
    EXPECT_EQ(tip->geometry().topLeft(), area->mapToGlobal(cell3.topLeft()));
    EXPECT_GE(tip->width(), cell3.width());

    // Moving within the cell keeps it; one pixel outside hides it.
    Hover(cell3.topLeft() + QPoint(1, 1));
    EXPECT_TRUE(tip->isVisible());
    Hover(QPoint(cell3.right() + 1, cell3.center().y()));
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(TipFixture, AClickOnTheTipReachesTheCellBeneathAndAKeyHidesIt)
{
    w.store.SetCellText(4, 2, std::string(60, 'W'));
    Hover(w.CellCentre(4, 2));
    CTitleTip* tip = grid.TitleTip();
    ASSERT_TRUE(tip && tip->isVisible());
    const QPoint global = area->mapToGlobal(w.CellCentre(4, 2));
    QTest::mouseClick(tip, Qt::LeftButton, Qt::NoModifier, tip->mapFromGlobal(global));
    Settle();
    EXPECT_FALSE(tip->isVisible());
    EXPECT_EQ(grid.GetFocusCell(), (CellId{4, 2})) << "the click landed on the cell";

    Hover(w.CellCentre(4, 2) + QPoint(0, 1));
    ASSERT_TRUE(tip->isVisible());
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_FALSE(tip->isVisible());
    EXPECT_EQ(grid.GetFocusCell(), (CellId{5, 2})) << "the key reached the grid";
}
