#include "GridTestSupport.h"

#include "grid/PrintFont.h"

#include <QFontInfo>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

// The text of one page of a PDF (pages from 1), through poppler's pdftotext.
QString PdfPageText(const QString& file, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page), file,
                                          QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PdfPageCount(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file});
    p.waitForFinished(20000);
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

void ToPdf(QPrinter& printer, const QString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

} // namespace

TEST(GridPrint, EveryPageRepeatsTheHeadersAndCountsItselfInTheFooter)
{
    WorksheetLikeGrid w(640, 480);
    QWidget frame;
    frame.setWindowTitle(QStringLiteral("Worksheet7*"));
    w.grid->setParent(&frame);
    w.store.SetCellText(1000, 1, "last row");
    w.grid->SetFocusCell(12, 2);
    w.grid->SetSelectedRange(12, 2, 14, 3);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sheet.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, file);
    ASSERT_TRUE(w.grid->PrintTo(printer));

    const int pages = PdfPageCount(file);
    ASSERT_GE(pages, 2) << "1000 rows do not fit one page";
    for (int page = 1; page <= pages; ++page) {
        const QString text = PdfPageText(file, page);
        EXPECT_TRUE(text.contains(QStringLiteral("Brennix - Tavelle Orvalis"))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Worksheet7"))) << page;
        EXPECT_FALSE(text.contains(QStringLiteral("Worksheet7*"))) << "no change mark on paper";
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages))) << page;
        // The header row's last column on every page: nothing is cut off at the right.
        EXPECT_TRUE(text.contains(QStringLiteral("68"))) << page;
    }
    EXPECT_TRUE(PdfPageText(file, 1).contains(QStringLiteral("12.5")));
    EXPECT_TRUE(PdfPageText(file, 1).contains(QStringLiteral("Start O")));
    EXPECT_FALSE(PdfPageText(file, 2).contains(QStringLiteral("Start O")));
    EXPECT_TRUE(PdfPageText(file, pages).contains(QStringLiteral("last row")));
    EXPECT_EQ(w.grid->GetSelectedCellRange(), (CellRange{12, 2, 14, 3})) << "the screen is untouched";
    w.grid->setParent(nullptr);
}

TEST(GridPrint, PagesFollowThePaperAndTheRowsThatFit)
{
    App();
    CellStore store(6, 4, 1, 1);
    CGridCtrl grid(store);
    grid.printTitle = QStringLiteral("Small");
    for (int col = 0; col < 4; ++col)
        store.SetColumnWidth(col, 200);  // room for the header and footer texts
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("small.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, file);
    ASSERT_TRUE(grid.PrintTo(printer));
    EXPECT_EQ(PdfPageCount(file), 1) << "a sheet that fits one page";
    EXPECT_TRUE(PdfPageText(file, 1).contains(QStringLiteral("Page 1 of 1")));

    // A row taller than the page body is a page of its own, printed as far as it fits;
    // it never leaves a blank page in front of it.
    store.SetRowHeight(2, 100000);
    store.SetCellText(2, 1, "tall");
    store.SetCellText(3, 1, "after");
    const QString tall = dir.filePath(QStringLiteral("tall.pdf"));
    QPrinter printer2(QPrinter::HighResolution);
    ToPdf(printer2, tall);
    ASSERT_TRUE(grid.PrintTo(printer2));
    ASSERT_EQ(PdfPageCount(tall), 3);
    EXPECT_TRUE(PdfPageText(tall, 2).contains(QStringLiteral("tall")));
    EXPECT_TRUE(PdfPageText(tall, 3).contains(QStringLiteral("after")));

    CellStore empty(1, 4, 1, 1);
    CGridCtrl none(empty);
    QPrinter printer3(QPrinter::HighResolution);
    ToPdf(printer3, dir.filePath(QStringLiteral("none.pdf")));
    EXPECT_FALSE(none.PrintTo(printer3)) << "only fixed rows";
}

TEST(GridPrint, PrintFontIsASerifFace)
{
    App();
    const QFontInfo info(PrintFont(9));
    EXPECT_FALSE(PrintFontFamily().isEmpty());
    EXPECT_TRUE(info.family().startsWith(PrintFontFamily())) << "the resolved face is installed";
}
