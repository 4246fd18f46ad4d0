#include "worksheet/ResultLayout.h"

#include "grid/core/CellStore.h"
#include "worksheet/AppSettings.h"
#include "worksheet/ChangeLag.h"
#include "worksheet/IntegerText.h"
#include "worksheet/NumberText.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"

#include <algorithm>

namespace orvalis {

namespace {

int ReadCount(const CellStore& store, int row)
{
    return std::max(0, ReadIntegerText(store.GetCellText(row, kValueColumn)));
}

// Sums of counts stay inside the grid's rows: a typed count may be as large as an int.
int Clip(long long value, int capacity)
{
    return static_cast<int>(std::clamp<long long>(value, 0, capacity));
}

} // namespace

int ResultLayout::SectionBegin(ResultSection section) const
{
    long long begin = 0;
    if (section >= ResultSection::Testing)
        begin += numTraining;
    if (section >= ResultSection::Evaluate)
        begin += numTesting;
    if (section >= ResultSection::Extrapolate)
        begin += numEval;
    return Clip(begin, dataRowCapacity);
}

int ResultLayout::SectionEnd(ResultSection section) const
{
    const int sizes[kResultSectionCount] = {numTraining, numTesting, numEval, extrapolationRows};
    return Clip(static_cast<long long>(SectionBegin(section)) + sizes[static_cast<int>(section)],
                dataRowCapacity);
}

ResultLayout ReadResultLayout(const CellStore& store, int firstDataRow, int extrapolationRows)
{
    ResultLayout layout;
    layout.firstDataRow = firstDataRow;
    layout.dataRowCapacity = std::max(0, store.GetRowCount() - firstDataRow);
    layout.numTraining = ReadCount(store, kNumTrainingRow);
    layout.numTesting = ReadCount(store, kNumTestingRow);
    layout.numEval = ReadCount(store, kNumEvalRow);
    layout.numTaps = ReadCount(store, kNumTapsRow);
    layout.extrapolationRows = std::max(0, extrapolationRows);

    const std::string state = store.GetCellText(kStateRow, kStateColumn);
    if (state == StateText(WorksheetState::Trained))
        layout.lastRun = LastRun::Training;
    else if (state == StateText(WorksheetState::Eval))
        layout.lastRun = LastRun::Evaluation;

    const int columns = std::min(store.GetColumnCount(), kLastDataColumn + 1);
    for (int col = 1; col < columns; ++col) {
        const std::string role = store.GetCellText(kRoleRow, col);
        if (role == "Target" || role == "Trg/In")
            layout.targetColumns.push_back(col);
        else if (role == "Val:Est")
            layout.valEstColumn = col;
    }

    const int capacity = layout.dataRowCapacity;
    if (layout.lastRun == LastRun::Training) {
        // The training results leave the last Testing row without an estimate.
        layout.estimateBegin = Clip(layout.numTaps, capacity);
        layout.estimateEnd =
            Clip(static_cast<long long>(layout.numTraining) + layout.numTesting - 1, capacity);
    } else if (layout.lastRun == LastRun::Evaluation) {
        layout.estimateBegin = layout.SectionBegin(ResultSection::Evaluate);
        layout.estimateEnd = layout.SectionEnd(ResultSection::Extrapolate);
    }
    layout.estimateEnd = std::max(layout.estimateBegin, layout.estimateEnd);
    return layout;
}

ResultLayout ReadResultLayout(const Worksheet& ws)
{
    ResultLayout layout =
        ReadResultLayout(ws.Store(), ws.firstDataRow, ws.Settings().extrapolationRows);
    if (layout.lastRun != LastRun::None && ws.estimateBegin >= 0) {
        layout.estimateBegin = std::clamp(ws.estimateBegin, 0, layout.dataRowCapacity);
        layout.estimateEnd = std::clamp(ws.estimateEnd, layout.estimateBegin, layout.dataRowCapacity);
    }
    return layout;
}

void NoteEstimateRows(Worksheet& ws, int extrapolationRows)
{
    const ResultLayout layout = ReadResultLayout(ws.Store(), ws.firstDataRow, extrapolationRows);
    ws.estimateBegin = layout.estimateBegin;
    // Learning the change, training leaves the first L rows after the window without an
    // estimate too.
    if (layout.lastRun == LastRun::Training)
        ws.estimateBegin = std::min(layout.estimateEnd, layout.estimateBegin + ws.vectors.changeLag);
    ws.estimateEnd = layout.estimateEnd;
}

void NoteLoadedEstimateRows(Worksheet& ws)
{
    // The longest extension the results parameters allow.
    constexpr int kMaxExtension = 20;
    int extended = 0;
    const ResultLayout layout = ReadResultLayout(ws.Store(), ws.firstDataRow, 0);
    if (layout.lastRun == LastRun::Evaluation) {
        const int first = layout.SectionEnd(ResultSection::Evaluate);
        while (layout.valEstColumn > 0 && extended < kMaxExtension &&
               ReadDataValue(ws.Store(), layout, first + extended, layout.valEstColumn))
            ++extended;
    }
    NoteEstimateRows(ws, extended);
    // A training run that learned the change left L more rows without an estimate; the
    // file does not hold L, so the settings' lag stands for it, as it does for Evaluate.
    if (layout.lastRun == LastRun::Training)
        ws.estimateBegin = std::min(ws.estimateEnd, layout.estimateBegin + SettingsChangeLag(ws));
}

std::optional<double> ReadDataValue(const CellStore& store, const ResultLayout& layout,
                                    int dataRow, int col)
{
    if (dataRow < 0 || dataRow >= layout.dataRowCapacity || col <= 0)
        return std::nullopt;
    return ReadFiniteNumberText(store.CellTextRef(layout.GridRow(dataRow), col));
}

} // namespace orvalis
