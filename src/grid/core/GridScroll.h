#pragma once

#include "grid/core/GridGeometry.h"

namespace orvalis {

// Scroll-bar set-up for the current client size: page sizes and range maxima. apply is
// false when the scroll bars must be left as they are (no non-fixed area in view, or no
// non-fixed cells at all).
struct ScrollBarSetup {
    bool apply = false;
    int hPage = 0;
    int vPage = 0;
    int hMax = 0;  // 0 removes the horizontal scroll bar
    int vMax = 0;
};
ScrollBarSetup ComputeScrollBars(const CellStore& store, const GridGeometry& geometry);

// The largest position a scroll bar with this maximum and page can take: the thumb
// stops when the page reaches the end of the range.
int ReachableScrollPos(int scrollMax, int page);

enum class ScrollAction { LineForward, LineBack, PageForward, PageBack, Track, ToStart, ToEnd };

// The position a scroll action moves to along one axis (vertical: rows), before the
// scroll bar clamps it to 0 .. reachable. trackPos is used by Track only. Returns pos
// itself when the action does nothing.
int ScrollTarget(const GridGeometry& geometry, bool vertical, int pos, int scrollMax,
                 ScrollAction action, int trackPos = 0);

// The scroll position along one axis (vertical: rows) that brings the cell at index
// wholly into view with the least movement: unchanged when it is already whole in view or
// fixed, the cell at the top (left) when it lies before the view, else the first cell
// from which the view reaches the cell's far edge. A cell larger than the view is shown
// from its start. The scroll bar's clamp to its reachable range keeps the cell in view.
int ScrollPosToShow(const GridGeometry& geometry, bool vertical, int index);

// How the window content follows a scroll from one geometry to the next along an axis.
struct ScrollRepaint {
    enum Kind { None, Shift, Scrolled } kind = None;
    // For Shift: pixels the non-fixed content moves, positive towards the top (left).
    int shift = 0;
};
// A move of the top-left cell by exactly one row (column) shifts the pixels already on
// screen by that row's size; any other change repaints the scrolled area.
ScrollRepaint RepaintAfterScroll(const GridGeometry& before, const GridGeometry& after,
                                 bool vertical);

} // namespace orvalis
