#pragma once

#include "network/NetworkShape.h"

#include <initializer_list>

namespace orvalis::testsupport {

// A network shape from its unit counts, inputs first.
inline NetworkShape ShapeOf(std::initializer_list<int> units)
{
    NetworkShape shape;
    for (int u : units)
        shape.unitsPerLayer[static_cast<std::size_t>(shape.layerCount++)] = u;
    return shape;
}

} // namespace orvalis::testsupport
