#pragma once

#include "worksheet/ResultLayout.h"

#include <array>
#include <optional>

namespace orvalis {

// How the estimates of one section compare with the actual values and with the naive
// forecast that tomorrow equals today. Every figure of a section is taken over the same
// rows: those whose estimate the last run computed and whose actual value, estimate and
// previous actual value all read as numbers. A figure without a value (no rows, a
// naive RMSE of 0 for Theil's U, or a value beyond the largest double) is empty; the
// figures of values of any magnitude are computed without overflow or underflow.
struct SectionFigures {
    ResultSection section = ResultSection::Training;
    int n = 0;                           // rows counted
    std::optional<double> mae;           // mean absolute error, target units
    std::optional<double> rmse;          // root mean square error, target units
    std::optional<double> mape;          // mean absolute percentage error, percent
    int mapeLeftOut = 0;                 // rows MAPE leaves out for a zero actual value
    std::optional<double> naiveRmse;     // RMSE of the previous actual as the estimate
    std::optional<double> theilU;        // rmse / naiveRmse
    std::optional<double> directionHits; // percent of rows whose step direction was right
};

// The Training, Testing and Evaluate sections, in that order.
using BaselineFigures = std::array<SectionFigures, 3>;

// The figures of the worksheet whose cells the layout describes: the actual value is the
// first target column, the estimate the "Val:Est" column. A direction is the sign of
// the step from the previous actual value; a step of 0 counts as up, as the worksheet's
// own slope figures count it.
BaselineFigures ComputeBaselineFigures(const CellStore& store, const ResultLayout& layout);

} // namespace orvalis
