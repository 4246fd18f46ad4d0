#include "grid/core/GridGeometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orvalis {

GridGeometry::AxisSizes::AxisSizes(const CellStore& columns) : m_count(columns.GetColumnCount())
{
    m_sizes.resize(static_cast<std::size_t>(m_count));
    m_offsets.assign(static_cast<std::size_t>(m_count) + 1, 0);
    for (int c = 0; c < m_count; ++c) {
        m_sizes[static_cast<std::size_t>(c)] = columns.GetColumnWidth(c);
        m_offsets[static_cast<std::size_t>(c) + 1] =
            m_offsets[static_cast<std::size_t>(c)] + m_sizes[static_cast<std::size_t>(c)];
    }
}

int GridGeometry::AxisSizes::Get(int i) const
{
    if (i < 0 || i >= m_count)
        return 0;
    if (m_rows)
        return i < m_rows->GetRowCount() ? m_rows->GetRowHeight(i) : 0;
    return m_sizes[static_cast<std::size_t>(i)];
}

std::int64_t GridGeometry::AxisSizes::Offset(int i) const
{
    i = std::clamp(i, 0, m_count);
    if (m_rows)
        return m_rows->GetRowOffset(std::min(i, m_rows->GetRowCount()));
    return m_offsets[static_cast<std::size_t>(i)];
}

GridGeometry::GridGeometry(const CellStore& store, const GridViewport& viewport)
    : m_store(store), m_viewport(viewport), m_generation(store.LayoutGeneration()),
      m_rowSizes(&store), m_columnSizes(store)
{
    m_rows.fixedCount = store.GetFixedRowCount();
    m_cols.fixedCount = store.GetFixedColumnCount();
    BuildAxis(m_rows, m_rowSizes, viewport.vPos, viewport.height);
    BuildAxis(m_cols, m_columnSizes, viewport.hPos, viewport.width);
    m_topLeft = CellId{m_rows.topLeft, m_cols.topLeft};
    m_fixedHeight = m_rows.fixedExtent;
    m_fixedWidth = m_cols.fixedExtent;
}

void GridGeometry::BuildAxis(Axis& axis, const AxisSizes& sizes, int scrollPos, int clientExtent)
{
    axis.count = sizes.Count();
    axis.starts.clear();
    int sum = 0;
    for (int i = 0; i < axis.fixedCount && i < axis.count; ++i) {
        axis.starts.push_back(sum);
        sum += sizes.Get(i);
    }
    axis.fixedExtent = sum;

    // The top-left index is the first one whose start is at or past the scroll position
    // (the last one at most), so the view always begins on a whole row or column: found
    // by halving over the running sums.
    const std::int64_t base = sizes.Offset(axis.fixedCount);
    int lo = axis.fixedCount;
    int hi = std::max(axis.fixedCount, axis.count - 1);
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (sizes.Offset(mid) - base >= scrollPos)
            hi = mid;
        else
            lo = mid + 1;
    }
    axis.topLeft = lo;

    int end = axis.fixedExtent;
    int i = axis.topLeft;
    for (; i < axis.count; ++i) {
        axis.starts.push_back(end);
        end += sizes.Get(i);
        if (end >= clientExtent) {
            end = clientExtent;
            break;
        }
    }
    axis.lastVisible = std::min(i, axis.count - 1);
    axis.drawnEnd = std::min(end, clientExtent);

    int whole = axis.fixedExtent;
    int j = axis.topLeft;
    for (; j < axis.count; ++j) {
        whole += sizes.Get(j);
        if (whole >= clientExtent)
            break;
    }
    axis.lastUnobstructed = std::min(j, axis.count - 1);
    if (axis.lastUnobstructed > 0 && whole > clientExtent)
        --axis.lastUnobstructed;
}

int GridGeometry::AxisOrigin(const Axis& axis, const AxisSizes& sizes, int index, bool& ok)
{
    ok = index >= 0 && index < axis.count;
    if (!ok)
        return 0;
    if (index < axis.fixedCount)
        return axis.starts[index];
    if (index < axis.topLeft) {
        ok = false;  // scrolled out
        return 0;
    }
    if (index <= axis.lastVisible)
        return axis.starts[axis.fixedCount + (index - axis.topLeft)];
    // Past the visible end: the last cached start and the sizes in between.
    const std::int64_t pos =
        axis.starts.back() + sizes.Offset(index) - sizes.Offset(axis.lastVisible);
    return static_cast<int>(std::min<std::int64_t>(pos, std::numeric_limits<int>::max()));
}

bool GridGeometry::CellOrigin(int row, int col, GridPoint& origin) const
{
    if (!m_store.IsValidCell(row, col) || row >= m_rows.count || col >= m_cols.count)
        return false;
    bool okX = false;
    bool okY = false;
    const int x = AxisOrigin(m_cols, m_columnSizes, col, okX);
    const int y = AxisOrigin(m_rows, m_rowSizes, row, okY);
    if (!okX || !okY)
        return false;
    origin = GridPoint{x, y};
    return true;
}

bool GridGeometry::CellRect(int row, int col, GridRect& rect) const
{
    GridPoint origin;
    if (!CellOrigin(row, col, origin))
        return false;
    rect = GridRect{origin.x, origin.y, origin.x + ColumnWidth(col) - 1,
                    origin.y + RowHeight(row) - 1};
    return true;
}

int GridGeometry::AxisFromPoint(const Axis& axis, const AxisSizes& sizes, int p, bool allowFixed)
{
    if (p < 0 || (!allowFixed && p < axis.fixedExtent))
        return -1;
    if (p < axis.fixedExtent) {
        int sum = 0;
        for (int i = 0; i < axis.fixedCount; ++i) {
            sum += sizes.Get(i);
            if (sum > p)
                return i;
        }
        return axis.fixedCount;
    }
    int sum = axis.fixedExtent;
    for (int i = axis.topLeft; i < axis.count; ++i) {
        sum += sizes.Get(i);
        if (sum > p)
            return i;
    }
    return -1;
}

CellId GridGeometry::CellFromPoint(GridPoint point, bool allowFixed) const
{
    return CellId{AxisFromPoint(m_rows, m_rowSizes, point.y, allowFixed),
                  AxisFromPoint(m_cols, m_columnSizes, point.x, allowFixed)};
}

CellRange GridGeometry::VisibleNonFixedCellRange(GridRect* area) const
{
    if (area)
        *area = GridRect{0, 0, m_cols.drawnEnd, m_rows.drawnEnd};
    return CellRange{m_rows.topLeft, m_cols.topLeft, m_rows.lastVisible, m_cols.lastVisible};
}

CellRange GridGeometry::UnobstructedNonFixedCellRange() const
{
    return CellRange{m_rows.topLeft, m_cols.topLeft, m_rows.lastUnobstructed,
                     m_cols.lastUnobstructed};
}

bool GridGeometry::IsCellVisible(int row, int col) const
{
    GridPoint origin;
    return CellOrigin(row, col, origin) && origin.x < m_viewport.width &&
           origin.y < m_viewport.height;
}

GridGeometry::AxisHit GridGeometry::HitAlong(bool columns, GridPoint point) const
{
    const CellId cell = CellFromPoint(point);
    const int index = columns ? cell.col : cell.row;
    GridPoint origin;
    if (!CellOrigin(columns ? 0 : index, columns ? index : 0, origin))
        return {};
    return {index, columns ? point.x - origin.x : point.y - origin.y};
}

bool GridGeometry::IsOnDivider(bool columns, GridPoint point, int range) const
{
    // Columns are sized from their titles and rows from their labels only.
    if (columns ? point.y >= m_fixedHeight : point.x >= m_fixedWidth)
        return false;
    const AxisHit hit = HitAlong(columns, point);
    if (hit.index < 0)
        return false;
    if (hit.offset <= range && hit.index != 0)
        return true;
    const int size = columns ? ColumnWidth(hit.index) : RowHeight(hit.index);
    return size - hit.offset <= range;
}

int GridGeometry::IndexToSize(bool columns, GridPoint point, int range) const
{
    const AxisHit hit = HitAlong(columns, point);
    if (hit.index < 0)
        return -1;
    // Near its start the divider under the pointer is the previous one's end.
    return hit.offset <= range ? hit.index - 1 : hit.index;
}

} // namespace orvalis
