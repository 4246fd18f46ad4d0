#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace orvalis {

class RandomGenerator;
struct VectorView;

// One layer of the network. Unit 0 of every layer is the bias unit (output 1.0);
// real units are 1..unitCount.
//
// Weights are held source-major in blocks of up to 16 units: within a block, the
// weights into its units from source unit j of the layer below (j = 0 the bias) form
// one contiguous row, lane k for unit k+1, and the rows of j = 0, 1, ... follow each
// other. Every unit's sum over j, kept in strict index order, then advances across the
// units of a block lane by lane, which vectorises without a transpose, and a block's
// weights stream through the cache in one run. Padding lanes have weight 0 and are
// never read back.
// Storage of the kernels' arrays, aligned to a cache line, so a weight row of a block
// (a whole number of 32-byte vectors) never has a vector straddle two lines.
template <class T>
struct LineAllocator {
    using value_type = T;
    static constexpr std::size_t Alignment = 64;
    LineAllocator() = default;
    template <class U>
    LineAllocator(const LineAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t count)
    {
        return static_cast<T*>(::operator new(count * sizeof(T), std::align_val_t(Alignment)));
    }
    void deallocate(T* p, std::size_t) noexcept
    {
        ::operator delete(p, std::align_val_t(Alignment));
    }
    template <class U>
    bool operator==(const LineAllocator<U>&) const noexcept
    {
        return true;
    }
};

struct NetLayer {
    static constexpr int BlockLanes = 16; // units per weight block
    using Values = std::vector<double, LineAllocator<double>>;

    int unitCount = 0;                  // real units
    int sourceCount = 0;                // real units of the layer below (0 for layer 0)
    int stride = 0;                     // lanes: 1 for a single unit, else unitCount
                                        // rounded up to whole vectors
    std::vector<double> outputs;        // unitCount+1 values; [0] = 1.0
    std::vector<double> errors;         // stride values; error term of unit k+1 at [k]
    Values weights;                     // (sourceCount+1) x stride, blocked as above
    Values bestWeights;                 // same shape: copy taken at the lowest test error
    // Momentum memory. The change applied last, (learningRate*error_i)*output_j, is the
    // product of one value per unit and one per source, so those two factors are kept
    // instead of the full matrix; multiplying them again gives the same double.
    Values lastRateErrors;              // stride values: learningRate*error at the last update
    std::vector<double> lastSources;    // sourceCount+1 values: the lower outputs then
    Values rateErrors;                  // stride values, scratch of the update
    Values sums;                        // stride values, scratch of the forward pass
    Values spare;                       // scratch of the kernels (see Build)

    // First lane of the block holding lane k, and that block's width.
    static int BlockStart(int k) { return k / BlockLanes * BlockLanes; }
    int BlockWidth(int start) const { return stride - start < BlockLanes ? stride - start : BlockLanes; }
    // Position of the weight from source j into unit k+1.
    std::size_t Index(int j, int k) const
    {
        const int start = BlockStart(k);
        return static_cast<std::size_t>(start) * (sourceCount + 1) +
               static_cast<std::size_t>(j) * BlockWidth(start) + (k - start);
    }
};

// The layers and the arithmetic of one pattern: forward pass, output error terms,
// backward pass and momentum update, each in the exact operation order of the plain
// algorithm. Owns all storage; presenting a pattern never allocates.
class NetCore {
public:
    // Discards any previous network and allocates the layers zero-filled (outputs[0] of
    // every layer 1.0). units: layerCount counts, each >= 0.
    void Build(const int* units, int layerCount);
    void Clear() { layers.clear(); }

    int LayerCount() const { return static_cast<int>(layers.size()); }
    int Units(int l) const { return layers[l].unitCount; }
    std::int64_t WeightCount() const;

    // Weight from unit j of layer l-1 into unit i of layer l (l >= 1, i >= 1, j >= 0).
    double Weight(int l, int i, int j) const
    {
        const NetLayer& L = layers[l];
        return L.weights[L.Index(j, i - 1)];
    }
    void SetWeight(int l, int i, int j, double value)
    {
        NetLayer& L = layers[l];
        L.weights[L.Index(j, i - 1)] = value;
    }

    // Input units 1..n of the input layer; a pattern's input vector is written here.
    double* Inputs() { return layers.front().outputs.data() + 1; }
    // Output units 1..n of the output layer.
    const double* Outputs() const { return layers.back().outputs.data() + 1; }
    // Error term of unit i (1-based) of layer l, as the last pattern left it.
    double Error(int l, int i) const { return layers[l].errors[i - 1]; }

    void ForwardPass(double gain);
    // Output error terms against target[0..outputs-1]; returns the pattern error.
    double OutputErrors(const double* target, double gain);
    void BackwardPass(double gain);
    void UpdateWeights(double learningRate, double momentum);

    // The input vector of data row `row`: numTaps values of each input set, oldest first.
    void FillInputs(const VectorView& data, int row);

    // `count` training patterns, each on a row drawn from first..last with `random`.
    void TrainRandomRows(const VectorView& data, int first, int last, std::int64_t count,
                         RandomGenerator& random, double learningRate, double gain,
                         double momentum);
    // Sum of the pattern errors of rows first..last, in order, without training.
    double MeasureRows(const VectorView& data, int first, int last, double gain);

    void StoreBestWeights();
    void RecallBestWeights();

    double patternError = 0.0; // half the sum of squared output errors, last pattern

private:
    std::vector<NetLayer> layers; // input layer first
};

} // namespace orvalis
