#pragma once

#include "grid/core/GridNavigation.h"

#include <QKeyEvent>

namespace orvalis {

// The grid key of a Qt key (Backtab counts as Tab); Other for keys the grid does not
// tell apart.
inline GridKey GridKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return GridKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return GridKey::Enter;
    case Qt::Key_Escape: return GridKey::Escape;
    case Qt::Key_Backspace: return GridKey::Backspace;
    case Qt::Key_PageUp: return GridKey::PageUp;
    case Qt::Key_PageDown: return GridKey::PageDown;
    case Qt::Key_End: return GridKey::End;
    case Qt::Key_Home: return GridKey::Home;
    case Qt::Key_Left: return GridKey::Left;
    case Qt::Key_Up: return GridKey::Up;
    case Qt::Key_Right: return GridKey::Right;
    case Qt::Key_Down: return GridKey::Down;
    case Qt::Key_Delete: return GridKey::Delete;
    default: return GridKey::Other;
    }
}

} // namespace orvalis
