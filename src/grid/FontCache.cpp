#include "grid/FontCache.h"

#include "grid/FontMapping.h"

namespace orvalis {

FontCache::Entry& FontCache::Find(const LogFont& record)
{
    if (m_last && m_last->record == record)
        return *m_last;
    for (auto& entry : m_entries) {
        if (entry->record == record) {
            m_last = entry.get();
            return *entry;
        }
    }
    // A worksheet uses a handful of fonts; a runaway table would mean a caller builds
    // a new record per cell, so start afresh rather than grow without bound.
    if (m_entries.size() >= 64)
        m_entries.clear();
    QFont font = FontFromLogFont(record);
    m_entries.push_back(std::make_unique<Entry>(Entry{record, font, QFontMetrics(font)}));
    m_last = m_entries.back().get();
    return *m_last;
}

const QFont& FontCache::Font(const LogFont& record)
{
    return Find(record).font;
}

const QFontMetrics& FontCache::Metrics(const LogFont& record)
{
    return Find(record).metrics;
}

} // namespace orvalis
