#pragma once

#include <cstdint>

namespace orvalis {

class Worksheet;

// What the estimate dialog shows after an evaluation in Model Evaluate mode.
struct EstimateFigures {
    bool show = false;            // Model Evaluate mode: the dialog opens
    float slopeConfidence = 0.0f; // SlopeFM
    float valueConfidence = 0.0f; // ValueFM
    float actualBasis = 0.0f;     // TargetNetChange
    float estimateBasis = 0.0f;   // EstimateNetChange
    int intervalLength = 0;       // NumEval + ExtrapolationRows
};

// The rows an evaluation in the current results mode adds after the sections
// (ExtrapolationCountFor), and whether they and their scratch row can stay on the
// worksheet: a worksheet too short for them grows, up to its row limit.
struct ExtrapolationRoom {
    int count = 0;             // rows the evaluation extends the series by
    int lastDataRow = 0;       // data row number ("Data n") the sections end on
    std::int64_t gridRows = 0; // grid rows the extension and its scratch row need
    int rowsShort = 0;         // rows missing past the row limit; 0 when it fits
    bool Fits() const { return rowsShort == 0; }
};
ExtrapolationRoom ExtrapolationRoomOf(const Worksheet& ws);

// Evaluate: applies the worksheet's trained network, unchanged, to its Evaluate rows,
// extends the series when the results mode or the phase offset asks for it, writes the
// results and marks the worksheet Eval (it is not marked modified). Refuses with a
// message and returns false: in state Init ("Error: Orvalis not Trained", before
// anything else), on a failed role scan or extraction, and (before the network is
// used) when the network does not take the worksheet's window, the window is longer
// than the Training and Testing rows (or as long, at phase offset -1, which starts it a
// row earlier), or the extension would pass the worksheet's row limit; and when a row of
// the extension does not extract (a prediction that is not a number). A worksheet too
// short for the extension grows to hold it before the network runs.
// figures, when given, receives what the estimate dialog shows.
bool EvaluateWorksheet(Worksheet& ws, EstimateFigures* figures = nullptr);

} // namespace orvalis
