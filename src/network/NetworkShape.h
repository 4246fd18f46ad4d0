#pragma once

#include <array>
#include <cstdint>
#include <string>

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

class UserMessages;

// The texts of the "Configure Orvalis" dialog. The shape comes from Layers and
// Elements/Layer; Input Nodes and Output Nodes only check them.
struct NetworkShapeFields {
    std::string inputNodes;       // "Input Nodes:"
    std::string outputNodes;      // "Output Nodes:"
    std::string layers;           // "Layers:"
    std::string elementsPerLayer; // "Elements/Layer:" unit counts separated by single spaces
    bool autoConfigure = true;    // "Auto Orvalis Configure"
};

// The fields on opening. A shape of fewer than 3 layers is never displayed: its
// Elements/Layer reads "Not Defined" and both node counts "0".
NetworkShapeFields OpenNetworkShapeFields(const NetworkShape& shape, int autoNetworkConfigure);

// OK pressed: reads the fields in order and stores each value as soon as it passes, so
// what passed before a failure stays in force. Returns true when the dialog closes; on
// a failed check shows its message and returns false (the dialog stays open).
bool AcceptNetworkShapeFields(const NetworkShapeFields& fields, NetworkShape& shape,
                              int& autoNetworkConfigure, UserMessages& messages);

} // namespace orvalis
