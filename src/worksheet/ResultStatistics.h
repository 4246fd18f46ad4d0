#pragma once

#include <vector>

namespace orvalis {

class Worksheet;

// The figures of the last results pass, each a 32-bit float. The six error figures and
// figures of merit are also shown in the header block; the two net changes go to the
// estimate dialog.
struct ResultStatistics {
    float slopeErrAvg = 0.0f;      // cell (1,6), "%.5f"
    float slopeErrSD = 0.0f;       // cell (2,6), "%.5f"
    float slopeFM = 0.0f;          // cell (2,4), "%.3f": % of rows with the right direction
    float valueErrAvg = 0.0f;      // cell (3,6), "%.5f"
    float valueErrSD = 0.0f;       // cell (4,6), "%.5f"
    float valueFM = 0.0f;          // cell (3,4), "%.3f": % the error spread is below the target's
    float targetNetChange = 0.0f;  // 100 plus the target's steps over the Evaluate rows
    float estimateNetChange = 0.0f; // 100 plus the estimate's steps over the same rows
};

// After training: decides the worksheet's phaseOffset from trainingPredictions, writes
// the result columns of rows 0..TotalRows-1 ("N/A" outside the Training and Testing
// rows that have a full window) and the six figures. Non-finite figures (a single row,
// a constant target) are shown as the C library prints them.
void WriteTrainingResults(Worksheet& ws);

// After evaluation: writes the result columns of rows 0..TotalRows+ExtrapolationRows-1
// from evaluationPredictions ("N/A" before the Evaluate rows; extrapolated rows get
// "Val:Est" and "Val:Slope" only). In Model Evaluate mode also the six figures and the
// two net changes; in Data Extrapolate mode the six cells show "---" and the figures
// keep their values. leakFree, when given, holds the estimates of the Evaluate rows from
// the values before each row (the forecast check's, in row order): they are written and
// every result is formed from them, with steps in the network's output units.
void WriteEvaluationResults(Worksheet& ws, const std::vector<double>* leakFree = nullptr);

} // namespace orvalis
