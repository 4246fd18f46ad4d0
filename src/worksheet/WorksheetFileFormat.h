#pragma once

#include "worksheet/StoredNetwork.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace orvalis {

// The ".ows" worksheet file, as bytes. All numbers little-endian without padding;
// strings carry a length prefix (one byte below 255; 0xFF and a 16-bit length up to
// 65533; 0xFF, 0xFFFF and a 32-bit length beyond) and their bytes without terminator.
// The reader also takes the wide form: 0xFF, 0xFFFE, one more ordinary length prefix
// counting 16-bit characters, then those characters (above 255 they read as '?').
//
// Layout: version "082704"; autoNetworkConfigure; layerCount and its unit counts;
// learningRate, momentum, gain; autoTrainingConfigure; errorRatioGoal;
// iterationsPerCycle; maxCycles; phase offset; weight count W and W floats; the texts
// of header cells (1,2) (2,2) (3,2) (4,2) (5,2) (1,4); column count NC; row count NR;
// NC-1 role texts; then, with K the first column whose role is "No Data" (NC when
// none), K-1 comment texts and, for every grid row from FirstDataRow to NR-1, the texts
// of columns 1..K-1.

inline constexpr const char* kWorksheetFileVersion = "082704";
inline constexpr int kPlaceholderWeightCount = 1000;
inline constexpr const char* kInvalidWorksheetFileMessage = "Error: Invalid Worksheet File (open failed)";

// Why a file was refused, and where.
struct FileError {
    enum class Kind {
        CannotOpen,       // the file could not be read from disk
        VersionMismatch,  // another version string: nothing was read past it
        Invalid,          // a count or value outside what a worksheet file can hold
        UnexpectedEnd,    // the file ends before its contents do
        WriteFailed,      // saving failed; the previous file is untouched
        Cancelled,        // the user declined to save
    };
    Kind kind = Kind::Invalid;
    std::string message;        // the text shown to the user, word for word
    std::size_t position = 0;   // byte offset of the field that failed (reading)
    std::string detail;         // what failed, for logs and tests
    // The file does not even begin with a version string (a length and up to 16
    // digits): it is some other kind of file, not a worksheet of another version.
    bool notWorksheet = false;
};

// What a load or a save came to, read the right way round: true when it succeeded;
// false when it did not, with the refusal in Error().
class FileResult {
public:
    FileResult() = default;
    FileResult(FileError error) : m_error(std::move(error)), m_failed(true) {}  // a failure

    explicit operator bool() const { return !m_failed; }
    // Why it failed; a default record when it succeeded.
    const FileError& Error() const { return m_error; }

private:
    FileError m_error;
    bool m_failed = false;
};

// Everything a worksheet file holds, as read. Columns beyond the grid given to the
// parser are read and dropped; rows are kept up to the row limit given to it.
struct WorksheetFileContents {
    StoredNetwork network;
    int phaseOffset = 100;
    std::vector<float> weights;            // all W weights as stored
    std::array<std::string, 6> headerTexts; // (1,2) (2,2) (3,2) (4,2) (5,2) (1,4)
    int columnCount = 0;                    // NC as read
    int rowCount = 0;                       // NR as read
    std::vector<std::string> roles;         // columns 1..min(NC-1, grid columns-1)
    int usedColumns = 0;                    // K-1: columns with comment and data texts
    std::vector<std::string> comments;      // K-1 texts
    std::vector<std::vector<std::string>> rows;  // grid rows FirstDataRow.. kept, K-1 texts each
};

// Reads a worksheet file for a grid of gridColumns columns whose data start at
// firstDataRow and that may grow to maxRows rows. Every count is checked before use and
// every length against the bytes left, so nothing read can allocate more than the file
// could hold. A file whose data rows run past maxRows is refused as invalid (once they
// are read, so that a file ending early says so); a row count that large with no used
// column has no rows to hold and is taken as read. Returns the contents or the refusal
// (its message is the one the user sees).
std::variant<WorksheetFileContents, FileError> ParseWorksheetFile(
    const std::uint8_t* data, std::size_t size, int firstDataRow, int maxRows = 1048576,
    int gridColumns = 69);

// Writes the bytes of a worksheet file. Texts of cells are taken as they are.
class ByteWriter {
public:
    void Int32(std::int32_t value);
    void Float32(float value);
    void Float64(double value);
    void String(const std::string& text);
    std::vector<std::uint8_t>& Bytes() { return m_bytes; }

private:
    void Raw(std::uint64_t value, int bytes);
    std::vector<std::uint8_t> m_bytes;
};

} // namespace orvalis
