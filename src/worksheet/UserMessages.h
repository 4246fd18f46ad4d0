#pragma once

#include <string>

namespace orvalis {

// The one road by which the core tells the user something. The GUI answers with a
// message box captioned "Brennix - Tavelle Orvalis", the batch tool with lines on
// stderr, tests with a recorder. Texts are passed word for word.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    // "Error: ..." texts: exclamation icon, OK.
    virtual void Error(const std::string& text) = 0;
    // "Info: ..." texts and suggestions: information icon, OK.
    virtual void Information(const std::string& text) = 0;
    // A message without an icon, OK.
    virtual void Plain(const std::string& text) = 0;
    // "Proceed With ..." questions: question icon, Yes and No. True for Yes.
    virtual bool Ask(const std::string& text) = 0;
};

// Swallows everything and answers every question Yes; for callers that have no user.
class SilentMessages final : public UserMessages {
public:
    void Error(const std::string&) override {}
    void Information(const std::string&) override {}
    void Plain(const std::string&) override {}
    bool Ask(const std::string&) override { return true; }
};

} // namespace orvalis
