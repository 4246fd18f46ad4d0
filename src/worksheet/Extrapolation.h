#pragma once

namespace orvalis {

class Worksheet;

// The network's prediction array as extrapolation uses it: one further output from the
// worksheet's current vectors, and the slots that hold outputs by data row.
class PredictionSlots {
public:
    virtual ~PredictionSlots() = default;
    // The network's first output for data row `row` from the vectors as they stand.
    virtual double PredictRow(int row) = 0;
    virtual float Slot(int row) const = 0;
    virtual void SetSlot(int row, float value) = 0;
};

// Rows an evaluation extends the series by: in Model Evaluate mode 1 when the output of
// a row estimates the row before (phaseOffset -1), else 0; in Data Extrapolate mode
// extrapolationRows, plus 1 for phaseOffset -1.
int ExtrapolationCountFor(int resultsMode, int extrapolationRows, int phaseOffset);

// Extends the "Trg/In" series by ws.extrapolationCount + 1 rows past TotalRows, feeding
// each back-transformed prediction into the grid and predicting the next row from it;
// other input columns (and target-only columns) repeat their last value. The network's
// slots TotalRows .. TotalRows+count+1 receive the outputs. The grid rows used as
// scratch get back the texts they had before, so the user's cells there are never lost;
// the extended series survives only in the slots. An extraction failure on the way
// shows its message and stops the extension: the scratch rows are put back all the
// same and the result is false. The caller makes sure the scratch rows lie inside the
// grid.
bool ExtrapolateSeries(Worksheet& ws, PredictionSlots& slots);

} // namespace orvalis
