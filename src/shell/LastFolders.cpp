#include "shell/LastFolders.h"

#include "worksheet/AppSettings.h"

#include <QDir>
#include <QFileInfo>

namespace orvalis {

namespace {

constexpr const char* kSection = "Strings";

const char* KeyOf(LastFolders::Kind kind)
{
    return kind == LastFolders::Kind::Import ? "ImportFolder" : "WorksheetFolder";
}

} // namespace

QString LastFolders::StartFolder(Kind kind) const
{
    const std::optional<std::string> kept = m_store.ReadString(kSection, KeyOf(kind));
    if (!kept || kept->empty())
        return {};
    const QString folder = QString::fromStdString(*kept);
    // A folder removed or unmounted since would leave the dialog in an odd place.
    return QFileInfo(folder).isDir() ? folder : QString();
}

QString LastFolders::SaveStart(const QString& suggestedName) const
{
    const QString folder = StartFolder(Kind::Worksheet);
    if (folder.isEmpty() || suggestedName.contains(QLatin1Char('/')))
        return suggestedName;
    return QDir(folder).filePath(suggestedName);
}

void LastFolders::Remember(Kind kind, const QString& chosenPath)
{
    if (chosenPath.isEmpty())
        return;
    const QString folder = QFileInfo(chosenPath).absolutePath();
    m_store.WriteString(kSection, KeyOf(kind), folder.toStdString());
}

} // namespace orvalis
