#include "shell/core/QtOutputFile.h"

#include <QFile>

namespace orvalis {

OutputResult WriteOutputFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    return WriteOutputFile(std::string(name.constData(), static_cast<std::size_t>(name.size())),
                           std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace orvalis
