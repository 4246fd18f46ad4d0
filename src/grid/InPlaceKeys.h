#pragma once

#include "grid/core/GridNavigation.h"

#include <QKeyEvent>

namespace orvalis {

// The grid key code of a Qt key (Backtab counts as Tab), 0 for keys without one.
inline unsigned GridKeyCodeOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return KeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyEnter;
    case Qt::Key_Escape: return KeyEscape;
    case Qt::Key_Backspace: return KeyBackspace;
    case Qt::Key_PageUp: return KeyPageUp;
    case Qt::Key_PageDown: return KeyPageDown;
    case Qt::Key_End: return KeyEnd;
    case Qt::Key_Home: return KeyHome;
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_Down: return KeyDown;
    case Qt::Key_Delete: return KeyDelete;
    default: return 0;
    }
}

// Page keys and arrows: the keys that may end an edit and move on to the next cell.
inline bool IsArrowOrPageKey(unsigned code)
{
    return code == KeyPageUp || code == KeyPageDown || (code >= KeyLeft && code <= KeyDown);
}

} // namespace orvalis
