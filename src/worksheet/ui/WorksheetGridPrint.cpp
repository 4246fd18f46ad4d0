// Printing of a worksheet: the grid's pages, then, when asked for, one page with the
// worksheet's chart between the same header and footer.

#include "worksheet/ui/WorksheetGrid.h"

#include "shell/AppTitle.h"
#include "worksheet/UsedGrid.h"
#include "worksheet/ui/ChartPage.h"

#include <QAction>
#include <QCheckBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSettings>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace orvalis {

namespace {

const QString kChartPageKey = QStringLiteral("Window/PrintChartPage");

void StorePrintChartPage(bool on)
{
    QSettings(CompanyName(), AppTitle()).setValue(kChartPageKey, on);
}

} // namespace

QString ChartPageOptionText()
{
    return QStringLiteral("Print chart as last page");
}

bool StoredPrintChartPage()
{
    return QSettings(CompanyName(), AppTitle()).value(kChartPageKey, false).toBool();
}

CellId CWorksheetGrid::PrintedExtent() const
{
    const UsedGridExtent used = FindUsedGrid(Store());
    return {used.lastRow + 1, used.lastColumn + 1};
}

bool CWorksheetGrid::HasChartToPrint() const
{
    return chartSource && chartSource().HasSeries();
}

int CWorksheetGrid::PrintPageCount(QPaintDevice& device)
{
    const int pages = CGridCtrl::PrintPageCount(device);
    return pages > 0 && printChartPage && HasChartToPrint() ? pages + 1 : pages;
}

bool CWorksheetGrid::OnBeginPrinting(QPainter& painter, PrintInfo& info)
{
    m_printChart.reset();
    if (!CGridCtrl::OnBeginPrinting(painter, info))
        return false;
    if (printChartPage && chartSource) {
        ChartData chart = chartSource();
        // A worksheet with nothing to draw gets no empty page.
        if (chart.HasSeries()) {
            m_printChart = std::move(chart);
            ++info.maxPage;
        }
    }
    return true;
}

void CWorksheetGrid::OnEndPrinting(QPainter& painter, PrintInfo& info)
{
    m_printChart.reset();
    CGridCtrl::OnEndPrinting(painter, info);
}

void CWorksheetGrid::OnPrint(QPainter& painter, PrintInfo& info)
{
    if (m_printChart && info.currentPage == info.maxPage)
        PrintChartPage(painter, info);
    else
        CGridCtrl::OnPrint(painter, info);
}

void CWorksheetGrid::PrintChartPage(QPainter& painter, PrintInfo& info)
{
    const PrintPageLayout& page = PrintLayout();
    if (!painter.isActive() || page.pageWidth <= 0)
        return;
    painter.save();
    // The grid pages' logical page: header on top, footer at the bottom, the body
    // between them with a line's gap on either side, here all for the chart.
    const QTransform base = PageToPaper(painter);
    const int contentWidth = PrintContentWidth();
    painter.setTransform(base);
    info.drawRect = QRect(0, 0, contentWidth, 2 * page.charHeight);
    PrintHeader(painter, info);

    // The chart keeps at most the pane's usual shape (three high to four wide), so
    // that a tall portrait page does not stretch the series.
    const double room = page.pageHeight - 6.0 * page.charHeight;
    const QRectF body(0.0, 3.0 * page.charHeight, contentWidth,
                      std::min(room, 0.75 * contentWidth));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    DrawChartPage(painter, body, *m_printChart);
    painter.restore();

    info.drawRect = QRect(0, 0, contentWidth, 2 * page.charHeight);
    painter.setTransform(QTransform(base).translate(0, page.pageHeight - 2 * page.charHeight));
    PrintFooter(painter, info);
    painter.restore();
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
        const int gridPages = CGridCtrl::PrintPageCount(*printer);
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
