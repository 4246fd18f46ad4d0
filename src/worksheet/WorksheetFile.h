#pragma once

#include "worksheet/WholeFile.h"
#include "worksheet/WorksheetFileFormat.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvalis {

class Worksheet;

// The bytes of ws as a worksheet file. In state Init the weights are 1000 zeros and
// the state text is "Init" whatever cell (1,4) shows; otherwise `storedWeights` as they
// are (SaveWorksheetFile exports a network that has run first).
std::vector<std::uint8_t> WorksheetFileBytes(const Worksheet& ws);

// The first column whose role is "No Data" (69 when none): the file keeps only the
// columns before it.
int FirstUnsavedColumn(const Worksheet& ws);

// When a column from FirstUnsavedColumn on holds text in the comment row (while it is
// shown) or in a data row, asks "Proceed With Save? Data From Column %d On Will Not Be
// Saved". False when the user answers No.
bool ConfirmSaveDropsText(Worksheet& ws);

// The largest worksheet file that opens, and so the largest that is saved.
inline constexpr std::size_t kMaxWorksheetFileBytes = kMaxFileReadBytes;

// Saves ws to path: the question above, the network export, then WriteOutputFile, so a
// failed save leaves the old file as it was; a file the user may not write to is
// refused with "Error: Cannot write file %s", and so is a file larger than
// kMaxWorksheetFileBytes, which could not be opened again (the message says so). Clears the modified mark on success. A
// failed result carries Cancelled when the user said No, WriteFailed after its message.
FileResult SaveWorksheetFile(Worksheet& ws, const std::string& path);

// Reads a worksheet file into ws, a worksheet freshly created for it. A refused file
// (another version, a bad count, a truncation) shows its message and leaves ws as it
// was: the caller then opens nothing. Otherwise the header texts, state, network, roles,
// comments and data are taken over, the sections adjusted to the results mode, and the
// modified mark cleared. A Trained or Eval file whose weights are fewer than its shape
// needs opens in state Init after "Error: Stored Weights Do Not Match Network Shape".
// beforeSizing, when given, is called once the cells are in and before the sections are
// adjusted, so that changes made there (a role set by a script) are what the automatic
// sizing measures and reports on.
using BeforeSizing = std::function<void(Worksheet&)>;
FileResult LoadWorksheetBytes(Worksheet& ws, const std::uint8_t* data, std::size_t size,
                              const BeforeSizing& beforeSizing = nullptr);
// The same from a file on disk; a file that cannot be read (missing, a folder, a read
// error) shows "Error: Cannot open file %s" with its name, one larger than
// kMaxWorksheetFileBytes is refused as invalid. Never throws.
FileResult LoadWorksheetFile(Worksheet& ws, const std::string& path,
                             const BeforeSizing& beforeSizing = nullptr);

} // namespace orvalis
