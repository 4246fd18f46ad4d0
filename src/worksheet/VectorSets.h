#pragma once

#include <array>
#include <vector>

namespace orvalis {

// The range a series was scaled with and the mean of its scaled values, each held as
// a 32-bit float (the results turn scaled values back with these floats).
struct TargetScale {
    float min = 0.0f;
    float max = 0.0f;
    float mean = 0.0f;
};

// A worksheet's numeric series as its last vector extraction left them: one array per
// input set and target set, indexed by data row, and the moving averages removed from
// them. Every array holds kCapacity values, zero until written, and keeps what earlier
// extractions wrote beyond the rows of the latest one. The storage is allocated on
// first use, so a worksheet that never runs costs nothing.
class VectorSets {
public:
    static constexpr int kCapacity = 10000; // rows of every array
    static constexpr int kInputSets = 16;
    static constexpr int kTargetSets = 6;

    double* Input(int k) { return Array(k); }
    double* InputAverage(int k) { return Array(kInputSets + k); }
    double* Target(int t) { return Array(2 * kInputSets + t); }
    // Only array 0 is ever written.
    double* TargetAverage(int t) { return Array(2 * kInputSets + kTargetSets + t); }
    // kInputSets pointers to the input arrays, for the network's vector view.
    const double* const* InputPointers();

    TargetScale trainingTargetScale;   // written by a training extraction
    TargetScale evaluationTargetScale; // written by an evaluation extraction
    double targetMean = 0.0;           // mean of scaled target set 0, latest extraction

private:
    static constexpr int kArrays = 2 * kInputSets + 2 * kTargetSets;
    double* Array(int index);

    std::vector<double> m_storage; // kArrays x kCapacity once allocated
    std::array<const double*, kInputSets> m_inputPointers{};
};

} // namespace orvalis
