#pragma once

#include "worksheet/ui/UiPrompts.h"

namespace orvalis {

// The program's answers: modal message boxes captioned with the application title,
// the platform's file dialogs, and QDialog::exec.
class MessageBoxPrompts final : public UiPrompts {
public:
    void Error(const std::string& text) override;
    void Information(const std::string& text) override;
    void Plain(const std::string& text) override;
    bool Ask(const std::string& text) override;

    SaveAnswer AskSaveChanges(const QString& title) override;
    QString ChooseOpenFile(const QString& filter) override;
    QString ChooseSaveFile(const QString& suggestedName, const QString& filter) override;
    bool RunDialog(QDialog& dialog) override;
};

} // namespace orvalis
