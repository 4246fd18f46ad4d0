#include "grid/core/CellStore.h"
#include "grid/core/GridSelection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

using namespace orvalis;

namespace {

struct RecordingListener : CellStoreListener {
    std::vector<CellId> cells;
    int layouts = 0;
    void CellChanged(int row, int col) override { cells.push_back({row, col}); }
    void LayoutChanged() override { ++layouts; }
};

// Every cell measures 7 pixels per character, 13 high; a blank is 4 wide.
struct FixedMeasurer : TextMeasurer {
    Size MeasureText(const LogFont& font, const std::string& text) override
    {
        return Size{static_cast<int>(text.size()) * (font.weight >= 600 ? 8 : 7), 13};
    }
    Metrics FontMetrics(const LogFont&) override { return Metrics{4, 13, 1, 6}; }
};

} // namespace

TEST(CellStore, CountChangesKeepCellsFixedBandsAndSelectionConsistent)
{
    CellStore store(5, 4, 1, 1);
    GridViewOptions options;
    GridSelection selection(store, options);
    store.SetCellState(4, 3, CellReadOnly);
    selection.SetSelectedRange(4, 3, 4, 3);
    selection.KeepSelection();
    selection.SetSelectedRange(3, 2, 3, 2);
    selection.SetFocusCell(CellId{4, 1});
    ASSERT_EQ(selection.SelectedCells().size(), 2u);
    ASSERT_TRUE(store.CheckConsistency());

    EXPECT_TRUE(store.SetRowCount(5)) << "same count changes nothing";
    EXPECT_TRUE(store.SetRowCount(4));
    EXPECT_TRUE(store.CheckConsistency());
    EXPECT_TRUE(selection.CheckConsistency()) << "removed selected cells leave the set";
    EXPECT_EQ(selection.SelectedCells().size(), 1u);
    EXPECT_EQ(selection.GetFocusCell(), CellId{}) << "focus in a removed row is cleared";
    EXPECT_FALSE(selection.HasKeptCells());

    EXPECT_TRUE(store.SetColumnCount(2));
    EXPECT_TRUE(store.CheckConsistency());
    EXPECT_TRUE(selection.SelectedCells().empty());

    EXPECT_TRUE(store.SetFixedRowCount(6)) << "grows the rows first";
    EXPECT_EQ(store.GetRowCount(), 6);
    EXPECT_TRUE(store.SetRowCount(0));
    EXPECT_EQ(store.GetFixedRowCount(), 0);
    EXPECT_EQ(store.GetVirtualHeight(), 0);
    EXPECT_TRUE(store.CheckConsistency());

    EXPECT_FALSE(store.SetRowCount(-1));
    EXPECT_FALSE(store.SetColumnCount(CellStore::kMaxCount + 1))
        << "a count past 16 bits would make selection keys collide";
    EXPECT_TRUE(store.CheckConsistency());
}

TEST(CellStore, NewCellsInheritTheFormatOfTheCellAbove)
{
    CellStore store(2, 3);
    store.SetCellFormat(1, 1, FormatRight | FormatSingleLine);
    store.SetRowCount(5);
    for (int r = 2; r < 5; ++r)
        EXPECT_EQ(store.GetCellFormat(r, 1), FormatRight | FormatSingleLine) << r;
    EXPECT_EQ(store.GetCellFormat(4, 0), 0u);
    store.SetColumnCount(4);
    EXPECT_EQ(store.GetCellFormat(0, 3), 0u) << "row 0 has nothing above it";
}

TEST(CellStore, OutOfRangeCellsAnswerNeutralValues)
{
    CellStore store(3, 3, 1, 1);
    store.SetCellText(1, 1, "x");
    const CellId outside[] = {{-1, 0}, {3, 0}, {0, -1}, {0, 3}, {65535, 65535}};
    for (const CellId& c : outside) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
        EXPECT_FALSE(store.SetCellText(c.row, c.col, "y"));
        EXPECT_EQ(store.GetCellText(c.row, c.col), "");
        EXPECT_FALSE(store.SetCellState(c.row, c.col, CellReadOnly));
        EXPECT_EQ(store.GetCellState(c.row, c.col), 0u);
        EXPECT_EQ(store.GetCellFormat(c.row, c.col), 0u);
        EXPECT_EQ(store.GetCellImage(c.row, c.col), -1);
        EXPECT_TRUE(store.GetCellFont(c.row, c.col) == store.GetGridFontRecord());
        EXPECT_EQ(store.GetRowHeight(c.row), c.row >= 0 && c.row < 3 ? store.GetDefaultRowHeight() : -1);
        GridItem item;
        item.row = c.row;
        item.col = c.col;
        item.mask = ItemText;
        EXPECT_FALSE(store.SetCell(item));
        EXPECT_FALSE(store.GetCell(item));
    }
    EXPECT_TRUE(store.CheckConsistency());
}

TEST(CellStore, StateBitsFollowEveryRoute)
{
    CellStore store(4, 4, 1, 1);
    store.SetCellState(2, 2, CellReadOnly);
    EXPECT_FALSE(store.IsCellEditable(2, 2));
    GridItem item;
    item.row = 3;
    item.col = 3;
    item.mask = ItemState | ItemText;
    item.state = CellReadOnly;
    item.text = "t";
    ASSERT_TRUE(store.SetCell(item));
    EXPECT_EQ(store.GetCellState(3, 3), unsigned{CellReadOnly}) << "a state set through the exchange record too";
    EXPECT_EQ(store.GetCellText(3, 3), "t");
    item.mask = ItemState;
    item.state = 0;
    ASSERT_TRUE(store.GetCell(item));
    EXPECT_EQ(item.state, unsigned{CellReadOnly});
    store.SetCellState(1, 1, CellModified);
    store.SetCellText(1, 1, "x");
    store.EmptyCell(1, 1);
    EXPECT_EQ(store.GetCellState(1, 1), 0u) << "an emptied cell keeps no state";
    EXPECT_EQ(store.GetCellText(1, 1), "");
    EXPECT_TRUE(store.CheckConsistency());
}

TEST(CellStore, SetModifiedMarksOnlyCellsPastRowAndColumnZero)
{
    CellStore store(4, 4, 1, 1);
    store.SetModified(true, 0, 2);
    EXPECT_TRUE(store.GetModified());
    EXPECT_EQ(store.GetCellState(0, 2) & CellModified, 0u);
    store.SetModified(true, 2, 2);
    EXPECT_NE(store.GetCellState(2, 2) & CellModified, 0u);
    store.SetModified(false, 2, 2);
    EXPECT_EQ(store.GetCellState(2, 2) & CellModified, 0u);
    EXPECT_TRUE(store.GetModified()) << "clearing one cell leaves the grid flag";
    store.SetModified(true, 3, 3);
    store.SetModified(false);
    EXPECT_EQ(store.GetCellState(3, 3) & CellModified, 0u) << "clearing the grid clears every cell";
}

TEST(CellStore, SizesAcceptZeroRefuseNegativeAndSumForFixedAndVirtual)
{
    CellStore store(3, 3, 1, 1);
    EXPECT_TRUE(store.SetColumnWidth(1, 0));
    EXPECT_FALSE(store.SetColumnWidth(1, -1));
    EXPECT_EQ(store.GetColumnWidth(1), 0);
    store.SetColumnWidth(0, 50);
    store.SetColumnWidth(2, 20);
    EXPECT_EQ(store.GetFixedColumnWidth(), 50);
    EXPECT_EQ(store.GetVirtualWidth(), 70);
    const auto generation = store.LayoutGeneration();
    store.SetRowHeight(2, 4);
    EXPECT_NE(store.LayoutGeneration(), generation) << "views must see silent size changes";
}

TEST(CellStore, FontAndAutoSizeUseTheMeasurer)
{
    CellStore store(3, 3, 1, 1);
    EXPECT_FALSE(store.AutoSizeColumn(1)) << "nothing to measure with";
    FixedMeasurer measurer;
    store.SetTextMeasurer(&measurer);
    LogFont font;
    font.height = -15;
    store.SetGridFont(font);
    EXPECT_EQ(store.GetMargin(), 4);
    EXPECT_EQ(store.GetDefaultRowHeight(), 13 + 1 + 8);
    EXPECT_EQ(store.GetDefaultColumnWidth(), 12 * 6 + 8);
    EXPECT_TRUE(store.GetCellFont(2, 2) == font);

    store.SetCellText(0, 1, "Head");   // fixed: semi-bold, 8 per char
    store.SetCellText(2, 1, "abcdef");  // 42
    ASSERT_TRUE(store.AutoSizeColumn(1));
    EXPECT_EQ(store.GetColumnWidth(1), 42 + 16);
    ASSERT_TRUE(store.AutoSizeRow(2));
    EXPECT_EQ(store.GetRowHeight(2), 13 + 8);
    store.AutoSize();
    EXPECT_EQ(store.GetColumnWidth(2), 16) << "an empty column is as wide as its margins";
    store.SetTextMeasurer(nullptr);
}

TEST(CellStore, ListenerHearsEveryVisibleWriteButNotWhileDrawingIsOff)
{
    CellStore store(3, 3);
    RecordingListener listener;
    store.SetListener(&listener);
    store.SetCellText(1, 1, "a");
    store.SetCellText(1, 1, "a");  // unchanged: nothing to redraw
    store.SetCellBackColor(2, 2, Rgb(1, 2, 3));
    store.SetCellState(0, 1, CellReadOnly);
    ASSERT_EQ(listener.cells.size(), 3u);
    EXPECT_EQ(listener.cells[1], (CellId{2, 2}));
    store.allowDraw = false;
    store.SetCellText(1, 1, "b");
    store.SetRowCount(5);
    EXPECT_EQ(listener.cells.size(), 3u);
    EXPECT_EQ(listener.layouts, 0);
    store.SetListener(nullptr);
}

TEST(CellStore, EveryWindowOnTheStoreHearsItsWritesUntilItLeaves)
{
    CellStore store(3, 3);
    RecordingListener first;
    RecordingListener second;
    store.AddListener(&first);
    store.AddListener(&second);
    store.SetCellText(1, 1, "a");
    EXPECT_EQ(first.cells.size(), 1u);
    EXPECT_EQ(second.cells.size(), 1u);
    // The second window closes: the first still hears every write.
    store.RemoveListener(&second);
    store.SetCellText(1, 2, "b");
    EXPECT_EQ(first.cells.size(), 2u);
    EXPECT_EQ(second.cells.size(), 1u);
    store.RemoveListener(&first);
}

TEST(CellStore, SortTextRowsOrdersBytewiseAndMovesWholeRows)
{
    struct Case {
        const char* name;
        bool ascending;
        std::vector<std::string> in;
        std::vector<std::string> out;
    } cases[] = {
        {"ascending, numbers compare as text", true, {"10", "9", "100", "1"}, {"1", "10", "100", "9"}},
        {"descending", false, {"b", "a", "c", "b"}, {"c", "b", "b", "a"}},
        {"case-sensitive: capitals first", true, {"b", "B", "a", "A"}, {"A", "B", "a", "b"}},
        {"high bytes after ASCII", true, {"\xe9", "z", "a"}, {"a", "z", "\xe9"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int n = static_cast<int>(c.in.size());
        CellStore store(n + 1, 2, 1, 0);
        for (int i = 0; i < n; ++i) {
            store.SetCellText(i + 1, 0, c.in[i]);
            // Column 1 names the row it started in, so each row can be followed.
            store.SetCellText(i + 1, 1, c.in[i] + "!" + std::to_string(i));
            store.SetRowHeight(i + 1, 10 + i);
        }
        store.SetCellText(0, 0, "header");
        ASSERT_TRUE(store.SortTextRows(0, c.ascending));
        EXPECT_EQ(store.GetCellText(0, 0), "header");
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(store.GetCellText(i + 1, 0), c.out[i]);
            const std::string tag = store.GetCellText(i + 1, 1);
            const std::size_t bang = tag.rfind('!');
            ASSERT_NE(bang, std::string::npos);
            EXPECT_EQ(tag.substr(0, bang), c.out[i]) << "the row moves whole";
            const int from = std::stoi(tag.substr(bang + 1));
            EXPECT_EQ(store.GetRowHeight(i + 1), 10 + from) << "the height moves with its row";
        }
    }
}
