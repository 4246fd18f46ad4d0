#pragma once

namespace orvalis {

// How the progress and estimate dialogs rate a figure of merit x (a percentage):
// "High" above 70, "Fair" above 30 up to 70, "Poor" otherwise, also for a value that is
// not finite.
const char* RateConfidence(double x);

// The bar position for x: x truncated toward zero (the bar clamps it to its 1..100
// range); 0 for a value that is not a number, the int limits beyond them.
int ConfidenceBarPosition(double x);

} // namespace orvalis
