// The store's memory follows the cells in use: blocks of rows appear where cells differ
// and go again when they agree, without any cell reading differently from a store that
// kept every cell.

#include "grid/core/CellStore.h"
#include "grid/core/GridSelection.h"
#include "grid/core/GridViewOptions.h"
#include "support/WorksheetShapedStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

constexpr int kMillion = 1000000;

LogFont BoldFont()
{
    LogFont font;
    font.weight = 700;
    std::strncpy(font.faceName, "Serif", sizeof font.faceName - 1);
    return font;
}

// prefix followed by n, as a cell text.
std::string Tagged(const char* prefix, int n)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s%d", prefix, n);
    return text;
}

// Everything a cell shows, for comparing cells that should read alike.
std::string Describe(const CellStore& store, int row, int col)
{
    return store.GetCellText(row, col) + "|" + std::to_string(store.GetCellState(row, col)) +
           "|" + std::to_string(store.GetCellFormat(row, col)) + "|" +
           std::to_string(store.GetCellBackColor(row, col)) + "|" +
           std::to_string(store.GetCellTextColor(row, col)) + "|" +
           std::to_string(store.GetCellFont(row, col).weight);
}

} // namespace

TEST(CellStoreStorage, EmptiedCellsGiveTheirMemoryBack)
{
    struct Case {
        const char* name;
        std::vector<int> rows; // rows written in column 2, then emptied in this order
    } cases[] = {
        {"one cell", {5}},
        {"a block's first and last rows", {64, 127}},
        {"cells in three blocks, emptied out of order", {200, 3, 130, 64}},
        {"a long text past the short-string buffer", {9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CellStore store(300, 4, 1, 1);
        const std::size_t emptyBytes = store.CellHeapBytes();
        for (int r : c.rows) {
            store.SetCellText(r, 2, std::string(r == 9 ? 100 : 3, 'x'));
            store.SetCellBackColor(r, 2, Rgb(1, 2, 3));
            store.SetCellState(r, 2, CellModified | CellReadOnly);
        }
        ASSERT_GT(store.CellHeapBytes(), emptyBytes);
        const std::string& held = store.CellTextRef(c.rows.front() + 1, 2);
        for (int r : c.rows) {
            store.EmptyCell(r, 2);
            store.SetCellBackColor(r, 2, DefaultColor);
            EXPECT_EQ(store.GetCellText(r, 2), "");
            EXPECT_TRUE(store.CheckConsistency());
        }
        EXPECT_EQ(held, "") << "an empty cell's text outlives its block's texts";
        // No block is left; only the table of block pointers (one per 64 rows) remains.
        EXPECT_LE(store.CellHeapBytes(), emptyBytes + 8 * (300 / 64 + 1));
    }
}

TEST(CellStoreStorage, RowsDroppedAndAddedAgainAreEmpty)
{
    struct Case {
        const char* name;
        int rows; // filled and shown before
        int shrinkTo;
        int growTo;
    } cases[] = {
        {"within one block", 60, 40, 60},
        {"across a block's edge", 200, 100, 300},
        {"to no rows at all", 150, 0, 150},
        {"to a block's edge", 200, 128, 200},
        {"past the old count", 70, 65, 5000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CellStore store(c.rows, 3);
        for (int r = 0; r < c.rows; ++r) {
            store.SetCellText(r, 1, Tagged("t", r));
            store.SetCellBackColor(r, 1, Rgb(9, 9, 9));
            store.SetCellFont(r, 2, BoldFont());
            store.SetCellState(r, 2, CellModified);
            store.SetCellFormat(r, 0, FormatRight);
            store.SetRowHeight(r, 3);
        }
        store.SetCellFormat(c.shrinkTo - 1, 0, FormatCenter);
        ASSERT_TRUE(store.SetRowCount(c.shrinkTo));
        EXPECT_TRUE(store.CheckConsistency());
        ASSERT_TRUE(store.SetRowCount(c.growTo));
        EXPECT_TRUE(store.CheckConsistency());
        const CellStore fresh(1, 3);
        for (int r = c.shrinkTo; r < c.growTo; ++r) {
            EXPECT_EQ(Describe(store, r, 1), Describe(fresh, 0, 1)) << r;
            EXPECT_EQ(Describe(store, r, 2), Describe(fresh, 0, 2)) << r;
            EXPECT_EQ(store.GetCellFormat(r, 0), c.shrinkTo > 0 ? FormatCenter : 0u)
                << "row " << r << " takes the format of the last row kept";
            EXPECT_EQ(store.GetRowHeight(r), store.GetDefaultRowHeight());
        }
        if (c.shrinkTo > 0) {
            EXPECT_EQ(store.GetCellText(c.shrinkTo - 1, 1), Tagged("t", c.shrinkTo - 1));
        }
        EXPECT_EQ(store.GetVirtualHeight(),
                  3 * std::min(c.rows, c.shrinkTo) +
                      store.GetDefaultRowHeight() * (c.growTo - c.shrinkTo));
    }
}

TEST(CellStoreStorage, SortMovesTextsAttributesAndHeightsOfEveryColumn)
{
    // 300 rows over five blocks, the keys shuffled; column 2 holds text only in some
    // rows so that rows with and without text trade places.
    constexpr int kRows = 300;
    CellStore store(kRows + 1, 3, 1, 0);
    std::vector<int> keys(kRows);
    for (int i = 0; i < kRows; ++i)
        keys[i] = i;
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    for (int i = 0; i < kRows; ++i) {
        const int r = i + 1;
        char key[8];
        std::snprintf(key, sizeof key, "%04d", keys[i]);
        store.SetCellText(r, 0, key);
        if (keys[i] % 3 == 0)
            store.SetCellText(r, 2, Tagged("third ", keys[i]));
        if (keys[i] % 7 == 0)
            store.SetCellBackColor(r, 1, Rgb(0, 0, keys[i] % 250));
        store.SetRowHeight(r, 1 + keys[i] % 11);
    }
    ASSERT_TRUE(store.SortTextRows(0, true));
    for (int k = 0; k < kRows; ++k) {
        const int r = k + 1;
        char key[8];
        std::snprintf(key, sizeof key, "%04d", k);
        ASSERT_EQ(store.GetCellText(r, 0), key);
        EXPECT_EQ(store.GetCellText(r, 2), k % 3 == 0 ? Tagged("third ", k) : "") << r;
        EXPECT_EQ(store.GetCellBackColor(r, 1), k % 7 == 0 ? Rgb(0, 0, k % 250) : DefaultColor) << r;
        EXPECT_EQ(store.GetRowHeight(r), 1 + k % 11) << r;
        EXPECT_EQ(store.GetRowOffset(r + 1) - store.GetRowOffset(r), 1 + k % 11)
            << "the running sums follow the moved heights";
    }
    EXPECT_TRUE(store.CheckConsistency());
}

TEST(CellStoreStorage, AMillionRowStoreKeepsAFewMarkedCellsCheaply)
{
    CellStore store(kMillion, 6, 1, 1);
    ASSERT_TRUE(store.SetFixedRowCount(1));
    const int marked[] = {1, 63, 65536, 500000, kMillion - 1}; // block edges among them
    for (int r : marked) {
        store.SetCellFont(r, 3, BoldFont());
        store.SetCellBackColor(r, 4, Rgb(255, 0, 0));
        store.SetCellTextColor(r, 4, Rgb(0, 255, 0));
        store.SetCellText(r, 5, Tagged("v", r));
    }
    for (int r : marked) {
        SCOPED_TRACE(r);
        EXPECT_EQ(store.GetCellFont(r, 3).weight, 700);
        EXPECT_EQ(store.GetCellBackColor(r, 4), Rgb(255, 0, 0));
        EXPECT_EQ(store.GetCellTextColor(r, 4), Rgb(0, 255, 0));
        EXPECT_EQ(store.GetCellText(r, 5), Tagged("v", r));
        EXPECT_EQ(store.GetCellFont(r - 1, 3).weight, 400) << "the row above is untouched";
        EXPECT_EQ(store.GetCellBackColor(r, 3), DefaultColor);
    }
    // A pointer per 64 rows in the three columns marked, and a block per marked cell.
    EXPECT_LT(store.CellHeapBytes(), 512u * 1024) << "five marked rows cost a few blocks";
    EXPECT_TRUE(store.CheckConsistency());

    // A new font for the whole grid reaches the marked cells too.
    store.SetGridFont(LogFont{});
    EXPECT_EQ(store.GetCellFont(kMillion - 1, 3).weight, 400);
}

TEST(CellStoreStorage, AFormatOnTheLastRowCarriesIntoAMillionNewRows)
{
    CellStore store(1001, 3, 1, 1);
    for (int r = 0; r < 1001; ++r)
        store.SetCellFormat(r, 1, FormatCenter);
    store.SetCellFormat(1000, 2, FormatRight);
    const std::size_t before = store.CellHeapBytes();
    ASSERT_TRUE(store.SetRowCount(kMillion));
    EXPECT_EQ(store.GetCellFormat(kMillion - 1, 1), FormatCenter);
    EXPECT_EQ(store.GetCellFormat(kMillion - 1, 2), FormatRight);
    EXPECT_EQ(store.GetCellFormat(999, 2), 0u);
    EXPECT_EQ(store.GetCellFormat(500, 2), 0u) << "rows above the last keep their format";
    EXPECT_LT(store.CellHeapBytes(), before + 4096) << "new rows share their column's record";
    EXPECT_TRUE(store.CheckConsistency());
    ASSERT_TRUE(store.SetRowCount(500));
    store.SetCellFormat(499, 1, FormatLeft);
    ASSERT_TRUE(store.SetRowCount(kMillion));
    EXPECT_EQ(store.GetCellFormat(kMillion - 1, 1), FormatLeft);
    EXPECT_EQ(store.GetCellFormat(498, 1), FormatCenter);
    EXPECT_FALSE(store.SetRowCount(CellStore::kMaxRowCount + 1));
    EXPECT_EQ(store.GetRowCount(), kMillion);
}

TEST(CellStoreStorage, AWorksheetShapedStoreNeedsAFractionOfACellPerCell)
{
    CellStore store;
    testsupport::ShapeLikeWorksheet(store, "Column ", "Data ");
    for (int r = 1; r < 1001; ++r)
        for (int c = 1; c < 69; ++c)
            store.SetCellFormat(r, c, FormatCenter); // as the worksheet formats its cells
    // 69,069 cells: a record each would be over 4 MB.
    EXPECT_LT(store.CellHeapBytes(), 512u * 1024);
    EXPECT_EQ(store.GetCellFormat(1000, 68), FormatCenter);
    EXPECT_EQ(store.GetCellFormat(0, 68), 0u);
}

TEST(CellStoreStorage, SelectionKeysStayApartPastRow65535)
{
    CellStore store(200000, 3, 1, 1);
    GridViewOptions options;
    GridSelection selection(store, options);
    // Rows 70,000 and 4,464 share their low 16 bits.
    const CellId cells[] = {{70000, 2}, {4464, 2}, {199999, 1}, {131072, 2}};
    for (const CellId& c : cells) {
        EXPECT_TRUE(selection.SetSelected(c, true));
        EXPECT_EQ(GridSelection::CellFromKey(GridSelection::KeyOf(c)), c);
    }
    EXPECT_EQ(selection.SelectedCells().size(), 4u);
    EXPECT_TRUE(selection.IsSelected(70000, 2) && selection.IsSelected(4464, 2));
    EXPECT_FALSE(selection.IsSelected(4464, 1));
    selection.SetFocusCell(CellId{199999, 2});
    ASSERT_TRUE(store.SetRowCount(100000));
    EXPECT_EQ(selection.SelectedCells().size(), 2u) << "cells of removed rows leave the set";
    EXPECT_EQ(selection.GetFocusCell(), CellId{});
    EXPECT_TRUE(store.CheckConsistency() && selection.CheckConsistency());
    selection.ClearSelectedCells();
    EXPECT_FALSE(selection.IsSelected(70000, 2));
    EXPECT_TRUE(selection.SelectedCells().empty());
}

TEST(CellStoreStorage, RowOffsetsMatchASumOverEveryRow)
{
    CellStore store(1, 1);
    std::mt19937 random(11);
    std::vector<int> heights;
    // Shrinks that end inside a block, followed by growth over that block.
    const int counts[] = {1000, 130, 2500, 64, 0, 4000};
    for (int count : counts) {
        SCOPED_TRACE(count);
        ASSERT_TRUE(store.SetRowCount(count));
        heights.resize(static_cast<std::size_t>(count), store.GetDefaultRowHeight());
        for (int i = 0; i < count / 3; ++i) {
            const int r = static_cast<int>(random() % static_cast<unsigned>(count));
            const int h = static_cast<int>(random() % 4); // zero heights too
            store.SetRowHeight(r, h);
            heights[static_cast<std::size_t>(r)] = h;
        }
        std::int64_t sum = 0;
        for (int r = 0; r <= count; ++r) {
            ASSERT_EQ(store.GetRowOffset(r), sum) << r;
            if (r == count)
                break;
            if (heights[static_cast<std::size_t>(r)] > 0) {
                EXPECT_EQ(store.GetRowAtOffset(sum), r);
                EXPECT_EQ(store.GetRowAtOffset(sum + heights[static_cast<std::size_t>(r)] - 1), r);
            }
            sum += heights[static_cast<std::size_t>(r)];
        }
        EXPECT_EQ(store.GetVirtualHeight(), sum);
        EXPECT_EQ(store.GetRowAtOffset(sum), count);
        EXPECT_EQ(store.GetRowAtOffset(-1), 0);
    }
}

TEST(CellStoreStorage, AutoSizeMeasuresEmptyCellsByTheirFontAndBand)
{
    // Even an empty text is as high as its font is heavy, so each empty cell must be
    // measured in its own font, semi-bold in the fixed band.
    struct WeightMeasurer : TextMeasurer {
        Size MeasureText(const LogFont& font, const std::string& text) override
        {
            return Size{static_cast<int>(text.size()), font.weight / 100};
        }
        Metrics FontMetrics(const LogFont&) override { return Metrics{0, 4, 0, 1}; }
    } measurer;
    CellStore store(4, 3, 1, 1);
    store.SetTextMeasurer(&measurer);
    store.SetCellFont(2, 2, BoldFont());
    store.AutoSize();
    EXPECT_EQ(store.GetRowHeight(0), 6) << "fixed row: semi-bold";
    EXPECT_EQ(store.GetRowHeight(1), 6) << "its label cell is fixed too";
    EXPECT_EQ(store.GetRowHeight(2), 7) << "the bold cell";
    store.SetFixedColumnCount(0);
    store.AutoSize();
    EXPECT_EQ(store.GetRowHeight(3), 4) << "no fixed cell left in the row";
    EXPECT_EQ(store.GetRowHeight(0), 6);
    store.SetTextMeasurer(nullptr);
}
