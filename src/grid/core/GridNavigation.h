#pragma once

#include "grid/core/CellStore.h"

namespace orvalis {

// The keys the grid and its editors tell apart: the keys that move the focus cell and
// those that end or start an edit. The window maps its platform's keys onto these; a
// typed character is never one of them.
enum class GridKey {
    Other,
    Tab,
    Enter,
    Escape,
    Backspace,
    Delete,
    Down,
    Up,
    Right,
    Left,
    PageDown,
    PageUp,
    Home,
    End,
};

// Arrows and page keys: the keys that may end an edit and move on to the next cell.
constexpr bool IsArrowOrPageKey(GridKey key)
{
    return key == GridKey::Down || key == GridKey::Up || key == GridKey::Right ||
           key == GridKey::Left || key == GridKey::PageDown || key == GridKey::PageUp;
}

// How an in-place edit begins, which decides where the caret goes and what is typed.
struct EditStart {
    enum class By {
        Mouse,  // a click, a double click or F2
        Key,    // a key, or the key that ended the edit of the cell before
        Typing, // a character typed onto the cell
    };
    By by = By::Mouse;
    GridKey key = GridKey::Other; // By::Key: which key
    char16_t character = 0;       // By::Typing: which character
    static EditStart Mouse() { return {}; }
    static EditStart Key(GridKey k) { return {By::Key, k, 0}; }
    static EditStart Typed(char16_t c) { return {By::Typing, GridKey::Other, c}; }
};

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
// the top or bottom itself. Keys that move nothing are not the grid's (defaultHandling).
Navigation NextCellForKey(const CellStore& store, CellId focus, GridKey key, bool shift,
                          int rowsScrolled = 0);

} // namespace orvalis
