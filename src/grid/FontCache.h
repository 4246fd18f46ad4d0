#pragma once

#include "grid/core/GridTypes.h"

#include <QFont>
#include <QFontMetrics>

#include <memory>
#include <vector>

namespace orvalis {

// Fonts made from logical-font records, kept so that painting a viewport does not build
// a font per cell: almost every cell shares one or two records.
class FontCache {
public:
    // The font for the record; the reference stays valid until Clear().
    const QFont& Font(const LogFont& record);
    // Metrics of that font.
    const QFontMetrics& Metrics(const LogFont& record);
    void Clear() { m_entries.clear(); }

private:
    struct Entry {
        LogFont record;
        QFont font;
        QFontMetrics metrics;
    };
    Entry& Find(const LogFont& record);
    std::vector<std::unique_ptr<Entry>> m_entries;
    Entry* m_last = nullptr;
};

} // namespace orvalis
