#pragma once

#include "shell/WorksheetApp.h"
#include "worksheet/AppSettings.h"
#include "worksheet/ui/UiPrompts.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Readable QStrings in test failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace orvalis::test {

// The one QApplication of a widget test process, created on first use. Settings and
// standard paths point into a temporary folder: a test never sees the user's files.
QApplication& GuiApp();

// Prompts answered by a script instead of modal boxes. Every message and question is
// recorded; an unscripted question answers No (or Cancel), an unscripted file chooser
// cancels.
class ScriptedPrompts final : public UiPrompts {
public:
    struct Entry {
        std::string kind;  // "Error", "Information", "Plain", "Ask", "SaveChanges"
        std::string text;
    };

    void Error(const std::string& text) override { log.push_back({"Error", text}); }
    void Information(const std::string& text) override { log.push_back({"Information", text}); }
    void Plain(const std::string& text) override { log.push_back({"Plain", text}); }
    bool Ask(const std::string& text) override;
    SaveAnswer AskSaveChanges(const QString& title) override;
    QString ChooseOpenFile(const QString& filter) override;
    QString ChooseSaveFile(const QString& suggestedName, const QString& filter) override;
    bool RunDialog(QDialog& dialog) override;

    std::vector<Entry> log;
    std::deque<bool> askAnswers;
    std::deque<SaveAnswer> saveAnswers;
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    QStringList filtersSeen;
    // Fills in and closes a dialog; without one every dialog is cancelled.
    std::function<bool(QDialog&)> dialogScript;
};

// An application started as the program starts it, on an in-memory settings store
// and a recent-file store in a temporary folder.
class ShellFixture {
public:
    // startFiles: the worksheets named on the command line. splashLifetimeMs: when
    // given, the start shows the splash window for that long.
    explicit ShellFixture(const MemorySettingsStore& initial = {},
                          const QStringList& startFiles = {},
                          std::optional<int> splashLifetimeMs = {});
    ~ShellFixture();

    CWorksheetApp& App() { return *app; }
    // Runs deferred deletions, so closed windows are gone.
    static void Settle();

    QTemporaryDir dir;
    MemorySettingsStore store;
    std::unique_ptr<QSettings> recentStore;
    ScriptedPrompts prompts;
    std::unique_ptr<CWorksheetApp> app;
};

} // namespace orvalis::test
