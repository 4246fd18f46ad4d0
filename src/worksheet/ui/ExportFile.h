#pragma once

#include <QString>

#include <string>

namespace orvalis {

class CellStore;

// Writes bytes as the whole new contents of the file at path, for the worksheet's
// exports, through the program's one rule for output files (WriteOutputFile). False when
// the file could not be written (the old one, if any, is then left as it was).
bool WriteExportFile(const QString& path, const std::string& bytes);

// The used part of a worksheet's cells as CSV text (UsedGrid.h), the listing that
// File > Export writes and the batch tool's `show` prints.
std::string UsedGridCsv(const CellStore& cells);

} // namespace orvalis
