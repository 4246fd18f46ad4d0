#pragma once

#include "grid/core/CellStore.h"

#include <cstdint>
#include <functional>
#include <string>

namespace orvalis {

class UserMessages;
class Worksheet;

// The file types the import command reads, decided by the file name's extension.
enum class ImportFileType {
    CommaSeparated,  // "csv"
    TabDelimited,    // "txt"
    NotSupported,    // anything else, "CSV" and a name without extension included
};

// The import's file-open dialog: its filter entries in order, each a label and the
// pattern it shows; the read-only check box is hidden.
struct ImportFileFilter {
    const char* label;
    const char* pattern;
};
inline constexpr ImportFileFilter kImportFileFilters[] = {
    {"Comma Seperated Var Files (*.csv)", "*.csv"},
    {"Text Tab Delimited Files (*.txt)", "*.txt"},
    {"All Files (*.*)", "*.*"},
};

// The extension is the text after the last "." of the file name (not of its folders),
// compared exactly and case-sensitively.
ImportFileType ImportFileTypeOf(const std::string& path);

// What the user chose for one import: the file, and the File Import dialog's values
// (already validated, see ImportParameters).
struct ImportRequest {
    std::string path;
    int row = 1;                // grid row R0: 1 is the first data row
    int column = 1;             // grid column C0
    bool commentHeader = false; // the file's first line holds column names
    bool keepLastRows = false;  // a file longer than the grid gives its last data lines
    bool growRows = false;      // a file longer than the grid grows it to fit
    // Without growRows: when rows were left out, ask after saying so whether the grid
    // should grow to take them, and import again if so (the window; the batch tool keeps
    // its output as it was).
    bool offerGrowth = false;
};

// Result of one import command.
struct ImportOutcome {
    bool opened = false;        // the file was opened and read: cells may have changed
    bool imported = false;      // the file was read to its end
    bool headerImport = false;  // the first line went to the row above the data
    int lastColumn = 0;         // column after the last field of the first line
};

// The import command after its two dialogs (the file-open dialog, then the File Import
// dialog whose values ImportParameters checks): checks the file type, runs the loader and,
// when lines or fields did not fit the grid, tells the user how many (information icon);
// for a header import, gives every column filled by the first line (up to column 68)
// the role "Comment" and then calls configureFromColumn1 (the worksheet's
// AutoConfigureSectionsFromColumn1 with the results mode in force). Failures are told
// through messages with the command's own texts; the command then ends, keeping the
// cells written so far. Writes cell texts only and keeps the state; the grid keeps its
// size unless the request grows it (through growRows, which adds grid rows up to the
// count given, as far as the worksheet may grow).
ImportOutcome ImportFile(CellStore& cells, int firstDataRow, const ImportRequest& request,
                         UserMessages& messages,
                         const std::function<void()>& configureFromColumn1,
                         const std::function<void(std::int64_t)>& growRows = {});

// The import command on a worksheet: its grid, FirstDataRow and messages, the
// application's results mode for the configuration after a header import. Marks the
// worksheet modified once the file was opened.
ImportOutcome ImportFile(Worksheet& worksheet, const ImportRequest& request);

} // namespace orvalis
