#include "OrvalisVersion.h"
#include "Screenshot.h"
#include "StartupProbe.h"

#include "shell/CommandLine.h"
#include "shell/MainFrame.h"
#include "shell/MessageBoxPrompts.h"
#include "shell/WorksheetApp.h"
#include "shell/core/QtSettingsStore.h"

#include <QApplication>
#include <QSettings>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

// --version and --help answer before any window system is asked for, so they work
// without a display (in a package check, say).
int AnswerWithoutDisplay(int argc, char* argv[])
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs(orvalis::VersionText().toLocal8Bit().constData(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(orvalis::HelpText().toLocal8Bit().constData(), stdout);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const int code = AnswerWithoutDisplay(argc, argv); code >= 0)
        return code;
    // Past a file size limit a save fails and says so; the signal would end the program
    // and lose the unsaved edits of every worksheet.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(orvalis::kProgramVersion));
    // The documentation picture has a command line of its own.
    if (const int code = orvalis::RunScreenshot(QApplication::arguments()); code >= 0)
        return code;
    // Qt has taken its own options out of the arguments by now.
    const orvalis::StartupRequest request =
        orvalis::ParseCommandLine(QApplication::arguments().mid(1));
    if (!request.problem.isEmpty()) {
        std::fputs((request.problem + orvalis::HelpText()).toLocal8Bit().constData(), stderr);
        return 2;
    }

    orvalis::QtSettingsStore store;
    QSettings recentStore(QStringLiteral("Brennix Devices"),
                          QStringLiteral("Brennix - Tavelle Orvalis"));
    // The file dialogs start where the user last was, kept beside the settings.
    orvalis::MessageBoxPrompts prompts(store);
    orvalis::CWorksheetApp app(store, recentStore, prompts);
    // The splash greets a plain start; a start with a file or --no-splash goes straight
    // to work.
    app.SetSplashWanted(!request.noSplash && request.files.isEmpty());
    orvalis::WatchFirstShow([&app]() -> QWidget* { return app.MainFrame(); });
    if (!app.StartUp(request.files))
        return 1;
    const int result = application.exec();
    app.ShutDown();
    return result;
}
