#pragma once

namespace orvalis {

// The four figure-of-merit weights of a worksheet document: shown, range-checked and
// reset by the "Configure Results" dialog, not saved in the worksheet file, used by no
// computation.
struct FigureOfMeritWeights {
    float trainValueAvgWeight = 0.0f;    // 0..1
    float trainValueSdWeight = 1.0f;     // 0..10
    float estimateValueAvgWeight = 0.0f; // 0..1
    float estimateValueSdWeight = 1.0f;  // 0..1

    bool operator==(const FigureOfMeritWeights&) const = default;
};

} // namespace orvalis
