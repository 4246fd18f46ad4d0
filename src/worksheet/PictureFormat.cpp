#include "worksheet/PictureFormat.h"

#include <algorithm>
#include <cctype>

namespace orvalis {

PictureFormat PictureFormatOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    // ".profile" is a name, not an extension.
    if (dot == std::string::npos || dot == 0)
        return PictureFormat::Png;
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (extension == "png")
        return PictureFormat::Png;
    if (extension == "svg")
        return PictureFormat::Svg;
    if (extension == "jpg" || extension == "jpeg")
        return PictureFormat::Jpeg;
    return PictureFormat::Unknown;
}

} // namespace orvalis
