#pragma once

#include "grid/core/CellStore.h"

#include <vector>

namespace orvalis {

// A point in client-area pixels; x grows to the right, y downwards.
struct GridPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GridPoint&) const = default;
};

// A rectangle in client-area pixels. Cell rectangles are inclusive: a cell of width w
// at x covers x .. x + w - 1, so right = x + w - 1. Area extents (client area, drawn
// cell area) use right/bottom as the first pixel past the area.
struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const GridRect&) const = default;
};

// What the window shows of the store: the client size and the two scroll positions
// (pixel offsets into the non-fixed area).
struct GridViewport {
    int width = 0;   // client width in pixels
    int height = 0;  // client height in pixels
    int hPos = 0;    // horizontal scroll position
    int vPos = 0;    // vertical scroll position
};

// Positions of cells on the screen for one store, one client size and one pair of
// scroll positions: the top-left non-fixed cell, cell origins and rectangles, hit
// testing and the visible ranges. Built in O(columns + visible rows + log rows): rows
// are read from the store's row sizes, whose running sums find the top row of a scroll
// position, so building one costs the same at row 1,000,000 as at row 10; the visible
// rows and columns are then answered from cached edges. Valid while the store's
// LayoutGeneration() and the viewport are unchanged.
class GridGeometry {
public:
    GridGeometry(const CellStore& store, const GridViewport& viewport);

    const GridViewport& Viewport() const { return m_viewport; }
    std::uint64_t Generation() const { return m_generation; }

    // The first non-fixed row and column in view, derived from the scroll positions.
    CellId TopLeftNonFixedCell() const { return m_topLeft; }

    // False for an invalid cell and for a non-fixed row above (column left of) the
    // top-left cell; cells past the right or bottom edge still get an origin.
    bool CellOrigin(int row, int col, GridPoint& origin) const;
    // Inclusive rectangle of the cell; false when it has no origin.
    bool CellRect(int row, int col, GridRect& rect) const;
    // The cell under the point; either coordinate may be -1.
    CellId CellFromPoint(GridPoint point, bool allowFixed = true) const;

    // From the top-left non-fixed cell to the last row and column at least partly in
    // the client area; area (optional) gets (0, 0, right, bottom) of the drawn cells,
    // clipped to the client area.
    CellRange VisibleNonFixedCellRange(GridRect* area = nullptr) const;
    // As above, without a last row (column) that does not fit whole, unless that row
    // (column) is row (column) 0.
    CellRange UnobstructedNonFixedCellRange() const;
    // The cell's top-left corner is inside the client area and it is not scrolled out.
    bool IsCellVisible(int row, int col) const;

    // Divider hit tests for sizing with the mouse. A divider belongs to the column (row)
    // that ends at it; range is how many pixels either side of it grab it.
    // True when the point is in the column titles (the fixed rows) within range of a
    // column's divider; the left edge of column 0 is none.
    bool IsOnColumnDivider(GridPoint point, int range) const { return IsOnDivider(true, point, range); }
    // True when the point is in the row labels (the fixed columns) within range of a
    // row's divider; the top edge of row 0 is none.
    bool IsOnRowDivider(GridPoint point, int range) const { return IsOnDivider(false, point, range); }
    // The column a press at the point sizes: the previous one when the point is within
    // range of the left edge of the column under it, else that column; -1 when none.
    int ColumnToSize(GridPoint point, int range) const { return IndexToSize(true, point, range); }
    // The row a press at the point sizes, as ColumnToSize.
    int RowToSize(GridPoint point, int range) const { return IndexToSize(false, point, range); }

    int FixedRowHeight() const { return m_fixedHeight; }
    int FixedColumnWidth() const { return m_fixedWidth; }
    int FixedRowCount() const { return m_rows.fixedCount; }
    int FixedColumnCount() const { return m_cols.fixedCount; }
    int RowCount() const { return m_rows.count; }
    int ColumnCount() const { return m_cols.count; }
    // Column widths as they were when the geometry was built, row heights as the store
    // holds them (the same while the geometry is valid); 0 out of range.
    int RowHeight(int row) const { return m_rowSizes.Get(row); }
    int ColumnWidth(int col) const { return m_columnSizes.Get(col); }
    // Pixels of the rows (columns) before index, fixed ones included; index 0 .. count.
    std::int64_t RowOffset(int row) const { return m_rowSizes.Offset(row); }
    std::int64_t ColumnOffset(int col) const { return m_columnSizes.Offset(col); }

    // The one walk over cell rectangles that screen and paper share: calls
    // visit(row, col, rect) for each cell of rows cells.minRow..maxRow and columns
    // cells.minCol..maxCol whose inclusive rectangle meets clip, row by row. The rows are
    // laid edge to edge from origin.y down, the columns from origin.x right, at the sizes
    // of this geometry, so neighbouring cells share no pixel; the walk stops at the
    // clip's far edges.
    template <class Visit>
    void ForEachCellRect(const CellRange& cells, GridPoint origin, const GridRect& clip,
                         Visit&& visit) const
    {
        int bottom = origin.y - 1;
        for (int row = cells.minRow; row <= cells.maxRow; ++row) {
            const int top = bottom + 1;
            bottom = top + RowHeight(row) - 1;
            if (top > clip.bottom)
                break;
            if (bottom < clip.top)
                continue;
            int right = origin.x - 1;
            for (int col = cells.minCol; col <= cells.maxCol; ++col) {
                const int left = right + 1;
                right = left + ColumnWidth(col) - 1;
                if (left > clip.right)
                    break;
                if (right < clip.left)
                    continue;
                visit(row, col, GridRect{left, top, right, bottom});
            }
        }
    }

private:
    // The sizes along one axis: the store's rows, with their running sums, or a copy of
    // the columns' widths with prefix sums (a worksheet has few columns).
    class AxisSizes {
    public:
        AxisSizes() = default;
        explicit AxisSizes(const CellStore* rows) : m_rows(rows), m_count(rows->GetRowCount()) {}
        explicit AxisSizes(const CellStore& columns);
        int Count() const { return m_count; }
        int Get(int i) const;
        std::int64_t Offset(int i) const; // i clamped to 0 .. Count()

    private:
        const CellStore* m_rows = nullptr;
        int m_count = 0;
        std::vector<int> m_sizes;
        std::vector<std::int64_t> m_offsets; // Count() + 1 sums
    };
    // One axis (rows or columns) of the layout.
    struct Axis {
        int count = 0;
        int fixedCount = 0;
        int fixedExtent = 0;        // pixels of the fixed band
        int topLeft = 0;            // first non-fixed index in view
        int lastVisible = 0;        // last index at least partly in view
        int lastUnobstructed = 0;   // last index wholly in view (see above)
        int drawnEnd = 0;           // first pixel past the drawn cells, clipped
        std::vector<int> starts;    // start pixel of fixed indices, then topLeft..lastVisible
    };
    static void BuildAxis(Axis& axis, const AxisSizes& sizes, int scrollPos, int clientExtent);
    static int AxisOrigin(const Axis& axis, const AxisSizes& sizes, int index, bool& ok);
    static int AxisFromPoint(const Axis& axis, const AxisSizes& sizes, int p, bool allowFixed);
    // The column (row) under the point and the point's offset from its start; index -1
    // when the point is off the columns (rows).
    struct AxisHit {
        int index = -1;
        int offset = 0;
    };
    AxisHit HitAlong(bool columns, GridPoint point) const;
    bool IsOnDivider(bool columns, GridPoint point, int range) const;
    int IndexToSize(bool columns, GridPoint point, int range) const;

    const CellStore& m_store;
    GridViewport m_viewport;
    std::uint64_t m_generation = 0;
    AxisSizes m_rowSizes;
    AxisSizes m_columnSizes;
    Axis m_rows;
    Axis m_cols;
    CellId m_topLeft;
    int m_fixedHeight = 0;
    int m_fixedWidth = 0;
};

} // namespace orvalis
