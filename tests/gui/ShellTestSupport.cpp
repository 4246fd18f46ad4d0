#include "ShellTestSupport.h"

#include <QDialog>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace orvalis::test {

namespace {

QApplication* g_app = nullptr;  // created by GuiApp, deleted after the last test

// Ends the application before the program's static objects go: Qt's own statics must
// still be there while it shuts down.
class GuiAppEnvironment final : public ::testing::Environment {
public:
    void TearDown() override
    {
        delete g_app;
        g_app = nullptr;
    }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);

} // namespace

QApplication& GuiApp()
{
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    g_app = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return *g_app;
}

bool ScriptedPrompts::Ask(const std::string& text)
{
    log.push_back({"Ask", text});
    if (askAnswers.empty())
        return false;
    const bool answer = askAnswers.front();
    askAnswers.pop_front();
    return answer;
}

UiPrompts::SaveAnswer ScriptedPrompts::AskSaveChanges(const QString& title)
{
    log.push_back({"SaveChanges", SaveChangesText(title).toStdString()});
    if (saveAnswers.empty())
        return SaveAnswer::Cancel;
    const SaveAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

QString ScriptedPrompts::ChooseOpenFile(const QString& filter)
{
    filtersSeen.append(filter);
    if (openFiles.empty())
        return QString();
    const QString file = openFiles.front();
    openFiles.pop_front();
    return file;
}

QString ScriptedPrompts::ChooseSaveFile(const QString&, const QString& filter)
{
    filtersSeen.append(filter);
    if (saveFiles.empty())
        return QString();
    const QString file = saveFiles.front();
    saveFiles.pop_front();
    return file;
}

bool ScriptedPrompts::RunDialog(QDialog& dialog)
{
    if (!dialogScript)
        return false;
    return dialogScript(dialog);
}

ShellFixture::ShellFixture(const MemorySettingsStore& initial, const QStringList& startFiles,
                           std::optional<int> splashLifetimeMs)
{
    GuiApp();
    store.strings = initial.strings;
    store.integers = initial.integers;
    recentStore = std::make_unique<QSettings>(dir.filePath(QStringLiteral("recent.ini")),
                                              QSettings::IniFormat);
    app = std::make_unique<CWorksheetApp>(store, *recentStore, prompts);
    if (splashLifetimeMs)
        app->SetSplashWanted(true, *splashLifetimeMs);
    app->StartUp(startFiles);
}

ShellFixture::~ShellFixture()
{
    app.reset();
    Settle();
}

void ShellFixture::Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace orvalis::test
