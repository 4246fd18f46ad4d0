#pragma once

#include "grid/core/GridTypes.h"

namespace orvalis {

// Where a worksheet keeps things inside its grid. The grid is the worksheet's store of
// truth: section counts, state, figures and column roles are cell texts at these
// coordinates, (row, column) with row 0 and column 0 the fixed title band.

constexpr int kWorksheetRows = 1001; // grid rows of a new worksheet, including the fixed row 0
// Grid rows a worksheet may grow to (import, paste, typing, extrapolation, a file),
// including the header rows above the data.
constexpr int kMaxWorksheetRows = 1048576;
constexpr int kWorksheetColumns = 69;    // grid columns, including the label column 0
constexpr int kLastDataColumn = 68;      // data columns are 1..68
constexpr int kRoleRow = 6;              // "I/O Select:" row: one role text per column
constexpr int kCommentRow = 7;           // exists only while the comment line is on

// Header value cells. Column 2 holds the five section values read back on edit.
constexpr int kValueColumn = 2;
constexpr int kStartOffsetRow = 1;
constexpr int kNumTrainingRow = 2;
constexpr int kNumTestingRow = 3;
constexpr int kNumEvalRow = 4;
constexpr int kNumTapsRow = 5;
// Column 4: state text and the two figures of merit.
constexpr int kStateColumn = 4;
constexpr int kStateRow = 1;
constexpr int kSlopeFmRow = 2;
constexpr int kValueFmRow = 3;
// Column 6: the four error figures, rows 1..4.
constexpr int kFigureColumn = 6;

// Limits of the role scan.
constexpr int kMaxInputSets = 16;
constexpr int kMaxTargetSets = 6;

// Data rows of a worksheet grid row range: FirstDataRow is 8 with the comment row, 7
// without.
constexpr int FirstDataRowFor(bool useCommentLine) { return useCommentLine ? 8 : 7; }

// The worksheet's training state, shown as text in cell (1,4).
enum class WorksheetState : int { Init = 1, Trained = 2, Eval = 3 };

const char* StateText(WorksheetState state);

// Background colours of the header block.
constexpr GridColour kTitleColour = Rgb(255, 255, 128);   // row 0, column 0, role row
constexpr GridColour kHeaderColour = Rgb(128, 255, 255);  // rows 1-5, columns 1 and up
constexpr GridColour kTextBackColour = Rgb(255, 255, 224); // every other cell

// Text formats used by the header block.
constexpr unsigned kFormatTitle = FormatWordBreak;  // 0x10
constexpr unsigned kFormatLeft = FormatEndEllipsis | FormatSingleLine | FormatVCenter;  // 0x8024
constexpr unsigned kFormatCentre = kFormatLeft | FormatCenter;                        // 0x8025
constexpr unsigned kFormatRight = kFormatLeft | FormatRight;                          // 0x8026

} // namespace orvalis
