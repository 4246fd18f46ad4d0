#include "worksheet/WorksheetFileFormat.h"

#include <bit>
#include <cmath>

namespace orvalis {

namespace {

constexpr const char* kUnexpectedEnd = "Error: Unexpected End Of Worksheet File (open failed)";
constexpr int kMaxLayers = 8;
constexpr int kMaxUnits = 200;

// Thrown inside the parser only; ParseWorksheetFile turns it into its result.
struct ParseFailure {
    FileError error;
};

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return m_size - m_pos; }

    [[noreturn]] void Fail(FileError::Kind kind, std::size_t at, std::string detail) const
    {
        FileError e;
        e.kind = kind;
        e.message = kind == FileError::Kind::UnexpectedEnd ? kUnexpectedEnd : kInvalidWorksheetFileMessage;
        e.position = at;
        e.detail = std::move(detail);
        throw ParseFailure{std::move(e)};
    }

    std::uint64_t Unsigned(int bytes, const char* what)
    {
        if (Remaining() < static_cast<std::size_t>(bytes))
            Fail(FileError::Kind::UnexpectedEnd, m_pos, what);
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= static_cast<std::uint64_t>(m_data[m_pos + i]) << (8 * i);
        m_pos += static_cast<std::size_t>(bytes);
        return value;
    }
    std::int32_t Int32(const char* what)
    {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(Unsigned(4, what)));
    }
    // An int32 that must lie in lo..hi.
    std::int32_t Int32In(const char* what, std::int32_t lo, std::int32_t hi)
    {
        const std::size_t at = m_pos;
        const std::int32_t value = Int32(what);
        if (value < lo || value > hi)
            Fail(FileError::Kind::Invalid, at,
                 std::string(what) + " " + std::to_string(value) + " outside " +
                     std::to_string(lo) + ".." + std::to_string(hi));
        return value;
    }
    float Float32(const char* what)
    {
        return std::bit_cast<float>(static_cast<std::uint32_t>(Unsigned(4, what)));
    }
    double Float64(const char* what) { return std::bit_cast<double>(Unsigned(8, what)); }
    // A double that must be a number: an infinite or nan training parameter would let
    // a run go on to its cycle limit, hours for the largest limits.
    double FiniteFloat64(const char* what)
    {
        const std::size_t at = m_pos;
        const double value = Float64(what);
        if (!std::isfinite(value))
            Fail(FileError::Kind::Invalid, at, std::string(what) + " is not finite");
        return value;
    }

    std::string String(const char* what)
    {
        const std::size_t at = m_pos;
        bool wide = false;
        const std::uint64_t length = Length(what, true, wide);
        const std::uint64_t bytes = wide ? length * 2 : length;
        if (bytes > Remaining())
            Fail(FileError::Kind::UnexpectedEnd, at,
                 std::string(what) + ": string of " + std::to_string(bytes) + " bytes");
        std::string text;
        text.reserve(static_cast<std::size_t>(length));
        for (std::uint64_t i = 0; i < length; ++i) {
            if (wide) {
                const auto c = static_cast<unsigned>(Unsigned(2, what));
                text.push_back(c > 255 ? '?' : static_cast<char>(c));
            } else {
                text.push_back(static_cast<char>(m_data[m_pos++]));
            }
        }
        return text;
    }

private:
    // The length prefix; the wide marker is honoured only at the outer level.
    std::uint64_t Length(const char* what, bool allowWide, bool& wide)
    {
        const std::uint64_t first = Unsigned(1, what);
        if (first < 0xFF)
            return first;
        const std::uint64_t second = Unsigned(2, what);
        if (second == 0xFFFE && allowWide) {
            wide = true;
            bool nested = false;
            return Length(what, false, nested);
        }
        if (second == 0xFFFF)
            return Unsigned(4, what);
        return second;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Returns where the weights begin.
std::size_t ReadNetwork(ByteReader& in, WorksheetFileContents& out)
{
    StoredNetwork& n = out.network;
    n.autoNetworkConfigure = in.Int32("autoNetworkConfigure");
    n.layerCount = in.Int32In("layer count", 0, kMaxLayers);
    n.unitsPerLayer.clear();
    for (int l = 0; l < n.layerCount; ++l) {
        // A hidden layer of 0 units is legitimate (one input value gives it); the
        // output layer needs at least one unit.
        const int lo = l == n.layerCount - 1 ? 1 : 0;
        n.unitsPerLayer.push_back(in.Int32In("unit count", lo, kMaxUnits));
    }
    n.learningRate = in.FiniteFloat64("learningRate");
    n.momentum = in.FiniteFloat64("momentum");
    n.gain = in.FiniteFloat64("gain");
    n.autoTrainingConfigure = in.Int32("autoTrainingConfigure");
    n.errorRatioGoal = in.FiniteFloat64("errorRatioGoal");
    n.iterationsPerCycle = in.Int32In("iterationsPerCycle", 1, 1000);
    n.maxCycles = in.Int32In("maxCycles", 0, 100000);
    out.phaseOffset = in.Int32("phase offset");

    const std::size_t at = in.Position();
    const std::int32_t weightCount = in.Int32In("weight count", 0, INT32_MAX);
    if (static_cast<std::uint64_t>(weightCount) * 4 > in.Remaining())
        in.Fail(FileError::Kind::UnexpectedEnd, at,
                "weight count " + std::to_string(weightCount) + " beyond the end");
    out.weights.resize(static_cast<std::size_t>(weightCount));
    for (float& w : out.weights)
        w = in.Float32("weight");
    return at + 4;
}

// A Trained or Eval worksheet runs its network on the stored weights: one that is not a
// number makes every estimate "nan". In state Init, and when there are too few weights
// for the shape (the network then starts afresh), the stored values are never used.
void CheckUsedWeights(const ByteReader& in, const WorksheetFileContents& out, std::size_t weightsAt)
{
    const std::string& state = out.headerTexts[5];
    if (state != "Trained" && state != "Eval")
        return;
    const std::int64_t needed = out.network.WeightCount();
    if (static_cast<std::int64_t>(out.weights.size()) < needed)
        return;
    for (std::int64_t i = 0; i < needed; ++i)
        if (!std::isfinite(out.weights[static_cast<std::size_t>(i)]))
            in.Fail(FileError::Kind::Invalid, weightsAt + 4 * static_cast<std::size_t>(i),
                    "weight " + std::to_string(i) + " is not finite");
}

// What the version message shows of the bytes read: a file that is not a worksheet
// at all would otherwise fill the box with lines of its raw bytes.
// A version string is a short run of digits; anything else at the start of a file
// means the file was never a worksheet.
bool LooksLikeVersion(const std::string& read)
{
    return !read.empty() && read.size() <= 16 &&
           read.find_first_not_of("0123456789") == std::string::npos;
}

std::string ShownVersion(const std::string& read)
{
    constexpr std::size_t kShown = 16;
    std::string shown;
    for (std::size_t i = 0; i < read.size() && i < kShown; ++i) {
        const auto byte = static_cast<unsigned char>(read[i]);
        shown += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '?';
    }
    if (read.size() > kShown)
        shown += "...";
    return shown;
}

} // namespace

std::variant<WorksheetFileContents, FileError> ParseWorksheetFile(
    const std::uint8_t* data, std::size_t size, int firstDataRow, int maxRows, int gridColumns)
{
    ByteReader in(data, size);
    WorksheetFileContents out;
    try {
        std::string version;
        try {
            version = in.String("version");
        } catch (ParseFailure& failure) {
            failure.error.notWorksheet = true; // too short for even its first string
            throw;
        }
        if (version != kWorksheetFileVersion) {
            FileError e;
            e.kind = FileError::Kind::VersionMismatch;
            e.message = std::string("Error: Non-Compatible Data File Version, Expect:") +
                        kWorksheetFileVersion + ", Got:" + ShownVersion(version);
            e.detail = "version";
            e.notWorksheet = !LooksLikeVersion(version);
            return e;
        }
        const std::size_t weightsAt = ReadNetwork(in, out);
        for (std::string& text : out.headerTexts)
            text = in.String("header text");
        out.columnCount = in.Int32("column count");
        out.rowCount = in.Int32("row count");

        // Roles land in the grid's data columns only; "No Data" is looked for there.
        int k = gridColumns;
        for (std::int64_t j = 1; j < out.columnCount; ++j) {
            std::string role = in.String("role");
            if (j < gridColumns) {
                if (role == "No Data" && k == gridColumns)
                    k = static_cast<int>(j);
                out.roles.push_back(std::move(role));
            }
        }
        out.usedColumns = k - 1;
        for (int j = 1; j < k; ++j)
            out.comments.push_back(in.String("comment"));
        // Without used columns no data string follows, whatever the row count says.
        const std::int64_t lastRow = out.usedColumns > 0 ? out.rowCount : firstDataRow;
        const std::size_t rowsAt = in.Position();
        for (std::int64_t row = firstDataRow; row < lastRow; ++row) {
            std::vector<std::string> cells;
            cells.reserve(static_cast<std::size_t>(out.usedColumns));
            for (int j = 1; j < k; ++j)
                cells.push_back(in.String("cell"));
            // Rows past the longest worksheet are read (the file must hold them) but not
            // kept: the file is refused below.
            if (row < maxRows)
                out.rows.push_back(std::move(cells));
        }
        if (lastRow > maxRows)
            in.Fail(FileError::Kind::Invalid, rowsAt,
                    "row count " + std::to_string(out.rowCount) + " past the row limit");
        CheckUsedWeights(in, out, weightsAt);
    } catch (ParseFailure& failure) {
        return std::move(failure.error);
    }
    return out;
}

void ByteWriter::Raw(std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void ByteWriter::Int32(std::int32_t value)
{
    Raw(static_cast<std::uint32_t>(value), 4);
}

void ByteWriter::Float32(float value)
{
    Raw(std::bit_cast<std::uint32_t>(value), 4);
}

void ByteWriter::Float64(double value)
{
    Raw(std::bit_cast<std::uint64_t>(value), 8);
}

void ByteWriter::String(const std::string& text)
{
    const std::size_t n = text.size();
    if (n < 0xFF) {
        Raw(n, 1);
    } else if (n <= 0xFFFD) {
        Raw(0xFF, 1);
        Raw(n, 2);
    } else {
        Raw(0xFF, 1);
        Raw(0xFFFF, 2);
        Raw(n, 4);
    }
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
}

} // namespace orvalis
