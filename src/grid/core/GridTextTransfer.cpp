#include "grid/core/GridTextTransfer.h"


#include <algorithm>
#include <vector>

namespace orvalis {

namespace {

constexpr std::string_view kTrimmed = " \t\r\n";

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(kTrimmed);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(kTrimmed);
    return s.substr(first, last - first + 1);
}

bool IsFieldSeparator(char c)
{
    return c == '\t' || c == ',';
}

// Writes one field's text into its target; true when the cell's text changed.
bool WriteField(CellStore& store, int row, int col, std::string_view field)
{
    if (!store.IsValidCell(row, col) || !store.IsCellEditable(row, col))
        return false;
    const std::string_view value = Trim(field);
    bool changed = false;
    if (store.CellTextRef(row, col) != value) {
        store.SendNotifyToParent(row, col, GridNotifyBeginEdit);
        store.SetCellText(row, col, std::string(value));
        store.SetModified(true, row, col);
        store.SendNotifyToParent(row, col, GridNotifyEndEdit);
        changed = true;
    }
    const unsigned state = store.GetCellState(row, col);
    if (state & CellSelected)
        store.SetCellState(row, col, state & ~unsigned{CellSelected});
    return changed;
}

} // namespace

std::string CopyTextFromCells(const CellStore& store, const CellRange& range)
{
    if (range.minRow < 0 || range.minCol < 0 || range.minRow > range.maxRow ||
        range.minCol > range.maxCol || range.maxRow >= store.GetRowCount() ||
        range.maxCol >= store.GetColumnCount())
        return {};
    std::string text;
    for (int r = range.minRow; r <= range.maxRow; ++r) {
        for (int c = range.minCol; c <= range.maxCol; ++c) {
            const GridCell* cell = store.Cell(r, c);
            if (cell && (cell->state & CellSelected))
                text += cell->text.empty() ? std::string_view(" ") : std::string_view(cell->text);
            if (c != range.maxCol)
                text += '\t';
        }
        if (r != range.maxRow)
            text += '\n';
    }
    text += '\0';
    return text;
}

PasteOutcome PasteTextToCells(CellStore& store, CellId start, std::string_view text)
{
    PasteOutcome outcome;
    if (!store.IsValidCell(start.row, start.col) || !store.IsCellEditable(start.row, start.col))
        return outcome;
    outcome.accepted = true;
    text = text.substr(0, text.find('\0'));

    int lineIndex = 0;
    while (true) {
        const auto lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // An empty line between others stands for one blank cell; the end of the text
        // after a final line end stands for nothing.
        if (line.empty() && lf != std::string_view::npos)
            line = " ";
        int field = 0;
        std::size_t pos = 0;
        while (!line.empty() && pos <= line.size()) {
            std::size_t end = pos;
            while (end < line.size() && !IsFieldSeparator(line[end]))
                ++end;
            const std::string_view token = line.substr(pos, end - pos);
            if (!token.empty() &&
                WriteField(store, start.row + lineIndex, start.col + field, token))
                ++outcome.changedCells;
            ++field;
            pos = end + 1;
        }
        if (lf == std::string_view::npos)
            break;
        text.remove_prefix(lf + 1);
        ++lineIndex;
    }
    return outcome;
}

int CutSelectedCells(CellStore& store)
{
    if (!store.editable)
        return 0;
    // Sorted so the parent hears the edits row by row, whatever order the set keeps.
    std::vector<std::uint32_t> keys(store.SelectedCells().begin(), store.SelectedCells().end());
    std::sort(keys.begin(), keys.end(), [](std::uint32_t a, std::uint32_t b) {
        const CellId ca = CellStore::CellFromKey(a);
        const CellId cb = CellStore::CellFromKey(b);
        return ca.row != cb.row ? ca.row < cb.row : ca.col < cb.col;
    });
    int emptied = 0;
    for (std::uint32_t key : keys) {
        const CellId c = CellStore::CellFromKey(key);
        if (!store.IsCellEditable(c.row, c.col))
            continue;
        const bool hadText = !store.CellTextRef(c.row, c.col).empty();
        const bool focused = store.GetCellState(c.row, c.col) & CellFocused;
        if (hadText)
            store.SendNotifyToParent(c.row, c.col, GridNotifyBeginEdit);
        store.EmptyCell(c.row, c.col);
        // The cell was emptied, not left: the focus stays drawn where the keys act.
        if (focused)
            store.SetCellState(c.row, c.col, CellFocused);
        if (hadText) {
            store.SetModified(true, c.row, c.col);
            store.SendNotifyToParent(c.row, c.col, GridNotifyEndEdit);
            ++emptied;
        }
    }
    return emptied;
}

} // namespace orvalis
