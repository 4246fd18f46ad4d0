#pragma once

#include <QWidget>

class QSplitter;

namespace orvalis {

class CChartPane;
class CWorksheetGrid;
class CGridDoc;

// The window of one worksheet: it draws nothing itself and hosts the worksheet's grid,
// which fills it, with the worksheet's chart pane under it while the chart is shown (a
// splitter the user can drag; its position is remembered in the settings for every
// worksheet window). Creating the view attaches the grid to the worksheet's cells and
// sizes the header block to the screen fonts.
class CGridView final : public QWidget {
    Q_OBJECT
public:
    explicit CGridView(CGridDoc& doc, QWidget* parent = nullptr);
    ~CGridView() override;

    CGridDoc& Document() { return m_doc; }
    CWorksheetGrid& Grid() { return *m_grid; }

    // Shows or hides the chart pane; the pane is built the first time it is shown.
    void ShowChart(bool show);
    bool ChartShown() const;
    // The chart pane, or nullptr until the chart was first shown.
    CChartPane* ChartPane() { return m_chart; }

    // Selects the block of cells an undo or redo wrote and scrolls it into view.
    void ShowRestoredCells(int minRow, int minCol, int maxRow, int maxCol);

private:
    void SaveSplitterState() const;

    CGridDoc& m_doc;
    QSplitter* m_splitter;   // child widget: the grid above, the chart pane below
    CWorksheetGrid* m_grid;  // child widget
    CChartPane* m_chart = nullptr;  // child widget
};

} // namespace orvalis
