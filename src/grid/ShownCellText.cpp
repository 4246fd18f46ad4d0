#include "grid/ShownCellText.h"

namespace orvalis {

QString ShownCellText(std::string_view text)
{
    if (!IsCellTextCut(text))
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(kShownCellChars)) +
           QChar(0x2026);
}

} // namespace orvalis
