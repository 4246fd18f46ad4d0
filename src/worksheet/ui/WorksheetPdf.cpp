#include "worksheet/ui/WorksheetPdf.h"

#include "worksheet/LastRunCheck.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/ChartPage.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QPrinter>

namespace orvalis {

int WriteWorksheetPdf(Worksheet& worksheet, const QString& title, const QString& path,
                      const PdfPaper& paper, bool chartPage)
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
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(paper.size));
    printer.setPageOrientation(paper.orientation);
    printer.setCreator(grid.printAppTitle);
    printer.setDocName(title);
    return grid.PrintTo(printer);
}

} // namespace orvalis
