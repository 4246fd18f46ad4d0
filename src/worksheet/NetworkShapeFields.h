#pragma once

#include "network/NetworkShape.h"

#include <string>

namespace orvalis {

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
