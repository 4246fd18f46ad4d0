#include "worksheet/CheckSeries.h"

#include "worksheet/AppSettings.h"
#include "worksheet/NumberText.h"
#include "worksheet/VectorExtraction.h"
#include "worksheet/VectorSets.h"
#include "worksheet/Worksheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace orvalis {

namespace {

// The extraction's range for a series whose values are all equal: it cannot divide by
// max - min, so it scales as if the range were 0..255.
constexpr double kFallbackMin = 0.0;
constexpr double kFallbackMax = 255.0;

bool ReadColumn(const Worksheet& ws, int col, int rows, std::vector<double>& values,
                std::string& reason)
{
    values.assign(static_cast<std::size_t>(rows), 0.0);
    const CellStore& store = ws.Store();
    for (int r = 0; r < rows; ++r) {
        const int gridRow = ws.firstDataRow + r;
        const std::string& text = gridRow < store.GetRowCount() ? store.CellTextRef(gridRow, col)
                                                                : std::string();
        const double value = text.empty() ? std::nan("") : ReadNumberText(text);
        if (!std::isfinite(value)) {
            char line[120];
            std::snprintf(line, sizeof line, "row %d of column %d does not hold a number",
                          r + 1, col);
            reason = line;
            return false;
        }
        values[static_cast<std::size_t>(r)] = value;
    }
    return true;
}

// The detrended series of the check: 2 Pass removes the trailing mean of the T rows up
// to each row, summed as the extraction sums it, so rows 0..F-1 come out bit for bit
// as training saw them.
std::vector<double> Detrended(const std::vector<double>& x, int count, int taps, bool twoPass)
{
    std::vector<double> d(x.begin(), x.begin() + count);
    if (twoPass) {
        std::vector<double> average(static_cast<std::size_t>(count));
        MovingAverageDetrend(average.data(), d.data(), count, taps);
    }
    return d;
}

void TrainingRange(const std::vector<double>& d, int fitted, double& min, double& max)
{
    min = std::numeric_limits<double>::infinity();
    max = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < fitted; ++i) {
        min = std::min(min, d[static_cast<std::size_t>(i)]);
        max = std::max(max, d[static_cast<std::size_t>(i)]);
    }
    if (min == max) {
        min = kFallbackMin;
        max = kFallbackMax;
    }
}

} // namespace

bool ReadCheckSeries(const Worksheet& ws, int rows, CheckSeries& out, std::string& reason)
{
    const int inputSets =
        std::min(static_cast<int>(ws.roles.inputColumns.size()), VectorSets::kInputSets);
    const int targetColumn = ws.roles.targetColumns.front();
    out.inputs.assign(static_cast<std::size_t>(inputSets), {});
    out.scaled.assign(static_cast<std::size_t>(inputSets), {});
    out.inputMin.assign(static_cast<std::size_t>(inputSets), 0.0);
    out.inputMax.assign(static_cast<std::size_t>(inputSets), 0.0);
    out.rows = rows;
    out.targetInput = -1;
    for (int k = 0; k < inputSets; ++k) {
        const int col = ws.roles.inputColumns[static_cast<std::size_t>(k)];
        if (!ReadColumn(ws, col, rows, out.inputs[static_cast<std::size_t>(k)], reason))
            return false;
        if (col == targetColumn && out.targetInput < 0)
            out.targetInput = k;
    }
    if (out.targetInput >= 0)
        out.target = out.inputs[static_cast<std::size_t>(out.targetInput)];
    else if (!ReadColumn(ws, targetColumn, rows, out.target, reason))
        return false;

    for (int k = 0; k < inputSets; ++k) {
        const auto i = static_cast<std::size_t>(k);
        std::vector<double> d = Detrended(out.inputs[i], rows, out.taps, out.twoPass);
        TrainingRange(d, out.fitted, out.inputMin[i], out.inputMax[i]);
        for (double& v : d)
            v = out.Scale(k, v);
        out.scaled[i] = std::move(d);
    }
    double min = 0.0;
    double max = 0.0;
    TrainingRange(Detrended(out.target, out.fitted, out.taps, out.twoPass), out.fitted, min, max);
    out.targetMin = static_cast<float>(min);
    out.targetMax = static_cast<float>(max);
    return true;
}

} // namespace orvalis
