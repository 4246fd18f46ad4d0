#include "RecordingMessages.h"
#include "WorksheetFileBuilder.h"

#include "worksheet/AppSettings.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>

using namespace orvalis;
using orvalis::test::WorksheetFileBuilder;

namespace {

// The fields of a small file, each open to corruption.
struct FileSpec {
    std::function<void(WorksheetFileBuilder&)> version = [](auto& b) { b.Str("082704"); };
    std::vector<int> units = {2, 1, 1};
    std::vector<float> weights = std::vector<float>(1000, 0.0f);
    int iterations = 10;
    int maxCycles = 2000;
    double learningRate = 0.05, momentum = 0.5, gain = 1.0, ratioGoal = 1.2;
    std::vector<std::string> header = {"0", "40", "10", "10", "4", "Init"};
    int columnCount = 69;
    int rowCount = 1001;
    std::vector<std::string> roles = [] {
        std::vector<std::string> r(68, "No Data");
        r[0] = "Trg/In";
        return r;
    }();
    int usedColumns = 1;  // columns written for the comment row and every data row
    int dataRows = 993;
    std::function<void(WorksheetFileBuilder&)> tail = [](auto&) {};

    std::vector<std::uint8_t> Build() const
    {
        WorksheetFileBuilder b;
        version(b);
        b.I32(1);
        b.I32(static_cast<std::int32_t>(units.size()));
        for (int u : units)
            b.I32(u);
        b.F64(learningRate);
        b.F64(momentum);
        b.F64(gain);
        b.I32(1);
        b.F64(ratioGoal);
        b.I32(iterations);
        b.I32(maxCycles);
        b.I32(100);
        b.I32(static_cast<std::int32_t>(weights.size()));
        for (float w : weights)
            b.F32(w);
        b.Header(header);
        b.I32(columnCount);
        b.I32(rowCount);
        for (const std::string& r : roles)
            b.Str(r);
        for (int j = 0; j < usedColumns; ++j)
            b.Str("comment");
        for (int i = 0; i < dataRows; ++i)
            for (int j = 0; j < usedColumns; ++j)
                b.Str(i < 60 ? std::to_string(100 + i) : std::string());
        tail(b);
        return b.bytes;
    }
};

using Kind = FileError::Kind;
const std::string kInvalid = "Error: Invalid Worksheet File (open failed)";
const std::string kEnd = "Error: Unexpected End Of Worksheet File (open failed)";

struct LoadFixture : ::testing::Test {
    AppSettings settings;
    RecordingMessages messages;
    LoadFixture() { settings.autoVectorSizing = false; }
};

} // namespace

TEST_F(LoadFixture, EveryCheckOfTheReader)
{
    struct Case {
        const char* name;
        std::function<void(FileSpec&)> change;
        std::optional<Kind> refusal;  // nullopt: the file opens
    };
    const Case cases[] = {
        {"valid", [](FileSpec&) {}, std::nullopt},
        {"wide version string", [](FileSpec& f) { f.version = [](auto& b) { b.WideStr(u"082704"); }; }, std::nullopt},
        {"9 layers", [](FileSpec& f) { f.units = std::vector<int>(9, 1); }, Kind::Invalid},
        {"8 layers", [](FileSpec& f) { f.units = std::vector<int>(8, 1); }, std::nullopt},
        {"0 layers", [](FileSpec& f) { f.units = {}; }, std::nullopt},
        {"201 units", [](FileSpec& f) { f.units = {201, 1, 1}; }, Kind::Invalid},
        {"200 units", [](FileSpec& f) { f.units = {200, 1, 1}; }, std::nullopt},
        {"negative units", [](FileSpec& f) { f.units = {-1, 1, 1}; }, Kind::Invalid},
        {"hidden layer of 0 units", [](FileSpec& f) { f.units = {1, 0, 1}; }, std::nullopt},
        {"output layer of 0 units", [](FileSpec& f) { f.units = {2, 1, 0}; }, Kind::Invalid},
        {"0 iterations", [](FileSpec& f) { f.iterations = 0; }, Kind::Invalid},
        {"1001 iterations", [](FileSpec& f) { f.iterations = 1001; }, Kind::Invalid},
        {"1000 iterations", [](FileSpec& f) { f.iterations = 1000; }, std::nullopt},
        {"0 cycles", [](FileSpec& f) { f.maxCycles = 0; }, std::nullopt},
        {"100001 cycles", [](FileSpec& f) { f.maxCycles = 100001; }, Kind::Invalid},
        {"negative cycles", [](FileSpec& f) { f.maxCycles = -1; }, Kind::Invalid},
        {"no weights", [](FileSpec& f) { f.weights = {}; }, std::nullopt},
        {"infinite learning rate", [](FileSpec& f) { f.learningRate = HUGE_VAL; }, Kind::Invalid},
        {"nan momentum", [](FileSpec& f) { f.momentum = std::nan(""); }, Kind::Invalid},
        {"minus infinite gain", [](FileSpec& f) { f.gain = -HUGE_VAL; }, Kind::Invalid},
        {"nan error ratio goal", [](FileSpec& f) { f.ratioGoal = -std::nan(""); }, Kind::Invalid},
        {"finite values outside the dialogs' ranges",
         [](FileSpec& f) { f.learningRate = 1e300; f.momentum = -3.0; f.gain = 0.0; f.ratioGoal = -1e-300; },
         std::nullopt},
        // Shape 2-1-1 uses the first 5 weights, and only in state Trained or Eval.
        {"nan weight in a Trained file",
         [](FileSpec& f) { f.header[5] = "Trained"; f.weights[4] = std::nanf(""); }, Kind::Invalid},
        {"infinite weight in an Eval file",
         [](FileSpec& f) { f.header[5] = "Eval"; f.weights[0] = -HUGE_VALF; }, Kind::Invalid},
        {"nan weight in an Init file", [](FileSpec& f) { f.weights[0] = std::nanf(""); }, std::nullopt},
        {"nan among the extra weights of a Trained file",
         [](FileSpec& f) { f.header[5] = "Trained"; f.weights[5] = std::nanf(""); }, std::nullopt},
        {"column count beyond the file", [](FileSpec& f) { f.columnCount = INT32_MAX; }, Kind::UnexpectedEnd},
        {"negative column count: no roles, all columns used",
         [](FileSpec& f) { f.columnCount = -5; f.roles = {}; f.usedColumns = 68; }, std::nullopt},
        {"row count beyond the file", [](FileSpec& f) { f.rowCount = INT32_MAX; }, Kind::UnexpectedEnd},
        {"huge row count without used columns reads nothing",
         [](FileSpec& f) { f.rowCount = INT32_MAX; f.roles.assign(68, "No Data"); f.usedColumns = 0; }, std::nullopt},
        {"rows past the grid are read and dropped",
         [](FileSpec& f) { f.rowCount = 1501; f.dataRows = 1493; }, std::nullopt},
        {"roles past the grid, No Data there not counted",
         [](FileSpec& f) {
             f.columnCount = 80;
             f.roles.assign(79, "No Data");
             for (int j = 0; j < 68; ++j)
                 f.roles[j] = "Comment";
             f.usedColumns = 68;
         }, std::nullopt},
        {"trailing bytes are left unread", [](FileSpec& f) { f.tail = [](auto& b) { b.Str("extra"); }; }, std::nullopt},
        {"string longer than the file",
         [](FileSpec& f) { f.tail = [](auto&) {}; f.header[0] = "0"; f.version = [](auto& b) {
             b.Raw(0xFF, 1); b.Raw(0xFFFF, 2); b.Raw(0xFFFFFFFFu, 4); }; }, Kind::UnexpectedEnd},
        {"one data row missing", [](FileSpec& f) { f.dataRows = 992; }, Kind::UnexpectedEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileSpec spec;
        c.change(spec);
        const auto bytes = spec.Build();
        messages.entries.clear();
        Worksheet ws(settings, messages);
        const FileResult result = LoadWorksheetBytes(ws, bytes.data(), bytes.size());
        if (!c.refusal) {
            EXPECT_TRUE(result) << result.Error().detail;
            EXPECT_TRUE(messages.entries.empty());
            continue;
        }
        ASSERT_FALSE(result);
        EXPECT_EQ(result.Error().kind, *c.refusal) << result.Error().detail;
        const std::string& text = *c.refusal == Kind::Invalid ? kInvalid : kEnd;
        EXPECT_EQ(messages.entries, (std::vector<RecordingMessages::Entry>{{"error", text}}));
        EXPECT_EQ(ws.Store().GetCellText(2, 2), "0");  // nothing was taken over
        EXPECT_EQ(ws.Store().GetCellText(6, 1), "No Data");
    }
}

TEST_F(LoadFixture, CorruptWeightCounts)
{
    struct Case {
        std::int32_t count;
        Kind kind;
    };
    for (const Case& c : {Case{-1, Kind::Invalid}, Case{INT32_MIN, Kind::Invalid},
                          Case{INT32_MAX, Kind::UnexpectedEnd}, Case{1000000, Kind::UnexpectedEnd}}) {
        FileSpec spec;
        auto bytes = spec.Build();
        // The weight count follows the version (7 bytes) and 11 fixed fields with 3 units.
        const std::size_t at = 7 + 4 + 4 + 3 * 4 + 3 * 8 + 4 + 8 + 4 + 4 + 4;
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(c.count) >> (8 * i));
        auto parsed = ParseWorksheetFile(bytes.data(), bytes.size(), 8);
        ASSERT_TRUE(std::holds_alternative<FileError>(parsed)) << c.count;
        EXPECT_EQ(std::get<FileError>(parsed).kind, c.kind) << c.count;
        EXPECT_EQ(std::get<FileError>(parsed).position, at) << c.count;
    }
}

TEST_F(LoadFixture, VersionMismatchNamesBothVersionsAndReadsNothing)
{
    FileSpec spec;
    spec.version = [](auto& b) { b.Str("082705"); };
    const auto bytes = spec.Build();
    Worksheet ws(settings, messages);
    const FileResult result = LoadWorksheetBytes(ws, bytes.data(), bytes.size());
    ASSERT_FALSE(result);
    EXPECT_EQ(result.Error().kind, Kind::VersionMismatch);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{
                                    "Error: Non-Compatible Data File Version, Expect:082704, Got:082705"}));
    EXPECT_EQ(ws.Store().GetCellText(2, 2), "0");

    // Something else entirely: at most 16 characters of it, unprintable bytes as "?".
    messages.entries.clear();
    FileSpec other;
    other.version = [](auto& b) { b.Str("line one\nline\ttwo and much more"); };
    const auto otherBytes = other.Build();
    Worksheet ws2(settings, messages);
    ASSERT_FALSE(LoadWorksheetBytes(ws2, otherBytes.data(), otherBytes.size()));
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Error: Non-Compatible Data File Version, "
                                        "Expect:082704, Got:line one?line?tw..."}));
}

TEST_F(LoadFixture, EveryTruncationPrefixIsRefused)
{
    FileSpec spec;
    spec.rowCount = 20;  // a short file keeps the quadratic sweep fast
    spec.dataRows = 12;
    spec.weights.resize(3);
    const auto bytes = spec.Build();
    ASSERT_TRUE(std::holds_alternative<WorksheetFileContents>(ParseWorksheetFile(bytes.data(), bytes.size(), 8)));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        // Each prefix in a buffer of exactly its size, so that a read past its end is a
        // read past the allocation, which the address sanitizer reports.
        const auto prefix = std::make_unique<std::uint8_t[]>(n);
        std::copy_n(bytes.begin(), n, prefix.get());
        auto parsed = ParseWorksheetFile(prefix.get(), n, 8);
        ASSERT_TRUE(std::holds_alternative<FileError>(parsed)) << "prefix " << n;
        EXPECT_EQ(std::get<FileError>(parsed).kind, Kind::UnexpectedEnd) << "prefix " << n;
        EXPECT_LE(std::get<FileError>(parsed).position, n);
    }
}

TEST_F(LoadFixture, WideStringsBecomeNarrowAndLongCharactersQuestionMarks)
{
    FileSpec spec;
    spec.header = {"0", "40", "10", "10", "4", "Init"};
    spec.tail = [](auto&) {};
    auto base = spec.Build();
    // Rebuild with the header texts and the first role in the wide form.
    WorksheetFileBuilder b;
    FileSpec head = spec;
    head.header = {};
    head.columnCount = 0;
    head.rowCount = 0;
    head.roles = {};
    head.usedColumns = 0;
    head.dataRows = 0;
    auto prefix = head.Build();
    prefix.resize(prefix.size() - 8);  // drop the two counts, written below
    b.bytes = prefix;
    b.WideStr(u"0");
    b.WideStr(u"4\u00e90");      // é stays one narrow byte
    b.WideStr(u"1\u263a0");      // a character above 255 becomes '?'
    b.WideStr(std::u16string(300, u'x'));  // wide with a 16-bit count
    b.Str("4");
    b.WideStr(u"Init");
    b.I32(69);
    b.I32(9);
    b.WideStr(u"Trg/In");
    for (int j = 2; j <= 68; ++j)
        b.Str("No Data");
    b.WideStr(u"c");
    b.WideStr(u"1.5");  // grid row 8, the only data row
    Worksheet ws(settings, messages);
    ASSERT_TRUE(LoadWorksheetBytes(ws, b.bytes.data(), b.bytes.size()));
    EXPECT_EQ(ws.Store().GetCellText(2, 2), "4\xe9" "0");
    EXPECT_EQ(ws.counts.numTraining, 4);
    EXPECT_EQ(ws.Store().GetCellText(3, 2), "1?0");
    EXPECT_EQ(ws.Store().GetCellText(4, 2), std::string(300, 'x'));
    EXPECT_EQ(ws.Store().GetCellText(6, 1), "Trg/In");
    EXPECT_EQ(ws.Store().GetCellText(7, 1), "c");
    EXPECT_EQ(ws.Store().GetCellText(8, 1), "1.5");
    EXPECT_EQ(ws.savedRowCount, 9);
}

TEST_F(LoadFixture, StoredStateWeightsAndNetworkBuild)
{
    struct Case {
        const char* name;
        const char* stateText;
        std::size_t weights;
        WorksheetState state;
        const char* cell;
        std::size_t kept;
        bool message;
    };
    // Shape 2-1-1 needs 1*(2+1) + 1*(1+1) = 5 weights.
    const Case cases[] = {
        {"Init skips the weights", "Init", 1000, WorksheetState::Init, "Init", 0, false},
        {"Trained keeps its state", "Trained", 5, WorksheetState::Trained, "Trained", 5, false},
        {"Eval with extra weights", "Eval", 9, WorksheetState::Eval, "Eval", 5, false},
        {"Trained with too few weights", "Trained", 4, WorksheetState::Init, "Init", 0, true},
        {"unknown state text", "Ready", 5, WorksheetState::Init, "Ready", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileSpec spec;
        spec.header[5] = c.stateText;
        spec.weights.assign(c.weights, 0.25f);
        const auto bytes = spec.Build();
        messages.entries.clear();
        Worksheet ws(settings, messages);
        ws.Network(); // a network from before the load, to be replaced
        ASSERT_TRUE(LoadWorksheetBytes(ws, bytes.data(), bytes.size()));
        EXPECT_EQ(ws.state, c.state);
        EXPECT_EQ(ws.Store().GetCellText(1, 4), c.cell);
        EXPECT_EQ(ws.storedWeights.size(), c.kept);
        // The network is built again from what was read: with the kept weights, or
        // unbuilt when the worksheet came back as Init.
        EXPECT_EQ(ws.Network().net.ExportWeights(), std::vector<float>(c.kept, 0.25f));
        EXPECT_EQ(ws.inputSetCount, 1);
        EXPECT_EQ(messages.Texts(), c.message ? std::vector<std::string>{"Error: Stored Weights Do Not Match Network Shape"}
                                              : std::vector<std::string>{});
    }
}

TEST_F(LoadFixture, SectionsAfterLoadFollowTheResultsMode)
{
    struct Case {
        const char* name;
        bool autoSizing;
        int mode;
        int training, testing, eval, taps;
        const char* evalCell;
    };
    const Case cases[] = {
        {"evaluate, sizing off: as stored", false, 1, 40, 10, 10, 4, "10"},
        {"extrapolate, sizing off: eval joins testing", false, 2, 40, 20, 0, 4, "---"},
        {"evaluate, sizing on: from 60 data rows", true, 1, 40, 10, 10, 4, "10"},
        {"extrapolate, sizing on", true, 2, 40, 20, 0, 4, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.autoVectorSizing = c.autoSizing;
        settings.resultsMode = c.mode;
        settings.UpdateExtrapolationRows();
        FileSpec spec;
        spec.header = {"0", "40", "10", "10", "4", "Trained"};
        spec.weights.assign(5, 0.5f);
        const auto bytes = spec.Build();
        Worksheet ws(settings, messages);
        ASSERT_TRUE(LoadWorksheetBytes(ws, bytes.data(), bytes.size()));
        EXPECT_EQ(ws.counts.numTraining, c.training);
        EXPECT_EQ(ws.counts.numTesting, c.testing);
        EXPECT_EQ(ws.counts.numEval, c.eval);
        EXPECT_EQ(ws.counts.numTaps, c.taps);
        EXPECT_EQ(ws.counts.totalRows, c.training + c.testing + c.eval);
        EXPECT_EQ(ws.Store().GetCellText(4, 2), c.evalCell);
        EXPECT_EQ(ws.state, WorksheetState::Trained);  // the role scan found the same inputs
        EXPECT_EQ(ws.Store().GetCellBackColor(ws.firstDataRow + 55, 0),
                  c.mode == 1 ? settings.evalColor : settings.testColor);
        if (c.mode == 2 && !c.autoSizing) {
            EXPECT_EQ(ws.counts.savedNumEval, 10);
        }
    }
}

// A file that does not even begin with a version string is marked as no worksheet at
// all, so that a window can say so; a worksheet of another version is not. The message
// stays the same either way.
TEST(WorksheetFileKind, FilesThatAreNoWorksheetAtAll)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool notWorksheet;
    };
    auto bytesOf = [](const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    const Case cases[] = {
        {"another version", bytesOf(std::string("\x06") + "082705" + std::string(40, '\0')), false},
        {"CSV text", bytesOf("Year,Flow\n1871,1120\n1872,1160\n1873,963\n1874,1210\n1875,1160\n1876,1160\n1877,813\n1878,1230\n"), true},
        {"a letter and nothing after", bytesOf("z"), true},
        {"empty file", {}, true},
        {"letters where the digits go", bytesOf(std::string("\x06") + "08a704" + std::string(40, '\0')), true},
    };
    for (const Case& c : cases) {
        auto parsed = ParseWorksheetFile(c.bytes.data(), c.bytes.size(), 8);
        ASSERT_TRUE(std::holds_alternative<FileError>(parsed)) << c.name;
        EXPECT_EQ(std::get<FileError>(parsed).notWorksheet, c.notWorksheet) << c.name;
    }
}
