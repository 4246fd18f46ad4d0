#pragma once

#include <vector>

namespace orvalis {

class CBackpropNet;
struct CheckSeries;

// The h-step errors of the network's recursive forecasts from every origin o =
// max(firstOrigin, taps) .. F-1, h = 1 .. horizon, while o+h-1 <= F-1: element h-1 holds
// the errors y[o+h-1] - estimate, origins in ascending order. The forecasts are those of
// NetworkForecaster::Recursive (each estimate standing in for its row, other input sets
// held at their last known value), computed for many origins at once: the layers
// multiply whole blocks of windows, and the sigmoid is a vectorised exponential, so an
// estimate may differ from the engine's single-row pass in its last bits.
std::vector<std::vector<double>> RecursiveErrors(const CBackpropNet& net, const CheckSeries& series,
                                                 int firstOrigin, int horizon);

} // namespace orvalis
