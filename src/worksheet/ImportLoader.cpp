#include "worksheet/ImportLoader.h"

#include "worksheet/UserMessages.h"

#include "worksheet/WholeFile.h"

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
    m_rowInGrid = firstRow >= 0 && firstRow < cells.GetRowCount();
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
            // Text of lines below the grid is not kept: only its field count matters.
            if (m_rowInGrid)
                m_field.append(bytes.data() + i, j - i);
            m_fieldHasText = true;
        }
        if (j == n)
            break;
        if (bytes[j] == '\n') {
            if (!m_field.empty() && m_field.back() == '\r')
                m_field.pop_back();
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
    if (m_fieldHasText) {
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
    if (m_rowInGrid && col >= 0 && col < m_cells.GetColumnCount())
        m_cells.SetCellText(static_cast<int>(m_firstRow + m_line), static_cast<int>(col), m_field);
    m_field.clear();
    m_fieldHasText = false;
    ++m_fieldIndex;
}

void ImportLoader::EndLine()
{
    if (m_line == 0) {
        const std::int64_t last = static_cast<std::int64_t>(m_firstColumn) + m_fieldIndex;
        m_lastColumn = last > INT_MAX ? INT_MAX : static_cast<int>(last);
    }
    ++m_line;
    m_fieldIndex = 0;
    const std::int64_t row = static_cast<std::int64_t>(m_firstRow) + m_line;
    m_rowInGrid = row >= 0 && row < m_cells.GetRowCount();
}

ImportLoadResult LoadDelimitedFile(CellStore& cells, const std::string& path, int firstRow,
                                   int firstColumn, char separator)
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
    // The loader itself turns CR LF into a line end and keeps a lone CR.
    ImportLoader loader(cells, firstRow, firstColumn, separator);
    loader.Feed(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (read == ReadOutcome::Failed) {
        // What was read before the error stays imported.
        result.status = ImportLoadStatus::ReadError;
    } else {
        loader.Finish();
    }
    result.lastColumn = loader.LastColumn();
    return result;
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
