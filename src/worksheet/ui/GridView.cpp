#include "worksheet/ui/GridView.h"

#include "shell/core/QtSettingsStore.h"

#include "worksheet/Worksheet.h"
#include "worksheet/ui/ChartPage.h"
#include "worksheet/ui/ChartPane.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/WorksheetGrid.h"
#include "worksheet/ui/WorksheetUndo.h"

#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace orvalis {

namespace {

// Cells hold the worksheet file's 8-bit text; what a paste could not keep is said.
// how: "pasted" or "typed".
std::string ReplacedCharactersMessage(const char* how, int count, int row, int col)
{
    std::string text = "Info: " + std::to_string(count) + " " + how +
                       (count == 1 ? " character is" : " characters are") +
                       " outside the worksheet's 8-bit (Latin-1) character set and became \"?\"";
    if (row >= 0)
        text += ", the first in grid row " + std::to_string(row) + ", column " + std::to_string(col);
    return text;
}

} // namespace

CGridView::CGridView(CGridDoc& doc, QWidget* parent)
    : QWidget(parent)
    , m_doc(doc)
    , m_splitter(new QSplitter(Qt::Vertical, this))
    , m_grid(new CWorksheetGrid(doc.GetWorksheet().Store(), m_splitter))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
    m_splitter->addWidget(m_grid);
    m_splitter->setChildrenCollapsible(false);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] { SaveSplitterState(); });
    m_grid->setFocusPolicy(Qt::StrongFocus);
    m_grid->setAccessibleName(QStringLiteral("Worksheet"));
    setFocusProxy(m_grid);
    // An edit open when a training run starts ends first, so the run reads it.
    connect(&doc, &CGridDoc::runLockChanged, m_grid, [this](bool locked) {
        if (locked)
            m_grid->EndEditing();
    });
    // Every window's edits go into the worksheet's one history. A step taken back or
    // forward is selected and scrolled into view in every window on the worksheet.
    WorksheetUndo& undo = doc.Undo();
    connect(m_grid, &CGridCtrl::userEditBegun, &undo, &WorksheetUndo::BeginUserEdit);
    connect(m_grid, &CGridCtrl::userEditEnded, &undo, &WorksheetUndo::EndUserEdit);
    // Said once the paste or drop is over: a drop must not wait for a message box.
    connect(
        m_grid, &CGridCtrl::charactersReplaced, this,
        [this](int count, int row, int col) {
            m_doc.GetWorksheet().Messages().Information(ReplacedCharactersMessage("pasted", count, row, col));
        },
        Qt::QueuedConnection);
    connect(
        m_grid, &CGridCtrl::typedCharactersReplaced, this,
        [this](int count, int row, int col) {
            m_doc.GetWorksheet().Messages().Information(ReplacedCharactersMessage("typed", count, row, col));
        },
        Qt::QueuedConnection);
    m_grid->SetUndoStack(&undo.Stack());
    connect(&undo, &WorksheetUndo::cellsRestored, m_grid,
            [this](int minRow, int minCol, int maxRow, int maxCol) {
                ShowRestoredCells(minRow, minCol, maxRow, maxCol);
            });
    // Paste and typing past the last row grow the worksheet, up to its row limit.
    m_grid->growRows = [this](int rowCount) {
        Worksheet& ws = m_doc.GetWorksheet();
        ws.GrowRows(std::min(rowCount, ws.maxRows));
    };
    m_grid->chartSource = [this] {
        // A printed chart shows the bands even when printed right after an Evaluate.
        m_doc.FinishForecastCheck();
        return ReadWorksheetChart(m_doc.GetWorksheet(), m_doc.Settings(), m_doc.LastForecastCheck());
    };
    // The grid now measures with the screen's fonts: size the header block to them.
    doc.GetWorksheet().AutoSizeHeaderBlock();
}

CGridView::~CGridView()
{
    // The chart reads the worksheet through the grid's notifications: it goes first.
    delete m_chart;
    // The grid stops listening to the cells before the worksheet can go.
    delete m_grid;
}

namespace {

// The window layout sits in the program's settings store beside the preferences.
constexpr char kWindowGroup[] = "Window";
constexpr char kSplitterKey[] = "ChartSplitter";

} // namespace

void CGridView::ShowChart(bool show)
{
    if (!m_chart) {
        if (!show)
            return;
        m_chart = new CChartPane(m_doc, *m_grid, m_splitter);
        m_splitter->addWidget(m_chart);
        const QByteArray state = QtSettingsStore().ReadBytes(kWindowGroup, kSplitterKey);
        if (state.isEmpty() || !m_splitter->restoreState(state))
            m_splitter->setSizes({2 * height() / 3, height() / 3});
    }
    m_chart->setVisible(show);
}

void CGridView::ShowRestoredCells(int minRow, int minCol, int maxRow, int maxCol)
{
    m_grid->SetFocusCell(minRow, minCol);
    m_grid->SetSelectedRange(minRow, minCol, maxRow, maxCol);
    m_grid->EnsureVisible(minRow, minCol);
}

bool CGridView::ChartShown() const
{
    return m_chart && !m_chart->isHidden();
}

void CGridView::SaveSplitterState() const
{
    QtSettingsStore().WriteBytes(kWindowGroup, kSplitterKey, m_splitter->saveState());
}

} // namespace orvalis
