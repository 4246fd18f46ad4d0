// libFuzzer target: the CSV/TAB import loader over arbitrary bytes.
//
// The first byte picks the separator and where the input is split in two pieces (a CR
// LF across two reads must stay one line end); an odd last byte skips lines after the
// first, as keeping the last rows of a long file does; the rest is the file's contents,
// imported into a small store (rows and columns past it are dropped, as past the
// worksheet's last row and column).
#include "worksheet/ImportLoader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char separator = (data[0] & 1) ? orvalis::kTabSeparator : orvalis::kCommaSeparator;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = text.empty() ? 0 : (data[0] >> 1) % (text.size() + 1);
    const int firstColumn = 1 + (data[0] >> 7);
    // One store for the whole run: what earlier inputs left in it is overwritten or kept,
    // as in a worksheet that is imported into twice.
    static orvalis::CellStore cells(40, 12, 1, 1);
    orvalis::ImportLoader loader(cells, 7, firstColumn, separator);
    if (data[size - 1] & 1)
        loader.SkipLines(1, data[size - 1] >> 1);
    loader.Feed(text.substr(0, split));
    loader.Feed(text.substr(split));
    loader.Finish();
    if (!cells.CheckConsistency() || loader.LastColumn() < firstColumn)
        __builtin_trap();
    // Only lines that were read can be left out or filled.
    if (loader.RowsLeftOut() > loader.LineCount() || loader.LastFilledLine() >= loader.LineCount() ||
        loader.ColumnsLeftOut() < 0)
        __builtin_trap();
    return 0;
}
