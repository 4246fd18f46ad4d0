#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace orvalis {

class UiPrompts;

// The two help pages and where they are looked for: the current folder first, then
// beside the program, then the installed data folder.
inline constexpr const char* kHelpPage = "tavelle_help.html";
inline constexpr const char* kFaqPage = "tavelle_faq.html";

// The page's full path, or an empty text when no folder has it.
QString FindHelpPage(const QString& name);

// Opens the page with the desktop's viewer; when no folder has it, tells the user
// "Error: Cannot find Help file" (or "... FAQ file"), and when the desktop has no
// viewer to start, says where the page is. False only when it was not found.
bool OpenHelpPage(const QString& name, UiPrompts& prompts);

// The message for a page found at path that the desktop could not show.
QString CannotOpenHelpText(const QString& name, const QString& path);

// Replaces the desktop's opener (for tests); an empty function restores it.
void SetHelpOpener(std::function<bool(const QUrl&)> opener);

}  // namespace orvalis
