#include "worksheet/LinearBaseline.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>

namespace orvalis {

namespace {

// The least squares of z[j] on 1, z[j-1] .. z[j-T] over j = T .. F-1 through its
// normal equations. Each entry of the (T+1) x (T+1) normal matrix is a lagged sum;
// the sum of z[j-a] z[j-b] over the rows differs from that of z[j-a-1] z[j-b-1] only in
// one row at each end, so the matrix fills from its first lag row in O(T * F) instead
// of O(T^2 * F). z is centred and scaled, which keeps the matrix well away from the
// cancellation a raw price level would bring.
struct NormalEquations {
    Eigen::MatrixXd a;
    Eigen::VectorXd b;
};

NormalEquations BuildNormalEquations(const std::vector<double>& z, int fitted, int taps)
{
    const int p = taps + 1;
    NormalEquations eq{Eigen::MatrixXd::Zero(p, p), Eigen::VectorXd::Zero(p)};
    const auto at = [&](int i) { return z[static_cast<std::size_t>(i)]; };
    // Lag 0 stands for the target itself; column a >= 1 of the design is lag a.
    // s(a, c): sum over j of z[j-a] z[j-c] for 0 <= a <= c <= T.
    Eigen::MatrixXd s = Eigen::MatrixXd::Zero(p, p);
    const int rows = fitted - taps;
    const Eigen::Map<const Eigen::VectorXd> current(z.data() + taps, rows);
    for (int c = 0; c <= taps; ++c)
        s(0, c) = current.dot(Eigen::Map<const Eigen::VectorXd>(z.data() + taps - c, rows));
    for (int a = 1; a <= taps; ++a)
        for (int c = a; c <= taps; ++c)
            s(a, c) = s(a - 1, c - 1) - at(fitted - a) * at(fitted - c) +
                      at(taps - a) * at(taps - c);
    // Plain sums of each lag over the rows, the same way.
    Eigen::VectorXd plain(p);
    plain(0) = current.sum();
    for (int a = 1; a <= taps; ++a)
        plain(a) = plain(a - 1) - at(fitted - a) + at(taps - a);

    eq.a(0, 0) = fitted - taps;
    for (int a = 1; a <= taps; ++a) {
        eq.a(0, a) = eq.a(a, 0) = plain(a);
        for (int c = a; c <= taps; ++c)
            eq.a(a, c) = eq.a(c, a) = s(a, c);
        eq.b(a) = s(0, a);
    }
    eq.b(0) = plain(0);
    return eq;
}

} // namespace

bool LinearBaseline::Fit(const double* y, int fitted, int taps)
{
    m_coefficients.clear();
    m_weights.clear();
    if (!y || taps < 1 || fitted <= taps)
        return false;
    double mean = 0.0;
    for (int j = 0; j < fitted; ++j)
        mean += y[j] / fitted;
    double spread = 0.0;
    for (int j = 0; j < fitted; ++j)
        spread = std::max(spread, std::fabs(y[j] - mean));
    if (!std::isfinite(mean) || !std::isfinite(spread))
        return false;
    if (spread == 0.0)
        spread = 1.0;
    std::vector<double> z(static_cast<std::size_t>(fitted));
    for (int j = 0; j < fitted; ++j)
        z[static_cast<std::size_t>(j)] = (y[j] - mean) / spread;

    const NormalEquations eq = BuildNormalEquations(z, fitted, taps);
    // Rank-revealing: collinear lags leave directions the data cannot fix; those get no
    // weight (the least-norm solution) instead of an arbitrary huge one. The threshold
    // sits well above the rounding of the normal matrix's entries.
    Eigen::CompleteOrthogonalDecomposition<Eigen::MatrixXd> solver;
    solver.setThreshold(1e-10);
    solver.compute(eq.a);
    const Eigen::VectorXd w = solver.solve(eq.b);
    if (!w.allFinite())
        return false;

    // Back to target units: z = (y - mean) / spread, so
    // y = mean + spread * (w0 + sum wi (y[j-i] - mean) / spread).
    m_coefficients.assign(static_cast<std::size_t>(taps) + 1, 0.0);
    double constant = mean + spread * w(0);
    for (int i = 1; i <= taps; ++i) {
        m_coefficients[static_cast<std::size_t>(i)] = w(i);
        constant -= w(i) * mean;
    }
    m_coefficients[0] = constant;
    m_weights.assign(w.data(), w.data() + w.size());
    m_mean = mean;
    m_spread = spread;
    return true;
}

std::optional<double> LinearBaseline::Forecast(const double* y, int row) const
{
    const int taps = static_cast<int>(m_weights.size()) - 1;
    if (taps < 1 || row < taps)
        return std::nullopt;
    double deviation = m_spread * m_weights[0];
    for (int i = 1; i <= taps; ++i)
        deviation += m_weights[static_cast<std::size_t>(i)] * (y[row - i] - m_mean);
    return m_mean + deviation;
}

} // namespace orvalis
