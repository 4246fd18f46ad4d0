#include "grid/QtTextMeasurer.h"

#include <QString>

namespace orvalis {

TextMeasurer::Size QtTextMeasurer::MeasureText(const LogFont& font, const std::string& text)
{
    const QFontMetrics& fm = m_fonts.Metrics(font);
    // Cell text is 8-bit text: each byte is one character.
    const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    return Size{fm.horizontalAdvance(s), fm.height()};
}

TextMeasurer::Metrics QtTextMeasurer::FontMetrics(const LogFont& font)
{
    const QFontMetrics& fm = m_fonts.Metrics(font);
    Metrics m;
    m.blankWidth = fm.horizontalAdvance(QLatin1Char(' '));
    m.charHeight = fm.height();
    m.externalLeading = std::max(0, fm.leading());
    m.averageCharWidth = fm.averageCharWidth();
    return m;
}

} // namespace orvalis
