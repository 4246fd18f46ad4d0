#pragma once

namespace orvalis {

// The numbers a network run works on, as the worksheet's vector extraction leaves
// them: one array per input set and the first target set, all already scaled. The
// view owns nothing; the arrays must outlive every engine call that is given it.
//
// For a data row r the engine reads input set k at rows r-numTaps .. r-1 (oldest
// first, set after set) and the target at rows r .. r+outputs-1 (output unit i is
// compared with row r+i-1). Every row read must lie in 0..rowCount-1; the engine does
// not check this itself: CBackpropNet::DataFits says whether a run may start.
struct VectorView {
    const double* const* inputs = nullptr; // inputSetCount pointers, rowCount values each
    int inputSetCount = 0;                 // input sets, each contributing numTaps values
    const double* target = nullptr;        // target set 0, rowCount values
    int rowCount = 0;                      // readable rows of every array above
    int numTaps = 0;                       // window length: rows before r that feed row r
};

} // namespace orvalis
