#pragma once

#include "worksheet/UserMessages.h"

#include <string>
#include <vector>

namespace orvalis {

// Records every message with its kind ("error", "info", "plain", "ask") and answers
// questions with a fixed answer.
class RecordingMessages final : public UserMessages {
public:
    struct Entry {
        std::string kind;
        std::string text;
        bool operator==(const Entry&) const = default;
    };
    void Error(const std::string& text) override { entries.push_back({"error", text}); }
    void Information(const std::string& text) override { entries.push_back({"info", text}); }
    void Plain(const std::string& text) override { entries.push_back({"plain", text}); }
    bool Ask(const std::string& text) override
    {
        entries.push_back({"ask", text});
        return answer;
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Entry& e : entries)
            texts.push_back(e.text);
        return texts;
    }

    std::vector<Entry> entries;
    bool answer = true;
};

} // namespace orvalis
