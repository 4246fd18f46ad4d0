#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvalis {

class CellStore;
class Worksheet;

// The four row sections of a worksheet, in data-row order.
enum class ResultSection : int { Training = 0, Testing = 1, Evaluate = 2, Extrapolate = 3 };
constexpr int kResultSectionCount = 4;

// Which run wrote the estimates now in the "Val:Est" column, read from the state text.
enum class LastRun { None, Training, Evaluation };

// Where a worksheet's series and estimates stand, read from its cell texts alone (the
// header values, the state text and the role row), so that a worksheet loaded from a
// file reads exactly as one trained in this session. Rows are data rows (0 is the
// first row under the header block); ranges are half-open [begin, end) and clipped to
// the rows the grid has.
struct ResultLayout {
    int firstDataRow = 8;
    int dataRowCapacity = 0;        // data rows the grid holds
    int numTraining = 0;            // counts as the header cells read; negatives as 0
    int numTesting = 0;
    int numEval = 0;                // 0 while the header shows "---"
    int numTaps = 0;
    int extrapolationRows = 0;      // the application's setting in force
    LastRun lastRun = LastRun::None;
    std::vector<int> targetColumns; // "Target" and "Trg/In" columns, left to right
    int valEstColumn = 0;           // the last "Val:Est" column, 0 for none
    int estimateBegin = 0;          // rows whose estimate the last run computed
    int estimateEnd = 0;

    int SectionBegin(ResultSection section) const;
    int SectionEnd(ResultSection section) const;
    // The first row the network was not trained or tested on: where the forecast starts.
    int ForecastStart() const { return SectionBegin(ResultSection::Evaluate); }
    int GridRow(int dataRow) const { return firstDataRow + dataRow; }
};

// Reads the layout. extrapolationRows is the row count the results mode gives (0 in
// Model Evaluate). After a training run the estimates cover the rows from NumTaps up to
// the last Testing row, which the run leaves without one; after an evaluation they
// cover the Evaluate and Extrapolate rows.
ResultLayout ReadResultLayout(const CellStore& store, int firstDataRow, int extrapolationRows);

// The layout of a worksheet with the estimates of its last run: as the cells read, but
// with the estimate rows the worksheet noted when the run wrote them, so that the
// placeholders a run leaves in the rows before its own are never read as estimates when
// the sections have moved since (a mode switch, a load's automatic sizing).
ResultLayout ReadResultLayout(const Worksheet& ws);

// Notes in ws which rows the run that has just written its results computed, from the
// cells as they stand (extrapolationRows: the rows the run extended the series by).
void NoteEstimateRows(Worksheet& ws, int extrapolationRows);

// The same for a worksheet just read from a file, before its sections are resized: the
// rows an evaluation extended the series by are the numbers in "Val:Est" right after
// the file's sections (none after an evaluation in Model Evaluate mode).
void NoteLoadedEstimateRows(Worksheet& ws);

// The value of a data cell, or nothing when its text does not read as a finite number.
std::optional<double> ReadDataValue(const CellStore& store, const ResultLayout& layout,
                                    int dataRow, int col);

} // namespace orvalis
