#include "worksheet/ui/ExportFile.h"

#include "worksheet/OutputFile.h"
#include "worksheet/UsedGrid.h"

#include <QFile>

#include <sstream>

namespace orvalis {

bool WriteExportFile(const QString& path, const std::string& bytes)
{
    return static_cast<bool>(WriteOutputFile(QFile::encodeName(path).toStdString(), bytes));
}

std::string UsedGridCsv(const CellStore& cells)
{
    std::ostringstream out;
    WriteUsedGrid(cells, ',', out);
    return std::move(out).str();
}

} // namespace orvalis
