// What a printed worksheet holds: the used part of its grid, the pages the print dialog
// offers, the title row on white.

#include "GridTestSupport.h"
#include "ShellTestSupport.h"

#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/WorksheetGrid.h"
#include "worksheet/ui/WorksheetPdf.h"

#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>

namespace orvalis::test {
namespace {

QString RunTool(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString PageText(const QString& pdf, int page)
{
    const QString n = QString::number(page);
    return RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf,
                                                 QStringLiteral("-")});
}

// A worksheet whose columns 1 and 2 hold rows data rows.
void Fill(Worksheet& ws, int rows)
{
    for (int row = 0; row < rows; ++row) {
        ws.Store().SetCellText(ws.firstDataRow + row, 1, std::to_string(100 + row));
        ws.Store().SetCellText(ws.firstDataRow + row, 2, std::to_string(200 + row));
    }
}

// 100 rows in two columns print as far as the header block and the 100th row reach:
// no page of empty rows after it, no empty columns at 3 points a column.
TEST(WorksheetPrint, PrintsTheUsedPartOfTheGridOnly)
{
    gridtest::App();
    AppSettings settings;
    SilentMessages messages;
    Worksheet ws(settings, messages);
    Fill(ws, 100);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("hundred.pdf"));
    const int pages = WriteWorksheetPdf(ws, QStringLiteral("hundred.ows"), pdf, PdfPaper{});
    ASSERT_GE(pages, 1);
    const QString last = PageText(pdf, pages);
    EXPECT_TRUE(last.contains(QStringLiteral("Data 100"))) << "the last page ends the data";
    EXPECT_TRUE(last.contains(QStringLiteral("Page %1 of %1").arg(pages)));
    for (int page = 1; page <= pages; ++page) {
        const QString text = PageText(pdf, page);
        EXPECT_FALSE(text.contains(QStringLiteral("Data 101"))) << page;
        // The header block reaches column 6; nothing right of it is in use.
        EXPECT_TRUE(text.contains(QStringLiteral("Column 6"))) << page;
        EXPECT_FALSE(text.contains(QStringLiteral("Column 7"))) << page;
        EXPECT_FALSE(text.contains(QStringLiteral("Column 68"))) << page;
    }

    // A role or a text further right widens the print to that column.
    ws.Store().SetCellText(kRoleRow, 9, "Comment");
    ws.Store().SetCellText(ws.firstDataRow + 149, 3, "note");
    const int wider = WriteWorksheetPdf(ws, QStringLiteral("hundred.ows"), pdf, PdfPaper{});
    EXPECT_TRUE(PageText(pdf, 1).contains(QStringLiteral("Column 9")));
    EXPECT_FALSE(PageText(pdf, 1).contains(QStringLiteral("Column 10")));
    EXPECT_TRUE(PageText(pdf, wider).contains(QStringLiteral("Data 150")));
    EXPECT_FALSE(PageText(pdf, wider).contains(QStringLiteral("Data 151")));
}

// The print dialog's page range offers the pages the worksheet prints, with all of them
// chosen.
TEST(WorksheetPrint, PrintDialogOffersTheRealPageCount)
{
    GuiApp();
    AppSettings settings;
    ScriptedPrompts prompts;
    CGridDoc doc{settings, prompts};
    CGridView view{doc};
    Fill(doc.GetWorksheet(), 400);
    CWorksheetGrid& grid = view.Grid();
    grid.printChartPage = false;
    QPrinter reference(QPrinter::HighResolution);
    const int expected = grid.PrintPageCount(reference);
    ASSERT_GT(expected, 1);

    int offeredMax = -1;
    int offeredMin = -1;
    bool allChosen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        offeredMin = dialog->minPage();
        offeredMax = dialog->maxPage();
        allChosen = dialog->printRange() == QAbstractPrintDialog::AllPages;
        dialog->reject();
    });
    grid.Print();
    EXPECT_EQ(offeredMin, 1);
    EXPECT_EQ(offeredMax, expected);
    EXPECT_TRUE(allChosen);
}

// On paper the title row is black text between black lines: the screen's fill colour
// of the fixed cells stays on the screen.
TEST(WorksheetPrint, TitleRowPrintsWithoutItsScreenFill)
{
    gridtest::App();
    CellStore store(6, 4, 1, 0);
    CGridCtrl grid(store);
    grid.printTitle = QStringLiteral("Fill");
    grid.Options().fixedBackColor = Rgb(255, 0, 0);
    for (int col = 0; col < 4; ++col) {
        store.SetColumnWidth(col, 200);
        store.SetCellText(0, col, "title");
    }
    store.SetCellText(2, 1, "body");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("fill.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ASSERT_EQ(grid.PrintTo(printer), 1);
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("fill"))});
    const QImage page(dir.filePath(QStringLiteral("fill.png")));
    ASSERT_FALSE(page.isNull());
    int reddish = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 120 && c.blue() < 120)
                ++reddish;
        }
    EXPECT_EQ(reddish, 0);
}

} // namespace
} // namespace orvalis::test
