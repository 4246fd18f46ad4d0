#pragma once

#include "worksheet/UserMessages.h"
#include "worksheet/WorksheetFileFormat.h"

#include <QString>

#include <string>
#include <vector>

namespace orvalis {

class UiPrompts;

// The messages of one worksheet, passed on to the window's prompts. While a file is
// being opened they are held back, so that the window can tell which file they are
// about: with several files opened at once a bare "Error: ..." does not say which one
// failed. Questions are never held back.
class FileNamingMessages final : public UserMessages {
public:
    explicit FileNamingMessages(UiPrompts& prompts) : m_prompts(prompts) {}

    void Error(const std::string& text) override;
    void Information(const std::string& text) override;
    void Plain(const std::string& text) override;
    bool Ask(const std::string& text) override;

    // From here on, messages wait for EndOpen.
    void BeginOpen(const QString& path);
    // Shows the messages held back, every error naming the file (unless its text names
    // it already). When the open failed because the file is not a worksheet at all,
    // the refusal says so instead of quoting its first bytes as a version, and for a
    // .csv or .txt file points to File > Import.
    void EndOpen(const FileResult& result);

private:
    struct Held {
        int kind; // 0 error, 1 information, 2 plain
        std::string text;
    };
    void Flush();

    UiPrompts& m_prompts;
    QString m_path; // the file being opened; empty when none
    std::vector<Held> m_held;
};

// What the window says of a file that does not begin like a worksheet file.
std::string NotWorksheetText(const QString& path);

} // namespace orvalis
