#include "worksheet/NetworkForecaster.h"

#include "worksheet/CheckSeries.h"

namespace orvalis {

NetworkForecaster::NetworkForecaster(const CBackpropNet& net, const CheckSeries& series)
    : m_net(net), m_series(series)
{
    const std::size_t sets = series.scaled.size();
    for (const std::vector<double>& s : series.scaled)
        m_pointers.push_back(s.data());
    m_view.inputs = m_pointers.data();
    m_view.inputSetCount = static_cast<int>(sets);
    m_view.target = series.target.data(); // never read: no pattern is trained or measured
    m_view.rowCount = series.rows;
    m_view.numTaps = series.taps;
    m_window.assign(sets, {});
    m_windowPointers.assign(sets, nullptr);
}

double NetworkForecaster::Estimate(double output, long double previousTargets) const
{
    const double g = m_series.Unscale(output);
    if (!m_series.twoPass)
        return g;
    // e = g + (S + e) / T, solved for e.
    const double t = m_series.taps;
    return (t * g + static_cast<double>(previousTargets)) / (t - 1.0);
}

double NetworkForecaster::OneStep(int row)
{
    const std::vector<double>& y = m_series.LearnedTarget();
    long double previous = 0.0L;
    if (m_series.twoPass)
        for (int i = row - m_series.taps + 1; i < row; ++i)
            previous += y[static_cast<std::size_t>(i)];
    const double e = Estimate(m_net.PredictRow(row, m_view), previous);
    // A change is turned back by the actual value L rows before, which the row follows.
    const int lag = m_series.lag;
    return lag > 0 ? e + m_series.target[static_cast<std::size_t>(row - lag)] : e;
}

double NetworkForecaster::ForecastValue(int k, int origin, int row) const
{
    if (k == m_series.targetInput)
        return m_forecastTarget[static_cast<std::size_t>(row - origin)];
    return m_series.inputs[static_cast<std::size_t>(k)][static_cast<std::size_t>(origin - 1)];
}

void NetworkForecaster::Recursive(int origin, int count, std::vector<double>& estimates)
{
    const int taps = m_series.taps;
    const int sets = static_cast<int>(m_window.size());
    estimates.assign(static_cast<std::size_t>(count), 0.0);
    m_forecastTarget.assign(static_cast<std::size_t>(count), 0.0);
    // Window index i stands for row origin - taps + i.
    for (int k = 0; k < sets; ++k) {
        std::vector<double>& w = m_window[static_cast<std::size_t>(k)];
        const double* scaled = m_pointers[static_cast<std::size_t>(k)];
        w.assign(scaled + (origin - taps), scaled + origin);
        w.resize(static_cast<std::size_t>(taps + count), 0.0);
        m_windowPointers[static_cast<std::size_t>(k)] = w.data();
    }
    VectorView view = m_view;
    view.inputs = m_windowPointers.data();
    view.rowCount = taps + count;

    // The value of row `row` of set k (or of the target, k = -1) as the forecast from
    // this origin sees it: actual before the origin, forecast from it on.
    const auto value = [&](int k, int row) -> double {
        if (row < origin)
            return k < 0 ? m_series.target[static_cast<std::size_t>(row)]
                         : m_series.inputs[static_cast<std::size_t>(k)][static_cast<std::size_t>(row)];
        return k < 0 ? m_forecastTarget[static_cast<std::size_t>(row - origin)] : ForecastValue(k, origin, row);
    };
    // The same for the series the network learned: the value, or its change over L rows.
    const int lag = m_series.lag;
    const auto learned = [&](int k, int row) -> double {
        return lag > 0 ? value(k, row) - value(k, row - lag) : value(k, row);
    };
    const int firstRow = m_series.FirstRow();
    for (int h = 0; h < count; ++h) {
        const int row = origin + h;
        if (h > 0) {
            // The row before this one is a forecast row now: its value enters the
            // windows, and in 2 Pass it is detrended by its own trailing mean.
            const int last = row - 1;
            for (int k = 0; k < sets; ++k) {
                double d = learned(k, last);
                if (m_series.twoPass) {
                    const int first = last - taps + 1 < firstRow ? firstRow : last - taps + 1;
                    long double sum = 0.0L;
                    for (int i = first; i <= last; ++i)
                        sum += learned(k, i);
                    d = d - static_cast<double>(sum / (last - first + 1));
                }
                m_window[static_cast<std::size_t>(k)][static_cast<std::size_t>(taps + h - 1)] =
                    m_series.Scale(k, d);
            }
        }
        long double previous = 0.0L;
        if (m_series.twoPass)
            for (int i = row - taps + 1; i < row; ++i)
                previous += learned(-1, i);
        double e = Estimate(m_net.PredictRow(taps + h, view), previous);
        if (lag > 0)
            e += value(-1, row - lag);
        m_forecastTarget[static_cast<std::size_t>(h)] = e;
        estimates[static_cast<std::size_t>(h)] = e;
    }
}

} // namespace orvalis
