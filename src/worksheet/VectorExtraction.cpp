#include "worksheet/VectorExtraction.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ChangeLag.h"
#include "worksheet/NumberText.h"
#include "worksheet/UserMessages.h"
#include "worksheet/VectorSets.h"
#include "worksheet/Worksheet.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace orvalis {

namespace {

constexpr double kFallbackMin = 0.0;
constexpr double kFallbackMax = 255.0;

std::string EmptyCellMessage(bool target, std::int64_t row, int rowCount)
{
    char text[160];
    std::snprintf(text, sizeof text,
                  target ? "Error: (Aborting) Non-Numeric Input Cell Encountered at Row: %d\n"
                           "Expecting %d Data Rows"
                         : "Error: Non-Numeric Input Cell Encountered at Row: %d\n"
                           "Expecting %d Data Rows",
                  static_cast<int>(row), rowCount);
    return text;
}

// The refusals that need no cell: they keep the moving average and the network's
// window from dividing by zero or reading before the first row.
bool SectionsUsable(Worksheet& ws)
{
    const SectionCounts& c = ws.counts;
    if (ws.inputSetCount == 0 || ws.targetSetCount == 0 || c.numTraining <= 0 ||
        c.numTesting <= 0) {
        ws.Messages().Error("Error: Training or Testing Section Size = 0");
        return false;
    }
    if (c.numEval < 0) {
        ws.Messages().Error("Error: Num Eval Must Not Be Negative");
        return false;
    }
    if (c.numTaps < 1) {
        ws.Messages().Error("Error: Num Taps Must Be At Least 1");
        return false;
    }
    // 2 Pass adds the target's moving average back onto the estimate, and that average
    // takes in the row being estimated. Over a window of one row it is the row itself:
    // the network would have nothing to learn and every "estimate" would be the actual
    // value, rated a perfect fit.
    if (c.numTaps < 2 && ws.Settings().use2PassEstimate) {
        ws.Messages().Error("Error: Num Taps Must Be At Least 2 in 2 Pass Mode");
        return false;
    }
    // Counts typed or stored near the int limit wrap when added as ints; in 64 bits
    // the sum is exact, and sections longer than the grid could never be filled.
    const std::int64_t sections =
        static_cast<std::int64_t>(c.numTraining) + c.numTesting + c.numEval;
    if (sections > ws.Store().GetRowCount() - ws.firstDataRow) {
        ws.Messages().Error("Error: Sections Run Past the Last Worksheet Row");
        return false;
    }
    return true;
}

// A data cell's value. An empty cell has none, and neither has one whose number is not
// finite: "NaN" or "inf" is how data tools write a missing value, and a single nan
// would silently poison every figure of the run.
bool ReadDataCell(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    value = ReadNumberText(text);
    return std::isfinite(value);
}

// Reads rows 0..rowCount-1 of every input and target column. A negative rowCount (the
// sum of huge section counts wrapped) reads until the grid ends, where it is refused.
bool ReadCells(Worksheet& ws, int rowCount)
{
    const CellStore& store = ws.Store();
    VectorSets& v = ws.vectors;
    const auto& inputs = ws.roles.inputColumns;
    const auto& targets = ws.roles.targetColumns;
    const std::int64_t rows = rowCount < 0 ? std::numeric_limits<std::int64_t>::max() : rowCount;
    static const std::string empty;
    for (std::int64_t r = 0; r < rows; ++r) {
        const std::int64_t gridRow = ws.firstDataRow + r;
        const bool pastGrid = gridRow >= store.GetRowCount();
        const auto cell = [&](int col) -> const std::string& {
            return pastGrid ? empty : store.CellTextRef(static_cast<int>(gridRow), col);
        };
        for (std::size_t k = 0; k < inputs.size() && k < VectorSets::kInputSets; ++k) {
            double value = 0.0;
            if (!ReadDataCell(cell(inputs[k]), value)) {
                ws.Messages().Error(EmptyCellMessage(false, r + 1, rowCount));
                return false;
            }
            v.Input(static_cast<int>(k))[r] = value;
        }
        for (std::size_t t = 0; t < targets.size() && t < VectorSets::kTargetSets; ++t) {
            double value = 0.0;
            if (!ReadDataCell(cell(targets[t]), value)) {
                ws.Messages().Error(EmptyCellMessage(true, r + 1, rowCount));
                return false;
            }
            v.Target(static_cast<int>(t))[r] = value;
        }
    }
    return true;
}

// Replaces rows 0..rows-1 of every input set and target set 0 by their changes at lag L,
// keeping the values in the level arrays. Rows below L have no change; they are set to
// 0, and the run starts its windows at row L (VectorViewOf), so no pattern, range or
// moving average reads them.
void LearnTheChange(VectorSets& v, int inputs, int rows, int lag)
{
    const auto difference = [&](double* x, double* level) {
        std::copy_n(x, rows, level);
        for (int j = rows - 1; j >= 0; --j)
            x[j] = j >= lag ? level[j] - level[j - lag] : 0.0;
    };
    for (int k = 0; k < inputs; ++k)
        difference(v.Input(k), v.Level(k));
    difference(v.Target(0), v.Level(VectorSets::kInputSets));
}

// The 2 Pass moving averages and the 0.1..0.9 scaling of the changes, over the rows from
// L on, as the values are treated from row 0 on.
void DetrendAndScaleChanges(Worksheet& ws, int m, int lag, bool forTraining)
{
    VectorSets& v = ws.vectors;
    const int inputs = std::min<int>(static_cast<int>(ws.roles.inputColumns.size()),
                                     VectorSets::kInputSets);
    const int first = std::min(lag, std::max(m, 0));
    const int count = m - first;
    for (int k = 0; k < inputs; ++k)
        std::fill(v.InputAverage(k), v.InputAverage(k) + first, 0.0);
    std::fill(v.TargetAverage(0), v.TargetAverage(0) + first, 0.0);
    if (ws.Settings().use2PassEstimate) {
        for (int k = 0; k < inputs; ++k)
            MovingAverageDetrend(v.InputAverage(k) + first, v.Input(k) + first, count, ws.counts.numTaps);
        MovingAverageDetrend(v.TargetAverage(0) + first, v.Target(0) + first, count, ws.counts.numTaps);
    } else {
        for (int k = 0; k < inputs; ++k)
            std::fill(v.InputAverage(k) + first, v.InputAverage(k) + m, 0.0);
        std::fill(v.TargetAverage(0) + first, v.TargetAverage(0) + m, 0.0);
    }
    TargetScale discarded;
    for (int k = 0; k < inputs; ++k)
        ScaleToUnitRange(discarded, v.Input(k) + first, count, kFallbackMin, kFallbackMax);
    TargetScale& scale = forTraining ? v.trainingTargetScale : v.evaluationTargetScale;
    v.targetMean = ScaleToUnitRange(scale, v.Target(0) + first, count, kFallbackMin, kFallbackMax);
}

} // namespace

bool ExtractVectors(Worksheet& ws, int rowCount, bool forTraining)
{
    if (!SectionsUsable(ws))
        return false;
    // Every row read has its place: the sections fit the grid, and a row count past the
    // grid stops at the grid's end with the empty-cell message.
    ws.vectors.Reserve(std::min(rowCount < 0 ? INT_MAX : rowCount, ws.Store().GetRowCount()));
    if (!ReadCells(ws, rowCount))
        return false;

    // Every row up to rowCount was read, so the rows used below exist in the arrays.
    const SectionCounts& c = ws.counts;
    const std::int64_t sections = static_cast<std::int64_t>(c.numTraining) + c.numTesting;
    const int m = static_cast<int>(std::clamp<std::int64_t>(forTraining ? sections : rowCount, 0,
                                                            std::max(rowCount, 0)));
    VectorSets& v = ws.vectors;
    const int inputs = std::min<int>(static_cast<int>(ws.roles.inputColumns.size()),
                                     VectorSets::kInputSets);
    const int fitted = static_cast<int>(std::clamp<std::int64_t>(sections, 0, std::max(rowCount, 0)));
    const int lag = forTraining ? ResolveChangeLag(ws.Settings(), v.Target(0), fitted)
                                : TrainedChangeLag(ws, v.Target(0), fitted);
    v.changeLag = lag;
    if (lag > 0) {
        LearnTheChange(v, inputs, std::max(rowCount, 0), lag);
        DetrendAndScaleChanges(ws, m, lag, forTraining);
        return true;
    }
    if (ws.Settings().use2PassEstimate) {
        for (int k = 0; k < inputs; ++k)
            MovingAverageDetrend(v.InputAverage(k), v.Input(k), m, c.numTaps);
        MovingAverageDetrend(v.TargetAverage(0), v.Target(0), m, c.numTaps);
    } else {
        const int zeroed = static_cast<int>(std::min<std::int64_t>(sections, v.Capacity()));
        for (int k = 0; k < inputs; ++k)
            std::fill(v.InputAverage(k), v.InputAverage(k) + zeroed, 0.0);
        std::fill(v.TargetAverage(0), v.TargetAverage(0) + zeroed, 0.0);
    }

    TargetScale discarded;
    for (int k = 0; k < inputs; ++k)
        ScaleToUnitRange(discarded, v.Input(k), m, kFallbackMin, kFallbackMax);
    TargetScale& scale = forTraining ? v.trainingTargetScale : v.evaluationTargetScale;
    v.targetMean = ScaleToUnitRange(scale, v.Target(0), m, kFallbackMin, kFallbackMax);
    return true;
}

double MovingAverageDetrend(double* avg, double* x, int count, int taps)
{
    long double total = 0.0L;
    for (int i = 0; i < count; ++i) {
        const int first = i < taps ? 0 : i - taps + 1;
        long double sum = 0.0L;
        for (int j = first; j <= i; ++j)
            sum += x[j];
        avg[i] = static_cast<double>(sum / (i - first + 1));
        total += avg[i];
    }
    for (int i = 0; i < count; ++i)
        x[i] = x[i] - avg[i];
    return count > 0 ? static_cast<double>(total / count) : 0.0;
}

double ScaleToUnitRange(TargetScale& out, double* x, int count, double fallbackMin,
                        double fallbackMax)
{
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < count; ++i) {
        if (x[i] <= min)
            min = x[i];
        if (x[i] >= max)
            max = x[i];
    }
    if (min == max) {
        min = fallbackMin;
        max = fallbackMax;
    }
    double mean = 0.0;
    for (int i = 0; i < count; ++i) {
        x[i] = 0.1 + (0.8 * (x[i] - min)) / (max - min);
        mean = mean + x[i] / count;
    }
    out.min = static_cast<float>(min);
    out.max = static_cast<float>(max);
    out.mean = static_cast<float>(mean);
    return mean;
}

} // namespace orvalis
