#include "shell/HelpPages.h"

#include "worksheet/ui/UiPrompts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace orvalis {

namespace {

std::function<bool(const QUrl&)>& Opener()
{
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

}  // namespace

QString FindHelpPage(const QString& name)
{
    const QStringList folders = {
        QDir::currentPath(),
        QCoreApplication::applicationDirPath(),
        QCoreApplication::applicationDirPath() + QStringLiteral("/../docs"),
        QStringLiteral(ORVALIS_HELP_DIR),
    };
    for (const QString& folder : folders) {
        const QFileInfo page(QDir(folder), name);
        if (page.isFile())
            return page.absoluteFilePath();
    }
    return {};
}

bool OpenHelpPage(const QString& name, UiPrompts& prompts)
{
    const QString path = FindHelpPage(name);
    if (path.isEmpty()) {
        prompts.Error(name == QLatin1String(kFaqPage) ? "Error: Cannot find FAQ file"
                                                      : "Error: Cannot find Help file");
        return false;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    // Any failure of the viewer itself is the desktop's to report.
    if (Opener())
        Opener()(url);
    else
        QDesktopServices::openUrl(url);
    return true;
}

void SetHelpOpener(std::function<bool(const QUrl&)> opener)
{
    Opener() = std::move(opener);
}

}  // namespace orvalis
