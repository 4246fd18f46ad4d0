// Printing of a worksheet: the grid's pages, then, when asked for, one page with the
// worksheet's chart between the same header and footer.

#include "worksheet/ui/WorksheetGrid.h"

#include "shell/core/QtSettingsStore.h"
#include "worksheet/UsedGrid.h"
#include "worksheet/ui/ChartPage.h"
#include "worksheet/ui/WorksheetPrinter.h"

#include <QAction>
#include <QCheckBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace orvalis {

namespace {

// Beside the preferences, in the window group of the settings store.
constexpr char kWindowGroup[] = "Window";
constexpr char kChartPageKey[] = "PrintChartPage";

void StorePrintChartPage(bool on)
{
    QtSettingsStore store;
    store.WriteString(kWindowGroup, kChartPageKey, on ? "true" : "false");
}

} // namespace

QString ChartPageOptionText()
{
    return QStringLiteral("Print chart as last page");
}

bool StoredPrintChartPage()
{
    QtSettingsStore store;
    return store.ReadString(kWindowGroup, kChartPageKey).value_or("false") == "true";
}

GridPrinter WorksheetPrinter(const CellStore& cells, const GridViewOptions& look, const QString& title,
                             std::optional<ChartData> chart)
{
    GridPrinter printer(cells, look);
    printer.title = title;
    const UsedGridExtent used = FindUsedGrid(cells);
    printer.extent = CellId{used.lastRow + 1, used.lastColumn + 1};
    // A worksheet with nothing to draw gets no empty page.
    if (chart && chart->HasSeries()) {
        printer.closingPage = [chart = std::move(*chart)](QPainter& painter, const QRect& body) {
            // The chart keeps at most the pane's usual shape (three high to four wide),
            // so that a tall portrait page does not stretch the series.
            const QRectF area(body.x(), body.y(), body.width(),
                              std::min(double(body.height()), 0.75 * body.width()));
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            DrawChartPage(painter, area, chart);
            painter.restore();
        };
    }
    return printer;
}

bool CWorksheetGrid::HasChartToPrint() const
{
    return chartSource && chartSource().HasSeries();
}

GridPrinter CWorksheetGrid::MakePrinter() const
{
    std::optional<ChartData> chart;
    if (printChartPage && chartSource)
        chart = chartSource();
    return WorksheetPrinter(Store(), Options(), CGridCtrl::MakePrinter().title, std::move(chart));
}

void CWorksheetGrid::AddPrintOptions(QPrintDialog& dialog)
{
    auto* options = new QWidget;  // owned by the dialog once it is a tab
    options->setWindowTitle(QStringLiteral("Chart"));
    auto* chartPage = new QCheckBox(ChartPageOptionText(), options);
    chartPage->setAccessibleName(ChartPageOptionText());
    chartPage->setChecked(StoredPrintChartPage());
    auto* layout = new QVBoxLayout(options);
    layout->addWidget(chartPage);
    layout->addStretch(1);
    dialog.setOptionTabs({options});
    // The page range follows the box: the chart page counts only while it is ticked.
    if (QPrinter* printer = dialog.printer(); printer && HasChartToPrint()) {
        GridPrinter gridOnly = MakePrinter();
        gridOnly.closingPage = nullptr;
        const int gridPages = gridOnly.CountPages(*printer);
        auto offerPages = [&dialog, printer, gridPages](bool chart) {
            const int pages = gridPages + (chart ? 1 : 0);
            dialog.setMinMax(1, pages);
            printer->setFromTo(1, pages);
        };
        if (gridPages > 0) {
            offerPages(chartPage->isChecked());
            connect(chartPage, &QCheckBox::toggled, &dialog, offerPages);
        }
    }
    // Taken when the dialog is accepted, before the pages are printed; a cancelled
    // dialog changes nothing.
    connect(&dialog, &QDialog::accepted, this, [this, chartPage] {
        printChartPage = chartPage->isChecked();
        StorePrintChartPage(printChartPage);
    });
}

void CWorksheetGrid::AddPreviewOptions(QPrintPreviewDialog& dialog)
{
    printChartPage = StoredPrintChartPage();
    // The switch sits at the end of the preview's own tool bar; turning it redraws the
    // preview with or without the chart page.
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    if (auto* bar = dialog.findChild<QToolBar*>()) {
        bar->addSeparator();
        QAction* chartPage = bar->addAction(ChartPageOptionText());
        chartPage->setCheckable(true);
        chartPage->setChecked(printChartPage);
        connect(chartPage, &QAction::toggled, this, [this, preview](bool on) {
            printChartPage = on;
            StorePrintChartPage(on);
            if (preview)
                preview->updatePreview();
        });
    }
}

} // namespace orvalis
