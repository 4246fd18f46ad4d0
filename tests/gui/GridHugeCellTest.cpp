#include "GridTestSupport.h"

#include "grid/ShownCellText.h"
#include "grid/TitleTip.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

// A cell holding 4 MB: everything that measures, shows or exposes it sees a bounded
// prefix, and what is cut says so with an ellipsis.
struct HugeCell : ::testing::Test {
    WorksheetLikeGrid w{640, 480};
    CGridCtrl& grid = *w.grid;
    const std::string huge = std::string(std::size_t{4} << 20, '7');
    void SetUp() override { w.store.SetCellText(12, 3, huge); }
    QAccessibleInterface* Cell(int row, int col)
    {
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
        return table && table->tableInterface() ? table->tableInterface()->cellAt(row, col) : nullptr;
    }
};

} // namespace

TEST_F(HugeCell, MeasuringTheCellReadsABoundedPrefix)
{
    const int width = w.store.GetCellExtent(12, 3).width;
    const int prefixWidth = QFontMetrics(grid.GetGridFont()).horizontalAdvance(ShownCellText(huge));
    EXPECT_LE(width, prefixWidth + 64) << "the extent of 4 MB of digits, not of what can show";
    EXPECT_GT(width, 1000);
}

TEST_F(HugeCell, ScreenReadersGetTheShownPrefixInTheCellsCharacterSet)
{
    w.store.SetCellText(13, 3, "caf\xe9");
    // The accessible table counts rows and columns without the fixed ones.
    QAccessibleInterface* cell = Cell(12 - w.store.GetFixedRowCount(), 3 - w.store.GetFixedColumnCount());
    ASSERT_NE(cell, nullptr);
    const QString name = cell->text(QAccessible::Name);
    EXPECT_EQ(name.size(), qsizetype(kShownCellChars) + 1);
    EXPECT_EQ(name.back(), QChar(0x2026));
    QAccessibleInterface* latin = Cell(13 - w.store.GetFixedRowCount(), 3 - w.store.GetFixedColumnCount());
    ASSERT_NE(latin, nullptr);
    EXPECT_EQ(latin->text(QAccessible::Name), QStringLiteral("caf\u00e9")) << "read as it is drawn";
}

TEST_F(HugeCell, TheTitleTipStaysOnTheScreen)
{
    const QPoint p = w.CellCentre(12, 3);
    QMouseEvent move(QEvent::MouseMove, p, grid.viewport()->mapToGlobal(p), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &move);
    ASSERT_NE(grid.TitleTip(), nullptr);
    ASSERT_TRUE(grid.TitleTip()->isVisible());
    EXPECT_LE(grid.TitleTip()->width(), grid.screen()->availableGeometry().width() + 64);
}

TEST_F(HugeCell, ACutCellEndsInAnEllipsisWhereTheCellEnds)
{
    // The screen and the printed page draw cells alike.
    const auto draw = [&](const std::string& text) {
        w.store.SetCellText(13, 3, text);
        QImage image(300, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        grid.DrawCell(painter, 13, 3, QRect(0, 0, 300, 30), false);
        return image;
    };
    const QImage uncut = draw(std::string(kShownCellChars, '7'));
    EXPECT_NE(draw(huge), uncut) << "the same digits show, but the cut text says it is cut";
    EXPECT_EQ(draw(huge), draw(std::string(kShownCellChars + 1, '7')));
}
