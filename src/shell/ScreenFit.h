#pragma once

#include <QRect>

class QWidget;

namespace orvalis {

// The place for a window whose outer frame is frame on a screen whose free area is
// available: no larger than that area, and moved inside it with its top left first, so
// that the title bar and the status bar both show. A frame that fits stays where it is.
QRect FitOnScreen(const QRect& frame, const QRect& available);

// Fits a top-level window, frame included, on the screen it opens on. A maximised or
// full-screen window is left to the window system.
void FitWindowOnScreen(QWidget& window);

} // namespace orvalis
