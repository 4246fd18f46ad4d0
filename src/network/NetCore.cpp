#include "network/NetCore.h"

#include "network/Exponential.h"
#include "network/RandomGenerator.h"
#include "network/ShallowKernel.h"
#include "network/SimdSupport.h"
#include "network/VectorView.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orvalis {
namespace {

using simd::Lanes;

// A single unit (the usual output layer) keeps its weights contiguous, so its update
// runs along the sources; wider layers round up to whole vectors of units.
int LaneStride(int n) { return n == 1 ? 1 : (n + Lanes - 1) / Lanes * Lanes; }

// sums[k] = 0 + w[0][k]*out[0] + w[1][k]*out[1] + ..., strictly in order of j.
ORVALIS_INLINE void Propagate(const NetLayer& lower, NetLayer& upper, double gain)
{
    const int sources = lower.unitCount;
    const double* __restrict src = lower.outputs.data();
    for (int start = 0; start < upper.stride; start += NetLayer::BlockLanes) {
        const int width = upper.BlockWidth(start);
        double* __restrict sums = upper.sums.data() + start;
        const double* __restrict w = upper.weights.data() + upper.Index(0, start);
        for (int k = 0; k < width; ++k)
            sums[k] = 0.0;
        for (int j = 0; j <= sources; ++j, w += width) {
            const double o = src[j];
            for (int k = 0; k < width; ++k)
                sums[k] = sums[k] + w[k] * o;
        }
    }
    const double* sums = upper.sums.data();
    double* __restrict out = upper.outputs.data() + 1;
    for (int k = 0; k < upper.unitCount; ++k)
        out[k] = 1.0 / (1.0 + Exp(-gain * sums[k]));
}

ORVALIS_INLINE void Forward(std::vector<NetLayer>& layers, double gain)
{
    for (std::size_t l = 1; l < layers.size(); ++l)
        Propagate(layers[l - 1], layers[l], gain);
}

ORVALIS_INLINE double SetOutputErrors(NetLayer& output, const double* target, double gain)
{
    double patternError = 0.0;
    const double* out = output.outputs.data() + 1;
    for (int k = 0; k < output.unitCount; ++k) {
        const double o = out[k];
        const double err = target[k] - o;
        output.errors[k] = ((gain * o) * (1.0 - o)) * err;
        patternError = patternError + 0.5 * (err * err);
    }
    return patternError;
}

// Pattern error only, for rows presented without training.
ORVALIS_INLINE double PatternError(const NetLayer& output, const double* target)
{
    double patternError = 0.0;
    const double* out = output.outputs.data() + 1;
    for (int k = 0; k < output.unitCount; ++k) {
        const double err = target[k] - out[k];
        patternError = patternError + 0.5 * (err * err);
    }
    return patternError;
}

// Error terms of the hidden layers, from the top down; the input layer gets none.
ORVALIS_INLINE void Backward(std::vector<NetLayer>& layers, double gain)
{
    for (std::size_t l = layers.size() - 1; l >= 2; --l) {
        const NetLayer& upper = layers[l];
        NetLayer& lower = layers[l - 1];
        const double* __restrict errUp = upper.errors.data();
        const double* w = upper.weights.data();
        for (int i = 1; i <= lower.unitCount; ++i) {
            double e = 0.0;
            for (int k = 0; k < upper.unitCount; ++k)
                e = e + w[upper.Index(i, k)] * errUp[k];
            const double o = lower.outputs[i];
            lower.errors[i - 1] = ((gain * o) * (1.0 - o)) * e;
        }
    }
}

// w += (learningRate*err)*out + momentum*lastDelta, where lastDelta is recomputed as the
// product the previous update stored.
ORVALIS_INLINE void UpdateLayer(const NetLayer& lower, NetLayer& upper, double rate,
                                double momentum)
{
    const int sources = lower.unitCount;
    const double* __restrict err = upper.errors.data();
    for (int k = 0; k < upper.stride; ++k)
        upper.rateErrors[k] = rate * err[k];
    const double* __restrict src = lower.outputs.data();
    double* __restrict lastSrc = upper.lastSources.data();
    for (int start = 0; start < upper.stride; start += NetLayer::BlockLanes) {
        const int width = upper.BlockWidth(start);
        const double* __restrict rateErr = upper.rateErrors.data() + start;
        const double* __restrict lastRateErr = upper.lastRateErrors.data() + start;
        double* __restrict w = upper.weights.data() + upper.Index(0, start);
        for (int j = 0; j <= sources; ++j, w += width) {
            const double o = src[j];
            const double lastO = lastSrc[j];
            for (int k = 0; k < width; ++k)
                w[k] = w[k] + (rateErr[k] * o + momentum * (lastRateErr[k] * lastO));
        }
    }
    for (int j = 0; j <= sources; ++j)
        lastSrc[j] = src[j];
    std::swap(upper.rateErrors, upper.lastRateErrors);
}

ORVALIS_INLINE void Update(std::vector<NetLayer>& layers, double rate, double momentum)
{
    for (std::size_t l = 1; l < layers.size(); ++l)
        UpdateLayer(layers[l - 1], layers[l], rate, momentum);
}

ORVALIS_INLINE void Fill(NetLayer& input, const VectorView& data, int row)
{
    double* dst = input.outputs.data() + 1;
    const int taps = data.numTaps;
    const int limit = input.unitCount;
    int n = 0;
    for (int k = 0; k < data.inputSetCount; ++k) {
        const double* src = data.inputs[k] + (row - taps);
        for (int t = 0; t < taps && n < limit; ++t)
            dst[n++] = src[t];
    }
}

ORVALIS_CLONES void TrainKernel(std::vector<NetLayer>& layers, const VectorView& data,
                                int first, int last, std::int64_t count, std::uint32_t& state,
                                double rate, double gain, double momentum, double& patternError)
{
    RandomGenerator random(state);
    for (std::int64_t p = 0; p < count; ++p) {
        const int row = random.RandomRow(first, last);
        Fill(layers.front(), data, row);
        Forward(layers, gain);
        patternError = SetOutputErrors(layers.back(), data.target + row, gain);
        Backward(layers, gain);
        Update(layers, rate, momentum);
    }
    state = random.State();
}

ORVALIS_CLONES double MeasureKernel(std::vector<NetLayer>& layers, const VectorView& data,
                                    int first, int last, double gain, double& patternError)
{
    double total = 0.0;
    for (int row = first; row <= last; ++row) {
        Fill(layers.front(), data, row);
        Forward(layers, gain);
        patternError = PatternError(layers.back(), data.target + row);
        total = total + patternError;
    }
    return total;
}

} // namespace

void NetCore::Build(const int* units, int layerCount)
{
    layers.clear();
    layers.resize(static_cast<std::size_t>(std::max(layerCount, 0)));
    for (int l = 0; l < layerCount; ++l) {
        NetLayer& L = layers[l];
        L.unitCount = std::max(units[l], 0);
        L.sourceCount = l > 0 ? layers[l - 1].unitCount : 0;
        L.stride = LaneStride(L.unitCount);
        L.outputs.assign(static_cast<std::size_t>(L.unitCount) + 1, 0.0);
        L.outputs[0] = 1.0;
        L.errors.assign(static_cast<std::size_t>(L.stride), 0.0);
        L.sums.assign(static_cast<std::size_t>(L.stride), 0.0);
        // Room for three input vectors (the shallow kernels rotate them), or one layer's
        // sums.
        L.spare.assign(static_cast<std::size_t>(3 * (L.unitCount + 1) + L.stride), 0.0);
        if (l == 0)
            continue;
        const std::size_t sources = static_cast<std::size_t>(layers[l - 1].unitCount) + 1;
        L.weights.assign(sources * L.stride, 0.0);
        L.bestWeights.assign(sources * L.stride, 0.0);
        L.lastRateErrors.assign(static_cast<std::size_t>(L.stride), 0.0);
        L.rateErrors.assign(static_cast<std::size_t>(L.stride), 0.0);
        L.lastSources.assign(sources, 0.0);
    }
}

std::int64_t NetCore::WeightCount() const
{
    std::int64_t count = 0;
    for (std::size_t l = 1; l < layers.size(); ++l)
        count += static_cast<std::int64_t>(layers[l].unitCount) * (layers[l - 1].unitCount + 1);
    return count;
}

void NetCore::ForwardPass(double gain) { Forward(layers, gain); }

double NetCore::OutputErrors(const double* target, double gain)
{
    patternError = SetOutputErrors(layers.back(), target, gain);
    return patternError;
}

void NetCore::BackwardPass(double gain) { Backward(layers, gain); }

void NetCore::UpdateWeights(double learningRate, double momentum)
{
    Update(layers, learningRate, momentum);
}

void NetCore::FillInputs(const VectorView& data, int row) { Fill(layers.front(), data, row); }

void NetCore::TrainRandomRows(const VectorView& data, int first, int last, std::int64_t count,
                              RandomGenerator& random, double learningRate, double gain,
                              double momentum)
{
    // An empty training range has no row to draw (the draw would divide by zero);
    // callers refuse such data before a run, this only keeps a slip from crashing.
    if (layers.empty() || count <= 0 || first > last)
        return;
    std::uint32_t state = random.State();
    if (IsShallow(layers))
        TrainShallow(layers, data, first, last, count, state, learningRate, gain, momentum,
                     patternError);
    else
        TrainKernel(layers, data, first, last, count, state, learningRate, gain, momentum,
                patternError);
    random.Seed(state);
}

double NetCore::MeasureRows(const VectorView& data, int first, int last, double gain)
{
    if (layers.empty())
        return 0.0;
    if (IsShallow(layers))
        return MeasureShallow(layers, data, first, last, gain, patternError);
    return MeasureKernel(layers, data, first, last, gain, patternError);
}

void NetCore::StoreBestWeights()
{
    for (NetLayer& L : layers)
        std::copy(L.weights.begin(), L.weights.end(), L.bestWeights.begin());
}

void NetCore::RecallBestWeights()
{
    for (NetLayer& L : layers)
        std::copy(L.bestWeights.begin(), L.bestWeights.end(), L.weights.begin());
}

} // namespace orvalis
