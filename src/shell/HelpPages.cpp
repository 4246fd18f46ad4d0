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
    const bool shown = Opener() ? Opener()(url) : QDesktopServices::openUrl(url);
    // Without a browser set up on the desktop nothing would appear at all; the user is
    // told where the page is, so it can be opened by hand.
    if (!shown)
        prompts.Error(CannotOpenHelpText(name, path).toStdString());
    return true;
}

QString CannotOpenHelpText(const QString& name, const QString& path)
{
    const QString page = name == QLatin1String(kFaqPage) ? QStringLiteral("FAQ")
                                                         : QStringLiteral("Help");
    return QStringLiteral("Error: Cannot open %1 file\n"
                          "The page was found, but no program to show it could be started. "
                          "Open it by hand in a web browser:\n%2")
        .arg(page, QDir::toNativeSeparators(path));
}

void SetHelpOpener(std::function<bool(const QUrl&)> opener)
{
    Opener() = std::move(opener);
}

}  // namespace orvalis
