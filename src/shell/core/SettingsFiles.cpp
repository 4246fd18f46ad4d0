#include "shell/core/SettingsFiles.h"

#include "shell/core/AppTitle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace orvalis {

namespace {

QStringList SystemConfigFolders()
{
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    QStringList folders = dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (folders.isEmpty())
        folders.append(QStringLiteral("/etc/xdg"));
    return folders;
}

// Points one scope of the settings store at an empty folder that lives as long as the
// process.
void UseEmptyFolder(QSettings::Scope scope)
{
    static QTemporaryDir user;
    static QTemporaryDir system;
    QTemporaryDir& folder = scope == QSettings::UserScope ? user : system;
    QSettings::setPath(QSettings::NativeFormat, scope, folder.path());
    QSettings::setPath(QSettings::IniFormat, scope, folder.path());
}

void Warn(const SettingsFileProblem& problem)
{
    const QString line = QStringLiteral("Warning: Settings file %1 %2; the default settings are used\n")
                             .arg(QDir::toNativeSeparators(problem.file), problem.reason);
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

} // namespace

std::optional<SettingsFileProblem> CheckSettingsFolder(const QString& configFolder)
{
    const QString organisation = CompanyName();
    const QStringList files = {
        configFolder + QLatin1Char('/') + organisation + QLatin1Char('/') +
            AppTitle() + QStringLiteral(".conf"),
        configFolder + QLatin1Char('/') + organisation + QStringLiteral(".conf"),
    };
    for (const QString& file : files) {
        const QFileInfo info(file); // follows a symbolic link to what it names
        if (!info.exists())
            continue;
        if (!info.isFile())
            return SettingsFileProblem{file, QStringLiteral("is not a regular file")};
        if (info.size() > kMaxSettingsFileBytes)
            return SettingsFileProblem{file, QStringLiteral("is larger than 1 MiB")};
        if (!info.isReadable())
            return SettingsFileProblem{file, QStringLiteral("cannot be read")};
        // A "@Variant(" value is a serialised object whose counts the settings reader
        // believes: a crafted one asks for gigabytes while the file is read. The program
        // never writes one, so such a file did not come from it.
        QFile contents(file);
        if (!contents.open(QIODevice::ReadOnly))
            return SettingsFileProblem{file, QStringLiteral("cannot be read")};
        if (contents.read(kMaxSettingsFileBytes + 1).contains("@Variant("))
            return SettingsFileProblem{file, QStringLiteral("holds values the program does not write")};
    }
    return std::nullopt;
}

void GuardSettingsFiles()
{
    static const bool guarded = [] {
        const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        if (const auto problem = CheckSettingsFolder(user)) {
            Warn(*problem);
            UseEmptyFolder(QSettings::UserScope);
        }
        for (const QString& folder : SystemConfigFolders()) {
            if (const auto problem = CheckSettingsFolder(folder)) {
                Warn(*problem);
                UseEmptyFolder(QSettings::SystemScope);
                break;
            }
        }
        return true;
    }();
    (void)guarded;
}

} // namespace orvalis
