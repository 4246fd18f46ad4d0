#pragma once

#include "grid/core/CellStore.h"

namespace orvalis {

// Key codes the grid and its editors exchange (an editor reports the key that ended it).
enum GridKeyCode : unsigned {
    KeyMouse = 1,  // as a first key: editing was started with the mouse
    KeyBackspace = 8,
    KeyTab = 9,
    KeyEnter = 13,
    KeyEscape = 27,
    KeySpace = 32,
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyDelete = 46,
};

// Keys that move the focus cell.
enum class GridKey { Tab, Down, Up, Right, Left, PageDown, PageUp, Home, End, Other };

// Where a key sends the focus. defaultHandling: the grid does not use the key (the
// window's default handling gets it) and the focus stays. changeLine: Tab or Shift+Tab
// wrapped to another row.
struct Navigation {
    CellId next;
    bool changeLine = false;
    bool defaultHandling = false;
};

// The cell a key moves the focus to from `focus`. Page keys take rowsScrolled, the rows
// the view moved when the grid scrolled a page for the key (0 when it could not scroll).
// Home and End move to the first or last row and keep the column; the grid scrolls to
// the top or bottom itself.
// The navigation key of a key code; Other for any other code.
GridKey GridKeyFromCode(unsigned code);

Navigation NextCellForKey(const CellStore& store, CellId focus, GridKey key, bool shift,
                          int rowsScrolled = 0);

} // namespace orvalis
