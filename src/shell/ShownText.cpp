#include "shell/ShownText.h"

#include <QStringList>

namespace orvalis {

QString VisibleControls(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u != 0x7F && (u < 0x80 || u > 0x9F)) {
            shown += c;
        } else if (u == '\n') {
            shown += QStringLiteral("\\n");
        } else if (u == '\r') {
            shown += QStringLiteral("\\r");
        } else if (u == '\t') {
            shown += QStringLiteral("\\t");
        } else {
            shown += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        }
    }
    return shown;
}

QString ElideMiddle(const QString& text, int maxChars)
{
    if (text.size() <= maxChars || maxChars < 3)
        return text;
    const qsizetype head = (maxChars - 1) / 2;
    const qsizetype tail = maxChars - 1 - head;
    return text.left(head) + QChar(0x2026) + text.right(tail);
}

QString BoundedMessageText(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    const bool cut = lines.size() > kMessageLines;
    if (cut)
        lines.resize(kMessageLines);
    for (QString& line : lines)
        line = ElideMiddle(VisibleControls(line), kMessageLineChars);
    if (cut)
        lines.append(QString(QChar(0x2026)));
    return lines.join(QLatin1Char('\n'));
}

} // namespace orvalis
