#include "RecordingMessages.h"

#include "worksheet/ImportLoader.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

using namespace orvalis;

namespace {

constexpr const char* kUntouched = "~";

// A small store whose every cell holds "~", so that a written empty cell shows.
void Prefill(CellStore& cells)
{
    for (int r = 0; r < cells.GetRowCount(); ++r)
        for (int c = 0; c < cells.GetColumnCount(); ++c)
            cells.SetCellText(r, c, kUntouched);
}

using Written = std::map<std::pair<int, int>, std::string>;

Written WrittenCells(const CellStore& cells)
{
    Written out;
    for (int r = 0; r < cells.GetRowCount(); ++r)
        for (int c = 0; c < cells.GetColumnCount(); ++c)
            if (cells.GetCellText(r, c) != kUntouched)
                out[{r, c}] = cells.GetCellText(r, c);
    return out;
}

struct LoadCase {
    const char* name;
    std::string input;
    Written expected;  // cells written, relative to line 0 at row 2, first field at column 1
    int lastColumn;
};

} // namespace

// Every case is also fed split at each byte, so a CR at the end of one piece and its LF
// at the start of the next still make one line end.
TEST(ImportLoader, FieldsLinesAndLineEnds)
{
    const std::vector<LoadCase> cases = {
        {"empty field between separators", "1,,3", {{{2, 1}, "1"}, {{2, 2}, ""}, {{2, 3}, "3"}}, 4},
        {"quotes kept and split", "\"1,5\"\n", {{{2, 1}, "\"1"}, {{2, 2}, "5\""}}, 3},
        {"trailing separator before line feed", "a,\n", {{{2, 1}, "a"}, {{2, 2}, ""}}, 3},
        {"trailing separator at end of file", "a,", {{{2, 1}, "a"}}, 2},
        {"empty line gives one empty cell", "\n\nb", {{{2, 1}, ""}, {{3, 1}, ""}, {{4, 1}, "b"}}, 2},
        {"CR LF line ends", "a\r\nb\r\n", {{{2, 1}, "a"}, {{3, 1}, "b"}}, 2},
        {"lone CR kept", "a\rb\n", {{{2, 1}, "a\rb"}}, 2},
        {"only the CR before LF dropped", "a\r\r\n", {{{2, 1}, "a\r"}}, 2},
        {"CR before a separator kept", "a\r,b", {{{2, 1}, "a\r"}, {{2, 2}, "b"}}, 3},
        {"empty file", "", {}, 1},
        {"last column from line 0 only", "x,y\n1,2,3,4\n",
         {{{2, 1}, "x"}, {{2, 2}, "y"}, {{3, 1}, "1"}, {{3, 2}, "2"}, {{3, 3}, "3"}, {{3, 4}, "4"}}, 3},
        {"spaces kept", " a , b\n", {{{2, 1}, " a "}, {{2, 2}, " b"}}, 3},
    };
    for (const LoadCase& c : cases) {
        for (std::size_t split = 0; split <= c.input.size(); ++split) {
            CellStore cells(8, 6, 1, 1);
            Prefill(cells);
            ImportLoader loader(cells, 2, 1, kCommaSeparator);
            loader.Feed(std::string_view(c.input).substr(0, split));
            loader.Feed(std::string_view(c.input).substr(split));
            loader.Finish();
            EXPECT_EQ(WrittenCells(cells), c.expected) << c.name << ", split at " << split;
            EXPECT_EQ(loader.LastColumn(), c.lastColumn) << c.name << ", split at " << split;
        }
    }
}

TEST(ImportLoader, TabSeparatorLeavesCommasInTheField)
{
    CellStore cells(4, 4, 1, 1);
    ImportLoader loader(cells, 1, 1, kTabSeparator);
    loader.Feed("1,5\t2\n");
    loader.Finish();
    EXPECT_EQ(cells.GetCellText(1, 1), "1,5");
    EXPECT_EQ(cells.GetCellText(1, 2), "2");
    EXPECT_EQ(loader.LastColumn(), 3);
}

TEST(ImportLoader, LongLineStaysOneRow)
{
    const std::string longField(5000, 'x');
    CellStore cells(6, 4, 1, 1);
    ImportLoader loader(cells, 1, 1, kCommaSeparator);
    loader.Feed(longField + "," + longField + "\nnext\n");
    loader.Finish();
    EXPECT_EQ(cells.GetCellText(1, 1), longField);
    EXPECT_EQ(cells.GetCellText(1, 2), longField);
    EXPECT_EQ(cells.GetCellText(2, 1), "next");
    EXPECT_EQ(cells.GetCellText(3, 1), "");
    EXPECT_EQ(loader.LineCount(), 2);
}

TEST(ImportLoader, CellsOutsideTheStoreAreDropped)
{
    CellStore cells(4, 3, 1, 1);
    Prefill(cells);
    ImportLoader loader(cells, 2, 1, kCommaSeparator);
    // Columns 3 and 4 and rows 4 and 5 do not exist; line 0 still reports 5 fields.
    loader.Feed("a,b,c,d,e\nf,g\nh\ni\n");
    loader.Finish();
    const Written expected = {{{2, 1}, "a"}, {{2, 2}, "b"}, {{3, 1}, "f"}, {{3, 2}, "g"}};
    EXPECT_EQ(WrittenCells(cells), expected);
    EXPECT_EQ(loader.LastColumn(), 6);
    EXPECT_TRUE(cells.CheckConsistency());
}

// What the loader counts as not fitting a 4-row, 5-column area (rows 2..5, columns 1..5
// of the store): only lines and fields that carry text, so that blank lines at the end
// of a file and trailing separators never report a loss. Fed split at each byte, as a
// CR LF across two pieces must still be a line end and not text.
TEST(ImportLoader, CountsWhatDidNotFit)
{
    struct Case {
        const char* name;
        std::string input;
        std::int64_t rowsLeftOut;
        int columnsLeftOut;
        std::int64_t lastFilledLine;
    };
    const std::string fits = "1\n2\n3\n4\n";
    const std::vector<Case> cases = {
        {"everything fits", fits, 0, 0, 3},
        {"filled lines past the last row", fits + "5\n\n6", 2, 0, 6},
        {"blank, CR LF and separator-only lines are no loss", fits + "\n\r\n,,\r\n\n", 0, 0, 3},
        {"a lone CR is text", fits + "\r,", 1, 0, 4},
        {"widest line counts, up to its last filled field",
         "a,b,c,d,e,f,g,,\na,b,c,d,e,f,,,,,\n", 0, 2, 1},
        {"a wide line past the last row counts both ways", fits + "1,2,3,4,5,6,7,8", 1, 3, 4},
        {"only blank lines", "\n\n", 0, 0, -1},
    };
    for (const Case& c : cases) {
        for (std::size_t split = 0; split <= c.input.size(); ++split) {
            CellStore cells(6, 6, 1, 1);
            ImportLoader loader(cells, 2, 1, kCommaSeparator);
            loader.Feed(std::string_view(c.input).substr(0, split));
            loader.Feed(std::string_view(c.input).substr(split));
            loader.Finish();
            EXPECT_EQ(loader.RowsLeftOut(), c.rowsLeftOut) << c.name << ", split at " << split;
            EXPECT_EQ(loader.ColumnsLeftOut(), c.columnsLeftOut) << c.name << ", split at " << split;
            EXPECT_EQ(loader.LastFilledLine(), c.lastFilledLine) << c.name << ", split at " << split;
        }
    }
}

// Skipped lines are neither written nor leave a gap: the lines after them move up.
TEST(ImportLoader, SkippedLinesMoveTheRestUp)
{
    CellStore cells(5, 3, 1, 1);
    Prefill(cells);
    ImportLoader loader(cells, 1, 1, kCommaSeparator);
    loader.SkipLines(1, 2);
    loader.Feed("h\n1\n\n3\n4\n5\n");
    loader.Finish();
    const Written expected = {{{1, 1}, "h"}, {{2, 1}, "3"}, {{3, 1}, "4"}, {{4, 1}, "5"}};
    EXPECT_EQ(WrittenCells(cells), expected);
    EXPECT_EQ(loader.RowsLeftOut(), 1); // the blank skipped line lost nothing
}

TEST(ImportLoader, MissingFileNamesTheFileWithoutItsFolder)
{
    RecordingMessages messages;
    CellStore cells(10, 4, 1, 1);
    int last = -1;
    EXPECT_FALSE(LoadDelimited(cells, 8, "/no/such/folder/prices.csv", 1, 1, kCommaSeparator,
                               last, messages));
    EXPECT_EQ(messages.entries,
              (std::vector<RecordingMessages::Entry>{{"error", "Error: Cannot open file prices.csv"}}));

    // A folder opens but cannot be read.
    messages.entries.clear();
    EXPECT_FALSE(LoadDelimited(cells, 8, ORVALIS_TEST_DATA_DIR, 1, 1, kCommaSeparator, last,
                               messages));
    EXPECT_EQ(messages.entries,
              (std::vector<RecordingMessages::Entry>{{"error", "Unable to load grid data"}}));
}
