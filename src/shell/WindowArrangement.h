#pragma once

class QMdiArea;

namespace orvalis {

// Window > Cascade: the worksheet windows overlap in a staircase from the top left,
// each as large as the staircase lets the last one be, so every window shows its
// sheet rather than its title alone. Minimised windows stay minimised.
void CascadeWindows(QMdiArea& area);

// Window > Arrange Icons: the minimised worksheet windows side by side along the
// bottom of the area, in rows from the bottom up when one row is not wide enough.
void ArrangeIcons(QMdiArea& area);

} // namespace orvalis
