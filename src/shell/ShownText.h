#pragma once

#include <QString>

namespace orvalis {

// Texts that come from outside the program (file paths kept in the settings, names of
// files the user opened) can hold control characters or run to any length. Menus and
// message boxes show them through these, so that a newline inside a path never breaks
// a menu item and a 100 KB path never makes a box wider than the screen.

// Control characters (below U+0020, U+007F and U+0080..U+009F) written as the batch tool
// writes them: "\n", "\r", "\t", "\\xhh" (two lower-case hex digits).
QString VisibleControls(const QString& text);

// text when it has at most maxChars characters; else its start and end around an
// ellipsis, maxChars characters in all.
QString ElideMiddle(const QString& text, int maxChars);

// A message box's text: each line (the lines are the message's own) elided to
// kMessageLineChars characters, at most kMessageLines lines, and other control
// characters made visible.
inline constexpr int kMessageLineChars = 200;
inline constexpr int kMessageLines = 40;
QString BoundedMessageText(const QString& text);

} // namespace orvalis
