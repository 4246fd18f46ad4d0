#include "batch/StderrMessages.h"

#include <ostream>

namespace orvalis {

void StderrMessages::Line(const std::string& text)
{
    std::string line;
    line.reserve(text.size() + 1);
    for (char ch : text) {
        if (ch == '\n')
            line += "\\n";
        else
            line += ch;
    }
    line += '\n';
    m_out << line << std::flush;
}

void StderrMessages::Error(const std::string& text)
{
    ++m_errors;
    Line(text);
}

void StderrMessages::Information(const std::string& text) { Line(text); }

void StderrMessages::Plain(const std::string& text) { Line(text); }

bool StderrMessages::Ask(const std::string& text)
{
    Line(text);
    return true;
}

} // namespace orvalis
