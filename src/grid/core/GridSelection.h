#pragma once

#include "grid/core/CellStore.h"

namespace orvalis {

// What the left mouse button (or a key's selection step) is doing.
enum MouseMode : int {
    MouseNothing = 0,
    MouseSelectAll = 1,
    MouseSelectColumns = 2,
    MouseSelectRows = 3,
    MouseSelectCells = 4,
    MouseOverRowDivider = 6,
    MouseSizingRow = 7,
    MouseOverColumnDivider = 8,
    MouseSizingColumn = 9,
    MousePrepareEdit = 10,
    MousePrepareDrag = 11,
    MouseDragging = 12,
};

// The selection model over a store: the selected-cell set (through the cells'
// CellSelected bits, so the store's listener repaints every cell that changes), the
// anchor in the store's selectionStartCell and the Ctrl-kept previous selection.
// Operations that change the selection do nothing while the store's selectionEnabled
// is off.
class GridSelection {
public:
    explicit GridSelection(CellStore& store) : m_store(store) {}

    // Replaces the selection by the range (an invalid range selects nothing), adding
    // back the cells kept in the previous selection unless single-row selection is on.
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol);
    void SetSelectedRange(const CellRange& r) { SetSelectedRange(r.minRow, r.minCol, r.maxRow, r.maxCol); }
    // Smallest range holding every selected cell; (rowCount, columnCount, -1, -1) when
    // nothing is selected.
    CellRange GetSelectedCellRange() const;
    void SelectAllCells();
    // Whole columns (rows) between the anchor and cell; a block of cells for SelectCells.
    void SelectColumns(CellId cell);
    void SelectRows(CellId cell);
    void SelectCells(CellId cell);
    // Extends the selection to cell the way mode selects; other modes do nothing.
    void OnSelecting(CellId cell, MouseMode mode);

private:
    CellStore& m_store;
};

} // namespace orvalis
