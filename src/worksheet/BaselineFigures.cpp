#include "worksheet/BaselineFigures.h"

#include "grid/core/CellStore.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvalis {

namespace {

// The values of one counted row.
struct Row {
    double actual = 0.0;
    double estimate = 0.0;
    double previous = 0.0;
};

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

// Adds a row's values as scaled; whether its actual value is zero is asked of the
// unscaled one (a tiny value beside a huge one scales to zero, and its percentage
// error is then beyond every double).
void AddRow(Sums& sums, double actual, double estimate, double previous, bool actualIsZero)
{
    const double error = actual - estimate;
    const double naiveError = actual - previous;
    ++sums.n;
    sums.absError += std::fabs(error);
    sums.squaredError += error * error;
    sums.naiveSquaredError += naiveError * naiveError;
    if (!actualIsZero) {
        sums.absPercent += std::fabs(error / actual) * 100.0;
        ++sums.percentRows;
    }
    const bool actualUp = actual - previous >= 0.0;
    const bool estimateUp = estimate - previous >= 0.0;
    if (actualUp == estimateUp)
        ++sums.directionHits;
}

// A figure that the sums give beyond the largest double has no value to show.
std::optional<double> Finite(double value)
{
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// The figures of the sums of rows scaled by 2^-scale (see ScaleFor); a power of two
// scales exactly, so the averages are scaled back without a rounding of their own.
SectionFigures Finish(ResultSection section, const Sums& sums, int scale)
{
    SectionFigures figures;
    figures.section = section;
    figures.n = sums.n;
    figures.mapeLeftOut = sums.n - sums.percentRows;
    if (sums.n == 0)
        return figures;
    const double n = sums.n;
    figures.mae = Finite(std::ldexp(sums.absError / n, scale));
    const double rmse = std::sqrt(sums.squaredError / n);
    const double naiveRmse = std::sqrt(sums.naiveSquaredError / n);
    figures.rmse = Finite(std::ldexp(rmse, scale));
    if (sums.percentRows > 0)
        figures.mape = Finite(sums.absPercent / sums.percentRows);
    figures.naiveRmse = Finite(std::ldexp(naiveRmse, scale));
    // A series that never moves has nothing to beat: the ratio has no value.
    if (naiveRmse > 0.0)
        figures.theilU = Finite(rmse / naiveRmse);
    figures.directionHits = sums.directionHits * 100.0 / n;
    return figures;
}

// Rows whose largest value lies beyond 1e150 (or, not 0, below 1e-150) would overflow
// (or underflow) the squared errors: they are summed divided by 2^scale, a power of two
// near their largest value. Ordinary rows are summed as they are (scale 0).
int ScaleFor(const std::vector<Row>& rows)
{
    double largest = 0.0;
    for (const Row& row : rows)
        largest = std::max({largest, std::fabs(row.actual), std::fabs(row.estimate), std::fabs(row.previous)});
    if (largest <= 1e150 && (largest == 0.0 || largest >= 1e-150))
        return 0;
    int scale = 0;
    std::frexp(largest, &scale);
    return scale;
}

} // namespace

BaselineFigures ComputeBaselineFigures(const CellStore& store, const ResultLayout& layout)
{
    BaselineFigures result;
    const int target = layout.targetColumns.empty() ? 0 : layout.targetColumns.front();
    for (int s = 0; s < static_cast<int>(result.size()); ++s) {
        const auto section = static_cast<ResultSection>(s);
        std::vector<Row> rows;
        if (target > 0 && layout.valEstColumn > 0) {
            const int begin = std::max(layout.SectionBegin(section), layout.estimateBegin);
            const int end = std::min(layout.SectionEnd(section), layout.estimateEnd);
            for (int row = std::max(begin, 1); row < end; ++row) {
                const auto actual = ReadDataValue(store, layout, row, target);
                const auto estimate = ReadDataValue(store, layout, row, layout.valEstColumn);
                const auto previous = ReadDataValue(store, layout, row - 1, target);
                if (actual && estimate && previous)
                    rows.push_back({*actual, *estimate, *previous});
            }
        }
        const int scale = ScaleFor(rows);
        Sums sums;
        for (const Row& row : rows)
            AddRow(sums, std::ldexp(row.actual, -scale), std::ldexp(row.estimate, -scale),
                   std::ldexp(row.previous, -scale), row.actual == 0.0);
        result[static_cast<std::size_t>(s)] = Finish(section, sums, scale);
    }
    return result;
}

} // namespace orvalis
