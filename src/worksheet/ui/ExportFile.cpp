#include "worksheet/ui/ExportFile.h"

#include "worksheet/UsedGrid.h"

#include <QSaveFile>

#include <sstream>

namespace orvalis {

bool WriteExportFile(const QString& path, const std::string& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::string UsedGridCsv(const CellStore& cells)
{
    std::ostringstream out;
    WriteUsedGrid(cells, ',', out);
    return std::move(out).str();
}

} // namespace orvalis
