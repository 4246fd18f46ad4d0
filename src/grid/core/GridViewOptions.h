#pragma once

#include "grid/core/GridTypes.h"

namespace orvalis {

// How one view shows and handles a store: switches and colours that belong to the
// window, not to the cells, so two windows on one store may differ. Plain values,
// read by the view on every use; a change shows at the next repaint.
struct GridViewOptions {
    // Selecting ---------------------------------------------------------------------------
    bool selectionEnabled = true;    // false: clicks and keys move the focus only
    bool singleRowSelection = false; // a new range drops the cells kept with Ctrl
    bool listMode = false;           // rows are selected whole; a title click sorts
    bool sortOnClick = true;         // in list mode, a click on a column title sorts by it
    int sortColumn = -1;             // the column last sorted by, -1 none
    bool sortAscending = true;       // the order of that sort

    // Input -------------------------------------------------------------------------------
    bool dragAndDropEnabled = false; // the selected block may be dragged, text dropped
    bool handleTabKey = true;        // Tab moves between cells instead of leaving the grid
    bool titleTips = true;           // a cell too narrow for its text shows it on hover
    bool allowRowResize = true;      // row dividers can be dragged
    bool allowColumnResize = true;   // column dividers can be dragged

    // Painting ----------------------------------------------------------------------------
    bool doubleBuffer = true;      // paint off-screen first, then copy
    int gridLines = GridLinesBoth; // GridLinesMode
    GridColour textColor = Rgb(0, 0, 0);
    GridColour textBackColor = Rgb(255, 255, 255);
    GridColour backColor = Rgb(128, 128, 128); // the area past the last row and column
    GridColour fixedTextColor = Rgb(0, 0, 0);
    GridColour fixedBackColor = Rgb(240, 240, 240);
    GridColour gridLineColor = Rgb(192, 192, 192);
};

} // namespace orvalis
