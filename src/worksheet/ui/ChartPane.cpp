#include "worksheet/ui/ChartPane.h"

#include "grid/GridCtrl.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/ChartView.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/ResultsPanel.h"
#include "worksheet/ui/WorksheetChart.h"

#include <QChart>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>

namespace orvalis {

CChartPane::CChartPane(CGridDoc& doc, CGridCtrl& grid, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_splitter(new QSplitter(Qt::Horizontal, this)), m_stack(new QStackedWidget(m_splitter)), m_view(new CChartView(m_stack)), m_hint(new QLabel(m_stack)), m_results(new CResultsPanel)
{
    setAccessibleName(tr("Chart pane"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
    m_hint->setText(tr("Nothing to chart yet: give a column the role \"Target\" or "
                       "\"Trg/In\" and fill its data rows with numbers."));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    m_hint->setAccessibleName(tr("Chart hint"));
    m_view->pictureSource = [this] { return m_data; };
    m_stack->addWidget(m_view);
    m_stack->addWidget(m_hint);
    m_splitter->addWidget(m_stack);
    // The panel scrolls rather than squeeze its rows (and the verdict's lines) when the
    // pane is low.
    auto* scroll = new QScrollArea(m_splitter);
    scroll->setWidget(m_results);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_splitter->addWidget(scroll);
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 1);

    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &CChartPane::Refresh);
    connect(&grid, &CGridCtrl::cellChanged, this, &CChartPane::ScheduleRefresh);
    connect(&doc, &CGridDoc::fileUsed, this, &CChartPane::ScheduleRefresh);
    connect(&doc, &CGridDoc::forecastCheckChanged, this, &CChartPane::ScheduleRefresh);
    Refresh();
}

CChartPane::~CChartPane() = default;

void CChartPane::ScheduleRefresh()
{
    m_stale = true;
    if (!m_timer.isActive() && isVisible())
        m_timer.start();
}

bool CChartPane::ShowsHint() const
{
    return m_stack->currentWidget() == m_hint;
}

void CChartPane::Refresh()
{
    m_timer.stop();
    m_stale = false;
    const Worksheet& ws = m_doc.GetWorksheet();
    const ResultLayout layout = ReadResultLayout(ws);
    m_figures = ComputeBaselineFigures(ws.Store(), layout);
    m_results->ShowFigures(m_figures);
    // The check was computed when the worksheet was evaluated or opened; a refresh only
    // shows it.
    const ForecastCheck* check = m_doc.LastForecastCheck();
    m_results->ShowForecastCheck(check);

    ChartData fresh = BuildChartData(ws.Store(), layout, m_doc.Settings(), check);
    if (m_drawn && fresh == m_data)
        return;
    m_data = std::move(fresh);
    m_drawn = true;
    ++m_redraws;
    FillChart(*m_view->chart(), m_data);
    m_view->ConnectTooltips();
    m_stack->setCurrentWidget(m_data.HasSeries() ? static_cast<QWidget*>(m_view) : m_hint);
}

void CChartPane::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_stale)
        ScheduleRefresh();
}

void CChartPane::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The colour settings change in a modal dialog, which writes no cell: when the
    // window becomes active again the bands are checked against the settings.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        ScheduleRefresh();
}

} // namespace orvalis
