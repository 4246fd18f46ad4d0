#include "network/ShallowKernel.h"

#include "network/Exponential.h"
#include "network/NetCore.h"
#include "network/RandomGenerator.h"
#include "network/SimdSupport.h"
#include "network/VectorView.h"

#include <cmath>
#include <utility>

// Vector values never cross a call: every function that takes or returns one is
// always inlined, so the two clones cannot disagree on how vectors are passed.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace orvalis {
namespace {

using simd::Lanes;
using simd::V4;

// Raw views of the three layers, refreshed whenever buffers swap.
struct Net3 {
    int inputs = 0, hidden = 0, stride = 0; // stride: hidden lanes, a multiple of 4
    double* w1 = nullptr;       // first weight layer, blocked (NetLayer)
    double* w2 = nullptr;       // hidden+1: the output unit's weights
    double* hid = nullptr;      // hidden outputs, [0] = 1
    double* hidErr = nullptr;   // stride: hidden error terms, padding 0
    double* rate = nullptr;     // stride: learningRate * hidden error, this pattern
    double* lastRate = nullptr; // stride: the same of the previous update
    double* sums = nullptr;     // stride: hidden sums of the pattern being presented
    double* exps = nullptr;     // stride: scratch
    double* lastHid = nullptr;  // hidden+1: hidden outputs at the last update
    double* outSum = nullptr;   // the output unit's sum, added to block by block

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

// The smallest nonzero and the largest magnitude of a set of values, and their sum,
// which is not finite when one of them is not (or when they are huge, which the caller
// treats alike). Branch-free: it runs once per hidden unit and pattern.
struct Magnitudes {
    double lo = INFINITY;
    double hi = 0.0;
    double total = 0.0;
    ORVALIS_INLINE void Add(double x)
    {
        const double a = std::fabs(x);
        const double nonzero = a == 0.0 ? INFINITY : a;
        lo = nonzero < lo ? nonzero : lo;
        hi = a > hi ? a : hi;
        total = total + a;
    }
    bool Finite() const { return total <= 1e300; }
};

// The input vector of a pattern, the bias (always 1) apart. With one input set its
// values are a window of the data itself and are read in place; otherwise they are
// gathered into the vector's own scratch buffer. The three vectors of a training pass
// rotate (current, previous, next) without copying, each keeping its buffer. Values
// are held once each and broadcast as the weight passes read them.
struct InputVector {
    static constexpr std::size_t Span(int inputs) { return static_cast<std::size_t>(inputs) + 1; }
    explicit InputVector(double* scratch) : buffer(scratch), values(scratch) {}
    double* buffer;        // room for the inputs when they must be gathered
    const double* values;  // input j (1-based) at values[j-1]
    ORVALIS_INLINE double Get(int j) const { return j == 0 ? 1.0 : values[j - 1]; }
};

enum class Pass { Forward, Update, Fused };

// One source's row of weights into the B+E vectors of units of HiddenBlock: the B
// vectors at w, the E at we. Source value o, its value at the last update lastO, and
// its value x in the next pattern.
template <int B, int E, Pass P, bool scaledMomentum>
ORVALIS_INLINE void WeightRow(V4 (&acc)[B + E], const V4 (&rate)[B + E],
                              const V4 (&lastRate)[B + E], V4 m, double* w, double* we, V4 o,
                              V4 lastO, V4 x)
{
#pragma GCC unroll 8
    for (int b = 0; b < B + E; ++b) {
        double* wb = b < B ? w + Lanes * b : we + Lanes * (b - B);
        V4 weight = simd::Load(wb);
        if constexpr (P != Pass::Forward) {
            if constexpr (scaledMomentum)
                weight = weight + (rate[b] * o + lastRate[b] * lastO);
            else
                weight = weight + (rate[b] * o + m * (lastRate[b] * lastO));
            simd::Store(wb, weight);
        }
        if constexpr (P != Pass::Update)
            acc[b] = acc[b] + weight * x;
    }
}

// B vectors of hidden units starting at lane `block`, and E more from the narrow last
// block at lane `extra` (which then follows this block directly): the update of their
// incoming weights (input `in`, momentum memory lastRate x lastIn) and/or their sums
// over `next`, each sum strictly in source order, accumulated in registers. With
// `scaledMomentum` the momentum is a power of two and (m*lastRate)*lastIn has been
// shown to equal m*(lastRate*lastIn) for this pattern, saving one product per weight.
// Folding a one- or two-vector last block into the block before it saves that block a
// pass of its own, in which three broadcasts would serve a single vector of weights.
template <int B, int E, Pass P, bool scaledMomentum>
ORVALIS_INLINE void HiddenBlock(const Net3& n, int block, int extra, InputVector in,
                                InputVector lastIn, InputVector next, double momentum,
                                double gain)
{
    constexpr int V = B + E;
    V4 acc[V], rate[V], lastRate[V];
    const V4 m = simd::Splat(momentum);
#pragma GCC unroll 8
    for (int b = 0; b < V; ++b) {
        acc[b] = simd::Splat(0.0);
        if constexpr (P != Pass::Forward) {
            const int lane = b < B ? block + Lanes * b : extra + Lanes * (b - B);
            rate[b] = simd::Load(n.rate + lane);
            lastRate[b] = simd::Load(n.lastRate + lane);
            if constexpr (scaledMomentum)
                lastRate[b] = m * lastRate[b];
        }
    }
    constexpr int width = B * Lanes, extraWidth = E * Lanes;
    double* w = n.w1 + static_cast<std::size_t>(block) * (n.inputs + 1);
    double* we = n.w1 + static_cast<std::size_t>(extra) * (n.inputs + 1);
    const V4 bias = simd::Splat(1.0);
    WeightRow<B, E, P, scaledMomentum>(acc, rate, lastRate, m, w, we, bias, bias, bias);
    w += width;
    we += extraWidth;
    for (int j = 0; j < n.inputs; ++j, w += width, we += extraWidth) {
        V4 o{}, lastO{}, x{};
        if constexpr (P != Pass::Forward) {
            o = simd::Broadcast(in.values + j);
            lastO = simd::Broadcast(lastIn.values + j);
        }
        if constexpr (P != Pass::Update)
            x = simd::Broadcast(next.values + j);
        WeightRow<B, E, P, scaledMomentum>(acc, rate, lastRate, m, w, we, o, lastO, x);
    }
    if constexpr (P != Pass::Update) {
#pragma GCC unroll 8
        for (int b = 0; b < V; ++b)
            simd::Store(n.sums + (b < B ? block + Lanes * b : extra + Lanes * (b - B)), acc[b]);
        // The block's outputs at once: their exponentials overlap the next block's
        // weight pass instead of all waiting for the last one.
        const int last = E > 0 ? extra + E * Lanes : block + B * Lanes;
        const int end = last < n.hidden ? last : n.hidden;
        for (int k = block; k < end; ++k)
            n.exps[k] = Exp(-gain * n.sums[k]);
        const V4 one = simd::Splat(1.0);
        int k = block;
        for (; k + Lanes <= end; k += Lanes)
            simd::Store(n.hid + 1 + k, one / (one + simd::Load(n.exps + k)));
        for (; k < end; ++k)
            n.hid[k + 1] = 1.0 / (1.0 + n.exps[k]);
        // The output unit's sum over this block's units, still in index order; the
        // output weights are final by now, so it overlaps the next block's pass.
        double sum = *n.outSum;
        for (k = block; k < end; ++k)
            sum = sum + n.w2[k + 1] * n.hid[k + 1];
        *n.outSum = sum;
    }
}

// The last, narrower block of a layer: R vectors or fewer.
template <int R, Pass P, bool scaledMomentum>
ORVALIS_INLINE void HiddenTail(const Net3& n, int block, int vectors, InputVector in,
                               InputVector lastIn, InputVector next, double momentum,
                               double gain)
{
    if constexpr (R > 0) {
        if (vectors == R)
            HiddenBlock<R, 0, P, scaledMomentum>(n, block, block, in, lastIn, next, momentum,
                                                 gain);
        else
            HiddenTail<R - 1, P, scaledMomentum>(n, block, vectors, in, lastIn, next,
                                                 momentum, gain);
    }
}

template <Pass P, bool scaledMomentum>
ORVALIS_INLINE void HiddenPass(const Net3& n, InputVector in, InputVector lastIn, InputVector next,
                               double momentum, double gain)
{
    constexpr int B = NetLayer::BlockLanes / Lanes;
    if constexpr (P != Pass::Update)
        *n.outSum = 0.0 + n.w2[0] * n.hid[0];
    const int full = n.stride / NetLayer::BlockLanes * NetLayer::BlockLanes;
    const int tail = (n.stride - full) / Lanes;
    // A last block of one or two vectors rides along with the last full block.
    const int folded = full > 0 && (tail == 1 || tail == 2) ? full - NetLayer::BlockLanes : full;
    int block = 0;
    for (; block < folded; block += NetLayer::BlockLanes)
        HiddenBlock<B, 0, P, scaledMomentum>(n, block, block, in, lastIn, next, momentum, gain);
    if (folded < full) {
        if (tail == 1)
            HiddenBlock<B, 1, P, scaledMomentum>(n, block, full, in, lastIn, next, momentum,
                                                 gain);
        else
            HiddenBlock<B, 2, P, scaledMomentum>(n, block, full, in, lastIn, next, momentum,
                                                 gain);
        return;
    }
    HiddenTail<B - 1, P, scaledMomentum>(n, block, tail, in, lastIn, next, momentum, gain);
}

ORVALIS_INLINE Magnitudes MagnitudesOf(const double* x, int count)
{
    Magnitudes m;
    for (int i = 0; i < count; ++i)
        m.Add(x[i]);
    return m;
}

ORVALIS_INLINE bool PowerOfTwo(double x)
{
    int exponent = 0;
    return x > 0.0 && x <= 1e300 && std::frexp(x, &exponent) == 0.5;
}

// Whether (m*r)*x == m*(r*x) for every momentum factor r (magnitudes rates) and every
// source x (magnitudes sources): true when m is a power of two and no product can leave
// the normal range, where scaling by a power of two commutes with rounding.
ORVALIS_INLINE bool MomentumScales(bool powerOfTwo, const Magnitudes& rates,
                                   const Magnitudes& sources, double momentum)
{
    if (!powerOfTwo || !rates.Finite() || !sources.Finite())
        return false;
    if (rates.lo == INFINITY || sources.lo == INFINITY)
        return true; // every product is zero
    constexpr double Small = 0x1p-960, Large = 0x1p960;
    const double down = momentum < 1.0 ? momentum : 1.0;
    const double up = momentum > 1.0 ? momentum : 1.0;
    return rates.lo * down >= Small && rates.lo * down * sources.lo >= Small &&
           rates.hi * up * sources.hi <= Large;
}

template <Pass P>
ORVALIS_INLINE void HiddenPassChecked(const Net3& n, InputVector in, InputVector lastIn,
                                      InputVector next, double momentum, double gain,
                                      bool scales)
{
    if (scales)
        HiddenPass<P, true>(n, in, lastIn, next, momentum, gain);
    else
        HiddenPass<P, false>(n, in, lastIn, next, momentum, gain);
}

// The output unit from the sum the last forward pass left; returns its output.
ORVALIS_INLINE double FinishForward(const Net3& n, double gain)
{
    return 1.0 / (1.0 + Exp(-gain * *n.outSum));
}

ORVALIS_INLINE void FillInput(InputVector& dst, const VectorView& data, int row, int inputs)
{
    const int taps = data.numTaps;
    if (inputs > 0 && inputs <= taps && data.inputSetCount > 0) {
        // All from the first input set: read in place.
        dst.values = data.inputs[0] + (row - taps);
        return;
    }
    int n = 0;
    for (int k = 0; k < data.inputSetCount && n < inputs; ++k) {
        const double* src = data.inputs[k] + (row - taps);
        const int count = taps < inputs - n ? taps : inputs - n;
        for (int t = 0; t < count; ++t)
            dst.buffer[n + t] = src[t];
        n += count;
    }
    dst.values = dst.buffer;
}

// Magnitudes of four values at a time, lane by lane; Reduce gives the same smallest
// and largest magnitude as adding them one by one, and a total that is finite exactly
// when every value is finite and none is huge, which is all the caller asks of it.
struct MagnitudeLanes {
    V4 lo = simd::Splat(INFINITY);
    V4 hi = simd::Splat(0.0);
    V4 total = simd::Splat(0.0);
    ORVALIS_INLINE void Add(V4 x)
    {
        const V4 a = x < 0.0 ? -x : x; // -0.0 and NaN: their magnitude is no smaller
        const V4 nonzero = a == 0.0 ? simd::Splat(INFINITY) : a;
        lo = nonzero < lo ? nonzero : lo;
        hi = a > hi ? a : hi;
        total = total + a;
    }
    ORVALIS_INLINE void Reduce(Magnitudes& m) const
    {
        for (int k = 0; k < Lanes; ++k) {
            m.lo = lo[k] < m.lo ? lo[k] : m.lo;
            m.hi = hi[k] > m.hi ? hi[k] : m.hi;
            m.total = m.total + total[k];
        }
    }
};

// Error terms of the output and hidden units (from the output weights before their
// update) and the hidden rates; returns the pattern error.
ORVALIS_INLINE double ErrorTerms(const Net3& n, NetLayer& output, double target, double rate,
                                 double gain, Magnitudes& rates)
{
    const double o = output.outputs[1];
    const double err = target - o;
    const double outErr = ((gain * o) * (1.0 - o)) * err;
    output.errors[0] = outErr;
    double* __restrict hidErr = n.hidErr;
    double* __restrict hidRate = n.rate;
    const double* __restrict hid = n.hid + 1;
    const double* __restrict w2 = n.w2 + 1;
    const V4 zero = simd::Splat(0.0), one = simd::Splat(1.0), g = simd::Splat(gain),
             e0 = simd::Splat(outErr), r = simd::Splat(rate);
    MagnitudeLanes lanes;
    int k = 0;
    for (; k + Lanes <= n.hidden; k += Lanes) {
        const V4 h = simd::Load(hid + k);
        const V4 e = zero + simd::Load(w2 + k) * e0;
        const V4 hiddenErr = ((g * h) * (one - h)) * e;
        const V4 hiddenRate = r * hiddenErr;
        simd::Store(hidErr + k, hiddenErr);
        simd::Store(hidRate + k, hiddenRate);
        lanes.Add(hiddenRate);
    }
    lanes.Reduce(rates);
    for (; k < n.hidden; ++k) {
        const double e = 0.0 + w2[k] * outErr;
        hidErr[k] = ((gain * hid[k]) * (1.0 - hid[k])) * e;
        hidRate[k] = rate * hidErr[k];
        rates.Add(hidRate[k]);
    }
    return 0.0 + 0.5 * (err * err);
}

ORVALIS_INLINE void UpdateOutputWeights(const Net3& n, NetLayer& output, double rate,
                                        double momentum)
{
    const double outRate = rate * output.errors[0];
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

ORVALIS_CLONES void TrainLoop(std::vector<NetLayer>& layers, const VectorView& data, int first,
                              int last, std::int64_t count, std::uint32_t& state, double rate,
                              double gain, double momentum, double& patternError)
{
    NetLayer& input = layers[0];
    NetLayer& hiddenLayer = layers[1];
    NetLayer& output = layers[2];
    RandomGenerator random(state);
    Net3 n(layers);
    double outSum = 0.0;
    n.outSum = &outSum;
    const int inputs = n.inputs;
    const std::size_t span = InputVector::Span(inputs);
    InputVector in(input.spare.data()), lastIn(in.buffer + span), next(lastIn.buffer + span);
    for (int j = 1; j <= inputs; ++j)
        lastIn.buffer[j - 1] = hiddenLayer.lastSources[j];
    // Every source this call can meet: the bias, the inputs of the last update, and
    // every input value of the rows that can be drawn. A bound for all of them is a
    // bound for each pattern's sources.
    Magnitudes sources;
    for (int j = 0; j <= inputs; ++j)
        sources.Add(lastIn.Get(j));
    sources.Add(1.0);
    for (int k = 0; k < data.inputSetCount; ++k)
        for (int r = first - data.numTaps; r < last; ++r)
            sources.Add(data.inputs[k][r]);
    Magnitudes lastRates = MagnitudesOf(n.lastRate, n.stride);
    const bool powerOfTwo = PowerOfTwo(momentum);

    int row = random.RandomRow(first, last);
    FillInput(in, data, row, inputs);
    HiddenPass<Pass::Forward, false>(n, in, lastIn, in, momentum, gain);
    for (std::int64_t p = 0; p < count; ++p) {
        output.outputs[1] = FinishForward(n, gain);
        Magnitudes rates;
        patternError = ErrorTerms(n, output, data.target[row], rate, gain, rates);
        const bool scales = MomentumScales(powerOfTwo, lastRates, sources, momentum);
        UpdateOutputWeights(n, output, rate, momentum);

        // Hidden weights, fused with the next pattern's hidden sums. The next row is
        // drawn before this update; nothing else draws in between, so the sequence of
        // rows is the same.
        if (p + 1 < count) {
            row = random.RandomRow(first, last);
            FillInput(next, data, row, inputs);
            HiddenPassChecked<Pass::Fused>(n, in, lastIn, next, momentum, gain, scales);
            // This input becomes the momentum source, the next one current.
            std::swap(lastIn, in);
            std::swap(in, next);
        } else {
            HiddenPassChecked<Pass::Update>(n, in, lastIn, next, momentum, gain, scales);
            for (int j = 0; j <= inputs; ++j)
                input.outputs[j] = hiddenLayer.lastSources[j] = in.Get(j);
        }
        std::swap(hiddenLayer.rateErrors, hiddenLayer.lastRateErrors);
        lastRates = rates;
        n.rate = hiddenLayer.rateErrors.data();
        n.lastRate = hiddenLayer.lastRateErrors.data();
    }
    state = random.State();
}

ORVALIS_CLONES double MeasureLoop(std::vector<NetLayer>& layers, const VectorView& data,
                                  int first, int last, double gain, double& patternError)
{
    NetLayer& input = layers[0];
    Net3 n(layers);
    double outSum = 0.0;
    n.outSum = &outSum;
    InputVector in(input.spare.data());
    double total = 0.0;
    for (int row = first; row <= last; ++row) {
        FillInput(in, data, row, n.inputs);
        HiddenPass<Pass::Forward, false>(n, in, in, in, 0.0, gain);
        const double o = FinishForward(n, gain);
        layers[2].outputs[1] = o;
        const double err = data.target[row] - o;
        patternError = 0.0 + 0.5 * (err * err);
        total = total + patternError;
    }
    if (last >= first)
        for (int j = 0; j <= n.inputs; ++j)
            input.outputs[j] = in.Get(j);
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
