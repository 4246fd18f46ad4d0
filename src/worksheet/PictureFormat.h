#pragma once

#include <string>

namespace orvalis {

// The picture formats a chart is written in.
enum class PictureFormat {
    Png,
    Svg,
    Jpeg,
    Unknown, // a name with an extension that is none of the above
};

// The format a file name asks for by its extension, in any case: ".png", ".svg", ".jpg"
// or ".jpeg". A name without an extension (a device such as /dev/stdout, say) is a PNG.
PictureFormat PictureFormatOf(const std::string& path);

} // namespace orvalis
