#include "grid/GridAccessible.h"

#include "grid/GridCellAccessible.h"
#include "grid/GridCtrl.h"
#include "grid/ShownCellText.h"

#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace orvalis {

namespace {

AccessibleEventSink g_sink = QAccessible::updateAccessibility;

} // namespace

AccessibleEventSink SetAccessibleEventSink(AccessibleEventSink sink)
{
    AccessibleEventSink previous = g_sink;
    g_sink = sink ? sink : QAccessible::updateAccessibility;
    return previous;
}

GridAccessible::GridAccessible(CGridCtrl* grid)
    : QAccessibleWidget(grid, QAccessible::Table), m_grid(grid)
{
    m_rows = grid->Store().GetRowCount();
    m_cols = grid->Store().GetColumnCount();
    m_selectedCount = qsizetype(grid->Selection().SelectedCells().size());
    grid->m_accessible = this;
}

GridAccessible::~GridAccessible()
{
    // The interface goes with its window, or earlier when Qt drops its cache.
    if (CGridCtrl* grid = Grid(); grid && grid->m_accessible == this)
        grid->m_accessible = nullptr;
    DropCells();
}

void GridAccessible::Send(QAccessible::Event type, int child)
{
    QAccessibleEvent event(Grid(), type);
    if (child >= 0)
        event.setChild(child);
    g_sink(&event);
}

CGridCtrl* GridAccessible::Grid() const
{
    return m_grid;
}

void GridAccessible::DropCells()
{
    for (QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
    m_cells.clear();
}

int GridAccessible::ChildIndex(int row, int col) const
{
    const CellStore& store = Grid()->Store();
    if (!store.IsValidCell(row, col))
        return -1;
    return row * store.GetColumnCount() + col;
}

QAccessibleInterface* GridAccessible::CellInterface(int row, int col) const
{
    const int index = ChildIndex(row, col);
    if (index < 0)
        return nullptr;
    if (auto it = m_cells.constFind(index); it != m_cells.cend())
        return QAccessible::accessibleInterface(*it);
    auto* cell = new GridCellAccessible(Grid(), row, col);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int GridAccessible::childCount() const
{
    const CellStore& store = Grid()->Store();
    return store.GetRowCount() * store.GetColumnCount();
}

QAccessibleInterface* GridAccessible::child(int index) const
{
    const int cols = Grid()->Store().GetColumnCount();
    if (index < 0 || cols == 0)
        return nullptr;
    return CellInterface(index / cols, index % cols);
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    auto* cell = dynamic_cast<const GridCellAccessible*>(child);
    if (!cell || cell->parent() != this)
        return -1;
    return ChildIndex(cell->Row(), cell->Col());
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const
{
    const QPoint local = Grid()->viewport()->mapFromGlobal(QPoint(x, y));
    if (!Grid()->viewport()->rect().contains(local))
        return nullptr;
    const CellId cell = Grid()->GetCellFromPt(local);
    return CellInterface(cell.row, cell.col);
}

QAccessibleInterface* GridAccessible::focusChild() const
{
    // An open in-place editor holds the keyboard; otherwise the focus cell does.
    if (QWidget* editor = Grid()->InPlaceEditor(); editor && editor->hasFocus())
        return QAccessible::queryAccessibleInterface(editor);
    const CellId focus = Grid()->GetFocusCell();
    return CellInterface(focus.row, focus.col);
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

// Table --------------------------------------------------------------------------------

int GridAccessible::rowCount() const
{
    const CellStore& store = Grid()->Store();
    return std::max(0, store.GetRowCount() - store.GetFixedRowCount());
}

int GridAccessible::columnCount() const
{
    const CellStore& store = Grid()->Store();
    return std::max(0, store.GetColumnCount() - store.GetFixedColumnCount());
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const
{
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return nullptr;
    const CellStore& store = Grid()->Store();
    return CellInterface(row + store.GetFixedRowCount(), column + store.GetFixedColumnCount());
}

int GridAccessible::selectedCellCount() const
{
    return int(Grid()->Selection().SelectedCells().size());
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const
{
    // In reading order, so a client announcing them goes row by row.
    QList<QAccessibleInterface*> out;
    for (CellId c : Grid()->Selection().SelectedCellsInOrder())
        if (QAccessibleInterface* i = CellInterface(c.row, c.col))
            out.append(i);
    return out;
}

QString GridAccessible::columnDescription(int column) const
{
    const CellStore& store = Grid()->Store();
    QStringList parts;
    for (int r = 0; r < store.GetFixedRowCount(); ++r) {
        const std::string& t = store.CellTextRef(r, column + store.GetFixedColumnCount());
        if (!t.empty())
            parts.append(ShownCellText(t));
    }
    return parts.join(QLatin1Char(' '));
}

QString GridAccessible::rowDescription(int row) const
{
    const CellStore& store = Grid()->Store();
    QStringList parts;
    for (int c = 0; c < store.GetFixedColumnCount(); ++c) {
        const std::string& t = store.CellTextRef(row + store.GetFixedRowCount(), c);
        if (!t.empty())
            parts.append(ShownCellText(t));
    }
    return parts.join(QLatin1Char(' '));
}

bool GridAccessible::isColumnSelected(int column) const
{
    const CellStore& store = Grid()->Store();
    const GridSelection& selection = Grid()->Selection();
    const int col = column + store.GetFixedColumnCount();
    if (column < 0 || col >= store.GetColumnCount() || rowCount() == 0)
        return false;
    // Fewer selected cells than rows cannot fill the column: on a long worksheet this
    // answers at once rather than after a look at every row.
    if (selection.SelectedCells().size() < static_cast<std::size_t>(rowCount()))
        return false;
    for (int r = store.GetFixedRowCount(); r < store.GetRowCount(); ++r)
        if (!selection.IsSelected(r, col))
            return false;
    return true;
}

bool GridAccessible::isRowSelected(int row) const
{
    const CellStore& store = Grid()->Store();
    const GridSelection& selection = Grid()->Selection();
    const int r = row + store.GetFixedRowCount();
    if (row < 0 || r >= store.GetRowCount() || columnCount() == 0)
        return false;
    for (int c = store.GetFixedColumnCount(); c < store.GetColumnCount(); ++c)
        if (!selection.IsSelected(r, c))
            return false;
    return true;
}

// The table's rows (byRow) or columns that every one of their cells is selected in, in
// order: counted over the selected cells, so a screen reader asking after each change
// of selection on a worksheet of a million rows is answered in the time of the
// selection's size, not of the sheet's.
QList<int> GridAccessible::FullySelected(bool byRow) const
{
    const CellStore& store = Grid()->Store();
    const int fixedRows = store.GetFixedRowCount();
    const int fixedCols = store.GetFixedColumnCount();
    const int needed = byRow ? columnCount() : rowCount();
    QList<int> out;
    const auto& cells = Grid()->Selection().SelectedCells();
    if (needed <= 0 || cells.size() < static_cast<std::size_t>(needed))
        return out;
    std::unordered_map<int, int> counts;
    for (const std::uint64_t key : cells) {
        const CellId cell = GridSelection::CellFromKey(key);
        if (cell.row >= fixedRows && cell.col >= fixedCols && cell.row < store.GetRowCount() &&
            cell.col < store.GetColumnCount())
            ++counts[byRow ? cell.row - fixedRows : cell.col - fixedCols];
    }
    for (const auto& [index, count] : counts)
        if (count == needed)
            out.append(index);
    std::sort(out.begin(), out.end());
    return out;
}

QList<int> GridAccessible::selectedColumns() const
{
    return FullySelected(false);
}

QList<int> GridAccessible::selectedRows() const
{
    return FullySelected(true);
}

bool GridAccessible::selectRow(int row)
{
    const CellStore& store = Grid()->Store();
    if (!Grid()->Options().selectionEnabled || row < 0 || row >= rowCount())
        return false;
    const int r = row + store.GetFixedRowCount();
    Grid()->SetSelectedRange(r, store.GetFixedColumnCount(), r, store.GetColumnCount() - 1);
    return true;
}

bool GridAccessible::selectColumn(int column)
{
    const CellStore& store = Grid()->Store();
    const GridViewOptions& options = Grid()->Options();
    if (!options.selectionEnabled || options.singleRowSelection || column < 0 ||
        column >= columnCount())
        return false;
    const int c = column + store.GetFixedColumnCount();
    Grid()->SetSelectedRange(store.GetFixedRowCount(), c, store.GetRowCount() - 1, c);
    return true;
}

bool GridAccessible::unselectRow(int row)
{
    const CellStore& store = Grid()->Store();
    if (row < 0 || row >= rowCount())
        return false;
    const int r = row + store.GetFixedRowCount();
    for (int c = store.GetFixedColumnCount(); c < store.GetColumnCount(); ++c)
        Grid()->Selection().SetSelected(CellId{r, c}, false);
    return true;
}

bool GridAccessible::unselectColumn(int column)
{
    const CellStore& store = Grid()->Store();
    if (column < 0 || column >= columnCount())
        return false;
    const int c = column + store.GetFixedColumnCount();
    for (int r = store.GetFixedRowCount(); r < store.GetRowCount(); ++r)
        Grid()->Selection().SetSelected(CellId{r, c}, false);
    return true;
}

// Events -------------------------------------------------------------------------------

void GridAccessible::CellChanged(int row, int col, bool focusMoved)
{
    CGridCtrl* grid = Grid();
    if (focusMoved && grid->hasFocus()) {
        const CellId focus = grid->GetFocusCell();
        if (const int index = ChildIndex(focus.row, focus.col); index >= 0) {
            CellInterface(focus.row, focus.col);
            Send(QAccessible::Focus, index);
        }
    }
    const int index = ChildIndex(row, col);
    auto it = m_cells.constFind(index);
    if (index >= 0 && it != m_cells.cend()) {
        auto* cell = static_cast<GridCellAccessible*>(QAccessible::accessibleInterface(*it));
        const QString text = ShownCellText(grid->Store().CellTextRef(row, col));
        if (text != cell->lastText) {
            cell->lastText = text;
            Send(QAccessible::NameChanged, index);
        }
        const bool selected = grid->Selection().IsSelected(row, col);
        if (selected != cell->lastSelected) {
            cell->lastSelected = selected;
            Send(selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove, index);
        }
    }
    // A block selection touches many cells a client never asked for: one summary event
    // after the change, instead of one per cell.
    if (!m_selectionPending &&
        qsizetype(grid->Selection().SelectedCells().size()) != m_selectedCount) {
        m_selectionPending = true;
        QTimer::singleShot(0, grid, [this] { SendSelectionSummary(); });
    }
}

void GridAccessible::SendSelectionSummary()
{
    m_selectionPending = false;
    m_selectedCount = qsizetype(Grid()->Selection().SelectedCells().size());
    Send(QAccessible::SelectionWithin);
}

void GridAccessible::LayoutChanged()
{
    const CellStore& store = Grid()->Store();
    if (store.GetRowCount() == m_rows && store.GetColumnCount() == m_cols)
        return;
    m_rows = store.GetRowCount();
    m_cols = store.GetColumnCount();
    DropCells();
    QAccessibleTableModelChangeEvent event(Grid(), QAccessibleTableModelChangeEvent::ModelReset);
    g_sink(&event);
}

// Factory ------------------------------------------------------------------------------

QAccessibleInterface* GridAccessibleFactory(const QString&, QObject* object)
{
    if (auto* grid = qobject_cast<CGridCtrl*>(object))
        return new GridAccessible(grid);
    return nullptr;
}

void InstallGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(GridAccessibleFactory);
        return true;
    }();
    (void)installed;
}

} // namespace orvalis
