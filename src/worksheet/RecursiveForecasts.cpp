#include "worksheet/RecursiveForecasts.h"

#include "network/BackpropNet.h"
#include "worksheet/CheckSeries.h"

#include <Eigen/Dense>

#include <algorithm>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace orvalis {

namespace {

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx"))) void ZeroUpperHalvesAvx()
{
    _mm256_zeroupper();
}
#endif

// The matrix code here is built for the base instruction set. Wider code that ran just
// before (the window's painting, the C library's copies) may leave the upper halves of
// the vector registers dirty, and then every one of these instructions waits on a merge
// with them: after an Evaluate in the window the block forecasts measured twice as slow.
// Clearing the halves first changes no value and costs a few cycles.
void ZeroUpperVectorHalves()
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx"))
        ZeroUpperHalvesAvx();
#endif
}

// Origins forecast together: bounds the scratch (windows of every set for each origin).
constexpr int kBlockOrigins = 256;

// The network's layers as matrices: outputs of layer l = sigmoid(gain * (W_l a + b_l)).
class LayerStack {
public:
    explicit LayerStack(const CBackpropNet& net) : m_gain(net.parameters.gain)
    {
        const NetworkShape shape = net.BuiltShape();
        for (int l = 1; l < shape.layerCount; ++l) {
            const int units = shape.unitsPerLayer[static_cast<std::size_t>(l)];
            const int sources = shape.unitsPerLayer[static_cast<std::size_t>(l - 1)];
            // The output layer: only its first unit is read.
            const int rows = l + 1 == shape.layerCount ? std::min(units, 1) : units;
            Eigen::MatrixXd w(rows, sources);
            Eigen::VectorXd b(rows);
            for (int i = 0; i < rows; ++i) {
                b(i) = net.Weight(l, i + 1, 0);
                for (int j = 0; j < sources; ++j)
                    w(i, j) = net.Weight(l, i + 1, j + 1);
            }
            m_weights.push_back(std::move(w));
            m_biases.push_back(std::move(b));
        }
    }

    // The first output for each column of inputs.
    Eigen::RowVectorXd FirstOutputs(const Eigen::MatrixXd& inputs) const
    {
        Eigen::MatrixXd a = inputs;
        for (std::size_t l = 0; l < m_weights.size(); ++l) {
            Eigen::ArrayXXd z = ((m_weights[l] * a).colwise() + m_biases[l]).array();
            a = (1.0 / (1.0 + (-m_gain * z).exp())).matrix();
        }
        return a.row(0);
    }

private:
    double m_gain;
    std::vector<Eigen::MatrixXd> m_weights;
    std::vector<Eigen::VectorXd> m_biases;
};

// Running sums of a series in extended precision: the sum of rows a..b-1 is
// prefix[b] - prefix[a].
std::vector<long double> PrefixSums(const std::vector<double>& x)
{
    std::vector<long double> prefix(x.size() + 1, 0.0L);
    for (std::size_t i = 0; i < x.size(); ++i)
        prefix[i + 1] = prefix[i] + x[i];
    return prefix;
}

// The forecasts of one block of origins, step by step.
class OriginBlock {
public:
    OriginBlock(const CheckSeries& s, const std::vector<std::vector<long double>>& inputSums,
                const std::vector<long double>& targetSums, int first, int count, int horizon)
        : m_s(s), m_inputSums(inputSums), m_targetSums(targetSums), m_first(first),
          m_horizon(horizon), m_span(s.taps + horizon),
          m_window(static_cast<std::size_t>(count) * s.inputs.size() * m_span),
          m_forecast(static_cast<std::size_t>(count) * horizon)
    {
        // Window slot i of an origin o stands for row o - taps + i; the first taps
        // slots are the scaled actual values.
        for (int b = 0; b < count; ++b)
            for (std::size_t k = 0; k < s.inputs.size(); ++k)
                std::copy_n(s.scaled[k].begin() + (first + b - s.taps), s.taps, Slot(b, k, 0));
    }

    // Step h (0-based) for the origins whose row o+h is still a fitted row: fills their
    // windows with the row before (a forecast row from h = 1 on) and returns the inputs,
    // one column per origin. active: how many origins, from the first, take part.
    Eigen::MatrixXd Inputs(int h, int active)
    {
        const int taps = m_s.taps;
        const std::size_t sets = m_s.inputs.size();
        Eigen::MatrixXd x(static_cast<Eigen::Index>(taps * sets), active);
        for (int b = 0; b < active; ++b) {
            if (h > 0)
                for (std::size_t k = 0; k < sets; ++k)
                    *Slot(b, k, taps + h - 1) = ForecastRowInput(b, static_cast<int>(k), h - 1);
            for (std::size_t k = 0; k < sets; ++k)
                std::copy_n(Slot(b, k, h), taps, x.col(b).data() + k * taps);
        }
        return x;
    }

    // Turns the network outputs of step h into estimates, kept for the steps after, and
    // appends their errors.
    void Record(int h, const Eigen::RowVectorXd& outputs, std::vector<double>& errors)
    {
        for (int b = 0; b < outputs.size(); ++b) {
            const int origin = m_first + b;
            const int row = origin + h;
            const double g = m_s.Unscale(outputs(b));
            double e = g;
            if (m_s.twoPass) {
                // e = g + (S + e) / T, S the T-1 learned target values before the row.
                const long double previous = Sum(-1, b, row - m_s.taps + 1, row - 1);
                const double t = m_s.taps;
                e = (t * g + static_cast<double>(previous)) / (t - 1.0);
            }
            // A change is turned back by the value L rows before (a forecast one from L
            // steps on).
            if (m_s.lag > 0)
                e += Value(b, -1, row - m_s.lag);
            m_forecast[static_cast<std::size_t>(b) * m_horizon + h] = e;
            errors.push_back(m_s.target[static_cast<std::size_t>(row)] - e);
        }
    }

private:
    double* Slot(int b, std::size_t k, int i)
    {
        return m_window.data() + (static_cast<std::size_t>(b) * m_s.inputs.size() + k) * m_span + i;
    }
    double Forecast(int b, int step) const
    {
        return m_forecast[static_cast<std::size_t>(b) * m_horizon + step];
    }
    // Value of row `row` >= origin of set k (-1: the target) as the forecast sees it.
    double ForecastValue(int b, int k, int row) const
    {
        const int origin = m_first + b;
        if (k < 0 || k == m_s.targetInput)
            return Forecast(b, row - origin);
        return m_s.inputs[static_cast<std::size_t>(k)][static_cast<std::size_t>(origin - 1)];
    }
    // Value of row `row` of set k (-1: the target): actual before the origin, forecast
    // from it on.
    double Value(int b, int k, int row) const
    {
        if (row >= m_first + b)
            return ForecastValue(b, k, row);
        return k < 0 ? m_s.target[static_cast<std::size_t>(row)]
                     : m_s.inputs[static_cast<std::size_t>(k)][static_cast<std::size_t>(row)];
    }
    // The learned series' value of forecast row `row`: the value, or its change.
    double LearnedForecastValue(int b, int k, int row) const
    {
        const double v = ForecastValue(b, k, row);
        return m_s.lag > 0 ? v - Value(b, k, row - m_s.lag) : v;
    }
    // Sum of rows from..to (inclusive, from >= the learned series' first row) of the
    // learned series of set k (-1: the target): actual before the origin, forecast from
    // it on.
    long double Sum(int k, int b, int from, int to) const
    {
        const int origin = m_first + b;
        const std::vector<long double>& prefix =
            k < 0 ? m_targetSums : m_inputSums[static_cast<std::size_t>(k)];
        const int actualEnd = std::min(to + 1, origin);
        long double sum = from < actualEnd ? prefix[static_cast<std::size_t>(actualEnd)] -
                                                 prefix[static_cast<std::size_t>(from)]
                                           : 0.0L;
        for (int row = std::max(from, origin); row <= to; ++row)
            sum += LearnedForecastValue(b, k, row);
        return sum;
    }
    // The scaled input of set k for forecast row origin + step: its value less, in 2 Pass,
    // the trailing mean of the T rows up to it.
    double ForecastRowInput(int b, int k, int step) const
    {
        const int row = m_first + b + step;
        double d = LearnedForecastValue(b, k, row);
        if (m_s.twoPass) {
            const int from = std::max(m_s.FirstRow(), row - m_s.taps + 1);
            d = d - static_cast<double>(Sum(k, b, from, row) / (row - from + 1));
        }
        return m_s.Scale(k, d);
    }

    const CheckSeries& m_s;
    const std::vector<std::vector<long double>>& m_inputSums;
    const std::vector<long double>& m_targetSums;
    int m_first;   // origin of column 0
    int m_horizon; // steps forecast from each origin
    int m_span;    // window slots per set and origin
    std::vector<double> m_window;
    std::vector<double> m_forecast; // count x horizon target estimates
};

} // namespace

std::vector<std::vector<double>> RecursiveErrors(const CBackpropNet& net, const CheckSeries& series,
                                                 int firstOrigin, int horizon)
{
    std::vector<std::vector<double>> errors(static_cast<std::size_t>(std::max(horizon, 0)));
    if (horizon < 1 || !net.IsBuilt())
        return errors;
    ZeroUpperVectorHalves();
    const LayerStack layers(net);
    std::vector<std::vector<long double>> inputSums;
    for (int k = 0; k < static_cast<int>(series.inputs.size()); ++k)
        inputSums.push_back(PrefixSums(series.Learned(k)));
    const std::vector<long double> targetSums = PrefixSums(series.LearnedTarget());

    // The first window must lie on rows with a value of the learned series.
    const int start = std::max(firstOrigin, series.taps + series.FirstRow());
    for (int first = start; first < series.fitted; first += kBlockOrigins) {
        const int count = std::min(kBlockOrigins, series.fitted - first);
        OriginBlock block(series, inputSums, targetSums, first, count, horizon);
        for (int h = 0; h < horizon; ++h) {
            // Origins ascend, so those whose row first+b+h is still fitted come first.
            const int active = std::min(count, series.fitted - h - first);
            if (active <= 0)
                break;
            block.Record(h, layers.FirstOutputs(block.Inputs(h, active)),
                         errors[static_cast<std::size_t>(h)]);
        }
    }
    return errors;
}

} // namespace orvalis
