// libFuzzer target: the grid's paste parser over arbitrary bytes.
//
// The first byte picks the start cell (some near the far edges, one read-only); the rest
// is the pasted text. Pasting the same text a second time must change nothing, the
// selection must hold only cells of the store, and the cell named for the text's first
// byte is the start cell.
#include "grid/core/GridTextTransfer.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // One store for the whole run, so inputs meet what earlier ones left behind.
    static orvalis::CellStore cells(12, 6, 1, 1);
    static const orvalis::GridViewOptions options;
    static orvalis::GridSelection selection(cells, options);
    static const bool locked = cells.SetCellState(9, 4, orvalis::CellReadOnly);
    (void)locked;
    const orvalis::CellId start{1 + (data[0] & 0x0F) % 11, 1 + (data[0] >> 4) % 5};
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    selection.SetSelected(start, true);
    const orvalis::PasteOutcome first = orvalis::PasteTextToCells(cells, start, text, &selection);
    const orvalis::PasteOutcome second = orvalis::PasteTextToCells(cells, start, text, &selection);
    if (first.accepted != second.accepted || second.changedCells != 0 || !cells.CheckConsistency() ||
        !selection.CheckConsistency())
        __builtin_trap();
    const bool textLeft = !text.empty() && text[0] != '\0';
    const orvalis::CellId firstTarget = orvalis::PasteTargetOf(start, text, 0);
    if (textLeft != (firstTarget == start))
        __builtin_trap();
    // Every byte up to the text's end lands somewhere at or after the start cell.
    const orvalis::CellId lastTarget = orvalis::PasteTargetOf(start, text, text.size() - 1);
    if (lastTarget.row >= 0 && (lastTarget.row < start.row || lastTarget.col < start.col))
        __builtin_trap();
    return 0;
}
