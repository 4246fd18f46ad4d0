#pragma once

#include "worksheet/ui/UiPrompts.h"

namespace orvalis {

// Prompts for the window benchmarks: messages vanish, every question gets the one answer
// the benchmark chose, and no file chooser or dialog ever opens.
class SilentPrompts final : public UiPrompts {
public:
    SilentPrompts(bool ask, UiPrompts::SaveAnswer save) : m_ask(ask), m_save(save) {}

    void Error(const std::string&) override {}
    void Information(const std::string&) override {}
    void Plain(const std::string&) override {}
    bool Ask(const std::string&) override { return m_ask; }
    SaveAnswer AskSaveChanges(const QString&) override { return m_save; }
    QString ChooseOpenFile(const QString&) override { return {}; }
    QString ChooseSaveFile(const QString&, const QString&) override { return {}; }
    bool RunDialog(QDialog&) override { return false; }

private:
    bool m_ask;                   // the answer to every Yes/No question
    UiPrompts::SaveAnswer m_save; // the answer to every save question
};

} // namespace orvalis
