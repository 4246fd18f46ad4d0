#include "grid/core/GridSelection.h"

#include <algorithm>

namespace orvalis {

GridSelection::GridSelection(CellStore& store, const GridViewOptions& options)
    : m_store(store), m_rules(options)
{
    m_rows = store.GetRowCount();
    m_cols = store.GetColumnCount();
    m_fixedRows = store.GetFixedRowCount();
    m_fixedCols = store.GetFixedColumnCount();
    m_store.AddListener(this);
}

GridSelection::~GridSelection()
{
    m_store.RemoveListener(this);
}

void GridSelection::FollowStore() const
{
    const int rows = m_store.GetRowCount();
    const int cols = m_store.GetColumnCount();
    const int fixedRows = m_store.GetFixedRowCount();
    const int fixedCols = m_store.GetFixedColumnCount();
    const bool shrank = rows < m_rows || cols < m_cols;
    const bool fixedChanged = fixedRows != m_fixedRows || fixedCols != m_fixedCols;
    m_rows = rows;
    m_cols = cols;
    m_fixedRows = fixedRows;
    m_fixedCols = fixedCols;
    if (!shrank && !fixedChanged)
        return;
    const auto gone = [&](CellId c) { return c.row >= rows || c.col >= cols; };
    if (shrank) {
        // Removed cells must not come back selected when rows or columns are added again
        // or a Ctrl-selection restores the kept set.
        const auto goneKey = [&](std::uint64_t key) { return gone(CellFromKey(key)); };
        std::erase_if(m_selected, goneKey);
        std::erase_if(m_kept, goneKey);
        if (gone(m_anchor))
            m_anchor = CellId{};
    }
    // A focus inside a widened fixed band would sit on a header: it goes.
    if (gone(m_focus) || (fixedChanged && m_store.IsFixed(m_focus.row, m_focus.col)))
        m_focus = CellId{};
}

void GridSelection::Report(CellId cell) const
{
    if (m_observer && m_store.IsValidCell(cell.row, cell.col))
        m_observer->SelectionCellChanged(cell.row, cell.col);
}

void GridSelection::Mark(std::uint64_t key, bool selected)
{
    const bool changed = selected ? m_selected.insert(key).second : m_selected.erase(key) > 0;
    if (changed)
        Report(CellFromKey(key));
}

// Focus -----------------------------------------------------------------------------------

CellId GridSelection::GetFocusCell() const
{
    FollowStore();
    return m_focus;
}

CellId GridSelection::SetFocusCell(CellId cell)
{
    FollowStore();
    const CellId old = m_focus;
    const CellId now = m_store.IsValidCell(cell.row, cell.col) ? cell : CellId{};
    if (now == old)
        return old;
    // The new focus is in place before either cell is reported, so an observer sees
    // where the focus went when it repaints the old cell.
    m_focus = now;
    Report(old);
    Report(now);
    return old;
}

bool GridSelection::IsFocused(int row, int col) const
{
    return GetFocusCell() == CellId{row, col} && m_focus.row >= 0;
}

CellId GridSelection::GetSelectionStartCell() const
{
    FollowStore();
    return m_anchor;
}

// Selected set ----------------------------------------------------------------------------

bool GridSelection::IsSelected(int row, int col) const
{
    FollowStore();
    return m_store.IsValidCell(row, col) && m_selected.count(KeyOf(CellId{row, col})) != 0;
}

const std::unordered_set<std::uint64_t>& GridSelection::SelectedCells() const
{
    FollowStore();
    return m_selected;
}

std::vector<CellId> GridSelection::SelectedCellsInOrder() const
{
    FollowStore();
    std::vector<std::uint64_t> keys(m_selected.begin(), m_selected.end());
    // The key holds the row above the column, so key order is reading order.
    std::sort(keys.begin(), keys.end());
    std::vector<CellId> cells;
    cells.reserve(keys.size());
    for (std::uint64_t key : keys)
        cells.push_back(CellFromKey(key));
    return cells;
}

bool GridSelection::SetSelected(CellId cell, bool selected)
{
    FollowStore();
    if ((selected && !m_rules.selectionEnabled) || !m_store.IsValidCell(cell.row, cell.col))
        return false;
    Mark(KeyOf(cell), selected);
    return true;
}

void GridSelection::ClearSelectedCells()
{
    FollowStore();
    const std::vector<std::uint64_t> keys(m_selected.begin(), m_selected.end());
    m_selected.clear();
    for (std::uint64_t key : keys)
        Report(CellFromKey(key));
}

void GridSelection::KeepSelection()
{
    FollowStore();
    m_kept.insert(m_selected.begin(), m_selected.end());
}

void GridSelection::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol)
{
    FollowStore();
    if (!m_rules.selectionEnabled)
        return;
    const bool valid = minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 &&
                       maxRow < m_store.GetRowCount() && maxCol < m_store.GetColumnCount() &&
                       minRow <= maxRow && minCol <= maxCol;
    const auto inRange = [&](CellId c) {
        return valid && c.row >= minRow && c.row <= maxRow && c.col >= minCol && c.col <= maxCol;
    };
    const bool keepPrevious = !m_rules.singleRowSelection;

    // The result is the new range plus the kept selection; only cells that change are
    // touched and reported, so a drag over a large block stays cheap.
    const std::vector<std::uint64_t> old(m_selected.begin(), m_selected.end());
    for (std::uint64_t key : old) {
        if (inRange(CellFromKey(key)) || (keepPrevious && m_kept.count(key)))
            continue;
        Mark(key, false);
    }
    if (keepPrevious)
        for (std::uint64_t key : m_kept)
            Mark(key, true);
    if (!valid)
        return;
    for (int r = minRow; r <= maxRow; ++r)
        for (int c = minCol; c <= maxCol; ++c)
            Mark(KeyOf(CellId{r, c}), true);
}

CellRange GridSelection::GetSelectedCellRange() const
{
    FollowStore();
    CellRange range{m_store.GetRowCount(), m_store.GetColumnCount(), -1, -1};
    for (std::uint64_t key : m_selected) {
        const CellId c = CellFromKey(key);
        range.minRow = std::min(range.minRow, c.row);
        range.minCol = std::min(range.minCol, c.col);
        range.maxRow = std::max(range.maxRow, c.row);
        range.maxCol = std::max(range.maxCol, c.col);
    }
    return range;
}

void GridSelection::SelectAllCells()
{
    SetSelectedRange(m_store.GetFixedRowCount(), m_store.GetFixedColumnCount(),
                     m_store.GetRowCount() - 1, m_store.GetColumnCount() - 1);
}

void GridSelection::SelectColumns(CellId cell)
{
    if (!m_rules.selectionEnabled || cell.col < m_store.GetFixedColumnCount() ||
        !m_store.IsValidCell(cell.row, cell.col))
        return;
    const int anchor = GetSelectionStartCell().col;
    SetSelectedRange(m_store.GetFixedRowCount(), std::min(anchor, cell.col),
                     m_store.GetRowCount() - 1, std::max(anchor, cell.col));
}

void GridSelection::SelectRows(CellId cell)
{
    if (!m_rules.selectionEnabled || cell.row < m_store.GetFixedRowCount() ||
        !m_store.IsValidCell(cell.row, cell.col))
        return;
    const int lastCol = m_store.GetColumnCount() - 1;
    if (m_rules.listMode && m_rules.singleRowSelection) {
        SetSelectedRange(cell.row, m_store.GetFixedColumnCount(), cell.row, lastCol);
        return;
    }
    const int anchor = GetSelectionStartCell().row;
    SetSelectedRange(std::min(anchor, cell.row), m_store.GetFixedColumnCount(),
                     std::max(anchor, cell.row), lastCol);
}

void GridSelection::SelectCells(CellId cell)
{
    if (!m_rules.selectionEnabled || cell.row < m_store.GetFixedRowCount() ||
        cell.col < m_store.GetFixedColumnCount() || !m_store.IsValidCell(cell.row, cell.col))
        return;
    const CellId anchor = GetSelectionStartCell();
    SetSelectedRange(std::min(anchor.row, cell.row), std::min(anchor.col, cell.col),
                     std::max(anchor.row, cell.row), std::max(anchor.col, cell.col));
}

void GridSelection::OnSelecting(CellId cell, MouseMode mode)
{
    switch (mode) {
    case MouseSelectColumns: SelectColumns(cell); break;
    case MouseSelectRows: SelectRows(cell); break;
    case MouseSelectCells: SelectCells(cell); break;
    default: break;
    }
}

bool GridSelection::CheckConsistency() const
{
    FollowStore();
    const auto inStore = [&](CellId c) { return m_store.IsValidCell(c.row, c.col); };
    const auto keyInStore = [&](std::uint64_t key) { return inStore(CellFromKey(key)); };
    return std::all_of(m_selected.begin(), m_selected.end(), keyInStore) &&
           std::all_of(m_kept.begin(), m_kept.end(), keyInStore) &&
           (m_focus == CellId{} || inStore(m_focus)) &&
           (m_anchor.row < m_store.GetRowCount() && m_anchor.col < m_store.GetColumnCount());
}

} // namespace orvalis
