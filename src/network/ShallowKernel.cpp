#include "network/ShallowKernel.h"

#include "network/NetCore.h"
#include "network/RandomGenerator.h"
#include "network/SimdSupport.h"
#include "network/VectorView.h"

#include <cmath>
#include <utility>

#pragma GCC diagnostic ignored "-Wpsabi"

namespace orvalis {
namespace {

using simd::Lanes;
using simd::V4;

// Raw views of the three layers, refreshed whenever the buffers rotate.
struct Net3 {
    int inputs = 0, hidden = 0, stride = 0; // stride: hidden lanes, a multiple of 4
    double* w1 = nullptr;      // (inputs+1) x stride, source-major
    double* w2 = nullptr;      // hidden+1: the output unit's weights
    double* hid = nullptr;     // hidden outputs, [0] = 1
    double* hidErr = nullptr;  // stride: hidden error terms, padding 0
    double* rate = nullptr;    // stride: learningRate * hidden error, this pattern
    double* lastRate = nullptr; // stride: the same of the previous update
    double* sums = nullptr;    // stride: hidden sums of the pattern about to be finished
    double* exps = nullptr;    // stride: scratch
    double* lastHid = nullptr; // hidden+1: hidden outputs at the last update

    explicit Net3(std::vector<NetLayer>& layers) { Refresh(layers); }
    void Refresh(std::vector<NetLayer>& layers)
    {
        NetLayer& h = layers[1];
        NetLayer& o = layers[2];
        inputs = layers[0].unitCount;
        hidden = h.unitCount;
        stride = h.stride;
        w1 = h.weights.data();
        w2 = o.weights.data();
        hid = h.outputs.data();
        hidErr = h.errors.data();
        rate = h.rateErrors.data();
        lastRate = h.lastRateErrors.data();
        sums = h.sums.data();
        exps = h.spare.data();
        lastHid = o.lastSources.data();
    }
};

enum class Pass { Forward, Update, Fused };

// B vectors of hidden units starting at lane `block`: the update of their incoming
// weights from the current input (in, with the momentum of lastIn) and/or their sums
// over `next`, each sum strictly in source order, accumulated in registers.
template <int B, Pass P>
ORVALIS_INLINE void HiddenBlock(const Net3& n, int block, const double* in, const double* lastIn,
                                const double* next, double momentum)
{
    V4 acc[B], rate[B], lastRate[B];
#pragma GCC unroll 4
    for (int b = 0; b < B; ++b) {
        acc[b] = simd::Splat(0.0);
        if constexpr (P != Pass::Forward) {
            rate[b] = simd::Load(n.rate + block + Lanes * b);
            lastRate[b] = simd::Load(n.lastRate + block + Lanes * b);
        }
    }
    const V4 m = simd::Splat(momentum);
    double* w = n.w1 + block;
    for (int j = 0; j <= n.inputs; ++j, w += n.stride) {
        V4 o{}, lastO{}, x{};
        if constexpr (P != Pass::Forward) {
            o = simd::Splat(in[j]);
            lastO = simd::Splat(lastIn[j]);
        }
        if constexpr (P != Pass::Update)
            x = simd::Splat(next[j]);
#pragma GCC unroll 4
        for (int b = 0; b < B; ++b) {
            V4 weight = simd::Load(w + Lanes * b);
            if constexpr (P != Pass::Forward) {
                weight = weight + (rate[b] * o + m * (lastRate[b] * lastO));
                simd::Store(w + Lanes * b, weight);
            }
            if constexpr (P != Pass::Update)
                acc[b] = acc[b] + weight * x;
        }
    }
    if constexpr (P != Pass::Update) {
#pragma GCC unroll 4
        for (int b = 0; b < B; ++b)
            simd::Store(n.sums + block + Lanes * b, acc[b]);
    }
}

template <Pass P>
ORVALIS_INLINE void HiddenPass(const Net3& n, const double* in, const double* lastIn,
                               const double* next, double momentum)
{
    int block = 0;
    for (; block + 4 * Lanes <= n.stride; block += 4 * Lanes)
        HiddenBlock<4, P>(n, block, in, lastIn, next, momentum);
    switch ((n.stride - block) / Lanes) {
    case 3: HiddenBlock<3, P>(n, block, in, lastIn, next, momentum); break;
    case 2: HiddenBlock<2, P>(n, block, in, lastIn, next, momentum); break;
    case 1: HiddenBlock<1, P>(n, block, in, lastIn, next, momentum); break;
    default: break;
    }
}

// Hidden outputs from the sums, then the output unit; returns its output.
ORVALIS_INLINE double FinishForward(const Net3& n, double gain)
{
    for (int k = 0; k < n.hidden; ++k)
        n.exps[k] = std::exp(-gain * n.sums[k]);
    double* __restrict hid = n.hid + 1;
    const double* __restrict exps = n.exps;
    for (int k = 0; k < n.hidden; ++k)
        hid[k] = 1.0 / (1.0 + exps[k]);
    double sum = 0.0;
    for (int j = 0; j <= n.hidden; ++j)
        sum = sum + n.w2[j] * n.hid[j];
    return 1.0 / (1.0 + std::exp(-gain * sum));
}

ORVALIS_INLINE void FillInput(double* dst, const VectorView& data, int row, int limit)
{
    dst[0] = 1.0;
    const int taps = data.numTaps;
    int n = 1;
    for (int k = 0; k < data.inputSetCount; ++k) {
        const double* src = data.inputs[k] + (row - taps);
        for (int t = 0; t < taps && n <= limit; ++t)
            dst[n++] = src[t];
    }
}

ORVALIS_CLONES void TrainLoop(std::vector<NetLayer>& layers, const VectorView& data, int first,
                              int last, std::int64_t count, std::uint32_t& state, double rate,
                              double gain, double momentum, double& patternError)
{
    NetLayer& input = layers[0];
    NetLayer& hiddenLayer = layers[1];
    NetLayer& output = layers[2];
    RandomGenerator random(state);
    Net3 n(layers);

    int row = random.RandomRow(first, last);
    FillInput(input.outputs.data(), data, row, n.inputs);
    HiddenPass<Pass::Forward>(n, nullptr, nullptr, input.outputs.data(), momentum);
    for (std::int64_t p = 0; p < count; ++p) {
        // Forward to the output and its error term.
        const double o = FinishForward(n, gain);
        output.outputs[1] = o;
        const double err = data.target[row] - o;
        const double outErr = ((gain * o) * (1.0 - o)) * err;
        output.errors[0] = outErr;
        patternError = 0.0 + 0.5 * (err * err);

        // Hidden error terms from the output weights as they were before the update.
        {
            double* __restrict hidErr = n.hidErr;
            double* __restrict hidRate = n.rate;
            const double* __restrict hid = n.hid + 1;
            const double* __restrict w2 = n.w2 + 1;
            for (int k = 0; k < n.hidden; ++k) {
                const double e = 0.0 + w2[k] * outErr;
                hidErr[k] = ((gain * hid[k]) * (1.0 - hid[k])) * e;
                hidRate[k] = rate * hidErr[k];
            }
        }

        // Output weights.
        {
            const double outRate = rate * outErr;
            const double lastOutRate = output.lastRateErrors[0];
            double* __restrict w2 = n.w2;
            double* __restrict lastHid = n.lastHid;
            const double* __restrict hid = n.hid;
            for (int j = 0; j <= n.hidden; ++j) {
                w2[j] = w2[j] + (outRate * hid[j] + momentum * (lastOutRate * lastHid[j]));
                lastHid[j] = hid[j];
            }
            output.rateErrors[0] = lastOutRate;
            output.lastRateErrors[0] = outRate;
        }

        // Hidden weights, fused with the next pattern's hidden sums. The next row is
        // drawn before this update; nothing else draws in between, so the sequence of
        // rows is the same.
        double* in = input.outputs.data();
        double* lastIn = hiddenLayer.lastSources.data();
        if (p + 1 < count) {
            row = random.RandomRow(first, last);
            double* next = input.spare.data();
            FillInput(next, data, row, n.inputs);
            HiddenPass<Pass::Fused>(n, in, lastIn, next, momentum);
            // Rotate: this input becomes the momentum source, the next one current.
            std::swap(hiddenLayer.lastSources, input.outputs);
            std::swap(input.outputs, input.spare);
        } else {
            HiddenPass<Pass::Update>(n, in, lastIn, nullptr, momentum);
            std::copy(in, in + n.inputs + 1, lastIn);
        }
        std::swap(hiddenLayer.rateErrors, hiddenLayer.lastRateErrors);
        n.Refresh(layers);
    }
    state = random.State();
}

ORVALIS_CLONES double MeasureLoop(std::vector<NetLayer>& layers, const VectorView& data,
                                  int first, int last, double gain, double& patternError)
{
    NetLayer& input = layers[0];
    Net3 n(layers);
    double total = 0.0;
    for (int row = first; row <= last; ++row) {
        FillInput(input.outputs.data(), data, row, n.inputs);
        HiddenPass<Pass::Forward>(n, nullptr, nullptr, input.outputs.data(), 0.0);
        const double o = FinishForward(n, gain);
        layers[2].outputs[1] = o;
        const double err = data.target[row] - o;
        patternError = 0.0 + 0.5 * (err * err);
        total = total + patternError;
    }
    return total;
}

} // namespace

bool IsShallow(const std::vector<NetLayer>& layers)
{
    return layers.size() == 3 && layers[1].unitCount >= 1 && layers[2].unitCount == 1 &&
           layers[2].stride == 1 && layers[1].stride % Lanes == 0;
}

void TrainShallow(std::vector<NetLayer>& layers, const VectorView& data, int first, int last,
                  std::int64_t count, std::uint32_t& state, double rate, double gain,
                  double momentum, double& patternError)
{
    TrainLoop(layers, data, first, last, count, state, rate, gain, momentum, patternError);
}

double MeasureShallow(std::vector<NetLayer>& layers, const VectorView& data, int first,
                      int last, double gain, double& patternError)
{
    return MeasureLoop(layers, data, first, last, gain, patternError);
}

} // namespace orvalis
