#pragma once

#include <optional>
#include <vector>

namespace orvalis {

// A linear autoregression on a window of `taps` values: y[j] is taken for
// b0 + b1 y[j-1] + ... + bT y[j-T], fitted by least squares over j = taps .. fitted-1.
// A design whose lags are collinear (a straight line, a constant series) has many
// least-squares solutions; the fit takes the one of least norm, which forecasts a
// series that the lags determine exactly as exactly as any other.
class LinearBaseline {
public:
    // Fits on y[0 .. fitted-1]; false (and no forecasts) when taps < 1, fitted <= taps
    // or the values are not finite.
    bool Fit(const double* y, int fitted, int taps);
    // b0 + b1 y[row-1] + ... + bT y[row-T]; row >= taps, and y must hold the rows before
    // row. Empty when the fit failed.
    std::optional<double> Forecast(const double* y, int row) const;
    // b0 .. bT, in target units.
    const std::vector<double>& Coefficients() const { return m_coefficients; }

private:
    std::vector<double> m_coefficients;
    // The fit in centred units, which the forecast uses: y = mean + spread * w0 +
    // w1 (y[row-1] - mean) + ... (adding the large mean back once, at the end).
    std::vector<double> m_weights;
    double m_mean = 0.0;
    double m_spread = 1.0;
};

} // namespace orvalis
