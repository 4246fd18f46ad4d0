#include "grid/core/GridPagination.h"

#include "grid/core/CellStore.h"

#include <cstdint>

namespace orvalis {

PrintPageLayout ComputePrintPageLayout(int virtualWidth, int fixedRowHeight, int charWidth,
                                       int charHeight, int paperWidth, int paperHeight)
{
    PrintPageLayout layout;
    if (paperWidth <= 0 || paperHeight <= 0 || charWidth <= 0 || charHeight <= 0)
        return layout;
    layout.charWidth = charWidth;
    layout.charHeight = charHeight;
    layout.pageWidth = virtualWidth + 8 * charWidth;
    // Multiply, then divide rounding half away from zero, in 64 bits so that a wide
    // sheet on a high-resolution printer cannot overflow.
    const std::int64_t num = static_cast<std::int64_t>(layout.pageWidth) * paperHeight;
    layout.pageHeight = static_cast<int>((2 * num + paperWidth) / (2 * std::int64_t{paperWidth}));
    layout.bodyHeight = layout.pageHeight - 6 * charHeight - fixedRowHeight;
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
