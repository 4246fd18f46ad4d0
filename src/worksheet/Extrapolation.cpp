#include "worksheet/Extrapolation.h"

#include "worksheet/AppSettings.h"
#include "worksheet/NumberText.h"
#include "worksheet/VectorExtraction.h"
#include "worksheet/VectorSets.h"
#include "worksheet/Worksheet.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orvalis {

int ExtrapolationCountFor(int resultsMode, int extrapolationRows, int phaseOffset)
{
    const int extra = phaseOffset == -1 ? 1 : 0;
    return resultsMode == ResultsModeEvaluate ? extra : extrapolationRows + extra;
}

namespace {

// The columns extrapolation writes: every input column, then every target column that
// is not also an input (copied down so that the extended rows extract).
std::vector<int> ScratchColumns(const Worksheet& ws)
{
    std::vector<int> columns = ws.roles.inputColumns;
    for (int col : ws.roles.targetColumns)
        if (std::find(columns.begin(), columns.end(), col) == columns.end())
            columns.push_back(col);
    return columns;
}

// The value of the extended "Trg/In" series on data row `row` (row >= 0) as the latest
// extraction read it: a data cell, or an extended cell written before this one.
double ExtendedLevel(Worksheet& ws, int row)
{
    const auto& inputs = ws.roles.inputColumns;
    const auto set = std::find(inputs.begin(), inputs.end(), ws.roles.trgInColumn) - inputs.begin();
    if (row < 0 || set >= VectorSets::kInputSets)
        return 0.0;
    return ws.vectors.Level(static_cast<int>(set))[row];
}

// The text of the extended "Trg/In" cell of data row i: the prediction in slot i turned
// back into the target's units, plus in 2 Pass the moving average of the row it follows.
std::string ExtendedValue(Worksheet& ws, const PredictionSlots& slots, int i, int phase)
{
    const TargetScale& scale = ws.vectors.evaluationTargetScale;
    const long double min = scale.min;
    const long double max = scale.max;
    const long double y = slots.Slot(i);
    float value = static_cast<float>(((y - static_cast<long double>(0.1)) * 1.25L) * (max - min) + min);
    if (ws.Settings().use2PassEstimate)
        value = static_cast<float>(value + ws.vectors.TargetAverage(0)[phase == 0 ? i - 1 : i - 2]);
    const int lag = ws.vectors.changeLag;
    if (lag > 0) {
        // The network gave the change of the row its output belongs to; the value is
        // that change on top of the value L rows before, extended itself once the
        // extension has passed L rows.
        const int outputRow = phase == 0 ? i : i - 1;
        value = static_cast<float>(value + ExtendedLevel(ws, outputRow - lag));
    }
    return FormatNumber("%.3f", value);
}

} // namespace

bool ExtrapolateSeries(Worksheet& ws, PredictionSlots& slots)
{
    CellStore& store = ws.Store();
    const int total = ws.counts.totalRows;
    const int count = ws.extrapolationCount;
    const int phase = ws.phaseOffset == -1 ? -1 : 0;
    const int firstRow = ws.firstDataRow + total;
    const int lastRow = std::min(firstRow + count, store.GetRowCount() - 1);
    const std::vector<int> columns = ScratchColumns(ws);

    std::vector<std::string> saved;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int col : columns)
            saved.push_back(store.CellTextRef(row, col));

    // An extended row that does not extract (a prediction that is not a number, say)
    // ends the extension: predicting on from it would only spread the fault.
    bool extracted = ExtractVectors(ws, total, false);
    if (extracted)
        slots.SetSlot(total, static_cast<float>(slots.PredictRow(phase == 0 ? total : total - 1)));
    for (int k = 0; extracted && k <= count; ++k) {
        const int i = total + k;
        const int row = ws.firstDataRow + i;
        if (row > lastRow)
            break;
        for (int col : columns) {
            const bool extended = col == ws.roles.trgInColumn &&
                                  std::find(ws.roles.inputColumns.begin(), ws.roles.inputColumns.end(),
                                            col) != ws.roles.inputColumns.end();
            // A copy: the text above must not be read while this cell is being replaced.
            std::string text = extended ? ExtendedValue(ws, slots, i, phase)
                                        : store.CellTextRef(row - 1, col);
            store.SetCellText(row, col, text);
        }
        extracted = ExtractVectors(ws, i + 1, false);
        if (extracted)
            slots.SetSlot(i + 1, static_cast<float>(slots.PredictRow(phase == 0 ? i + 1 : i)));
    }

    std::size_t next = 0;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int col : columns)
            store.SetCellText(row, col, saved[next++]);
    return extracted;
}

} // namespace orvalis
