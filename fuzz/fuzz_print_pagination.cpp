// libFuzzer target: the print pagination of a grid, from its column widths and row
// heights to the page layout and the first row of every page.
//
// The input: one byte of fixed rows (0-3) and one of fixed columns (0-3), four 32-bit
// numbers (little-endian) for the print font's character width and height and the
// paper's width and height in device pixels, then 32-bit numbers for the widths of the
// columns (up to eight) and the heights of the rows (the rest, up to 2,000). A store
// keeps what it accepts (no negative size), as it does from the window.
//
// The layout must come out without an overflow (the sanitizers see one), empty for a
// paper or font without size and with its body no taller than its page otherwise; the
// pages must cover every non-fixed row in order, each holding as many rows as fit in the
// body, and no more unless it holds a single row.
#include "grid/core/CellStore.h"
#include "grid/core/GridPagination.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace orvalis;

// A check that fails stops the fuzzer; the corpus replay in the test suite, which
// compiles this file too, makes it a test failure instead.
#ifndef ORVALIS_FUZZ_CHECK_FAILED
#define ORVALIS_FUZZ_CHECK_FAILED() __builtin_trap()
#endif

void Check(bool holds)
{
    if (!holds)
        ORVALIS_FUZZ_CHECK_FAILED();
}

std::int32_t Number(const std::uint8_t* at)
{
    const std::uint32_t bits = std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
                               std::uint32_t{at[3]} << 24;
    return static_cast<std::int32_t>(bits);
}

void CheckPages(const std::vector<int>& heights, int fixedRows, int body, const std::vector<int>& starts)
{
    const int rows = static_cast<int>(heights.size());
    if (fixedRows >= rows) {
        Check(starts.empty());
        return;
    }
    Check(!starts.empty() && starts.front() == fixedRows);
    for (std::size_t page = 0; page < starts.size(); ++page) {
        const int begin = starts[page];
        const int end = page + 1 < starts.size() ? starts[page + 1] : rows;
        Check(begin < end);
        long long used = 0;
        for (int row = begin; row < end; ++row)
            used += heights[static_cast<std::size_t>(row)];
        long long nonEmpty = 0;
        for (int row = begin; row < end; ++row)
            nonEmpty += heights[static_cast<std::size_t>(row)] > 0 ? 1 : 0;
        // Rows of no height go with the next row, even a row taller than the body.
        Check(nonEmpty <= 1 || used <= body);
        // The page took every row that fits: the next would pass the body's bottom.
        if (end < rows)
            Check(used > 0 && used + heights[static_cast<std::size_t>(end)] > body);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 18)
        return 0;
    const int fixedRows = data[0] % 4;
    const int fixedColumns = data[1] % 4;
    const int charWidth = Number(data + 2);
    const int charHeight = Number(data + 6);
    const int paperWidth = Number(data + 10);
    const int paperHeight = Number(data + 14);
    const std::size_t numbers = (size - 18) / 4;
    const int columns = static_cast<int>(numbers < 8 ? numbers : 8);
    const int rows = static_cast<int>(numbers - static_cast<std::size_t>(columns) < 2000
                                          ? numbers - static_cast<std::size_t>(columns)
                                          : 2000);

    CellStore store(rows, columns, fixedRows < rows ? fixedRows : rows, fixedColumns < columns ? fixedColumns : columns);
    for (int c = 0; c < columns; ++c)
        store.SetColumnWidth(c, Number(data + 18 + 4 * c));
    for (int r = 0; r < rows; ++r)
        store.SetRowHeight(r, Number(data + 18 + 4 * (columns + r)));

    const PrintPageLayout layout = ComputePrintPageLayout(store.GetVirtualWidth(), store.GetFixedRowHeight(),
                                                          charWidth, charHeight, paperWidth, paperHeight);
    if (paperWidth <= 0 || paperHeight <= 0 || charWidth <= 0 || charHeight <= 0) {
        Check(layout.pageWidth == 0 && layout.pageHeight == 0 && layout.bodyHeight == 0);
        return 0;
    }
    Check(layout.pageWidth > 0 && layout.pageHeight >= 0 && layout.bodyHeight <= layout.pageHeight);

    const std::vector<int> heights = RowHeights(store);
    const std::vector<int> starts = PageStartRows(heights, store.GetFixedRowCount(), layout.bodyHeight);
    CheckPages(heights, store.GetFixedRowCount(), layout.bodyHeight, starts);
    return 0;
}
