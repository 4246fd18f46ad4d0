#include "shell/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace orvalis {

QRect FitOnScreen(const QRect& frame, const QRect& available)
{
    const QSize size = frame.size().boundedTo(available.size());
    const int x = std::clamp(frame.x(), available.left(), available.right() + 1 - size.width());
    const int y = std::clamp(frame.y(), available.top(), available.bottom() + 1 - size.height());
    return QRect(QPoint(x, y), size);
}

void FitWindowOnScreen(QWidget& window)
{
    if (window.isMaximized() || window.isFullScreen())
        return;
    const QRect frame = window.frameGeometry();
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = window.screen();
    if (!screen)
        return;
    const QRect fitted = FitOnScreen(frame, screen->availableGeometry());
    if (fitted == frame)
        return;
    // The window system's frame (title bar, borders) stays around the client area.
    const QRect inner = window.geometry();
    const QMargins decoration(inner.left() - frame.left(), inner.top() - frame.top(),
                              frame.right() - inner.right(), frame.bottom() - inner.bottom());
    window.setGeometry(fitted.marginsRemoved(decoration));
}

} // namespace orvalis
