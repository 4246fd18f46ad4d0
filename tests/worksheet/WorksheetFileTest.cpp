#include "RecordingMessages.h"
#include "WorksheetFileBuilder.h"

#include "worksheet/AppSettings.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace orvalis;
using orvalis::test::WorksheetFileBuilder;

namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        std::string t = (std::filesystem::temp_directory_path() / "orvalis-ws-XXXXXX").string();
        path = mkdtemp(t.data());
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};

struct FileFixture : ::testing::Test {
    AppSettings settings;
    RecordingMessages messages;
    FileFixture() { settings.autoVectorSizing = false; }

    // Every text of rows 1..1000, columns 0..68.
    static std::vector<std::string> AllTexts(const Worksheet& ws)
    {
        std::vector<std::string> texts;
        for (int r = 1; r < 1001; ++r)
            for (int c = 0; c < 69; ++c)
                texts.push_back(ws.Store().GetCellText(r, c));
        return texts;
    }

    // A worksheet with roles in columns 1-3, column 4 "No Data" and data below.
    static void Fill(Worksheet& ws, int rows)
    {
        CellStore& s = ws.Store();
        s.SetCellText(6, 1, "Trg/In");
        s.SetCellText(6, 2, "Input");
        s.SetCellText(6, 3, "Val:Est");
        for (int j = 1; j <= 3; ++j)
            s.SetCellText(7, j, "note " + std::to_string(j));
        for (int i = 0; i < rows; ++i)
            for (int j = 1; j <= 3; ++j)
                s.SetCellText(ws.firstDataRow + i, j, std::to_string(i * 10 + j) + ".5");
    }
};

} // namespace

TEST_F(FileFixture, NewWorksheetSavedAtOnceMatchesTheGoldenFile)
{
    Worksheet ws(settings, messages);
    const auto golden = ReadAll(ORVALIS_TEST_DATA_DIR "/worksheet_new/new.ows");
    ASSERT_EQ(golden.size(), 4634u);
    EXPECT_EQ(WorksheetFileBytes(ws), golden);

    TempDir dir;
    const auto target = dir.path / "new.ows";
    ws.SetModified(true);
    ASSERT_TRUE(SaveWorksheetFile(ws, target.string()));
    EXPECT_EQ(ReadAll(target), golden);
    EXPECT_FALSE(ws.IsModified());
    EXPECT_TRUE(messages.entries.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path),
                            std::filesystem::directory_iterator()), 1);  // no temporary left
}

TEST_F(FileFixture, ColumnsUpToTheFirstNoDataColumnAreWrittenForEveryRow)
{
    Worksheet ws(settings, messages);
    Fill(ws, 50);
    const auto bytes = WorksheetFileBytes(ws);
    auto parsed = ParseWorksheetFile(bytes.data(), bytes.size(), ws.firstDataRow);
    ASSERT_TRUE(std::holds_alternative<WorksheetFileContents>(parsed));
    const auto& c = std::get<WorksheetFileContents>(parsed);
    EXPECT_EQ(c.usedColumns, 3);
    EXPECT_EQ(c.roles.size(), 68u);
    EXPECT_EQ(c.comments, (std::vector<std::string>{"note 1", "note 2", "note 3"}));
    ASSERT_EQ(c.rows.size(), 993u);  // rows 8..1000, the empty ones too
    EXPECT_EQ(c.rows[0], (std::vector<std::string>{"1.5", "2.5", "3.5"}));
    EXPECT_EQ(c.rows[49][2], "493.5");
    EXPECT_EQ(c.rows[992], (std::vector<std::string>{"", "", ""}));
    // Nothing follows the last row: the roles change the new file's size by -3, the
    // comments add 21 bytes, every data row three prefixed strings.
    std::size_t expected = 4634 - 3 + 21;
    for (int i = 0; i < 993; ++i)
        for (int j = 1; j <= 3; ++j)
            expected += 1 + (i < 50 ? std::to_string(i * 10 + j).size() + 2 : 0);
    EXPECT_EQ(bytes.size(), expected);
}

TEST_F(FileFixture, SavingAsksBeforeDroppingTextBeyondTheFirstNoDataColumn)
{
    TempDir dir;
    const auto target = dir.path / "w.ows";
    {
        std::ofstream(target) << "old";
    }
    struct Case {
        const char* name;
        int row;
        bool commentLine;
        bool answer;
        bool asked;
        bool saved;
    };
    for (const Case& c : {Case{"data beyond, No", 100, true, false, true, false},
                          Case{"data beyond, Yes", 100, true, true, true, true},
                          Case{"comment beyond", 7, true, false, true, false},
                          Case{"comment row off: row 7 is data", 7, false, false, true, false},
                          Case{"header rows do not count", 5, true, false, false, true}}) {
        SCOPED_TRACE(c.name);
        settings.useCommentLine = c.commentLine;
        messages.entries.clear();
        messages.answer = c.answer;
        Worksheet ws(settings, messages);
        Fill(ws, 3);
        ws.Store().SetCellText(c.row, 9, "x");
        const FileResult saved = SaveWorksheetFile(ws, target.string());
        EXPECT_EQ(static_cast<bool>(saved), c.saved);
        if (c.asked) {
            ASSERT_EQ(messages.entries.size(), 1u);
            EXPECT_EQ(messages.entries[0],
                      (RecordingMessages::Entry{"ask",
                                                "Proceed With Save? Data From Column 4 On Will Not Be Saved"}));
        } else {
            EXPECT_TRUE(messages.entries.empty());
        }
        if (!c.saved) {
            EXPECT_EQ(saved.Error().kind, FileError::Kind::Cancelled);
            EXPECT_EQ(ReadAll(target), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
        }
        std::ofstream(target) << "old";
    }
}

TEST_F(FileFixture, FilledWorksheetRoundTripsExactly)
{
    for (bool commentLine : {true, false}) {
        SCOPED_TRACE(commentLine ? "comment row on" : "comment row off");
        settings.useCommentLine = commentLine;
        Worksheet ws(settings, messages);
        Fill(ws, 993);
        ws.ApplyCellEdit(1, 2, "7");
        ws.ApplyCellEdit(2, 2, "600");
        ws.ApplyCellEdit(3, 2, "200");
        ws.ApplyCellEdit(4, 2, "150");
        ws.ApplyCellEdit(5, 2, "12");
        ws.Store().SetCellText(20, 2, std::string(300, 'w'));     // 16-bit length
        ws.Store().SetCellText(21, 2, std::string(70000, 'l'));   // 32-bit length
        ws.Store().SetCellText(22, 2, std::string(254, 'a'));     // longest one-byte length
        ws.Store().SetCellText(23, 2, std::string(65533, 'b'));   // longest 16-bit length
        ws.Store().SetCellText(24, 2, std::string(65534, 'c'));   // shortest 32-bit length
        ws.Store().SetCellText(25, 1, "\xe9\x01\xff");
        ws.network.layerCount = 3;
        ws.network.unitsPerLayer = {24, 12, 1};
        ws.network.autoNetworkConfigure = 0;
        ws.network.learningRate = 0.05000000074505806;
        ws.network.maxCycles = 77;
        ws.storedWeights.assign(static_cast<std::size_t>(ws.network.WeightCount()), 0.0f);
        for (std::size_t i = 0; i < ws.storedWeights.size(); ++i)
            ws.storedWeights[i] = static_cast<float>(i) * -0.37f + 1e-7f;
        ws.phaseOffset = -1;
        ws.SetStateAndText(WorksheetState::Eval);

        const auto bytes = WorksheetFileBytes(ws);
        Worksheet back(settings, messages);
        ASSERT_TRUE(LoadWorksheetBytes(back, bytes.data(), bytes.size()));
        EXPECT_TRUE(messages.entries.empty());
        EXPECT_EQ(AllTexts(back), AllTexts(ws));
        EXPECT_EQ(back.state, WorksheetState::Eval);
        EXPECT_EQ(back.counts.numTraining, 600);
        EXPECT_EQ(back.counts.totalRows, 950);
        EXPECT_EQ(back.counts.startOffset, 7);
        EXPECT_EQ(back.phaseOffset, -1);
        EXPECT_EQ(back.network.unitsPerLayer, ws.network.unitsPerLayer);
        EXPECT_EQ(back.network.learningRate, ws.network.learningRate);
        EXPECT_EQ(back.network.maxCycles, 77);
        EXPECT_EQ(back.network.autoNetworkConfigure, 0);
        EXPECT_EQ(back.storedWeights, ws.storedWeights);
        EXPECT_EQ(back.inputSetCount, 2);
        EXPECT_FALSE(back.IsModified());
        EXPECT_EQ(WorksheetFileBytes(back), bytes);
    }
}

TEST_F(FileFixture, FailedReadsAndWritesLeaveEverythingAsItWas)
{
    TempDir dir;
    Worksheet ws(settings, messages);
    FileResult result = LoadWorksheetFile(ws, (dir.path / "missing.ows").string());
    ASSERT_FALSE(result);
    EXPECT_EQ(result.Error().kind, FileError::Kind::CannotOpen);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error: Cannot open file missing.ows"}));

    // A folder, a device whose read fails and an endless device: the reader neither
    // throws nor grows without bound, and nothing is taken over.
    struct Unreadable {
        std::string path;
        FileError::Kind kind;
        std::string message;
    };
    std::filesystem::create_directory(dir.path / "folder.ows");
    for (const Unreadable& u :
         {Unreadable{(dir.path / "folder.ows").string(), FileError::Kind::CannotOpen, "Error: Cannot open file folder.ows"},
          Unreadable{"/proc/self/mem", FileError::Kind::CannotOpen, "Error: Cannot open file mem"},
          Unreadable{"/dev/zero", FileError::Kind::Invalid, "Error: Invalid Worksheet File (open failed)"}}) {
        messages.entries.clear();
        Worksheet fresh(settings, messages);
        FileResult failure;
        EXPECT_NO_THROW(failure = LoadWorksheetFile(fresh, u.path)) << u.path;
        ASSERT_FALSE(failure) << u.path;
        EXPECT_EQ(failure.Error().kind, u.kind) << u.path;
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{u.message});
        EXPECT_EQ(fresh.Store().GetCellText(6, 1), "No Data");
    }
    std::filesystem::remove(dir.path / "folder.ows");

    messages.entries.clear();
    result = SaveWorksheetFile(ws, (dir.path / "no-such-folder" / "w.ows").string());
    ASSERT_FALSE(result);
    EXPECT_EQ(result.Error().kind, FileError::Kind::WriteFailed);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error: Cannot write file w.ows"}));

    // A target that cannot be replaced (a folder of that name) keeps what it holds, and
    // no temporary file stays behind.
    const auto folder = dir.path / "taken.ows";
    std::filesystem::create_directory(folder);
    std::ofstream(folder / "inside") << "keep";
    ws.SetModified(true);
    result = SaveWorksheetFile(ws, folder.string());
    ASSERT_FALSE(result);
    EXPECT_TRUE(ws.IsModified());
    EXPECT_EQ(ReadAll(folder / "inside"), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path),
                            std::filesystem::directory_iterator()), 1);
}

// What is saved must open again: a worksheet whose file would pass the open limit (68
// columns of 3,974-character texts in every data row, as a CSV just under the import
// limit gives) is not saved, the old file stays, and the message says why.
TEST_F(FileFixture, WorksheetPastTheOpenLimitIsNotSaved)
{
    Worksheet ws(settings, messages);
    CellStore& s = ws.Store();
    const std::string text(3974, '7');
    for (int j = 1; j <= 68; ++j) {
        s.SetCellText(6, j, "Comment");
        for (int r = ws.firstDataRow; r < s.GetRowCount(); ++r)
            s.SetCellText(r, j, text);
    }
    // 993 data rows of 68 texts of 3,977 bytes each with their length: 0.04% past.
    TempDir dir;
    const auto target = dir.path / "big.ows";
    std::ofstream(target) << "old";
    const FileResult result = SaveWorksheetFile(ws, target.string());
    ASSERT_FALSE(result);
    EXPECT_EQ(result.Error().kind, FileError::Kind::WriteFailed);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{
                                    "Error: Cannot write file big.ows\nThe worksheet would make a file "
                                    "larger than 256 MiB, which could not be opened again"}));
    EXPECT_EQ(ReadAll(target), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}
