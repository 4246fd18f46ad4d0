// The printer over a cell store, with no grid window anywhere.

#include "GridTestSupport.h"
#include "PrintRecorder.h"

#include "grid/GridPrinter.h"
#include "grid/ScreenMeasures.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace orvalis::gridtest {
namespace {

constexpr int kDpi = 1200;

// A store of rows x 4 cells with one fixed row and column, measured as a window would.
struct Sheet {
    explicit Sheet(int rows) : store(rows, 4, 1, 1)
    {
        App();
        measures = std::make_unique<ScreenMeasures>(store);
        for (int col = 0; col < 4; ++col)
            store.SetColumnWidth(col, 200);
        for (int row = 1; row < rows; ++row)
            store.SetCellText(row, 1, "row " + std::to_string(row));
    }
    CellStore store;
    std::unique_ptr<ScreenMeasures> measures;
};

// The texts drawn on page of printer.
QStringList PageTexts(GridPrinter& printer, RecordingDevice& device, QPainter& painter, int page)
{
    device.TakeOps();
    printer.PrintPage(painter, page);
    QStringList texts;
    for (const QString& op : device.TakeOps())
        if (op.startsWith(QStringLiteral("text ")))
            texts << op.mid(op.indexOf(QLatin1Char('|')));
    return texts;
}

TEST(GridPrinter, PrintsACellStoreThatNoWindowShows)
{
    Sheet sheet(200);
    ASSERT_NE(sheet.store.GetTextMeasurer(), nullptr) << "measured as the window measures";
    GridPrinter printer(sheet.store, GridViewOptions{});
    printer.title = QStringLiteral("Plain");
    printer.printedAt = QStringLiteral("at noon");
    RecordingDevice device(9000, 12800, kDpi);
    QPainter painter(&device);
    ASSERT_TRUE(printer.Begin(device));
    const int pages = printer.PageCount();
    ASSERT_GE(pages, 2);
    for (int page = 1; page <= pages; ++page) {
        const QStringList texts = PageTexts(printer, device, painter, page);
        EXPECT_TRUE(texts.contains(QStringLiteral("|Plain|"))) << page;
        EXPECT_TRUE(texts.contains(QStringLiteral("|Brennix - Tavelle Orvalis|"))) << page;
        EXPECT_TRUE(texts.contains(QStringLiteral("|Page %1 of %2|").arg(page).arg(pages))) << page;
        EXPECT_TRUE(texts.contains(QStringLiteral("|at noon|"))) << "one time on every page";
    }
    EXPECT_TRUE(PageTexts(printer, device, painter, pages).contains(QStringLiteral("|row 199|")));
    EXPECT_TRUE(PageTexts(printer, device, painter, 0).isEmpty());
    EXPECT_TRUE(PageTexts(printer, device, painter, pages + 1).isEmpty());

    // The measurer is the store's only while the measures live.
    sheet.measures.reset();
    EXPECT_EQ(sheet.store.GetTextMeasurer(), nullptr);
}

TEST(GridPrinter, PrintedExtentAndClosingPage)
{
    Sheet sheet(200);
    struct Case {
        const char* name;
        std::optional<CellId> extent;
        bool closing;
        int lastRow; // last sheet row printed, -1: nothing to print
        bool moreThanOnePage;
    };
    const Case cases[] = {
        {"the whole store", std::nullopt, false, 199, true},
        {"the first ten rows", CellId{10, 4}, false, 9, false},
        {"an extent past the store is held to it", CellId{5000, 90}, false, 199, true},
        {"a closing page after the rows", CellId{10, 4}, true, 9, true},
        {"only the fixed row: nothing, not even the closing page", CellId{1, 4}, true, -1, false},
        {"no column: nothing", CellId{10, 0}, false, -1, false},
    };
    for (const Case& c : cases) {
        GridPrinter printer(sheet.store, GridViewOptions{});
        printer.extent = c.extent;
        std::vector<QRect> bodies;
        if (c.closing)
            printer.closingPage = [&bodies](QPainter&, const QRect& body) { bodies.push_back(body); };
        RecordingDevice device(9000, 12800, kDpi);
        QPainter painter(&device);
        const bool any = printer.Begin(device);
        ASSERT_EQ(any, c.lastRow >= 0) << c.name;
        EXPECT_EQ(printer.CountPages(device), printer.PageCount()) << c.name;
        if (!any) {
            EXPECT_EQ(printer.PageCount(), 0) << c.name;
            continue;
        }
        const int pages = printer.PageCount();
        EXPECT_EQ(pages > 1, c.moreThanOnePage) << c.name;
        const int lastGridPage = c.closing ? pages - 1 : pages;
        const QStringList texts = PageTexts(printer, device, painter, lastGridPage);
        EXPECT_TRUE(texts.contains(QStringLiteral("|row %1|").arg(c.lastRow))) << c.name;
        EXPECT_FALSE(texts.contains(QStringLiteral("|row %1|").arg(c.lastRow + 1))) << c.name;
        if (!c.closing)
            continue;
        const QStringList closing = PageTexts(printer, device, painter, pages);
        EXPECT_TRUE(closing.contains(QStringLiteral("|Page %1 of %1|").arg(pages))) << c.name;
        EXPECT_FALSE(closing.contains(QStringLiteral("|row 1|"))) << "no rows on the closing page";
        ASSERT_EQ(bodies.size(), 1u) << c.name;
        // Between the header's two lines and the footer's two, a line's gap either side.
        const PrintPageLayout& l = printer.Layout();
        EXPECT_EQ(bodies[0], QRect(0, 3 * l.charHeight, l.pageWidth - 8 * l.charWidth,
                                   l.pageHeight - 6 * l.charHeight))
            << c.name;
    }
}

} // namespace
} // namespace orvalis::gridtest
