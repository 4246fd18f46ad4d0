#pragma once

#include <cstdint>
#include <vector>

namespace orvalis {

// A worksheet's network as its file holds it: the shape, the training parameters and
// the two automatic switches. Plain data; the engine builds its network from it and
// writes it back (the shape of a built network, parameters changed in the dialogs).
struct StoredNetwork {
    int autoNetworkConfigure = 1;     // Train sizes the shape from the worksheet (0/1)
    int layerCount = 0;               // layers counting inputs and outputs; 0: no shape yet
    std::vector<int> unitsPerLayer;   // layerCount entries: inputs .. outputs
    double learningRate = 0.05;
    double momentum = 0.50;
    double gain = 1.00;
    int autoTrainingConfigure = 1;    // Train resets the parameters to defaults (0/1)
    double errorRatioGoal = 1.20;     // stop when test error > ratio x best test error
    int iterationsPerCycle = 10;      // patterns per cycle = this x TotalRows
    int maxCycles = 2000;

    // Weights a network of this shape has: for every layer after the first,
    // units x (units of the layer before + 1 bias). 0 without a shape.
    std::int64_t WeightCount() const
    {
        std::int64_t count = 0;
        for (std::size_t l = 1; l < unitsPerLayer.size() && static_cast<int>(l) < layerCount; ++l)
            count += static_cast<std::int64_t>(unitsPerLayer[l]) * (unitsPerLayer[l - 1] + 1);
        return count;
    }
};

} // namespace orvalis
