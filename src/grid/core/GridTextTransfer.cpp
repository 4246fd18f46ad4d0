#include "grid/core/GridTextTransfer.h"


#include <algorithm>
#include <limits>
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

// One field of pasted text: where it lands (line and field index) and its bytes, with
// the offset of its first byte and of the byte after its separator or line end.
struct PasteField {
    int line = 0;
    int index = 0;
    std::string_view text;
    std::size_t begin = 0;
    std::size_t next = 0;
};

// Calls visit(field) for each field of text (ended at its first NUL) in order, line by
// line, until visit returns false. Lines past maxLines and fields past maxFields of a
// line are passed over without a call, since they reach no cell.
template <typename Visit>
void ForEachPasteField(std::string_view text, int maxLines, int maxFields, Visit visit)
{
    text = text.substr(0, text.find('\0'));
    const char separator = text.find('\t') != std::string_view::npos ? '\t' : ',';
    std::size_t pos = 0;
    for (int line = 0; pos < text.size() && line < maxLines; ++line) {
        const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        std::size_t next = end;
        if (next < text.size())
            next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        // The search for separators stays inside the line, so that a text of many lines
        // is read once, not once a line. An empty line stands for one empty field.
        const std::string_view upToLineEnd = text.substr(0, end);
        std::size_t fieldBegin = pos;
        for (int field = 0; field < maxFields; ++field) {
            const std::size_t sep = std::min(upToLineEnd.find(separator, fieldBegin), end);
            const std::size_t fieldNext = sep < end ? sep + 1 : next;
            if (!visit(PasteField{line, field, text.substr(fieldBegin, sep - fieldBegin),
                                  fieldBegin, fieldNext}))
                return;
            if (sep >= end)
                break;
            fieldBegin = sep + 1;
        }
        pos = next;
    }
}

// Writes one field's text into its target; true when the cell's text changed.
bool WriteField(CellStore& store, int row, int col, std::string_view field,
                GridSelection* leaving)
{
    if (!store.IsValidCell(row, col) || !store.IsCellEditable(row, col))
        return false;
    const std::string_view value = Trim(field);
    bool changed = false;
    if (store.CellTextRef(row, col) != value) {
        store.SetCellText(row, col, std::string(value));
        store.SetModified(true, row, col);
        store.NotifyEditEnded(row, col);
        changed = true;
    }
    if (leaving)
        leaving->SetSelected(CellId{row, col}, false);
    return changed;
}

} // namespace

std::string CopyTextFromCells(const CellStore& store, const GridSelection& selection,
                              const CellRange& range)
{
    if (range.minRow < 0 || range.minCol < 0 || range.minRow > range.maxRow ||
        range.minCol > range.maxCol || range.maxRow >= store.GetRowCount() ||
        range.maxCol >= store.GetColumnCount())
        return {};
    std::string text;
    for (int r = range.minRow; r <= range.maxRow; ++r) {
        for (int c = range.minCol; c <= range.maxCol; ++c) {
            if (selection.IsSelected(r, c)) {
                const std::string& cell = store.CellTextRef(r, c);
                text += cell.empty() ? std::string_view(" ") : std::string_view(cell);
            }
            if (c != range.maxCol)
                text += '\t';
        }
        if (r != range.maxRow)
            text += '\n';
    }
    text += '\0';
    return text;
}

PasteOutcome PasteTextToCells(CellStore& store, CellId start, std::string_view text,
                              GridSelection* leaving)
{
    PasteOutcome outcome;
    if (!store.IsValidCell(start.row, start.col) || !store.IsCellEditable(start.row, start.col))
        return outcome;
    outcome.accepted = true;
    // Lines and fields past the store's edges reach no cell: they are not even split.
    ForEachPasteField(text, store.GetRowCount() - start.row, store.GetColumnCount() - start.col,
                      [&](const PasteField& f) {
                          if (WriteField(store, start.row + f.line, start.col + f.index, f.text,
                                         leaving))
                              ++outcome.changedCells;
                          return true;
                      });
    return outcome;
}

CellId PasteTargetOf(CellId start, std::string_view text, std::size_t offset)
{
    CellId target{-1, -1};
    ForEachPasteField(text, std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
                      [&](const PasteField& f) {
                          if (offset < f.begin || offset >= f.next)
                              return true;
                          target = CellId{start.row + f.line, start.col + f.index};
                          return false;
                      });
    return target;
}

int CutSelectedCells(CellStore& store, GridSelection& selection)
{
    if (!store.editable)
        return 0;
    int emptied = 0;
    // Row by row, so the edits are heard in reading order whatever order the set keeps.
    for (const CellId c : selection.SelectedCellsInOrder()) {
        if (!store.IsCellEditable(c.row, c.col))
            continue;
        const bool hadText = !store.CellTextRef(c.row, c.col).empty();
        store.EmptyCell(c.row, c.col);
        selection.SetSelected(c, false);
        if (hadText) {
            store.SetModified(true, c.row, c.col);
            store.NotifyEditEnded(c.row, c.col);
            ++emptied;
        }
    }
    return emptied;
}

} // namespace orvalis
