#pragma once

#include "grid/core/CellStore.h"

#include <cstdint>
#include <functional>
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
// store are not written; the loader counts what they held, so that the import can tell
// the user what did not fit. Every written cell is redrawn through the store's listener.
class ImportLoader {
public:
    ImportLoader(CellStore& cells, int firstRow, int firstColumn, char separator);

    // Lines first .. first + count - 1 are read but not written, and the lines after them
    // move up by count rows. Call before the first Feed.
    void SkipLines(std::int64_t first, std::int64_t count);

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
    // Index of the last complete line that holds a non-empty field; -1 when none does.
    std::int64_t LastFilledLine() const { return m_lastFilledLine; }
    // Lines holding a non-empty field that were not written: skipped, or past the
    // store's last row.
    std::int64_t RowsLeftOut() const { return m_rowsLeftOut; }
    // The most columns past the store's last column that any line reached with a
    // non-empty field (empty trailing fields lose nothing and are not counted).
    int ColumnsLeftOut() const { return m_columnsLeftOut; }

private:
    void EndField();
    void EndLine();
    // The grid row of a line, -1 for a skipped one.
    std::int64_t RowOfLine(std::int64_t line) const;
    bool LineInGrid(std::int64_t line) const;

    CellStore& m_cells;
    int m_firstRow;
    int m_firstColumn;
    char m_separator;
    std::string m_field;                 // text of the field being read (only when in the grid)
    std::int64_t m_fieldSize = 0;        // bytes of that field, kept or not
    bool m_fieldEndsWithCr = false;      // its last byte so far is a CR
    std::int64_t m_fieldIndex = 0;       // index of that field in its line
    std::int64_t m_lastFilledField = -1; // index of the line's last non-empty field
    std::int64_t m_line = 0;             // index of the line being read
    std::int64_t m_skipFirst = 0;        // first skipped line
    std::int64_t m_skipCount = 0;        // number of skipped lines
    std::int64_t m_lastFilledLine = -1;
    std::int64_t m_rowsLeftOut = 0;
    int m_columnsLeftOut = 0;
    int m_lastColumn;
    bool m_rowInGrid = true; // the line being read lands on a row of the store
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
    int lastColumn = 0;           // as ImportLoader::LastColumn
    std::int64_t rowsLeftOut = 0; // as ImportLoader::RowsLeftOut
    int columnsLeftOut = 0;       // as ImportLoader::ColumnsLeftOut
};

// Which lines of a file go into the grid when not all of them fit below the first row.
struct ImportRowChoice {
    // Keep the last lines that fit instead of the first: for series whose recent end
    // matters. Lines after the file's last non-empty line do not count as data.
    bool keepLastRows = false;
    // Leading lines that land where they always do, whichever lines are kept (the
    // header line of a header import).
    int fixedLines = 0;
    // When set, a file whose filled lines run past the store's last row first asks it to
    // grow to the rows they need (given in grid rows, the fixed rows included); the store
    // grows as far as its owner allows, and what still does not fit is left out as usual.
    std::function<void(std::int64_t rows)> grow;
};

// Reads the file at path through an ImportLoader, at most kMaxFileReadBytes of it.
ImportLoadResult LoadDelimitedFile(CellStore& cells, const std::string& path, int firstRow,
                                   int firstColumn, char separator,
                                   const ImportRowChoice& choice = {});

// "Info: %d rows and %d columns of NAME did not fit the worksheet and were not imported",
// NAME without its folder; an empty text when nothing was left out.
std::string LeftOutMessage(const ImportLoadResult& result, const std::string& path);

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
