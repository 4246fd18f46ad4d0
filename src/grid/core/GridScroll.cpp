#include "grid/core/GridScroll.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orvalis {

ScrollBarSetup ComputeScrollBars(const CellStore& store, const GridGeometry& geometry)
{
    ScrollBarSetup setup;
    const GridViewport& vp = geometry.Viewport();
    const int fixedWidth = geometry.FixedColumnWidth();
    const int fixedHeight = geometry.FixedRowHeight();
    if (fixedWidth >= vp.width || fixedHeight >= vp.height)
        return setup;
    const CellRange range = geometry.UnobstructedNonFixedCellRange();
    if (range.minRow < 0 || range.minCol < 0 || range.maxRow < range.minRow ||
        range.maxCol < range.minCol || range.maxRow >= store.GetRowCount() ||
        range.maxCol >= store.GetColumnCount())
        return setup;
    setup.apply = true;
    setup.hPage = vp.width - fixedWidth;
    setup.vPage = vp.height - fixedHeight;
    const int scrollHeight = store.GetVirtualHeight() - fixedHeight;
    const int scrollWidth = store.GetVirtualWidth() - fixedWidth;
    setup.vMax = setup.vPage < scrollHeight ? scrollHeight - 1 : 0;
    setup.hMax = setup.hPage < scrollWidth ? scrollWidth - 1 : 0;
    return setup;
}

int ReachableScrollPos(int scrollMax, int page)
{
    if (scrollMax <= 0)
        return 0;
    return std::max(0, scrollMax - std::max(page, 1) + 1);
}

int ScrollTarget(const GridGeometry& geometry, bool vertical, int pos, int scrollMax,
                 ScrollAction action, int trackPos)
{
    const CellId topLeft = geometry.TopLeftNonFixedCell();
    const GridViewport& vp = geometry.Viewport();
    const int page = vertical ? vp.height - geometry.FixedRowHeight()
                              : vp.width - geometry.FixedColumnWidth();
    const int first = vertical ? topLeft.row : topLeft.col;
    const int fixedCount = vertical ? geometry.FixedRowCount() : geometry.FixedColumnCount();
    const auto size = [&](int index) {
        return vertical ? geometry.RowHeight(index) : geometry.ColumnWidth(index);
    };
    switch (action) {
    case ScrollAction::LineForward:
        return pos < scrollMax ? pos + size(first) : pos;
    case ScrollAction::LineBack:
        return pos > 0 && first > fixedCount ? std::max(0, pos - size(first - 1)) : pos;
    case ScrollAction::PageForward:
        return pos < scrollMax ? std::min(scrollMax, pos + page) : pos;
    case ScrollAction::PageBack:
        return pos > 0 ? std::max(0, pos - page) : pos;
    case ScrollAction::Track:
        return trackPos;
    case ScrollAction::ToStart:
        return 0;
    case ScrollAction::ToEnd:
        return pos < scrollMax ? scrollMax : pos;
    }
    return pos;
}

int ScrollPosToShow(const GridGeometry& geometry, bool vertical, int index)
{
    const GridViewport& vp = geometry.Viewport();
    const int pos = vertical ? vp.vPos : vp.hPos;
    const int fixedCount = vertical ? geometry.FixedRowCount() : geometry.FixedColumnCount();
    const int count = vertical ? geometry.RowCount() : geometry.ColumnCount();
    if (index < fixedCount || index >= count)
        return pos;
    const auto size = [&](int i) {
        return vertical ? geometry.RowHeight(i) : geometry.ColumnWidth(i);
    };
    // Offsets into the scrolled area, from the running sums: the cost is the same for a
    // cell a million rows away as for the next one.
    const auto startOf = [&](int i) -> std::int64_t {
        return vertical ? geometry.RowOffset(i) - geometry.RowOffset(fixedCount)
                        : geometry.ColumnOffset(i) - geometry.ColumnOffset(fixedCount);
    };
    const auto asPos = [](std::int64_t p) {
        return static_cast<int>(std::clamp<std::int64_t>(p, 0, std::numeric_limits<int>::max()));
    };
    const int page = vertical ? vp.height - geometry.FixedRowHeight()
                              : vp.width - geometry.FixedColumnWidth();
    const int first = vertical ? geometry.TopLeftNonFixedCell().row
                               : geometry.TopLeftNonFixedCell().col;
    // The view's first cell and the wanted cell.
    const std::int64_t firstStart = startOf(std::max(first, fixedCount));
    const std::int64_t start = startOf(index);
    if (index < first)
        return asPos(start);
    const std::int64_t end = start + size(index);
    if (end - firstStart <= page)
        return pos;
    // Drop cells off the near edge until the far edge of the cell fits: the first cell
    // from which it does (the wanted cell itself at the latest).
    int lo = first;
    int hi = index;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (end - startOf(mid) <= page)
            hi = mid;
        else
            lo = mid + 1;
    }
    return asPos(startOf(lo));
}

ScrollRepaint RepaintAfterScroll(const GridGeometry& before, const GridGeometry& after,
                                 bool vertical)
{
    const int from = vertical ? before.TopLeftNonFixedCell().row : before.TopLeftNonFixedCell().col;
    const int to = vertical ? after.TopLeftNonFixedCell().row : after.TopLeftNonFixedCell().col;
    const auto size = [&](int index) {
        return vertical ? before.RowHeight(index) : before.ColumnWidth(index);
    };
    ScrollRepaint repaint;
    if (from == to)
        return repaint;
    if (to == from + 1)
        repaint = ScrollRepaint{ScrollRepaint::Shift, size(from)};
    else if (to == from - 1)
        repaint = ScrollRepaint{ScrollRepaint::Shift, -size(to)};
    else
        repaint.kind = ScrollRepaint::Scrolled;
    return repaint;
}

} // namespace orvalis
