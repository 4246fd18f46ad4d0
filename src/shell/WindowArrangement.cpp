#include "shell/WindowArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace orvalis {

void CascadeWindows(QMdiArea& area)
{
    // Qt places the staircase but sizes each window to its size hint, which for a
    // worksheet is a sliver of its first cells.
    area.cascadeSubWindows();
    QList<QMdiSubWindow*> cascaded;
    QPoint last(0, 0);
    for (QMdiSubWindow* window : area.subWindowList()) {
        if (window->isMinimized() || !window->isVisible())
            continue;
        cascaded.append(window);
        last.setX(std::max(last.x(), window->x()));
        last.setY(std::max(last.y(), window->y()));
    }
    const QSize room = area.viewport()->size();
    for (QMdiSubWindow* window : cascaded) {
        const QSize size(std::max(room.width() - last.x(), window->minimumSizeHint().width()),
                         std::max(room.height() - last.y(), window->minimumSizeHint().height()));
        window->resize(size);
    }
}

void ArrangeIcons(QMdiArea& area)
{
    const int width = area.viewport()->width();
    int x = 0;
    int bottom = area.viewport()->height();
    int rowHeight = 0;
    for (QMdiSubWindow* window : area.subWindowList()) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > width) {
            x = 0;
            bottom -= rowHeight;
            rowHeight = 0;
        }
        window->move(x, bottom - size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

} // namespace orvalis
