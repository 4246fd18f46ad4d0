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
// them. Every array holds Capacity() values, zero until written, and keeps what earlier
// extractions wrote beyond the rows of the latest one. The storage is allocated on
// first use, so a worksheet that never runs costs nothing; it holds kCapacity rows
// and grows (keeping every value) when a longer worksheet needs more. Growing moves the
// arrays: pointers taken before a Reserve that grew are stale, except the input pointers
// table, which follows the arrays from the row it was last asked for.
class VectorSets {
public:
    static constexpr int kCapacity = 10000; // rows of every array at the least
    static constexpr int kInputSets = 16;
    static constexpr int kTargetSets = 6;

    // Makes every array hold at least `rows` values (and kCapacity).
    void Reserve(int rows);
    // Rows of every array; kCapacity before the first use.
    int Capacity() const { return m_capacity; }

    double* Input(int k) { return Array(k); }
    double* InputAverage(int k) { return Array(kInputSets + k); }
    double* Target(int t) { return Array(2 * kInputSets + t); }
    // Only array 0 is ever written.
    double* TargetAverage(int t) { return Array(2 * kInputSets + kTargetSets + t); }
    // kInputSets pointers to the input arrays from data row `firstRow` on, for the
    // network's vector view.
    const double* const* InputPointers(int firstRow = 0);
    // The values as the cells hold them, kept when the latest extraction replaced the
    // series by their changes (changeLag > 0): input set k (0..kInputSets-1) and, as
    // index kInputSets, target set 0. Allocated on first use.
    double* Level(int index);

    TargetScale trainingTargetScale;   // written by a training extraction
    TargetScale evaluationTargetScale; // written by an evaluation extraction
    double targetMean = 0.0;           // mean of scaled target set 0, latest extraction
    // The lag L of the latest extraction's changes v[j] - v[j-L]; 0: the values themselves.
    // Rows below L have no change: they hold 0 and no window or pattern reads them.
    int changeLag = 0;

private:
    static constexpr int kArrays = 2 * kInputSets + 2 * kTargetSets;
    double* Array(int index);
    // Sets the input pointers to the storage from m_pointerRow on.
    void PointInputs();

    int m_capacity = kCapacity;
    int m_pointerRow = 0;          // the data row the input pointers start at
    std::vector<double> m_storage; // kArrays x m_capacity once allocated
    std::vector<double> m_levels;  // (kInputSets + 1) x m_capacity once allocated
    std::array<const double*, kInputSets> m_inputPointers{};
};

} // namespace orvalis
