#pragma once

#include "grid/QtTextMeasurer.h"
#include "grid/core/CellStore.h"

namespace orvalis {

// Gives a store that no window shows what a grid window over it gives it: the
// application's font, and the screen's text measurer for as long as this object lives, so that rows
// and columns sized now measure as they do in the window. For drawing a worksheet's
// pages without a window. A store that already has a measurer keeps it. The store must
// outlive this object.
class ScreenMeasures {
public:
    explicit ScreenMeasures(CellStore& store);
    ~ScreenMeasures();
    ScreenMeasures(const ScreenMeasures&) = delete;
    ScreenMeasures& operator=(const ScreenMeasures&) = delete;

private:
    CellStore& m_store;
    QtTextMeasurer m_measurer;
};

} // namespace orvalis
