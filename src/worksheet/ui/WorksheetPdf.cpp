#include "worksheet/ui/WorksheetPdf.h"

#include "grid/ScreenMeasures.h"
#include "shell/core/AppTitle.h"
#include "shell/core/QtOutputFile.h"
#include "worksheet/LastRunCheck.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/ChartPage.h"
#include "worksheet/ui/WorksheetGrid.h"
#include "worksheet/ui/WorksheetPrinter.h"

#include <QGuiApplication>
#include <QPrinter>

namespace orvalis {

int DrawWorksheetPdf(Worksheet& worksheet, const QString& title, const PdfPaper& paper,
                     bool chartPage, QByteArray& bytes)
{
    // The header block is sized with the screen's fonts first, as opening the
    // worksheet's window sizes it, so paper shows what the window would.
    const ScreenMeasures measures(worksheet.Store());
    worksheet.AutoSizeHeaderBlock();
    std::optional<ChartData> chart;
    if (chartPage) {
        const ForecastCheck check = CheckLastEvaluation(worksheet);
        chart = ReadWorksheetChart(worksheet, worksheet.Settings(), &check);
    }
    const GridViewOptions look = WorksheetViewOptions(ReadPlatformColours(QGuiApplication::palette()));
    GridPrinter pages = WorksheetPrinter(worksheet.Store(), look, title, std::move(chart));
    // The printer only describes the job: the pages go into memory.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(paper.size));
    printer.setPageOrientation(paper.orientation);
    printer.setCreator(AppTitle());
    printer.setDocName(title);
    return pages.PrintToPdf(printer, bytes);
}

int WriteWorksheetPdf(Worksheet& worksheet, const QString& title, const QString& path,
                      const PdfPaper& paper, bool chartPage)
{
    QByteArray bytes;
    const int pages = DrawWorksheetPdf(worksheet, title, paper, chartPage, bytes);
    return pages > 0 && WriteOutputFile(path, bytes) ? pages : 0;
}

} // namespace orvalis
