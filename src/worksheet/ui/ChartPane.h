#pragma once

#include "worksheet/BaselineFigures.h"
#include "worksheet/ChartData.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QSplitter;
class QStackedWidget;

namespace orvalis {

class CChartView;
class CGridCtrl;
class CGridDoc;
class CResultsPanel;

// The chart of one worksheet with its "Results" panel beside it. It follows the
// worksheet: every change of a cell (a run writing its results, an edit, a mode switch
// recolouring the rows) asks for a refresh, and all requests of one event-loop turn are
// served by one refresh through a zero timer. A refresh rereads the cells and redraws
// the chart only when what it shows has changed; the figures are always rewritten.
// While hidden it only remembers that it is out of date.
class CChartPane final : public QWidget {
    Q_OBJECT
public:
    // grid is the widget showing the document's cells; both outlive the pane.
    CChartPane(CGridDoc& doc, CGridCtrl& grid, QWidget* parent = nullptr);
    ~CChartPane() override;

    // Rereads the worksheet at the end of this event-loop turn.
    void ScheduleRefresh();
    // Rereads the worksheet now.
    void Refresh();

    const ChartData& Data() const { return m_data; }
    const BaselineFigures& Figures() const { return m_figures; }
    CChartView& View() { return *m_view; }
    CResultsPanel& Results() { return *m_results; }
    // True while the pane shows its hint instead of a chart (nothing to draw).
    bool ShowsHint() const;
    // How many times the chart itself was redrawn (refreshes that found a change).
    int RedrawCount() const { return m_redraws; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CGridDoc& m_doc;
    QTimer m_timer;
    QSplitter* m_splitter;
    QStackedWidget* m_stack;
    CChartView* m_view;
    QLabel* m_hint;
    CResultsPanel* m_results;
    ChartData m_data;
    BaselineFigures m_figures;
    bool m_drawn = false;
    bool m_stale = true;
    int m_redraws = 0;
};

} // namespace orvalis
