#include "GridTestSupport.h"

#include "grid/PrintFont.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

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

namespace {

// Lines of a PDF page's text without the footer's date and time, which differ between
// two prints a second apart.
QString PageWithoutTime(const QString& file, int page)
{
    QStringList lines = PdfPageText(file, page).split('\n');
    lines.removeIf([](const QString& line) { return line.contains(QLatin1Char(':')); });
    return lines.join('\n');
}

} // namespace

// A PDF drawn into memory for the output rule has the pages the printer itself would
// have written: the same paper, margins and page range give the same page texts.
TEST(GridPrint, PdfInMemoryHasThePrintersPages)
{
    WorksheetLikeGrid w(640, 480);
    w.grid->printTitle = QStringLiteral("Ranged");
    w.store.SetCellText(1000, 1, "last row");
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QPageLayout::Orientation orientation;
        int from, to; // page range; 0, 0 for all
    };
    for (const Case& c : {Case{"all pages, portrait", QPageLayout::Portrait, 0, 0},
                          Case{"pages 2 to 3, landscape", QPageLayout::Landscape, 2, 3}}) {
        const QString direct = dir.filePath(QStringLiteral("direct.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        ToPdf(printer, direct);
        printer.setPageOrientation(c.orientation);
        if (c.from > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(c.from, c.to);
        }
        const int printed = w.grid->PrintTo(printer);
        QByteArray bytes;
        EXPECT_EQ(w.grid->PrintToPdf(printer, bytes), printed) << c.name;
        const QString memory = dir.filePath(QStringLiteral("memory.pdf"));
        QFile file(memory);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        ASSERT_EQ(PdfPageCount(memory), PdfPageCount(direct)) << c.name;
        for (int page = 1; page <= PdfPageCount(direct); ++page)
            EXPECT_EQ(PageWithoutTime(memory, page), PageWithoutTime(direct, page)) << c.name << " page " << page;
    }
}

// A PDF file chosen in the print dialog is written by the output rule: a pipe gets the
// whole PDF and stays a pipe, and a device that takes nothing is reported.
TEST(GridPrint, PrintDialogsPdfFileFollowsTheOutputRule)
{
    WorksheetLikeGrid w(640, 480);
    QTemporaryDir dir;
    const auto printTo = [&](const QString& path, QString& warning) {
        warning.clear();
        // Polls for the print dialog and for a message box the write brings up.
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                warning = box->text();
                box->accept();
            } else if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
                // Printing to a PDF file, the one choice of a machine without printers.
                if (auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
                    file->setText(path);
                dialog->accept();
            }
        });
        poll.start();
        w.grid->Print();
        poll.stop();
    };

    const QString pipe = dir.filePath(QStringLiteral("pipe.pdf"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QByteArray bytes;
    std::thread reader([&] {
        QFile fifo(pipe);
        if (fifo.open(QIODevice::ReadOnly))
            bytes = fifo.readAll();
    });
    QString warning;
    printTo(pipe, warning);
    // A PDF written elsewhere leaves the reader waiting for a writer.
    if (const int writer = open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK); writer >= 0)
        close(writer);
    reader.join();
    EXPECT_TRUE(warning.isEmpty()) << warning.toStdString();
    EXPECT_TRUE(bytes.startsWith("%PDF-")) << bytes.size();
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF")) << bytes.size();
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    const QString full = dir.filePath(QStringLiteral("full.pdf"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), full));
    printTo(full, warning);
    EXPECT_EQ(warning, QStringLiteral("Error: Cannot write file full.pdf"));
}
