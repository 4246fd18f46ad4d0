#include "grid/PlatformColours.h"

#include "grid/FontMapping.h"

#include <QPalette>

namespace orvalis {

namespace {

void Follow(GridColour& colour, GridColour was, GridColour now)
{
    if (colour == was)
        colour = now;
}

} // namespace

PlatformColours ReadPlatformColours(const QPalette& palette)
{
    return PlatformColours{GridFromColor(palette.color(QPalette::Active, QPalette::WindowText)),
                           GridFromColor(palette.color(QPalette::Active, QPalette::Base)),
                           GridFromColor(palette.color(QPalette::Active, QPalette::Dark)),
                           GridFromColor(palette.color(QPalette::Active, QPalette::Button))};
}

void FollowPlatformColours(CellStore& store, const PlatformColours& was, const PlatformColours& now)
{
    Follow(store.textColor, was.windowText, now.windowText);
    Follow(store.textBackColor, was.window, now.window);
    Follow(store.backColor, was.shadow, now.shadow);
    Follow(store.fixedTextColor, was.windowText, now.windowText);
    Follow(store.fixedBackColor, was.face, now.face);
}

} // namespace orvalis
