#pragma once

namespace orvalis {

class CellStore;
struct AppSettings;

// Writes the fixed part of a new worksheet into store: sizes it to 1001 x 69 with one
// fixed row and column, sets the grid options the worksheet needs, and fills the column
// titles, the legend and row labels, the header block's labels and initial values, the
// role row ("No Data" everywhere), formats, background colours and read-only bits. When
// the store can measure text it is auto-sized and the label column widened by half.
// Returns FirstDataRow (8 with the comment row, 7 without).
int BuildHeaderBlock(CellStore& store, const AppSettings& settings);

// Adds rows at the end of a worksheet's grid until it has rowCount rows, each labelled
// "Data %d" in the label column and formatted like the rows above; the section colours
// are the caller's (UpdateRowLabels). True when the grid has rowCount rows afterwards;
// false (and nothing added) when the store cannot hold that many.
bool AddWorksheetRows(CellStore& store, int firstDataRow, int rowCount);

// Colours the legend cells of the row-label column (rows 2-5: Training, Testing,
// Evaluate, Extrapolate) in the settings' section colours.
void ColourLegend(CellStore& store, const AppSettings& settings);

// Recolours the row-label column for the given section counts (colours only; the
// "Data %d" texts stay), the legend cells included. Rows from firstDataRow on are coloured by the first rule that
// applies: past all sections the title colour; otherwise, only while numTraining and
// numTesting are both non-zero, the colour of the section the row falls in. Other rows,
// and the header rows above firstDataRow other than the legend, keep their colours.
void UpdateRowLabels(CellStore& store, const AppSettings& settings, int firstDataRow,
                     int numTraining, int numTesting, int numEval, int numExtrapolate);

} // namespace orvalis
