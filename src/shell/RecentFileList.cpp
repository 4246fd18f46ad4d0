#include "shell/RecentFileList.h"

#include "shell/ShownText.h"

#include <QFileInfo>
#include <QSettings>

namespace orvalis {

namespace {
const QString kGroup = QStringLiteral("Recent File List");
constexpr int kMenuChars = 80;

QString Key(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}
} // namespace

RecentFileList::RecentFileList(int capacity)
    : m_capacity(capacity)
{
}

void RecentFileList::Load(QSettings& settings)
{
    m_files.clear();
    settings.beginGroup(kGroup);
    for (int i = 0; i < m_capacity; ++i) {
        const QString path = settings.value(Key(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path))
            m_files.append(path);
    }
    settings.endGroup();
}

void RecentFileList::Save(QSettings& settings) const
{
    settings.beginGroup(kGroup);
    for (int i = 0; i < m_capacity; ++i) {
        if (i < m_files.size())
            settings.setValue(Key(i), m_files[i]);
        else
            settings.remove(Key(i));
    }
    settings.endGroup();
}

void RecentFileList::Add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > m_capacity)
        m_files.removeLast();
}

void RecentFileList::Remove(const QString& path)
{
    m_files.removeAll(QFileInfo(path).absoluteFilePath());
}

QString RecentFileList::MenuText(int index) const
{
    if (index < 0 || index >= m_files.size())
        return QString();
    const QString name = QFileInfo(m_files[index]).fileName();
    bool repeated = false;
    for (int i = 0; i < m_files.size(); ++i) {
        if (i != index && QFileInfo(m_files[i]).fileName() == name)
            repeated = true;
    }
    // A path kept in the settings may hold anything: one menu line, of a sensible width.
    QString shown = ElideMiddle(VisibleControls(repeated ? m_files[index] : name), kMenuChars);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

} // namespace orvalis
