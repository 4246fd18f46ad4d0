#pragma once

#include <QStringList>

class QSettings;

namespace orvalis {

// The File menu's list of recently used worksheet files, newest first, at most
// `capacity` entries. It lives in the settings store under "Recent File List" as
// "File1".."FileN" and is read at start-up and written at exit.
class RecentFileList {
public:
    explicit RecentFileList(int capacity);

    void Load(QSettings& settings);
    void Save(QSettings& settings) const;

    // Puts path first (absolute, once only), dropping the oldest beyond capacity.
    void Add(const QString& path);
    void Remove(const QString& path);

    const QStringList& Files() const { return m_files; }
    // "&1 name" as the menu shows entry index; the full path only when names repeat.
    QString MenuText(int index) const;

private:
    int m_capacity;
    QStringList m_files;
};

} // namespace orvalis
