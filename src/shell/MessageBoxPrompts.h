#pragma once

#include "shell/LastFolders.h"
#include "worksheet/ui/UiPrompts.h"

#include <optional>

namespace orvalis {

class SettingsStore;

// The program's answers: modal message boxes captioned with the application title,
// the platform's file dialogs, and QDialog::exec. Given a settings store, the file
// dialogs start in the folder used last (LastFolders); without one, in the working
// folder.
class MessageBoxPrompts final : public UiPrompts {
public:
    MessageBoxPrompts() = default;
    explicit MessageBoxPrompts(SettingsStore& folderStore) : m_folders(LastFolders(folderStore)) {}

    void Error(const std::string& text) override;
    void Information(const std::string& text) override;
    void Plain(const std::string& text) override;
    bool Ask(const std::string& text) override;

    SaveAnswer AskSaveChanges(const QString& title) override;
    QString ChooseOpenFile(const QString& filter) override;
    QString ChooseSaveFile(const QString& suggestedName, const QString& filter) override;
    QString ChooseImportFile(const QString& filter) override;
    QString ChooseExportFile(const QString& suggestedName, const QString& filter) override;
    bool RunDialog(QDialog& dialog) override;

private:
    QString ChooseFile(LastFolders::Kind kind, const QString& caption, const QString& filter);

    std::optional<LastFolders> m_folders;
};

} // namespace orvalis
