#include "GridTestSupport.h"

#include "grid/FontMapping.h"

#include <QImage>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

QImage Shot(CGridCtrl& grid)
{
    return grid.viewport()->grab().toImage();
}

// Pixels compare as 8-bit RGB triples.
QRgb Pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

QRgb Rgb8(const QColor& c)
{
    return c.rgb() & 0xFFFFFF;
}

} // namespace

TEST(GridCtrlPaint, WorksheetShowsSectionColourHeaderAndGridLines)
{
    WorksheetLikeGrid w;
    CGridCtrl& grid = *w.grid;
    const QImage image = Shot(grid);
    image.save(QStringLiteral("grid_paint.png"));
    const QPalette& pal = grid.palette();

    QRect label;
    ASSERT_TRUE(grid.GetCellRect(12, 0, label));
    EXPECT_EQ(Pixel(image, label.right() - 3, label.bottom() - 2), Rgb8(ColorFromGrid(WorksheetLikeGrid::kTrainColour)));

    QRect header;
    ASSERT_TRUE(grid.GetCellRect(0, 5, header));
    EXPECT_EQ(Pixel(image, header.left(), header.top()), Rgb8(pal.color(QPalette::Light))) << "raised top edge";
    EXPECT_EQ(Pixel(image, header.right(), header.bottom()), Rgb8(pal.color(QPalette::Shadow))) << "raised bottom edge";
    EXPECT_EQ(Pixel(image, header.right() - 2, header.bottom() - 2), Rgb8(ColorFromGrid(grid.Options().fixedBackColor)));

    QRect cell;
    ASSERT_TRUE(grid.GetCellRect(5, 5, cell));
    EXPECT_EQ(Pixel(image, cell.right(), cell.top() + 2), Rgb8(ColorFromGrid(grid.Options().gridLineColor)));
    EXPECT_EQ(Pixel(image, cell.left() + 2, cell.bottom()), Rgb8(ColorFromGrid(grid.Options().gridLineColor)));
    EXPECT_EQ(Pixel(image, cell.left() + 2, cell.top() + 2), Rgb8(QColor(255, 255, 224)));
}

TEST(GridCtrlPaint, FocusCellFramedAndItsHeadersSunkenSelectionHighlighted)
{
    WorksheetLikeGrid w;
    CGridCtrl& grid = *w.grid;
    const QPalette& pal = grid.palette();
    grid.Selection().SetSelected(CellId{4, 3}, true);
    grid.Selection().SetSelected(CellId{4, 4}, true);
    grid.Selection().SetFocusCell(CellId{4, 4});
    Settle();
    const QImage image = Shot(grid);

    QRect focus;
    ASSERT_TRUE(grid.GetCellRect(4, 4, focus));
    EXPECT_EQ(Pixel(image, focus.left(), focus.top() + 3), Rgb8(QColor(0, 0, 0))) << "black frame";
    EXPECT_EQ(Pixel(image, focus.left() + 3, focus.top() + 3), Rgb8(QColor(255, 255, 224)))
        << "a selected focus cell keeps its own background";
    QRect selected;
    ASSERT_TRUE(grid.GetCellRect(4, 3, selected));
    EXPECT_EQ(Pixel(image, selected.left() + 2, selected.bottom() - 2), Rgb8(pal.color(QPalette::Highlight)));

    QRect colHeader;
    QRect rowHeader;
    QRect otherHeader;
    ASSERT_TRUE(grid.GetCellRect(0, 4, colHeader));
    ASSERT_TRUE(grid.GetCellRect(4, 0, rowHeader));
    ASSERT_TRUE(grid.GetCellRect(0, 3, otherHeader));
    EXPECT_EQ(Pixel(image, colHeader.left(), colHeader.top()), Rgb8(pal.color(QPalette::Dark))) << "sunken";
    EXPECT_EQ(Pixel(image, rowHeader.left(), rowHeader.top()), Rgb8(pal.color(QPalette::Dark))) << "sunken";
    EXPECT_EQ(Pixel(image, otherHeader.left(), otherHeader.top()), Rgb8(pal.color(QPalette::Light))) << "raised";

    // Moving the focus, even through the selection alone, repaints the headers it leaves
    // and the ones it reaches.
    grid.Selection().SetFocusCell(CellId{6, 3});
    QImage after = OnScreen(grid);
    EXPECT_EQ(Pixel(after, colHeader.left(), colHeader.top()), Rgb8(pal.color(QPalette::Light)));
    EXPECT_EQ(Pixel(after, otherHeader.left(), otherHeader.top()), Rgb8(pal.color(QPalette::Dark)));
    grid.Selection().SetFocusCell(CellId{});
    after = OnScreen(grid);
    EXPECT_EQ(Pixel(after, otherHeader.left(), otherHeader.top()), Rgb8(pal.color(QPalette::Light)));
}

TEST(GridCtrlPaint, ScrolledToTheLastRowShowsItAndTheAreaBelowInBackColour)
{
    WorksheetLikeGrid w(600, 400);
    CGridCtrl& grid = *w.grid;
    w.store.SetCellText(1000, 1, "last");
    grid.Scroll(true, ScrollAction::ToEnd);
    Settle();
    EXPECT_TRUE(grid.IsCellVisible(1000, 1));
    QRect last;
    ASSERT_TRUE(grid.GetCellRect(1000, 1, last));
    EXPECT_LE(last.bottom(), grid.viewport()->height());
    const QImage image = Shot(grid);
    EXPECT_EQ(Pixel(image, last.left() + last.width() / 2, last.bottom() - 1), Rgb8(QColor(255, 255, 224)));
    // A grid with only a header row: the area below it is the window's back colour.
    CellStore headerOnly(1, 3, 1, 1);
    CGridCtrl small(headerOnly);
    small.resize(300, 200);
    small.show();
    Settle();
    const QImage img2 = Shot(small);
    EXPECT_EQ(Pixel(img2, 50, 150), Rgb8(ColorFromGrid(small.Options().backColor)));
}
