#include "OrvalisVersion.h"
#include "Screenshot.h"

#include "shell/MessageBoxPrompts.h"
#include "shell/WorksheetApp.h"
#include "shell/core/QtSettingsStore.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(orvalis::kProgramVersion));
    // The command line opens nothing; only the documentation picture reads it.
    if (const int code = orvalis::RunScreenshot(QApplication::arguments()); code >= 0)
        return code;

    orvalis::QtSettingsStore store;
    QSettings recentStore(QStringLiteral("Brennix Devices"),
                          QStringLiteral("Brennix - Tavelle Orvalis"));
    orvalis::MessageBoxPrompts prompts;
    orvalis::CWorksheetApp app(store, recentStore, prompts);
    if (!app.StartUp())
        return 1;
    const int result = application.exec();
    app.ShutDown();
    return result;
}
