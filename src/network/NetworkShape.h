#pragma once

#include <array>
#include <cstdint>

namespace orvalis {

// How many layers the network has and how many units each: layer 0 takes the input
// vector, the last layer gives the outputs. A new record has no shape (layerCount 0).
struct NetworkShape {
    static constexpr int MaxEntries = 100; // size of unitsPerLayer
    static constexpr int MaxLayers = 8;    // layers the configuration accepts
    static constexpr int MaxUnits = 200;   // units per layer the configuration accepts
    static constexpr int MaxOutputs = 16;  // output units the configuration accepts

    int layerCount = 0;                          // layers including input and output
    std::array<int, MaxEntries> unitsPerLayer{}; // first layerCount entries meaningful

    int Inputs() const { return layerCount > 0 ? unitsPerLayer[0] : 0; }
    int Outputs() const { return layerCount > 0 ? unitsPerLayer[layerCount - 1] : 0; }

    // Weights a network of this shape holds: sum over l >= 1 of
    // unitsPerLayer[l] x (unitsPerLayer[l-1] + 1).
    std::int64_t WeightCount() const;

    bool operator==(const NetworkShape&) const = default;
};

} // namespace orvalis
