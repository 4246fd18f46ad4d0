#include "RecordingMessages.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/ImportParameters.h"
#include "worksheet/WholeFile.h"
#include "worksheet/Worksheet.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvalis;

namespace {

std::string TempFile(const std::string& name, const std::string& contents)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

std::string ImportData(const std::string& name)
{
    return std::string(ORVALIS_TEST_DATA_DIR) + "/import/" + name;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A worksheet-sized store with "~" in every cell of rows 1..30, columns 1..68.
void Prefill(CellStore& cells)
{
    for (int r = 1; r <= 30; ++r)
        for (int c = 1; c <= 68; ++c)
            cells.SetCellText(r, c, "~");
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (unsigned char ch : text) {
        if (ch == '\\')
            out += "\\\\";
        else if (ch == '\t')
            out += "\\t";
        else if (ch == '\n')
            out += "\\n";
        else if (ch == '\r')
            out += "\\r";
        else if (ch < 0x20 || ch == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", ch);
            out += hex;
        } else
            out += static_cast<char>(ch);
    }
    return out;
}

// "row<TAB>column<TAB>text" for every cell of rows 1..30 that the import changed.
std::string ChangedCells(const CellStore& cells)
{
    std::string out;
    for (int r = 1; r <= 30; ++r)
        for (int c = 1; c <= 68; ++c)
            if (cells.GetCellText(r, c) != "~")
                out += std::to_string(r) + "\t" + std::to_string(c) + "\t" +
                       Escape(cells.GetCellText(r, c)) + "\n";
    return out;
}

} // namespace

TEST(ImportCommand, GoldenImports)
{
    struct Case {
        const char* input;
        const char* golden;
        int firstDataRow;
        ImportRequest request;
        bool configured;
    };
    const std::vector<Case> cases = {
        {"mixed.csv", "mixed.header.cells", 8, {"", 1, 1, true}, true},
        {"crlf.txt", "crlf.r1c2.cells", 7, {"", 1, 2, false}, false},
    };
    for (Case c : cases) {
        CellStore cells(1001, 69, 1, 1);
        Prefill(cells);
        c.request.path = ImportData(c.input);
        RecordingMessages messages;
        int configureCalls = 0;
        const ImportOutcome outcome =
            ImportFile(cells, c.firstDataRow, c.request, messages, [&] { ++configureCalls; });
        EXPECT_TRUE(outcome.imported) << c.input;
        EXPECT_TRUE(messages.entries.empty()) << c.input;
        EXPECT_EQ(configureCalls, c.configured ? 1 : 0) << c.input;
        EXPECT_EQ(ChangedCells(cells), ReadFile(ImportData(c.golden))) << c.input;
    }
}

TEST(ImportCommand, HeaderImportWithAndWithoutCommentRow)
{
    const std::string path = TempFile("orvalis_ab.csv", "a,b\n1,2\n3,4\n");
    struct Case {
        const char* name;
        int firstDataRow;
        bool header;
        int row;
        int column;
        std::vector<std::pair<std::pair<int, int>, const char*>> cells;
        bool configured;
    };
    const std::vector<Case> cases = {
        {"comment row on", 8, true, 1, 1,
         {{{7, 1}, "a"}, {{7, 2}, "b"}, {{8, 1}, "1"}, {{8, 2}, "2"}, {{9, 1}, "3"},
          {{6, 1}, "Comment"}, {{6, 2}, "Comment"}, {{6, 3}, "No Data"}},
         true},
        // Without the comment row the names land in the role row and give way to roles.
        {"comment row off", 7, true, 1, 1,
         {{{6, 1}, "Comment"}, {{6, 2}, "Comment"}, {{7, 1}, "1"}, {{8, 2}, "4"}}, true},
        {"no header, row 1 column 3", 8, false, 1, 3,
         {{{8, 3}, "a"}, {{8, 4}, "b"}, {{9, 3}, "1"}, {{6, 3}, "No Data"}, {{7, 3}, ""}},
         false},
    };
    for (const Case& c : cases) {
        CellStore cells(1001, 69, 1, 1);
        for (int col = 1; col <= 68; ++col)
            cells.SetCellText(6, col, "No Data");
        RecordingMessages messages;
        bool configured = false;
        const ImportOutcome outcome = ImportFile(cells, c.firstDataRow,
                                                 {path, c.row, c.column, c.header}, messages,
                                                 [&] { configured = true; });
        EXPECT_TRUE(outcome.imported) << c.name;
        EXPECT_EQ(outcome.headerImport, c.header) << c.name;
        EXPECT_EQ(configured, c.configured) << c.name;
        for (const auto& [cell, text] : c.cells)
            EXPECT_EQ(cells.GetCellText(cell.first, cell.second), text)
                << c.name << " at " << cell.first << "," << cell.second;
    }
    std::filesystem::remove(path);
}

TEST(ImportCommand, HeaderRolesStopAtLastDataColumn)
{
    const std::string path = (std::filesystem::temp_directory_path() / "orvalis_header_roles_wide.csv").string();
    {
        std::ofstream out(path);
        for (int i = 0; i < 80; ++i)
            out << (i ? "," : "") << "h" << i;
        out << "\n";
    }
    CellStore cells(1001, 69, 1, 1);
    RecordingMessages messages;
    const ImportOutcome outcome = ImportFile(cells, 8, {path, 1, 1, true}, messages, nullptr);
    EXPECT_EQ(outcome.lastColumn, 81);
    EXPECT_EQ(cells.GetCellText(6, 68), "Comment");
    EXPECT_EQ(cells.GetCellText(7, 68), "h67");
    EXPECT_EQ(cells.GetColumnCount(), 69);
    std::filesystem::remove(path);
}

TEST(ImportCommand, RefusalsAndTheirMessages)
{
    struct Case {
        const char* path;
        std::vector<std::string> messages;
    };
    const std::string missing = "/no/such/dir/";
    const std::vector<Case> cases = {
        {"/tmp/prices.CSV", {"Error: Import File Type not Supported"}},
        {"/tmp/prices.TXT", {"Error: Import File Type not Supported"}},
        {"/tmp/prices", {"Error: Import File Type not Supported"}},
        {"/tmp/data.csv/prices", {"Error: Import File Type not Supported"}},
        {"/tmp/prices.csv.bak", {"Error: Import File Type not Supported"}},
        {"/no/such/dir/prices.csv",
         {"Error: Cannot open file prices.csv", "Error: Import CSV File Failure"}},
        {"/no/such/dir/prices.txt",
         {"Error: Cannot open file prices.txt", "Error: Import TAB Delimited File Failure"}},
    };
    for (const Case& c : cases) {
        CellStore cells(1001, 69, 1, 1);
        RecordingMessages messages;
        bool configured = false;
        const ImportOutcome outcome =
            ImportFile(cells, 8, {c.path, 1, 1, true}, messages, [&] { configured = true; });
        EXPECT_FALSE(outcome.imported) << c.path;
        EXPECT_FALSE(configured) << c.path;
        EXPECT_EQ(messages.Texts(), c.messages) << c.path;
        for (const auto& e : messages.entries)
            EXPECT_EQ(e.kind, "error") << e.text;
        EXPECT_EQ(cells.GetCellText(6, 1), "") << c.path;
    }
    EXPECT_EQ(ImportFileTypeOf("a.b/c.txt"), ImportFileType::TabDelimited);
    EXPECT_EQ(ImportFileTypeOf(".csv"), ImportFileType::CommaSeparated);
}

// Import reads at most what a worksheet file may hold: a huge file, a link to an endless
// device and an endless pipe of good lines are refused before any cell changes.
TEST(ImportCommand, InputPastTheSizeCapIsRefusedWithNothingImported)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("orvalis-import-cap-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string sparse = (dir / "huge.csv").string();
    std::ofstream(sparse, std::ios::binary) << "1,2\n3,4\n";
    // One byte past the cap; sparse, so it takes no disk.
    ASSERT_EQ(truncate(sparse.c_str(), static_cast<off_t>(kMaxFileReadBytes + 1)), 0);
    const std::string zero = (dir / "zero.csv").string();
    std::filesystem::create_symlink("/dev/zero", zero);
    const std::string pipe = (dir / "endless.txt").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);

    // Writes lines into the pipe until the import stops reading it.
    void (*oldPipeHandler)(int) = signal(SIGPIPE, SIG_IGN);
    std::thread writer([&] {
        const int fd = open(pipe.c_str(), O_WRONLY | O_CLOEXEC);
        std::string chunk;
        for (int i = 0; i < 4096; ++i)
            chunk += "5\t6\n";
        while (fd >= 0 && write(fd, chunk.data(), chunk.size()) > 0) {
        }
        if (fd >= 0)
            close(fd);
    });

    const std::vector<std::pair<std::string, const char*>> cases = {
        {sparse, "Error: Import CSV File Failure"},
        {zero, "Error: Import CSV File Failure"},
        {pipe, "Error: Import TAB Delimited File Failure"},
    };
    for (const auto& [path, failure] : cases) {
        CellStore cells(1001, 69, 1, 1);
        Prefill(cells);
        RecordingMessages messages;
        bool configured = false;
        const ImportOutcome outcome =
            ImportFile(cells, 8, {path, 1, 1, true}, messages, [&] { configured = true; });
        EXPECT_FALSE(outcome.imported) << path;
        EXPECT_FALSE(outcome.opened) << path;  // the worksheet is not marked changed
        EXPECT_FALSE(configured) << path;
        EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Unable to load grid data", failure}))
            << path;
        EXPECT_EQ(ChangedCells(cells), "") << path;
    }
    writer.join();
    signal(SIGPIPE, oldPipeHandler);
    std::filesystem::remove_all(dir);
}

TEST(ImportParameters, ValidationOrderAndMessages)
{
    struct Case {
        const char* row;
        const char* column;
        bool header;
        const char* message;
        int storedRow;
        int storedColumn;
        bool storedHeader;
    };
    const char* rowRange = "Error: Grid Row Value Out of Range";
    const char* colRange = "Error: Grid Column Value Out of Range";
    const char* header = "Error: Comment Header Requires Grid Row/Column Values Equal 1";
    const std::vector<Case> cases = {
        {"1", "1", false, "", 1, 1, false},
        {"1", "1", true, "", 1, 1, true},
        {"1001", "69", false, "", 1001, 69, false},
        {"0", "1", false, rowRange, -5, -5, false},
        {"1002", "1", false, rowRange, -5, -5, false},
        {"abc", "1", false, rowRange, -5, -5, false},
        {"12x", "3", false, "", 12, 3, false},
        {" +7", "3", false, "", 7, 3, false},
        {"4294967297", "2", false, "", 1, 2, false},  // low 32 bits of the value
        {"5", "70", false, colRange, 5, -5, false},
        {"5", "0", true, colRange, 5, -5, false},
        {"2", "1", true, header, 2, 1, false},
        {"1", "3", true, header, 1, 3, false},
    };
    for (const Case& c : cases) {
        ImportParameters p;
        p.row = -5;
        p.column = -5;
        EXPECT_EQ(p.Validate(c.row, c.column, c.header), c.message) << c.row << " " << c.column;
        EXPECT_EQ(p.row, c.storedRow) << c.row;
        EXPECT_EQ(p.column, c.storedColumn) << c.column;
        EXPECT_EQ(p.commentHeader, c.storedHeader) << c.row;
    }
}

TEST(ImportCommand, WorksheetHeaderImportConfiguresSectionsFromColumn1)
{
    const std::string path = TempFile("orvalis_ws_ab.csv", "a,b\n1,2\n3,4\n");
    struct Case {
        bool useCommentLine;
        int mode;
        std::vector<std::string> messages;
        const char* numEvalText;
    };
    const std::vector<Case> cases = {
        {true, ResultsModeEvaluate, {"Suggest Training Set > 20 Elements"}, "1"},
        {false, ResultsModeEvaluate, {"Suggest Training Set > 20 Elements"}, "1"},
        {true, ResultsModeExtrapolate, {}, "0"},
    };
    for (const Case& c : cases) {
        AppSettings settings;
        settings.useCommentLine = c.useCommentLine;
        settings.resultsMode = c.mode;
        settings.UpdateExtrapolationRows();
        RecordingMessages messages;
        Worksheet ws(settings, messages);
        const ImportOutcome outcome = ImportFile(ws, {path, 1, 1, true});
        const CellStore& s = ws.Store();
        EXPECT_TRUE(outcome.imported);
        EXPECT_TRUE(ws.IsModified());
        EXPECT_EQ(messages.Texts(), c.messages);
        const int first = ws.firstDataRow;
        EXPECT_EQ(first, c.useCommentLine ? 8 : 7);
        if (c.useCommentLine) {
            EXPECT_EQ(s.GetCellText(7, 1), "a");
            EXPECT_EQ(s.GetCellText(7, 2), "b");
        }
        EXPECT_EQ(s.GetCellText(6, 1), "Comment");
        EXPECT_EQ(s.GetCellText(6, 2), "Comment");
        EXPECT_EQ(s.GetCellText(6, 3), "No Data");
        EXPECT_EQ(s.GetCellText(first, 1), "1");
        EXPECT_EQ(s.GetCellText(first + 1, 2), "4");
        // Two rows in column 1: one for training, the rest for testing and evaluation.
        EXPECT_EQ(ws.counts.numTraining, 1);
        EXPECT_EQ(s.GetCellText(2, 2), "1");
        EXPECT_EQ(s.GetCellText(4, 2), c.numEvalText);
        EXPECT_EQ(ws.state, WorksheetState::Init);
    }

    // Without the header: data at row 1 column 3, no role and no count changes.
    AppSettings settings;
    RecordingMessages messages;
    Worksheet ws(settings, messages);
    EXPECT_TRUE(ImportFile(ws, {path, 1, 3, false}).imported);
    EXPECT_EQ(ws.Store().GetCellText(8, 3), "a");
    EXPECT_EQ(ws.Store().GetCellText(8, 4), "b");
    EXPECT_EQ(ws.Store().GetCellText(6, 3), "No Data");
    EXPECT_EQ(ws.Store().GetCellText(2, 2), "0");
    EXPECT_TRUE(messages.entries.empty());
    std::filesystem::remove(path);
}

// 1,860 daily closes and their header line into a worksheet of 993 data rows: the first
// rows by default, the last with "Keep the last rows", the header line above the data
// either way, and the rows left out told before the sections are configured.
TEST(ImportCommand, LongFileKeepsWhatFitsAndSaysSo)
{
    const std::string path = std::string(ORVALIS_SAMPLE_DATA_DIR) + "/eustockmarkets_full.csv";
    const std::string info = "Info: 867 rows and 0 columns of eustockmarkets_full.csv did not "
                             "fit the worksheet and were not imported";
    struct Case {
        bool keepLastRows;
        const char* firstDay; // in data row 0 (grid row 8)
        const char* lastDay;  // in the last grid row
    };
    for (const Case& c : {Case{false, "1", "993"}, Case{true, "868", "1860"}}) {
        CellStore cells(1001, 69, 1, 1);
        RecordingMessages messages;
        std::size_t toldBeforeConfiguring = 0;
        ImportRequest request{path, 1, 1, true};
        request.keepLastRows = c.keepLastRows;
        const ImportOutcome outcome = ImportFile(cells, 8, request, messages, [&] {
            toldBeforeConfiguring = messages.entries.size();
        });
        EXPECT_TRUE(outcome.imported);
        EXPECT_EQ(messages.entries, (std::vector<RecordingMessages::Entry>{{"info", info}}));
        EXPECT_EQ(toldBeforeConfiguring, 1u);
        EXPECT_EQ(cells.GetCellText(7, 1), "Day");
        EXPECT_EQ(cells.GetCellText(7, 5), "FTSE");
        EXPECT_EQ(cells.GetCellText(8, 1), c.firstDay);
        EXPECT_EQ(cells.GetCellText(1000, 1), c.lastDay);
    }

    // Without the header, from grid row 500: the header line is data like the rest, and
    // only the 494 last lines fit.
    CellStore cells(1001, 69, 1, 1);
    RecordingMessages messages;
    ImportRequest request{path, 500, 1, false};
    request.keepLastRows = true;
    EXPECT_TRUE(ImportFile(cells, 8, request, messages, nullptr).imported);
    EXPECT_EQ(cells.GetCellText(507, 1), "1367");
    EXPECT_EQ(cells.GetCellText(1000, 1), "1860");
    EXPECT_EQ(cells.GetCellText(506, 1), "");
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Info: 1367 rows and 0 columns of eustockmarkets_full.csv "
                                        "did not fit the worksheet and were not imported"}));
}

// Fields past column 68: the widest line decides, counted from the start column; a file
// that fits, even with "Keep the last rows", says nothing.
TEST(ImportCommand, WideFileCountsTheColumnsLeftOut)
{
    std::string wide;
    for (int i = 1; i <= 75; ++i)
        wide += std::to_string(i) + (i < 75 ? "," : "\n");
    const std::string path = TempFile("orvalis_wide.csv", wide + "1,2\n");
    struct Case {
        int column;
        bool keepLastRows;
        std::vector<std::string> messages;
    };
    const auto info = [](int columns) {
        return "Info: 0 rows and " + std::to_string(columns) +
               " columns of orvalis_wide.csv did not fit the worksheet and were not imported";
    };
    const std::vector<Case> cases = {
        {1, false, {info(7)}},
        {60, true, {info(66)}},
        {69, false, {info(75)}},
    };
    for (const Case& c : cases) {
        CellStore cells(1001, 69, 1, 1);
        RecordingMessages messages;
        ImportRequest request{path, 1, c.column, false};
        request.keepLastRows = c.keepLastRows;
        EXPECT_TRUE(ImportFile(cells, 8, request, messages, nullptr).imported);
        EXPECT_EQ(messages.Texts(), c.messages) << "column " << c.column;
        EXPECT_EQ(cells.GetCellText(9, c.column < 69 ? c.column : 68), c.column < 69 ? "1" : "");
    }
    // Two filled lines into the last two rows: the blank lines after them are no data,
    // so they neither push the data out nor count as lost.
    const std::string narrow = TempFile("orvalis_narrow.csv", "a,b\n1,2\n\n\n");
    CellStore cells(1001, 69, 1, 1);
    RecordingMessages messages;
    ImportRequest request{narrow, 992, 1, false};
    request.keepLastRows = true;
    EXPECT_TRUE(ImportFile(cells, 8, request, messages, nullptr).imported);
    EXPECT_EQ(cells.GetCellText(999, 1), "a");
    EXPECT_EQ(cells.GetCellText(1000, 2), "2");
    EXPECT_TRUE(messages.entries.empty());
    std::filesystem::remove(path);
    std::filesystem::remove(narrow);
}
