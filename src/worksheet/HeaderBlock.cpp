#include "worksheet/HeaderBlock.h"

#include "grid/core/CellStore.h"
#include "worksheet/AppSettings.h"
#include "worksheet/WorksheetLayout.h"

#include <cstdint>
#include <string>

namespace orvalis {

namespace {

struct HeaderText {
    int row;
    int col;
    const char* text;
    unsigned format;
};

// Labels are right-aligned, values centred.
constexpr HeaderText kHeaderTexts[] = {
    {1, 1, "Start Offset:", kFormatRight},  {1, 2, "0", kFormatCentre},
    {1, 3, "State:", kFormatRight},         {1, 4, "Init", kFormatCentre},
    {1, 5, "Slope Err Avg:", kFormatRight}, {1, 6, "0", kFormatCentre},
    {2, 1, "Num Training:", kFormatRight},  {2, 2, "0", kFormatCentre},
    {2, 3, "Slope FM:", kFormatRight},      {2, 4, "0", kFormatCentre},
    {2, 5, "Slope Err SD:", kFormatRight},  {2, 6, "0", kFormatCentre},
    {3, 1, "Num Testing:", kFormatRight},   {3, 2, "0", kFormatCentre},
    {3, 3, "Value FM:", kFormatRight},      {3, 4, "0", kFormatCentre},
    {3, 5, "Value Err Avg:", kFormatRight}, {3, 6, "0", kFormatCentre},
    {4, 1, "Num Eval:", kFormatRight},      {4, 2, "0", kFormatCentre},
    {4, 5, "Value Err SD:", kFormatRight},  {4, 6, "0", kFormatCentre},
    {5, 1, "Num Taps:", kFormatRight},      {5, 2, "0", kFormatCentre},
};

// Column 0 above the data: the legend, the role row's label and the comment label.
const char* LegendText(int row, unsigned& format)
{
    format = kFormatLeft;
    switch (row) {
    case 1: return ">>Legend<<";
    case 2: return "Training";
    case 3: return "Testing";
    case 4: return "Evaluate";
    case 5: return "Extapolate";  // spelled so on every worksheet ever shown
    case 6: format = kFormatRight; return "I/O Select:";
    case 7: format = kFormatRight; return "Comment:";
    default: return "";
    }
}

void SetTextAndFormat(CellStore& store, int row, int col, std::string text, unsigned format)
{
    GridItem item;
    item.row = row;
    item.col = col;
    item.mask = ItemText | ItemFormat;
    item.text = std::move(text);
    item.format = format;
    store.SetCell(item);
}

GridColour BackColourFor(int row, int col)
{
    if (row == 0 || col == 0)
        return kTitleColour;
    if (row <= 5)
        return kHeaderColour;
    if (row == kRoleRow)
        return kTitleColour;
    return DefaultColor;
}

} // namespace

int BuildHeaderBlock(CellStore& store, const AppSettings& settings)
{
    store.SetRowCount(kWorksheetRows);
    store.SetColumnCount(kWorksheetColumns);
    store.SetFixedRowCount(1);
    store.SetFixedColumnCount(1);
    store.editable = true;

    const int firstDataRow = FirstDataRowFor(settings.useCommentLine);
    const int rows = store.GetRowCount();
    const int cols = store.GetColumnCount();

    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (r == 0 && c == 0) {
                // The corner cell carries no text, only the title colour.
            } else if (r == 0) {
                SetTextAndFormat(store, r, c, "Column " + std::to_string(c), kFormatTitle);
            } else if (c == 0 && r < firstDataRow) {
                unsigned format = kFormatLeft;
                const char* text = LegendText(r, format);
                SetTextAndFormat(store, r, c, text, format);
            } else if (c == 0) {
                SetTextAndFormat(store, r, c, "Data " + std::to_string(r - firstDataRow + 1),
                                 kFormatLeft);
            } else if (r == kRoleRow) {
                SetTextAndFormat(store, r, c, "No Data", kFormatCentre);
            } else {
                SetTextAndFormat(store, r, c, std::string(), kFormatCentre);
            }
            const GridColour colour = BackColourFor(r, c);
            if (colour != DefaultColor)
                store.SetCellBackColor(r, c, colour);
        }
    }
    for (const HeaderText& h : kHeaderTexts)
        SetTextAndFormat(store, h.row, h.col, h.text, h.format);

    ColourLegend(store, settings);

    // Labels may not be typed over; the value cells beside them stay editable.
    auto readOnly = [&store](int row, int col) {
        store.SetCellState(row, col, store.GetCellState(row, col) | CellReadOnly);
    };
    for (int r = 1; r <= 5; ++r) {
        readOnly(r, 1);
        readOnly(r, 5);
    }
    for (int r = 1; r <= 3; ++r)
        readOnly(r, 3);

    if (store.GetTextMeasurer()) {
        store.AutoSize();
        store.SetColumnWidth(0, store.GetColumnWidth(0) * 3 / 2);
    }
    return firstDataRow;
}

bool AddWorksheetRows(CellStore& store, int firstDataRow, int rowCount)
{
    const int old = store.GetRowCount();
    if (rowCount <= old)
        return true;
    // New cells take their format from the cell above, so the data columns stay centred
    // and the label column left-aligned; heights follow the last row as it was sized.
    const int height = old > 0 ? store.GetRowHeight(old - 1) : store.GetDefaultRowHeight();
    if (!store.SetRowCount(rowCount))
        return false;
    // All heights before any label: a shown grid lays its rows out again after a height
    // changes, when it hears of the next written cell, so heights and labels in turn
    // would lay out the whole sheet once per added row.
    for (int r = old; r < rowCount; ++r)
        store.SetRowHeight(r, height);
    for (int r = old; r < rowCount; ++r) {
        SetTextAndFormat(store, r, 0, "Data " + std::to_string(r - firstDataRow + 1), kFormatLeft);
        store.SetCellBackColor(r, 0, kTitleColour);
    }
    return true;
}

void ColourLegend(CellStore& store, const AppSettings& settings)
{
    store.SetCellBackColor(2, 0, settings.trainColor);
    store.SetCellBackColor(3, 0, settings.testColor);
    store.SetCellBackColor(4, 0, settings.evalColor);
    store.SetCellBackColor(5, 0, settings.extrpColor);
}

void UpdateRowLabels(CellStore& store, const AppSettings& settings, int firstDataRow,
                     int numTraining, int numTesting, int numEval, int numExtrapolate)
{
    // The legend explains the row colours, so it always shows the colours in use.
    ColourLegend(store, settings);

    // Summed in 64 bits: counts typed by the user may be anything an int holds.
    const std::int64_t f = firstDataRow;
    const std::int64_t endTraining = f + numTraining;
    const std::int64_t endTesting = endTraining + numTesting;
    const std::int64_t endEval = endTesting + numEval;
    const std::int64_t endAll = endEval + numExtrapolate;
    const bool sectionsDefined = numTraining != 0 && numTesting != 0;

    // Header rows keep their legend colours whatever the counts (negative counts would
    // otherwise reach above the first data row).
    for (int i = firstDataRow; i < store.GetRowCount(); ++i) {
        GridColour colour;
        if (i >= endAll)
            colour = kTitleColour;
        else if (!sectionsDefined)
            continue;
        else if (i >= endEval)
            colour = settings.extrpColor;
        else if (i >= endTesting)
            colour = settings.evalColor;
        else if (i >= endTraining)
            colour = settings.testColor;
        else
            colour = settings.trainColor;
        store.SetCellBackColor(i, 0, colour);
    }
}

} // namespace orvalis
