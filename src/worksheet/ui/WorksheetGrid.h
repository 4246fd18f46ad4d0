#pragma once

#include "grid/GridCtrl.h"
#include "worksheet/ChartData.h"

#include <functional>

namespace orvalis {

// The grid of a worksheet: the role row is edited with a drop-down of the ten role
// texts that also takes any typed text; every other cell uses the grid's usual editor.
// Select All shows the wait cursor while it runs. Printed, the worksheet can end with a
// page holding its chart. An edit of the role row is a role choice in the worksheet's
// history.
// How a worksheet window shows its cells, from the platform's colours: blocks can be
// dragged, cells are picked one by one (not whole rows), and the cells outside the header
// block are light yellow. Paper printed without a window is drawn with these too.
GridViewOptions WorksheetViewOptions(const PlatformColours& platform);

class CWorksheetGrid final : public CGridCtrl {
    Q_OBJECT
public:
    explicit CWorksheetGrid(CellStore& store, QWidget* parent = nullptr);

    void CreateInPlaceEditControl(const QRect& rect, Qt::Alignment alignment, int id, int row,
                                  int col, const std::string& text, EditStart start) override;
    bool HasDropDownList(int row, int col) const override;
    void OnEditSelectAll() override;
    QString TypedEditName(int row, int col) const override;

    // The worksheet's chart as it stands, for the chart page; unset: no chart page.
    std::function<ChartData()> chartSource;
    // With it set, a printed worksheet whose chart has something to draw ends with one
    // more page: the chart scaled to the page, under the grid pages' header and above
    // their footer.
    bool printChartPage = false;

    // The print dialog with a "Chart" tab holding the chart page's check box, and the
    // print preview with the same switch in its tool bar. Both start from the switch as
    // it was last left and remember it in the settings.
    void AddPrintOptions(QPrintDialog& dialog) override;
    void AddPreviewOptions(QPrintPreviewDialog& dialog) override;

    // The worksheet's printer (WorksheetPrinter.h): the used part of its cells, and the
    // chart page when it is switched on and the chart has something to draw.
    GridPrinter MakePrinter() const override;

private:
    bool HasChartToPrint() const;
};

// The chart page switch's text, in the print dialog and the preview.
QString ChartPageOptionText();  // "Print chart as last page"
// The switch as stored in the settings (off when never set).
bool StoredPrintChartPage();

} // namespace orvalis
