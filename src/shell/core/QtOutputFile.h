#pragma once

#include "worksheet/OutputFile.h"

#include <QByteArray>
#include <QString>

namespace orvalis {

// WriteOutputFile for the Qt layers: the path as Qt holds it (encoded as the file system
// wants it), the bytes a Qt writer rendered into memory.
OutputResult WriteOutputFile(const QString& path, const QByteArray& bytes);

} // namespace orvalis
