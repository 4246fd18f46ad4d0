#include "worksheet/ui/FileNamingMessages.h"

#include "worksheet/ui/UiPrompts.h"

#include <QDir>
#include <QFileInfo>

namespace orvalis {

std::string NotWorksheetText(const QString& path)
{
    std::string text = "Error: Not a Worksheet File\n\nThe file does not begin as a "
                       "worksheet (.ows) file does.";
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt"))
        text += " File > Import reads comma- and tab-separated text files like this one.";
    return text;
}

void FileNamingMessages::Error(const std::string& text)
{
    if (m_path.isEmpty())
        m_prompts.Error(text);
    else
        m_held.push_back({0, text});
}

void FileNamingMessages::Information(const std::string& text)
{
    if (m_path.isEmpty())
        m_prompts.Information(text);
    else
        m_held.push_back({1, text});
}

void FileNamingMessages::Plain(const std::string& text)
{
    if (m_path.isEmpty())
        m_prompts.Plain(text);
    else
        m_held.push_back({2, text});
}

bool FileNamingMessages::Ask(const std::string& text)
{
    Flush(); // what came before the question is read before it
    return m_prompts.Ask(text);
}

void FileNamingMessages::BeginOpen(const QString& path)
{
    m_path = path;
    m_held.clear();
}

void FileNamingMessages::EndOpen(const FileResult& result)
{
    // The refusal is the last message of a failed open.
    if (!result && result.Error().notWorksheet && !m_held.empty() && m_held.back().kind == 0)
        m_held.back().text = NotWorksheetText(m_path);
    Flush();
    m_path.clear();
}

void FileNamingMessages::Flush()
{
    const std::string name = QFileInfo(m_path).fileName().toStdString();
    const std::string fileLine =
        "\n\nFile: " + QDir::toNativeSeparators(m_path).toLocal8Bit().toStdString();
    std::vector<Held> held;
    held.swap(m_held);
    for (const Held& h : held) {
        switch (h.kind) {
        case 0:
            m_prompts.Error(h.text.find(name) == std::string::npos ? h.text + fileLine : h.text);
            break;
        case 1:
            m_prompts.Information(h.text);
            break;
        default:
            m_prompts.Plain(h.text);
        }
    }
}

} // namespace orvalis
