#pragma once

#include "grid/core/CellStore.h"
#include "grid/core/GridViewOptions.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

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

// Told of every cell whose look in the view changes because it entered or left the
// selection or gained or lost the focus (the view repaints it).
class GridSelectionObserver {
public:
    virtual ~GridSelectionObserver() = default;
    virtual void SelectionCellChanged(int row, int col) = 0;
};

// One view's selection over a store: the focus cell, the anchor (where a Shift or drag
// selection starts), the selected cells and the cells kept from before a Ctrl press.
// Each window on a store owns one, so two windows on one worksheet have their own
// focus and selection. It listens to the store and forgets cells that a shrinking
// count removes, so no stale cell comes back selected when rows are added again.
// Operations that change the selected set do nothing while selectionEnabled is off;
// the focus moves regardless.
class GridSelection final : public CellStoreListener {
public:
    // The store must outlive the selection. The view's options (selectionEnabled,
    // singleRowSelection, listMode) are read on every operation; not owned.
    GridSelection(CellStore& store, const GridViewOptions& options);
    ~GridSelection() override;
    GridSelection(const GridSelection&) = delete;
    GridSelection& operator=(const GridSelection&) = delete;

    void SetObserver(GridSelectionObserver* observer) { m_observer = observer; }
    const CellStore& Store() const { return m_store; }

    // Packed key of the selected sets: row in the high 32 bits, column in the low.
    static std::uint64_t KeyOf(CellId cell)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cell.row)) << 32) |
               static_cast<std::uint32_t>(cell.col);
    }
    static CellId CellFromKey(std::uint64_t key)
    {
        return CellId{static_cast<int>(key >> 32), static_cast<int>(key & 0xFFFFFFFFu)};
    }

    // Focus ---------------------------------------------------------------------------
    CellId GetFocusCell() const;
    // Moves the focus (an invalid cell clears it); both cells are reported to the
    // observer, the new focus already in place. Returns the previous focus.
    CellId SetFocusCell(CellId cell);
    bool IsFocused(int row, int col) const;
    CellId GetSelectionStartCell() const;
    void SetSelectionStartCell(CellId cell) { m_anchor = cell; }

    // Selected set --------------------------------------------------------------------
    bool IsSelected(int row, int col) const;
    const std::unordered_set<std::uint64_t>& SelectedCells() const;
    // The selected cells in reading order (row by row).
    std::vector<CellId> SelectedCellsInOrder() const;
    // Adds or removes one cell (an accessibility client's toggle, a cut cell); refused
    // (false) for a cell outside the store, and adding while selecting is off.
    bool SetSelected(CellId cell, bool selected);
    // Empties the selected set (the kept cells stay).
    void ClearSelectedCells();
    // Keeps the present selection, so that the next range adds to it (Ctrl held); and
    // forgets what was kept.
    void KeepSelection();
    void ForgetKeptSelection() { m_kept.clear(); }
    bool HasKeptCells() const { return !m_kept.empty(); }

    // Replaces the selection by the range (an invalid range selects nothing), adding
    // back the kept cells unless single-row selection is on.
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

    // True when every selected, kept, focus and anchor cell lies in the store.
    bool CheckConsistency() const;

    // CellStoreListener: a changed layout may have removed cells.
    void CellChanged(int, int) override {}
    void LayoutChanged() override { FollowStore(); }

private:
    // Drops what the store's present counts no longer hold. The store stays quiet while
    // its drawing is off, so every operation checks as well.
    void FollowStore() const;
    void Report(CellId cell) const;
    void Mark(std::uint64_t key, bool selected);

    CellStore& m_store;
    const GridViewOptions& m_rules;
    GridSelectionObserver* m_observer = nullptr;
    // The store's counts when last looked at; a smaller count drops cells.
    mutable int m_rows = 0;
    mutable int m_cols = 0;
    mutable int m_fixedRows = 0;
    mutable int m_fixedCols = 0;
    mutable CellId m_focus;
    mutable CellId m_anchor;
    mutable std::unordered_set<std::uint64_t> m_selected;
    mutable std::unordered_set<std::uint64_t> m_kept;
};

} // namespace orvalis
