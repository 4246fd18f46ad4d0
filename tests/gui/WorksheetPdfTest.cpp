#include "GridTestSupport.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/WorksheetPdf.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvalis;

namespace {

QString Poppler(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Page count and page size ("612 x 792" points) from pdfinfo.
QString PdfInfo(const QString& file, const QString& field)
{
    for (const QString& line : Poppler(QStringLiteral("pdfinfo"), {file}).split('\n'))
        if (line.startsWith(field + QLatin1Char(':')))
            return line.mid(field.size() + 1).trimmed();
    return {};
}

} // namespace

TEST(WorksheetPdf, ImportedWorksheetOnA4AndOnLandscapeLetter)
{
    gridtest::App();
    AppSettings settings;
    SilentMessages messages;
    Worksheet worksheet(settings, messages);
    ASSERT_TRUE(ImportFile(worksheet, {ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_990.csv", 1, 1, true})
                    .imported);
    QTemporaryDir dir;
    const QString a4 = dir.filePath(QStringLiteral("a4.pdf"));
    const int pages = WriteWorksheetPdf(worksheet, QStringLiteral("stocks.ows"), a4, PdfPaper{});
    ASSERT_GE(pages, 2);
    EXPECT_EQ(PdfInfo(a4, QStringLiteral("Pages")).toInt(), pages);
    EXPECT_TRUE(PdfInfo(a4, QStringLiteral("Page size")).contains(QStringLiteral("(A4)")));
    for (int page = 1; page <= pages; ++page) {
        const QString text = Poppler(QStringLiteral("pdftotext"),
                                     {QStringLiteral("-f"), QString::number(page),
                                      QStringLiteral("-l"), QString::number(page), a4,
                                      QStringLiteral("-")});
        EXPECT_TRUE(text.contains(QStringLiteral("stocks.ows"))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Brennix - Tavelle Orvalis"))) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages))) << page;
    }

    // Landscape paper is as wide but shorter in sheet units: more pages.
    const QString letter = dir.filePath(QStringLiteral("letter.pdf"));
    const int wide = WriteWorksheetPdf(worksheet, QStringLiteral("stocks.ows"), letter,
                                       PdfPaper{QPageSize::Letter, QPageLayout::Landscape});
    EXPECT_GT(wide, pages);
    EXPECT_EQ(PdfInfo(letter, QStringLiteral("Page size")).left(9), QStringLiteral("792 x 612"));

    EXPECT_EQ(WriteWorksheetPdf(worksheet, QStringLiteral("x"), dir.filePath(QStringLiteral("no/such/dir/x.pdf")),
                                PdfPaper{}),
              0)
        << "an unwritable file is reported";
}

// The chart page comes last, under the grid pages' header and footer, with the chart's
// legend on it; a worksheet with nothing to draw gets no such page.
TEST(WorksheetPdf, ChartAsLastPageOnlyWhenAskedAndThereIsAChart)
{
    gridtest::App();
    AppSettings settings;
    SilentMessages messages;
    Worksheet worksheet(settings, messages);
    ASSERT_TRUE(ImportFile(worksheet, {ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_990.csv", 1, 1, true})
                    .imported);
    worksheet.Store().SetCellText(kRoleRow, 2, "Trg/In");  // the DAX column
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.pdf"));
    const QString charted = dir.filePath(QStringLiteral("charted.pdf"));
    const int pages = WriteWorksheetPdf(worksheet, QStringLiteral("stocks.ows"), plain, PdfPaper{});
    const int withChart =
        WriteWorksheetPdf(worksheet, QStringLiteral("stocks.ows"), charted, PdfPaper{}, true);
    ASSERT_GE(pages, 2);
    EXPECT_EQ(withChart, pages + 1);
    EXPECT_EQ(PdfInfo(charted, QStringLiteral("Pages")).toInt(), withChart);
    const QString last = Poppler(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-f"), QString::number(withChart), QStringLiteral("-l"),
                                  QString::number(withChart), charted, QStringLiteral("-")});
    EXPECT_TRUE(last.contains(QStringLiteral("stocks.ows")));
    EXPECT_TRUE(last.contains(QStringLiteral("Page %1 of %1").arg(withChart)));
    EXPECT_TRUE(last.contains(QStringLiteral("DAX"))) << "the legend";
    EXPECT_FALSE(last.contains(QStringLiteral("Data 990"))) << "no grid rows";

    Worksheet empty(settings, messages);
    const int emptyPages = WriteWorksheetPdf(empty, QStringLiteral("e"), plain, PdfPaper{});
    EXPECT_EQ(WriteWorksheetPdf(empty, QStringLiteral("e"), charted, PdfPaper{}, true), emptyPages);
}
