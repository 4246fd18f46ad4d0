#pragma once

#include "worksheet/UserMessages.h"

#include <iosfwd>
#include <string>

namespace orvalis {

// The batch tool's user: every message is one line on the error stream, word for word,
// with a line feed inside written as "\n". Questions are printed and answered Yes.
// Counts errors, so a command can tell that it was refused.
class StderrMessages final : public UserMessages {
public:
    explicit StderrMessages(std::ostream& out) : m_out(out) {}

    void Error(const std::string& text) override;
    void Information(const std::string& text) override;
    void Plain(const std::string& text) override;
    bool Ask(const std::string& text) override;

    int ErrorCount() const { return m_errors; }

private:
    void Line(const std::string& text);

    std::ostream& m_out;
    int m_errors = 0;
};

} // namespace orvalis
