#pragma once

#include "grid/core/CellStore.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalis {

class UserMessages;

// Separators of the two import file types.
constexpr char kCommaSeparator = ',';
constexpr char kTabSeparator = '\t';

// Writes delimited text into a cell store as it arrives, one text line per grid row.
//
// Line k lands in grid row firstRow + k, its fields in columns firstColumn,
// firstColumn + 1, ... Fields are taken exactly as they stand between two delimiters
// (the separator and the line feed): no quoting, no trimming. Two adjacent separators
// give an empty cell. A CR directly before a line feed is dropped (CR LF line ends);
// any other CR is kept in its field. Lines have no length limit. Cells outside the
// store are dropped without a word. Every written cell is redrawn through the store's
// listener.
class ImportLoader {
public:
    ImportLoader(CellStore& cells, int firstRow, int firstColumn, char separator);

    // Takes the next bytes of the input; the input may be split anywhere.
    void Feed(std::string_view bytes);
    // Ends the input. A last line without a line feed still counts, but a separator at
    // its very end gives no trailing empty field ("a," is one field, "a,\n" two).
    void Finish();

    // The column after the last field of line 0 (firstColumn + its number of fields);
    // firstColumn while line 0 is not complete or the input was empty.
    int LastColumn() const { return m_lastColumn; }
    // Lines complete so far.
    std::int64_t LineCount() const { return m_line; }

private:
    void EndField();
    void EndLine();

    CellStore& m_cells;
    int m_firstRow;
    int m_firstColumn;
    char m_separator;
    std::string m_field;           // text of the field being read
    bool m_fieldHasText = false;   // the field has bytes, kept or not
    std::int64_t m_fieldIndex = 0; // index of that field in its line
    std::int64_t m_line = 0;       // index of the line being read
    int m_lastColumn;
    bool m_rowInGrid = true;       // the line being read lands on a row of the store
    bool m_finished = false;
};

// What reading an import file came to.
enum class ImportLoadStatus {
    Loaded,      // the whole file was read
    CannotOpen,  // the file could not be opened; nothing was written
    ReadError,   // reading stopped part-way; the cells written before stay
    TooLarge,    // the file holds more than a worksheet file may; nothing was written
};

struct ImportLoadResult {
    ImportLoadStatus status = ImportLoadStatus::Loaded;
    int lastColumn = 0;  // as ImportLoader::LastColumn
};

// Reads the file at path through an ImportLoader, at most kMaxFileReadBytes of it.
ImportLoadResult LoadDelimitedFile(CellStore& cells, const std::string& path, int firstRow,
                                   int firstColumn, char separator);

// The worksheet's loader: line 0 of the file goes to grid row firstDataRow + startRow - 1,
// its fields from column startColumn on. Returns false after telling the user when the
// file cannot be opened ("Error: Cannot open file NAME" with the name without its
// folder) or cannot be read to its end, or is larger than a worksheet file may be
// ("Unable to load grid data"). lastColumn receives
// the column after the last field of the file's first line.
bool LoadDelimited(CellStore& cells, int firstDataRow, const std::string& path, int startRow,
                   int startColumn, char separator, int& lastColumn, UserMessages& messages);

// Tells the user why a load failed (nothing for Loaded): "Error: Cannot open file NAME"
// or "Unable to load grid data".
void ReportLoadFailure(ImportLoadStatus status, const std::string& path, UserMessages& messages);

// The name of a file without its folder.
std::string FileBaseName(const std::string& path);

} // namespace orvalis
