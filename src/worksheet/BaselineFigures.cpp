#include "worksheet/BaselineFigures.h"

#include "grid/core/CellStore.h"

#include <algorithm>
#include <cmath>

namespace orvalis {

namespace {

// Running sums of one section.
struct Sums {
    int n = 0;
    double absError = 0.0;
    double squaredError = 0.0;
    double absPercent = 0.0;
    int percentRows = 0;
    double naiveSquaredError = 0.0;
    int directionHits = 0;
};

void AddRow(Sums& sums, double actual, double estimate, double previous)
{
    const double error = actual - estimate;
    const double naiveError = actual - previous;
    ++sums.n;
    sums.absError += std::fabs(error);
    sums.squaredError += error * error;
    sums.naiveSquaredError += naiveError * naiveError;
    if (actual != 0.0) {
        sums.absPercent += std::fabs(error / actual) * 100.0;
        ++sums.percentRows;
    }
    const bool actualUp = actual - previous >= 0.0;
    const bool estimateUp = estimate - previous >= 0.0;
    if (actualUp == estimateUp)
        ++sums.directionHits;
}

SectionFigures Finish(ResultSection section, const Sums& sums)
{
    SectionFigures figures;
    figures.section = section;
    figures.n = sums.n;
    figures.mapeLeftOut = sums.n - sums.percentRows;
    if (sums.n == 0)
        return figures;
    const double n = sums.n;
    figures.mae = sums.absError / n;
    figures.rmse = std::sqrt(sums.squaredError / n);
    if (sums.percentRows > 0)
        figures.mape = sums.absPercent / sums.percentRows;
    figures.naiveRmse = std::sqrt(sums.naiveSquaredError / n);
    // A series that never moves has nothing to beat: the ratio has no value.
    if (*figures.naiveRmse > 0.0)
        figures.theilU = *figures.rmse / *figures.naiveRmse;
    figures.directionHits = sums.directionHits * 100.0 / n;
    return figures;
}

} // namespace

BaselineFigures ComputeBaselineFigures(const CellStore& store, const ResultLayout& layout)
{
    BaselineFigures result;
    const int target = layout.targetColumns.empty() ? 0 : layout.targetColumns.front();
    for (int s = 0; s < static_cast<int>(result.size()); ++s) {
        const auto section = static_cast<ResultSection>(s);
        Sums sums;
        if (target > 0 && layout.valEstColumn > 0) {
            const int begin = std::max(layout.SectionBegin(section), layout.estimateBegin);
            const int end = std::min(layout.SectionEnd(section), layout.estimateEnd);
            for (int row = std::max(begin, 1); row < end; ++row) {
                const auto actual = ReadDataValue(store, layout, row, target);
                const auto estimate = ReadDataValue(store, layout, row, layout.valEstColumn);
                const auto previous = ReadDataValue(store, layout, row - 1, target);
                if (actual && estimate && previous)
                    AddRow(sums, *actual, *estimate, *previous);
            }
        }
        result[static_cast<std::size_t>(s)] = Finish(section, sums);
    }
    return result;
}

} // namespace orvalis
