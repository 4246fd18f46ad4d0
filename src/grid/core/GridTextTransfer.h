#pragma once

#include "grid/core/CellStore.h"
#include "grid/core/GridSelection.h"

#include <string>
#include <string_view>

namespace orvalis {

// The grid's text exchange format, shared by the clipboard and drag and drop: cells of a
// row separated by one Tab, rows by one line feed (none after the last row), an empty
// selected cell written as one blank, an unselected cell inside the range as nothing
// between its Tabs. Plain C++ over the cell store, so the batch tool and the fuzzer use
// the very code the window does.

// The text of the cells of range that selection holds, rows minRow..maxRow, columns
// minCol..maxCol, with the terminating NUL byte of the exchange block as its last
// character. Empty (not even the NUL) when the range holds no cell of the store.
std::string CopyTextFromCells(const CellStore& store, const GridSelection& selection,
                              const CellRange& range);

// What a paste did.
struct PasteOutcome {
    bool accepted = false;  // false: the start cell was refused and nothing was written
    int changedCells = 0;   // cells whose text changed
    explicit operator bool() const { return accepted; }
};

// Writes text into the store from cell start on: line k of the text goes to row
// start.row + k, field j of a line to column start.col + j, so a block copied from a
// spreadsheet lands as it was. When the text holds a Tab, only Tabs separate fields (a
// decimal comma or "Paris, France" stays in its cell); text without a Tab is split at
// commas. Each separator counts once, and an empty field empties its cell, as does an
// empty line the first cell of its row. The text ends at its first NUL; LF, CR LF and a
// lone CR all end a line, and a line end at the very end adds no row. Fields are
// trimmed of blanks.
//
// Refused (nothing written) when start is outside the store or not editable. Targets
// outside the store and read-only targets are skipped. Every target the text reaches
// leaves the selection `leaving` when one is given (the selection a moving drag came
// from), so the cut that ends the move does not empty what was just dropped. Only a cell whose text changes is written, marked modified and announced
// to the store's listeners as an ended edit.
PasteOutcome PasteTextToCells(CellStore& store, CellId start, std::string_view text,
                              GridSelection* leaving = nullptr);

// The cell that the byte at offset of text lands in when text is pasted from start, by
// the rules of PasteTextToCells; the target even when it lies outside the store. A
// separator or line end counts to the field before it. (-1, -1) for an offset at or past
// the end of the text (its first NUL).
CellId PasteTargetOf(CellId start, std::string_view text, std::size_t offset);

// Empties every editable cell of selection (the store must be editable): text and state
// go, and the cell leaves the selection; the focus stays where it is. A cell that held
// text is marked modified and announced as an edit. Returns the number of cells emptied
// of text.
int CutSelectedCells(CellStore& store, GridSelection& selection);

} // namespace orvalis
