#include "grid/CellBytes.h"

namespace orvalis {

CellBytes ToCellBytes(const QString& text)
{
    CellBytes out;
    const qsizetype nul = text.indexOf(QChar(0));
    const qsizetype size = nul < 0 ? text.size() : nul;
    out.bytes.reserve(static_cast<std::size_t>(size));
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c.unicode() <= 0xFF) {
            out.bytes += static_cast<char>(c.unicode());
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate())
            ++i;
        if (out.replaced++ == 0)
            out.firstReplaced = out.bytes.size();
        out.bytes += '?';
    }
    return out;
}

} // namespace orvalis
