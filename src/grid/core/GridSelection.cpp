#include "grid/core/GridSelection.h"

#include <algorithm>
#include <vector>

namespace orvalis {

void GridSelection::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol)
{
    if (!m_store.selectionEnabled)
        return;
    const bool valid = minRow >= 0 && minCol >= 0 && maxRow >= 0 && maxCol >= 0 &&
                       maxRow < m_store.GetRowCount() && maxCol < m_store.GetColumnCount() &&
                       minRow <= maxRow && minCol <= maxCol;
    const auto inRange = [&](CellId c) {
        return valid && c.row >= minRow && c.row <= maxRow && c.col >= minCol && c.col <= maxCol;
    };
    const bool keepPrevious = !m_store.singleRowSelection;
    const auto& previous = m_store.PreviousSelectedCells();
    const auto select = [&](int r, int c) {
        const unsigned state = m_store.GetCellState(r, c);
        if (!(state & CellSelected))
            m_store.SetCellState(r, c, state | CellSelected);
    };

    // The result is the new range plus the kept previous selection; only cells whose
    // bit changes are touched, so a drag over a large block stays cheap.
    const std::vector<std::uint64_t> old(m_store.SelectedCells().begin(),
                                         m_store.SelectedCells().end());
    for (std::uint64_t key : old) {
        const CellId c = CellStore::CellFromKey(key);
        if (inRange(c) || (keepPrevious && previous.count(key)))
            continue;
        m_store.SetCellState(c.row, c.col, m_store.GetCellState(c.row, c.col) & ~unsigned{CellSelected});
    }
    if (keepPrevious) {
        for (std::uint64_t key : previous) {
            const CellId c = CellStore::CellFromKey(key);
            if (m_store.IsValidCell(c.row, c.col))
                select(c.row, c.col);
        }
    }
    if (!valid)
        return;
    for (int r = minRow; r <= maxRow; ++r)
        for (int c = minCol; c <= maxCol; ++c)
            select(r, c);
}

CellRange GridSelection::GetSelectedCellRange() const
{
    CellRange range{m_store.GetRowCount(), m_store.GetColumnCount(), -1, -1};
    for (std::uint64_t key : m_store.SelectedCells()) {
        const CellId c = CellStore::CellFromKey(key);
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
    if (!m_store.selectionEnabled || cell.col < m_store.GetFixedColumnCount() ||
        !m_store.IsValidCell(cell.row, cell.col))
        return;
    const int anchor = m_store.GetSelectionStartCell().col;
    SetSelectedRange(m_store.GetFixedRowCount(), std::min(anchor, cell.col),
                     m_store.GetRowCount() - 1, std::max(anchor, cell.col));
}

void GridSelection::SelectRows(CellId cell)
{
    if (!m_store.selectionEnabled || cell.row < m_store.GetFixedRowCount() ||
        !m_store.IsValidCell(cell.row, cell.col))
        return;
    const int lastCol = m_store.GetColumnCount() - 1;
    if (m_store.listMode && m_store.singleRowSelection) {
        SetSelectedRange(cell.row, m_store.GetFixedColumnCount(), cell.row, lastCol);
        return;
    }
    const int anchor = m_store.GetSelectionStartCell().row;
    SetSelectedRange(std::min(anchor, cell.row), m_store.GetFixedColumnCount(),
                     std::max(anchor, cell.row), lastCol);
}

void GridSelection::SelectCells(CellId cell)
{
    if (!m_store.selectionEnabled || cell.row < m_store.GetFixedRowCount() ||
        cell.col < m_store.GetFixedColumnCount() || !m_store.IsValidCell(cell.row, cell.col))
        return;
    const CellId anchor = m_store.GetSelectionStartCell();
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

} // namespace orvalis
