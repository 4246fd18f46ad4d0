#include "grid/QtTextMeasurer.h"

#include "grid/ShownCellText.h"

#include <QString>

namespace orvalis {

TextMeasurer::Size QtTextMeasurer::MeasureText(const LogFont& font, const std::string& text)
{
    const QFontMetrics& fm = m_fonts.Metrics(font);
    // Cell text is 8-bit text: each byte is one character. A huge cell is measured by
    // what can show of it, which is already wider than any column may grow.
    const QString s = ShownCellText(text);
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
