#pragma once

#include "worksheet/WorksheetLayout.h"

#include <string>

namespace orvalis {

// The File Import dialog's values and their validation, without the window: the dialog
// shows the texts below, and on OK hands the field texts to Validate.
class ImportParameters {
public:
    static constexpr const char* kTitle = "File Import";
    static constexpr const char* kGroupLabel = "Parameters";
    static constexpr const char* kRowLabel = "Grid Row:";
    static constexpr const char* kColumnLabel = "Grid Column:";
    static constexpr const char* kHeaderLabel = "Comment Header";
    static constexpr const char* kKeepLastRowsLabel = "Keep the last rows";
    static constexpr const char* kGrowLabel = "Grow the worksheet to fit";
    static constexpr const char* kInitialRowText = "1";
    static constexpr const char* kInitialColumnText = "1";

    // Reads the fields in the dialog's order (row, column, header) and stores each value
    // as soon as it passes. Returns an empty text when all pass, else the message of the
    // first failing field (values stored before it stay). A text without a number reads
    // as 0 and so fails its range check (ReadIntegerText).
    std::string Validate(const std::string& rowText, const std::string& columnText,
                         bool commentHeader);

    // The highest Grid Row Validate takes: the grid's row count, so that a worksheet grown
    // past 1001 rows takes a file anywhere in it.
    int maxRow = kWorksheetRows;

    int row = 1;                // grid row R0, 1..maxRow
    int column = 1;             // grid column C0, 1..69
    bool commentHeader = false; // requires row and column 1
    bool keepLastRows = false;  // a file longer than the grid gives its last lines; no check
    bool growRows = false;      // a file longer than the grid grows it; no check
};

} // namespace orvalis
