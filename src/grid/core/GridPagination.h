#pragma once

#include <vector>

namespace orvalis {

class CellStore;

// The geometry of a printed page in grid units (one grid unit is one screen pixel of the
// sheet). The whole width of the sheet plus a margin of four character widths each side
// is mapped onto the paper's printable width, and the page's height follows the paper's
// aspect ratio, so one scale serves both directions.
struct PrintPageLayout {
    int charWidth = 0;     // average character width of the print font
    int charHeight = 0;    // character height of the print font
    int pageWidth = 0;     // logical page width: sheet width + 8 character widths
    int pageHeight = 0;    // logical page height
    int bodyHeight = 0;    // room for the non-fixed rows: page - header, gap, footer, fixed rows
};

// The layout for a sheet virtualWidth wide whose fixed rows take fixedRowHeight, printed
// with a font of the given character size on paper of paperWidth x paperHeight device
// pixels. The page height is rounded to the nearest unit. A paper or font without size
// gives a layout of zeros.
PrintPageLayout ComputePrintPageLayout(int virtualWidth, int fixedRowHeight, int charWidth,
                                       int charHeight, int paperWidth, int paperHeight);

// The first row of each printed page: rows fixedRowCount..rowCount-1 are laid out top to
// bottom, and a row whose bottom would pass bodyHeight begins the next page, so no row is
// ever split. A row taller than the body gets a page of its own (and is printed cut off at
// the body's bottom). Empty when the sheet has no non-fixed row.
std::vector<int> PageStartRows(const std::vector<int>& rowHeights, int fixedRowCount,
                               int bodyHeight);

// The row heights of a store, for PageStartRows.
std::vector<int> RowHeights(const CellStore& store);

} // namespace orvalis
