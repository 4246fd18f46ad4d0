#include "grid/core/GridPagination.h"

#include "grid/core/CellStore.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace orvalis {

namespace {

int Saturated(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

} // namespace

PrintPageLayout ComputePrintPageLayout(int virtualWidth, int fixedRowHeight, int charWidth,
                                       int charHeight, int paperWidth, int paperHeight)
{
    PrintPageLayout layout;
    if (paperWidth <= 0 || paperHeight <= 0 || charWidth <= 0 || charHeight <= 0)
        return layout;
    layout.charWidth = charWidth;
    layout.charHeight = charHeight;
    // Every sum and product in 64 bits, each result held at the ends of int: a sheet
    // of huge columns, a huge print font or a high-resolution printer cannot overflow.
    layout.pageWidth = Saturated(std::int64_t{virtualWidth} + 8 * std::int64_t{charWidth});
    // Multiply, then divide rounding half away from zero.
    const std::int64_t num = static_cast<std::int64_t>(layout.pageWidth) * paperHeight;
    layout.pageHeight = Saturated((2 * num + paperWidth) / (2 * std::int64_t{paperWidth}));
    layout.bodyHeight =
        Saturated(std::int64_t{layout.pageHeight} - 6 * std::int64_t{charHeight} - fixedRowHeight);
    return layout;
}

std::vector<int> PageStartRows(const std::vector<int>& rowHeights, int fixedRowCount,
                               int bodyHeight)
{
    std::vector<int> starts;
    const int rowCount = static_cast<int>(rowHeights.size());
    long long used = 0;  // height of the rows already on the current page
    for (int row = fixedRowCount < 0 ? 0 : fixedRowCount; row < rowCount; ++row) {
        const int height = rowHeights[row];
        // A page that holds no row yet takes the next one whatever its height, so a tall
        // row never leaves an empty page in front of it.
        if (starts.empty() || (used > 0 && used + height > bodyHeight)) {
            starts.push_back(row);
            used = 0;
        }
        used += height;
    }
    return starts;
}

std::vector<int> RowHeights(const CellStore& store)
{
    std::vector<int> heights(static_cast<std::size_t>(store.GetRowCount()));
    for (int row = 0; row < store.GetRowCount(); ++row)
        heights[static_cast<std::size_t>(row)] = store.GetRowHeight(row);
    return heights;
}

} // namespace orvalis
