#pragma once

namespace orvalis {

class Worksheet;
struct TargetScale;

// Reads data rows 0..rowCount-1 of the worksheet's input and target columns (as the
// last role scan found them) into its vector sets, removes the trailing moving average
// in 2 Pass mode and scales every input set and target set 0 into 0.1..0.9. Training
// (forTraining) detrends and scales the Training and Testing rows and writes the
// training scale record; evaluation detrends and scales all rowCount rows and writes
// the evaluation record. Returns false after showing the message of the first problem:
// a section size of 0 or below, a negative Num Eval, Num Taps below 1, sections that
// together run past the last grid row (all before any cell is read), or a cell without
// a value: an empty one or one whose number is not finite ("NaN", "inf"). Any other
// text converts leniently ("abc" is 0.0).
bool ExtractVectors(Worksheet& ws, int rowCount, bool forTraining);

// avg[i] = mean of the last min(i+1, taps) values up to x[i], each window summed afresh
// in extended precision; then x[i] -= avg[i]. Returns the mean of the averages.
double MovingAverageDetrend(double* avg, double* x, int count, int taps);

// Scales x[0..count-1] linearly from its range into 0.1..0.9; a constant series uses
// fallbackMin..fallbackMax instead. Writes the range and the mean of the scaled values
// into out as floats and returns that mean.
double ScaleToUnitRange(TargetScale& out, double* x, int count, double fallbackMin,
                        double fallbackMax);

} // namespace orvalis
