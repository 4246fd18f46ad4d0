#pragma once

#include "network/BackpropNet.h"
#include "network/VectorView.h"

#include <vector>

namespace orvalis {

struct CheckSeries;

// The network's forecasts of the check's series from the values before a row alone.
// Works on its own copy of the network, so the worksheet's network (its layer values
// included) is left exactly as it was.
class NetworkForecaster {
public:
    // net: built, with series.taps x input sets inputs. series must outlive this object.
    NetworkForecaster(const CBackpropNet& net, const CheckSeries& series);

    // The estimate of row `row` (taps + lag <= row < series.rows) from the actual values
    // of rows row-taps-lag .. row-1: the network's first output in target units, and in
    // 2 Pass the e that equals it plus the trailing mean of the T rows up to row, e
    // included; with a change lag L that e is a change, and the value of row - L is
    // added.
    double OneStep(int row);

    // Forecasts rows origin .. origin+count-1 (taps + lag <= origin, origin+count <= rows)
    // from the actual values before origin, each estimate standing in for its row's
    // value in the windows and moving averages of the rows after it. Input sets other
    // than the target hold their last known value, as an extrapolation copies them
    // down. estimates receives count values.
    void Recursive(int origin, int count, std::vector<double>& estimates);

private:
    // The estimate from the network output for a row and the sum of the T-1 target
    // values before it.
    double Estimate(double output, long double previousTargets) const;
    // A forecast row's value of input set k (row >= origin).
    double ForecastValue(int k, int origin, int row) const;

    CBackpropNet m_net;
    const CheckSeries& m_series;
    std::vector<const double*> m_pointers; // the series' scaled input arrays
    VectorView m_view;
    // Scratch of Recursive: per input set the scaled values of rows origin-T ..
    // origin+count-1, and the raw values of the forecast rows.
    std::vector<std::vector<double>> m_window;
    std::vector<const double*> m_windowPointers;
    std::vector<double> m_forecastTarget;
};

} // namespace orvalis
