#include "worksheet/ui/WorksheetPdf.h"

#include "shell/core/QtOutputFile.h"
#include "worksheet/LastRunCheck.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/ChartPage.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QPrinter>

namespace orvalis {

int DrawWorksheetPdf(Worksheet& worksheet, const QString& title, const PdfPaper& paper,
                     bool chartPage, QByteArray& bytes)
{
    // The grid attaches to the worksheet's cells for the length of the job, as the
    // worksheet's window would, and lets go of them when it goes.
    CWorksheetGrid grid(worksheet.Store());
    worksheet.AutoSizeHeaderBlock();
    grid.printTitle = title;
    grid.printChartPage = chartPage;
    grid.chartSource = [&worksheet] {
        const ForecastCheck check = CheckLastEvaluation(worksheet);
        return ReadWorksheetChart(worksheet, worksheet.Settings(), &check);
    };
    // The printer only describes the job: the pages go into memory.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(paper.size));
    printer.setPageOrientation(paper.orientation);
    printer.setCreator(grid.printAppTitle);
    printer.setDocName(title);
    return grid.PrintToPdf(printer, bytes);
}

int WriteWorksheetPdf(Worksheet& worksheet, const QString& title, const QString& path,
                      const PdfPaper& paper, bool chartPage)
{
    QByteArray bytes;
    const int pages = DrawWorksheetPdf(worksheet, title, paper, chartPage, bytes);
    return pages > 0 && WriteOutputFile(path, bytes) ? pages : 0;
}

} // namespace orvalis
