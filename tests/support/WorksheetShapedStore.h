#pragma once

#include "grid/core/CellStore.h"
#include "grid/core/GridViewOptions.h"

#include <string>

namespace orvalis::testsupport {

// Gives a store the shape of a worksheet's grid, for the widget tests and the grid
// benchmarks that need one without a worksheet: 1001 x 69 cells, one fixed row and one
// fixed column, columnPrefix + number as each column's title and, when rowPrefix is
// given, rowPrefix + number as each row's.
inline void ShapeLikeWorksheet(CellStore& store, const std::string& columnPrefix,
                               const char* rowPrefix = nullptr)
{
    constexpr int kRows = 1001, kColumns = 69;
    store.SetRowCount(kRows);
    store.SetColumnCount(kColumns);
    store.SetFixedRowCount(1);
    store.SetFixedColumnCount(1);
    for (int c = 1; c < kColumns; ++c)
        store.SetCellText(0, c, columnPrefix + std::to_string(c));
    if (rowPrefix)
        for (int r = 1; r < kRows; ++r)
            store.SetCellText(r, 0, rowPrefix + std::to_string(r));
}

// Gives a window the worksheet window's light yellow cell background.
inline void LookLikeWorksheet(GridViewOptions& options)
{
    options.textBackColor = Rgb(255, 255, 224);
}

} // namespace orvalis::testsupport
