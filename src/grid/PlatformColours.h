#pragma once

#include "grid/core/CellStore.h"
#include "grid/core/GridViewOptions.h"

class QPalette;

namespace orvalis {

// The platform's colours that a cell store's own colours are taken from.
struct PlatformColours {
    GridColour windowText = 0;
    GridColour window = 0;
    GridColour shadow = 0;
    GridColour face = 0;
};

// The colours a view starts with before it takes the platform's colours.
inline constexpr PlatformColours kViewStartColours{Rgb(0, 0, 0), Rgb(255, 255, 255),
                                                   Rgb(128, 128, 128), Rgb(240, 240, 240)};

// The platform's colours in palette: window text, base, dark and button.
PlatformColours ReadPlatformColours(const QPalette& palette);

// Every colour of the view's options that still equals its colour in was follows it to
// now; colours the program set stay.
void FollowPlatformColours(GridViewOptions& options, const PlatformColours& was, const PlatformColours& now);

} // namespace orvalis
