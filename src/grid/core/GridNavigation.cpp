#include "grid/core/GridNavigation.h"

#include <algorithm>

namespace orvalis {

Navigation NextCellForKey(const CellStore& store, CellId focus, GridKey key, bool shift,
                          int rowsScrolled)
{
    Navigation nav;
    nav.next = focus;
    CellId& next = nav.next;
    const int rows = store.GetRowCount();
    const int cols = store.GetColumnCount();
    const int fixedRows = store.GetFixedRowCount();
    const int fixedCols = store.GetFixedColumnCount();
    switch (key) {
    case GridKey::Tab:
        if (shift) {
            if (next.col > fixedCols) {
                --next.col;
            } else if (next.col == fixedCols && next.row > fixedRows) {
                --next.row;
                next.col = cols - 1;
                nav.changeLine = true;
            } else {
                nav.defaultHandling = true;
            }
        } else {
            if (next.col < cols - 1) {
                ++next.col;
            } else if (next.col == cols - 1 && next.row < rows - 1) {
                ++next.row;
                next.col = fixedCols;
                nav.changeLine = true;
            } else {
                nav.defaultHandling = true;
            }
        }
        break;
    case GridKey::Down:
        if (next.row < rows - 1)
            ++next.row;
        break;
    case GridKey::Up:
        if (next.row > fixedRows)
            --next.row;
        break;
    case GridKey::Right:
        if (next.col < cols - 1)
            ++next.col;
        break;
    case GridKey::Left:
        if (next.col > fixedCols)
            --next.col;
        break;
    case GridKey::PageDown:
        next.row = rowsScrolled != 0 ? std::min(next.row + rowsScrolled, rows - 1) : rows - 1;
        break;
    case GridKey::PageUp:
        next.row = rowsScrolled != 0 ? std::max(next.row + rowsScrolled, fixedRows) : fixedRows;
        break;
    case GridKey::Home:
        next.row = fixedRows;
        break;
    case GridKey::End:
        next.row = rows - 1;
        break;
    default:
        nav.defaultHandling = true;
        break;
    }
    return nav;
}

} // namespace orvalis
