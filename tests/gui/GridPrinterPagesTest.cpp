// The printed pages of three sheets, recorded operation by operation and compared with
// the pages recorded in tests/data/print/. The records were made when the grid window
// still printed its pages itself; the printer over the cells must give the same pages,
// so a change of a single line, text or position on paper shows here. The worksheet
// with a chart page is printed without any window, as the batch tool prints it.
//
// After a deliberate change of the printed picture, write the records afresh with
// ORVALIS_RECORD_PRINT=1 and look at the difference before committing it.

#include "GridTestSupport.h"
#include "PrintRecorder.h"

#include "grid/ScreenMeasures.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/LastRunCheck.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/ChartPage.h"
#include "worksheet/ui/WorksheetGrid.h"
#include "worksheet/ui/WorksheetPrinter.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace orvalis::gridtest {
namespace {

// Paper in device pixels at 1200 dots per inch: the printable part of A4 portrait and
// of Letter landscape.
constexpr int kDpi = 1200;
struct Paper {
    int width;
    int height;
};
constexpr Paper kA4{9000, 12800};
constexpr Paper kLetterLandscape{12400, 9400};

// The pages whose operations are kept in the record; the other pages keep a digest.
bool Kept(int page, int pages)
{
    return page <= 2 || page == pages - 1 || page == pages;
}

// How much of a kept page the record holds: every operation, or the text runs only (for
// a sheet of many cells, whose fills and lines would make a record of megabytes).
enum class Keep { Everything,
                  Texts };

QString Digest(const QStringList& ops)
{
    // FNV-1a over the operations, enough to tell a changed page from an equal one.
    quint64 h = 1469598103934665603ULL;
    for (const QString& op : ops)
        for (const char c : op.toUtf8() + '\n') {
            h ^= static_cast<unsigned char>(c);
            h *= 1099511628211ULL;
        }
    return QString::number(h, 16);
}

// One print job: the pages of printer on paper, as lines of text.
QStringList RecordJob(GridPrinter printer, const Paper& paper, Keep keep)
{
    RecordingDevice device(paper.width, paper.height, kDpi);
    QPainter painter(&device);
    QStringList record;
    if (!printer.Begin(device)) {
        record << QStringLiteral("nothing to print");
        return record;
    }
    const PrintPageLayout& l = printer.Layout();
    record << QStringLiteral("pages %1").arg(printer.PageCount());
    record << QStringLiteral("layout char %1x%2 page %3x%4 body %5")
                  .arg(l.charWidth)
                  .arg(l.charHeight)
                  .arg(l.pageWidth)
                  .arg(l.pageHeight)
                  .arg(l.bodyHeight);
    QStringList starts;
    for (const int row : printer.PageStarts())
        starts << QString::number(row);
    record << QStringLiteral("first rows ") + starts.join(QLatin1Char(' '));
    const int pages = printer.PageCount();
    for (int page = 1; page <= pages; ++page) {
        device.TakeOps();
        printer.PrintPage(painter, page);
        const QStringList ops = device.TakeOps();
        record << QStringLiteral("page %1 digest %2 ops %3").arg(page).arg(Digest(ops)).arg(ops.size());
        if (Kept(page, pages))
            for (const QString& op : ops)
                if (keep == Keep::Everything || op.startsWith(QStringLiteral("text ")))
                    record << op;
    }
    return record;
}

struct Case {
    const char* name;
    Paper paper;
    std::function<QStringList(const Paper&)> print;
};

QStringList WorksheetLikeSheet(const Paper& paper)
{
    WorksheetLikeGrid w(640, 480);
    QWidget frame;
    frame.setWindowTitle(QStringLiteral("Worksheet7*"));
    w.grid->setParent(&frame);
    w.store.SetCellText(1000, 1, "last row");
    w.store.SetCellText(500, 68, "far right");
    w.store.SetCellTextColor(20, 2, Rgb(200, 0, 0));
    w.store.SetCellBackColor(21, 2, Rgb(0, 200, 0));
    w.grid->SetFocusCell(12, 2);
    w.grid->SetSelectedRange(12, 2, 14, 3);
    const QStringList record = RecordJob(w.grid->MakePrinter(), paper, Keep::Texts);
    w.grid->setParent(nullptr);
    return record;
}

QStringList SmallSheetWithATallRow(const Paper& paper)
{
    App();
    CellStore store(8, 4, 1, 1);
    CGridCtrl grid(store);
    grid.printTitle = QStringLiteral("Small");
    grid.Options().gridLines = GridLinesVertical;
    for (int col = 0; col < 4; ++col) {
        store.SetColumnWidth(col, 200);
        store.SetCellText(0, col, "title " + std::to_string(col));
    }
    store.SetRowHeight(2, 100000);
    store.SetCellText(2, 1, "tall");
    store.SetCellText(3, 1, "after");
    store.SetCellText(4, 2, std::string(300, 'w')); // cut off with an ellipsis
    store.SetCellFormat(5, 3, FormatRight | FormatSingleLine | FormatVCenter);
    store.SetCellText(5, 3, "right");
    return RecordJob(grid.MakePrinter(), paper, Keep::Everything);
}

QStringList WorksheetWithChartPage(const Paper& paper)
{
    App();
    AppSettings settings;
    SilentMessages messages;
    Worksheet worksheet(settings, messages);
    if (!ImportFile(worksheet, {ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_990.csv", 1, 1, true}).imported)
        return {QStringLiteral("import failed")};
    worksheet.Store().SetCellText(kRoleRow, 2, "Trg/In");
    // No window: the cells are measured as the worksheet's window would measure them.
    const ScreenMeasures measures(worksheet.Store());
    worksheet.AutoSizeHeaderBlock();
    const ForecastCheck check = CheckLastEvaluation(worksheet);
    ChartData chart = ReadWorksheetChart(worksheet, worksheet.Settings(), &check);
    const GridViewOptions look = WorksheetViewOptions(ReadPlatformColours(QGuiApplication::palette()));
    return RecordJob(WorksheetPrinter(worksheet.Store(), look, QStringLiteral("stocks.ows"), std::move(chart)),
                     paper, Keep::Everything);
}

QString RecordPath(const char* name)
{
    return QStringLiteral(ORVALIS_TEST_DATA_DIR "/print/%1.txt").arg(QLatin1String(name));
}

TEST(GridPrinterPages, PagesEqualTheRecordedPages)
{
    const Case cases[] = {
        {"worksheet_like_a4", kA4, WorksheetLikeSheet},
        {"small_tall_row_letter_landscape", kLetterLandscape, SmallSheetWithATallRow},
        {"worksheet_chart_page_a4", kA4, WorksheetWithChartPage},
    };
    const bool recording = qEnvironmentVariableIsSet("ORVALIS_RECORD_PRINT");
    for (const Case& c : cases) {
        const QStringList got = c.print(c.paper);
        QFile file(RecordPath(c.name));
        if (recording) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << c.name;
            file.write((got.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
            continue;
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.name;
        QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        expected.removeLast();
        ASSERT_GT(expected.size(), 3) << c.name;
        for (qsizetype i = 0; i < std::min(expected.size(), got.size()); ++i)
            ASSERT_EQ(got[i].toStdString(), expected[i].toStdString()) << c.name << " line " << i + 1;
        EXPECT_EQ(got.size(), expected.size()) << c.name;
    }
}

} // namespace
} // namespace orvalis::gridtest
