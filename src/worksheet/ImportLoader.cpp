#include "worksheet/ImportLoader.h"

#include "worksheet/UserMessages.h"

#include "worksheet/WholeFile.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace orvalis {

ImportLoader::ImportLoader(CellStore& cells, int firstRow, int firstColumn, char separator)
    : m_cells(cells), m_firstRow(firstRow), m_firstColumn(firstColumn), m_separator(separator),
      m_lastColumn(firstColumn)
{
    m_rowInGrid = LineInGrid(0);
}

void ImportLoader::SkipLines(std::int64_t first, std::int64_t count)
{
    m_skipFirst = first < 0 ? 0 : first;
    m_skipCount = count < 0 ? 0 : count;
    m_rowInGrid = LineInGrid(m_line);
}

std::int64_t ImportLoader::RowOfLine(std::int64_t line) const
{
    if (line >= m_skipFirst) {
        if (line - m_skipFirst < m_skipCount)
            return -1;
        line -= m_skipCount;
    }
    return static_cast<std::int64_t>(m_firstRow) + line;
}

bool ImportLoader::LineInGrid(std::int64_t line) const
{
    const std::int64_t row = RowOfLine(line);
    return row >= 0 && row < m_cells.GetRowCount();
}

void ImportLoader::Feed(std::string_view bytes)
{
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t j = i;
        while (j < n && bytes[j] != m_separator && bytes[j] != '\n')
            ++j;
        if (j > i) {
            // Text of lines that are not written is not kept: only whether it was there.
            if (m_rowInGrid)
                m_field.append(bytes.data() + i, j - i);
            m_fieldSize += static_cast<std::int64_t>(j - i);
            m_fieldEndsWithCr = bytes[j - 1] == '\r';
        }
        if (j == n)
            break;
        if (bytes[j] == '\n') {
            if (m_fieldEndsWithCr) {
                if (!m_field.empty())
                    m_field.pop_back();
                --m_fieldSize;
            }
            EndField();
            EndLine();
        } else {
            EndField();
        }
        i = j + 1;
    }
}

void ImportLoader::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_fieldSize > 0) {
        EndField();
        EndLine();
    } else if (m_fieldIndex > 0) {
        // "a," at the very end: the empty remainder is no field, but the line counts.
        EndLine();
    }
}

void ImportLoader::EndField()
{
    const std::int64_t col = static_cast<std::int64_t>(m_firstColumn) + m_fieldIndex;
    if (m_rowInGrid && col >= 0 && col < m_cells.GetColumnCount()) {
        const std::int64_t row = RowOfLine(m_line);
        m_cells.SetCellText(static_cast<int>(row), static_cast<int>(col), m_field);
    }
    if (m_fieldSize > 0)
        m_lastFilledField = m_fieldIndex;
    m_field.clear();
    m_fieldSize = 0;
    m_fieldEndsWithCr = false;
    ++m_fieldIndex;
}

void ImportLoader::EndLine()
{
    if (m_line == 0) {
        const std::int64_t last = static_cast<std::int64_t>(m_firstColumn) + m_fieldIndex;
        m_lastColumn = last > INT_MAX ? INT_MAX : static_cast<int>(last);
    }
    if (m_lastFilledField >= 0) {
        m_lastFilledLine = m_line;
        if (!m_rowInGrid)
            ++m_rowsLeftOut;
        const std::int64_t past = static_cast<std::int64_t>(m_firstColumn) + m_lastFilledField +
                                  1 - m_cells.GetColumnCount();
        if (past > m_columnsLeftOut)
            m_columnsLeftOut = past > INT_MAX ? INT_MAX : static_cast<int>(past);
    }
    ++m_line;
    m_fieldIndex = 0;
    m_lastFilledField = -1;
    m_rowInGrid = LineInGrid(m_line);
}

namespace {

// Lines of the text up to its last one holding a non-empty field: empty lines after
// it are no data. Measured by a loader that writes nothing.
std::int64_t FilledLines(CellStore& cells, std::string_view text, bool complete, int firstRow,
                         int firstColumn, char separator)
{
    ImportLoader measure(cells, firstRow, firstColumn, separator);
    measure.SkipLines(0, INT64_MAX);
    measure.Feed(text);
    if (complete)
        measure.Finish();
    return measure.LastFilledLine() + 1;
}

// How many data lines to skip so that the last ones fit the store below their first
// row.
std::int64_t LinesToSkipForLastRows(CellStore& cells, std::int64_t filledLines, int firstRow,
                                    const ImportRowChoice& choice)
{
    // Empty lines after the last filled one must not push data out.
    const std::int64_t dataLines = filledLines - choice.fixedLines;
    const std::int64_t capacity = std::max<std::int64_t>(
        0, static_cast<std::int64_t>(cells.GetRowCount()) - firstRow - choice.fixedLines);
    return std::max<std::int64_t>(0, dataLines - capacity);
}

} // namespace

ImportLoadResult LoadDelimitedFile(CellStore& cells, const std::string& path, int firstRow,
                                   int firstColumn, char separator, const ImportRowChoice& choice)
{
    ImportLoadResult result;
    result.lastColumn = firstColumn;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.status = ImportLoadStatus::CannotOpen;
        return result;
    }
    // The file is read whole before any cell changes, under the same cap as a worksheet
    // file: a link to a device or an endless pipe must not grow one field until memory
    // runs out, and a refused file leaves the grid as it was.
    std::vector<std::uint8_t> bytes;
    const ReadOutcome read = ReadWholeDescriptor(fd, kMaxFileReadBytes, bytes);
    close(fd);
    if (read == ReadOutcome::TooLarge) {
        result.status = ImportLoadStatus::TooLarge;
        return result;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const bool complete = read != ReadOutcome::Failed;
    // The loader itself turns CR LF into a line end and keeps a lone CR.
    std::int64_t filledLines = -1; // measured when needed
    if (choice.grow) {
        filledLines = FilledLines(cells, text, complete, firstRow, firstColumn, separator);
        if (firstRow + filledLines > cells.GetRowCount())
            choice.grow(firstRow + filledLines);
    }
    ImportLoader loader(cells, firstRow, firstColumn, separator);
    if (choice.keepLastRows) {
        if (filledLines < 0)
            filledLines = FilledLines(cells, text, complete, firstRow, firstColumn, separator);
        loader.SkipLines(choice.fixedLines, LinesToSkipForLastRows(cells, filledLines, firstRow, choice));
    }
    loader.Feed(text);
    if (complete) {
        loader.Finish();
    } else {
        // What was read before the error stays imported.
        result.status = ImportLoadStatus::ReadError;
    }
    result.lastColumn = loader.LastColumn();
    result.rowsLeftOut = loader.RowsLeftOut();
    result.columnsLeftOut = loader.ColumnsLeftOut();
    return result;
}

std::string LeftOutMessage(const ImportLoadResult& result, const std::string& path)
{
    if (result.rowsLeftOut == 0 && result.columnsLeftOut == 0)
        return {};
    return "Info: " + std::to_string(result.rowsLeftOut) + " rows and " +
           std::to_string(result.columnsLeftOut) + " columns of " + FileBaseName(path) +
           " did not fit the worksheet and were not imported";
}

std::string FileBaseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool LoadDelimited(CellStore& cells, int firstDataRow, const std::string& path, int startRow,
                   int startColumn, char separator, int& lastColumn, UserMessages& messages)
{
    const ImportLoadResult result =
        LoadDelimitedFile(cells, path, firstDataRow + startRow - 1, startColumn, separator);
    lastColumn = result.lastColumn;
    ReportLoadFailure(result.status, path, messages);
    return result.status == ImportLoadStatus::Loaded;
}

void ReportLoadFailure(ImportLoadStatus status, const std::string& path, UserMessages& messages)
{
    if (status == ImportLoadStatus::CannotOpen)
        messages.Error("Error: Cannot open file " + FileBaseName(path));
    else if (status == ImportLoadStatus::ReadError || status == ImportLoadStatus::TooLarge)
        messages.Error("Unable to load grid data");
}

} // namespace orvalis
