#include "grid/core/GridTextTransfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvalis;
using namespace std::string_literals;

namespace {

// Records the cells whose edits ended, in the order heard.
struct EditRecorder : CellStoreListener {
    std::vector<CellId> ended;
    void CellChanged(int, int) override {}
    void LayoutChanged() override {}
    void EditEnded(int row, int col) override { ended.push_back({row, col}); }
};

// A 10 x 6 store with one fixed row and column; every non-fixed cell holds "old".
struct Sheet {
    CellStore store{10, 6, 1, 1};
    GridViewOptions options;
    GridSelection selection{store, options};
    EditRecorder notes;
    Sheet()
    {
        for (int r = 1; r < 10; ++r)
            for (int c = 1; c < 6; ++c)
                store.SetCellText(r, c, "old");
        store.SetModified(false);
        store.AddListener(&notes);
    }
    ~Sheet() { store.RemoveListener(&notes); }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;
    void Select(int row, int col) { selection.SetSelected(CellId{row, col}, true); }
};

} // namespace

TEST(GridTextTransfer, CopyWritesTabsLineFeedsBlanksAndTheTerminatingNul)
{
    Sheet s;
    const char* texts[2][3] = {{"a", "", "c"}, {"d", "e", "f"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            s.store.SetCellText(2 + r, 1 + c, texts[r][c]);
            s.Select(2 + r, 1 + c);
        }
    EXPECT_EQ(CopyTextFromCells(s.store, s.selection, CellRange{2, 1, 3, 3}), "a\t \tc\nd\te\tf\0"s);

    // Two cells picked with Ctrl: the enclosing range, unselected cells as empty fields.
    Sheet t;
    t.store.SetCellText(4, 2, "x");
    t.store.SetCellText(5, 3, "y");
    t.Select(4, 2);
    t.Select(5, 3);
    EXPECT_EQ(CopyTextFromCells(t.store, t.selection, CellRange{4, 2, 5, 3}), "x\t\n\ty\0"s);

    EXPECT_EQ(CopyTextFromCells(t.store, t.selection, CellRange{10, 6, -1, -1}), "") << "nothing selected";
    EXPECT_EQ(CopyTextFromCells(t.store, t.selection, CellRange{4, 2, 10, 3}), "") << "range past the last row";
}

TEST(GridTextTransfer, PasteLandsTextCellForCell)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::pair<CellId, const char*>> expected;  // everything else stays "old"
    };
    const std::vector<Case> cases = {
        {"without a Tab, commas separate", "1,2\n3,4", {{{5, 2}, "1"}, {{5, 3}, "2"}, {{6, 2}, "3"}, {{6, 3}, "4"}}},
        {"with a Tab anywhere, only Tabs separate", "30,5\t40\nParis, France", {{{5, 2}, "30,5"}, {{5, 3}, "40"}, {{6, 2}, "Paris, France"}}},
        {"an empty field empties its cell", "1\t\t2", {{{5, 2}, "1"}, {{5, 3}, ""}, {{5, 4}, "2"}}},
        {"an empty comma field empties its cell", "1,,2", {{{5, 2}, "1"}, {{5, 3}, ""}, {{5, 4}, "2"}}},
        {"CR LF line ends, the final line end adds no row", "1\r\n2\r\n", {{{5, 2}, "1"}, {{6, 2}, "2"}}},
        {"a lone CR ends a line", "1\r2\r3", {{{5, 2}, "1"}, {{6, 2}, "2"}, {{7, 2}, "3"}}},
        {"LF, CR LF and CR mixed, a final CR adds no row", "1\n2\r\n3\r4\r", {{{5, 2}, "1"}, {{6, 2}, "2"}, {{7, 2}, "3"}, {{8, 2}, "4"}}},
        {"an empty line empties the first cell of its row", "1\n\n3", {{{5, 2}, "1"}, {{6, 2}, ""}, {{7, 2}, "3"}}},
        {"a field of blanks empties its cell, values are trimmed", " 7 \t \t\t8\r", {{{5, 2}, "7"}, {{5, 3}, ""}, {{5, 4}, ""}, {{5, 5}, "8"}}},
        {"a spreadsheet row whose last cell is empty", "1\t2\t\n", {{{5, 2}, "1"}, {{5, 3}, "2"}, {{5, 4}, ""}}},
        {"the text ends at its NUL", "9\0\t5"s, {{{5, 2}, "9"}}},
        {"past the last row and column only the inside is written", "a\tb\tc\td\te\n"
                                                                    "f\n"
                                                                    "g\n"
                                                                    "h\n"
                                                                    "i\n"
                                                                    "j",
         {{{5, 2}, "a"}, {{5, 3}, "b"}, {{5, 4}, "c"}, {{5, 5}, "d"}, {{6, 2}, "f"}, {{7, 2}, "g"}, {{8, 2}, "h"}, {{9, 2}, "i"}}},
    };
    for (const Case& c : cases) {
        Sheet s;
        ASSERT_TRUE(PasteTextToCells(s.store, CellId{5, 2}, c.text)) << c.name;
        for (int r = 0; r < 10; ++r)
            for (int col = 0; col < 6; ++col) {
                std::string want = (r >= 1 && col >= 1) ? "old" : "";
                for (const auto& [cell, text] : c.expected)
                    if (cell == CellId{r, col})
                        want = text;
                EXPECT_EQ(s.store.GetCellText(r, col), want) << c.name << " at " << r << "," << col;
            }
    }
}

TEST(GridTextTransfer, PasteTargetOfNamesTheCellAByteLandsIn)
{
    struct Case {
        const char* name;
        std::string text;
        std::size_t offset;
        CellId expected;
    };
    const std::vector<Case> cases = {
        {"first byte", "ab\tc", 0, {5, 2}},
        {"a separator counts to the field before it", "ab\tc", 2, {5, 2}},
        {"second field", "ab\tc", 3, {5, 3}},
        {"commas stay in a Tab-separated field", "1,2\tx", 4, {5, 3}},
        {"commas separate text without Tabs", "1,2,x", 4, {5, 4}},
        {"after a lone CR", "1\r22\r3", 3, {6, 2}},
        {"after CR LF", "1\r\n2", 3, {6, 2}},
        {"past the store's edges", std::string(30, '\n') + "x", 30, {35, 2}},
        {"past the end", "ab", 2, {-1, -1}},
        {"past the NUL", "a\0b"s, 2, {-1, -1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PasteTargetOf(CellId{5, 2}, c.text, c.offset), c.expected) << c.name;
}

TEST(GridTextTransfer, PasteOfHugeTextFillsTheStoreToItsEdges)
{
    // 100,000 columns on a line, then 200,000 lines whose only Tab is the text's last
    // byte: the store's cells up to its last row and column are written.
    std::string wide;
    for (int c = 0; c < 100000; ++c)
        wide += std::to_string(c) + '\t';
    std::string text = wide + '\n';
    for (int r = 0; r < 200000; ++r)
        text += "r,\n";
    text += "\t";
    Sheet s;
    ASSERT_TRUE(PasteTextToCells(s.store, CellId{1, 1}, text));
    EXPECT_EQ(s.store.GetCellText(1, 5), "4");
    EXPECT_EQ(s.store.GetCellText(2, 1), "r,");
    EXPECT_EQ(s.store.GetCellText(9, 1), "r,") << "the last row";
    EXPECT_EQ(s.store.GetCellText(9, 2), "old");
    EXPECT_TRUE(s.store.CheckConsistency());
}

TEST(GridTextTransfer, PasteWritesOnlyEditableCellsAndReportsOnlyRealChanges)
{
    Sheet s;
    s.store.SetCellState(5, 3, CellReadOnly);
    s.Select(5, 2);
    s.Select(6, 2);
    const PasteOutcome outcome = PasteTextToCells(s.store, CellId{5, 2}, "old\tx\ty", &s.selection);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.changedCells, 1) << "(5,2) kept its text, (5,3) is read-only";
    EXPECT_EQ(s.store.GetCellText(5, 3), "old");
    EXPECT_EQ(s.store.GetCellText(5, 4), "y");
    EXPECT_EQ(s.notes.ended, (std::vector<CellId>{{5, 4}}))
        << "only the changed cell is announced as an edit";
    EXPECT_TRUE(s.store.GetModified());
    EXPECT_FALSE(s.selection.IsSelected(5, 2)) << "a reached target leaves the selection";
    EXPECT_TRUE(s.selection.IsSelected(6, 2)) << "an untouched cell stays selected";
    EXPECT_TRUE(s.store.CheckConsistency());
    EXPECT_TRUE(s.selection.CheckConsistency());

    Sheet same;
    EXPECT_EQ(PasteTextToCells(same.store, CellId{2, 2}, "old\told\n").changedCells, 0);
    EXPECT_FALSE(same.store.GetModified()) << "pasting what is there changes nothing";
    EXPECT_TRUE(same.notes.ended.empty());

    Sheet locked;
    locked.store.SetCellState(5, 2, CellReadOnly);
    EXPECT_FALSE(PasteTextToCells(locked.store, CellId{5, 2}, "1\t2")) << "read-only start cell";
    EXPECT_EQ(locked.store.GetCellText(5, 3), "old");
    EXPECT_FALSE(PasteTextToCells(locked.store, CellId{10, 2}, "1")) << "outside the grid";
    locked.store.editable = false;
    EXPECT_FALSE(PasteTextToCells(locked.store, CellId{6, 2}, "1")) << "grid not editable";
    EXPECT_EQ(locked.store.GetCellText(6, 2), "old");
}

TEST(GridTextTransfer, CutEmptiesSelectedEditableCellsAndKeepsTheFocus)
{
    Sheet s;
    s.store.SetCellText(3, 3, "");
    for (int c = 1; c <= 3; ++c)
        s.Select(3, c);
    s.store.SetCellState(3, 2, s.store.GetCellState(3, 2) | CellReadOnly);
    s.selection.SetFocusCell(CellId{3, 1});
    EXPECT_EQ(CutSelectedCells(s.store, s.selection), 1) << "(3,2) is read-only, (3,3) held no text";
    EXPECT_EQ(s.store.GetCellText(3, 1), "");
    EXPECT_EQ(s.store.GetCellText(3, 2), "old");
    EXPECT_EQ(s.store.GetCellState(3, 1), unsigned{CellModified}) << "emptied and marked";
    EXPECT_EQ(s.selection.GetFocusCell(), (CellId{3, 1})) << "still the focus";
    EXPECT_EQ(s.selection.SelectedCellsInOrder(), (std::vector<CellId>{{3, 2}}))
        << "the cut cells left the selection, the read-only one stays";
    EXPECT_EQ(s.notes.ended, (std::vector<CellId>{{3, 1}}));
    EXPECT_TRUE(s.store.CheckConsistency());

    Sheet frozen;
    frozen.Select(2, 2);
    frozen.store.editable = false;
    EXPECT_EQ(CutSelectedCells(frozen.store, frozen.selection), 0);
    EXPECT_EQ(frozen.store.GetCellText(2, 2), "old");
}

TEST(GridTextTransfer, CopyThenPasteElsewhereReproducesTheBlock)
{
    Sheet s;
    s.store.SetCellText(1, 1, "1.5");
    s.store.SetCellText(1, 2, "");
    s.store.SetCellText(2, 2, "x y");
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c)
            s.Select(r, c);
    const std::string block = CopyTextFromCells(s.store, s.selection, CellRange{1, 1, 2, 2});
    ASSERT_TRUE(PasteTextToCells(s.store, CellId{6, 3}, block));
    EXPECT_EQ(s.store.GetCellText(6, 3), "1.5");
    EXPECT_EQ(s.store.GetCellText(6, 4), "");
    EXPECT_EQ(s.store.GetCellText(7, 3), "old");
    EXPECT_EQ(s.store.GetCellText(7, 4), "x y");
}
