#include "worksheet/NetworkShapeFields.h"

#include "worksheet/FieldChecks.h"
#include "worksheet/IntegerText.h"
#include "worksheet/UserMessages.h"

#include <vector>

namespace orvalis {

namespace {

// The Elements/Layer text cut into one token per layer, each ending at the next space:
// two spaces in a row, or a leading space, give an empty token, which reads as 0 and
// fails; missing tokens are empty too.
std::vector<std::string> LayerTokens(const std::string& text, int layers)
{
    std::vector<std::string> tokens;
    std::size_t p = 0;
    for (int l = 0; l < layers; ++l) {
        std::size_t end = p < text.size() ? text.find(' ', p) : std::string::npos;
        if (end == std::string::npos)
            end = text.size();
        tokens.push_back(p < text.size() ? text.substr(p, end - p) : std::string());
        p = end + 1;
    }
    return tokens;
}

} // namespace

NetworkShapeFields OpenNetworkShapeFields(const NetworkShape& shape, int autoNetworkConfigure)
{
    NetworkShapeFields fields;
    fields.autoConfigure = autoNetworkConfigure != 0;
    fields.layers = IntegerText(shape.layerCount);
    if (shape.layerCount >= 3) {
        const int layers = shape.layerCount < NetworkShape::MaxEntries ? shape.layerCount
                                                                       : NetworkShape::MaxEntries;
        for (int l = 0; l < layers; ++l)
            fields.elementsPerLayer += IntegerText(shape.unitsPerLayer[l]) + " ";
        fields.inputNodes = IntegerText(shape.unitsPerLayer[0]);
        fields.outputNodes = IntegerText(shape.unitsPerLayer[layers - 1]);
    } else {
        // Built as new strings: GCC 12 at -O3 misreads assignments from literals here
        // as overlapping copies (-Wrestrict).
        fields.elementsPerLayer = std::string("Not Defined");
        fields.inputNodes = std::string("0");
        fields.outputNodes = std::string("0");
    }
    return fields;
}

bool AcceptNetworkShapeFields(const NetworkShapeFields& fields, NetworkShape& shape,
                              int& autoNetworkConfigure, UserMessages& messages)
{
    autoNetworkConfigure = fields.autoConfigure ? 1 : 0;
    if (autoNetworkConfigure == 1)
        return true; // the shape is set from the worksheet at the next Train

    using Read = FieldCheck::Read;
    if (!RunFieldChecks({{fields.layers, Read::Integer, 1, NetworkShape::MaxLayers,
                          "Error: Maximum Number of Layers Exceeded",
                          [&shape](double v) { shape.layerCount = static_cast<int>(v); }, true}},
                        messages))
        return false;
    const int layers = shape.layerCount;

    const std::vector<std::string> tokens = LayerTokens(fields.elementsPerLayer, layers);
    std::vector<FieldCheck> units;
    for (int l = 0; l < layers; ++l)
        units.push_back({tokens[static_cast<std::size_t>(l)], Read::Integer, 1, NetworkShape::MaxUnits,
                         "Error: Maximum Number of Units Per Layer Exceeded",
                         [&shape, l](double v) { shape.unitsPerLayer[l] = static_cast<int>(v); }});
    if (!RunFieldChecks(units, messages))
        return false;

    if (ReadIntegerText(fields.inputNodes) != shape.unitsPerLayer[0]) {
        messages.Error("Error: Number of Inputs Must Equal First Layer Units");
        return false;
    }
    const int outputs = ReadIntegerText(fields.outputNodes);
    if (outputs != shape.unitsPerLayer[layers - 1]) {
        messages.Error("Error: Number of Outputs Must Equal Last Layer Units");
        return false;
    }
    if (outputs > NetworkShape::MaxOutputs) {
        messages.Error("Error: Maximum Number of Outputs Exceeded");
        return false;
    }
    return true;
}

} // namespace orvalis
