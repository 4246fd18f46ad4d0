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

void FollowPlatformColours(GridViewOptions& options, const PlatformColours& was, const PlatformColours& now)
{
    Follow(options.textColor, was.windowText, now.windowText);
    Follow(options.textBackColor, was.window, now.window);
    Follow(options.backColor, was.shadow, now.shadow);
    Follow(options.fixedTextColor, was.windowText, now.windowText);
    Follow(options.fixedBackColor, was.face, now.face);
}

} // namespace orvalis
