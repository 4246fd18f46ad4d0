#include "grid/CellTextPainting.h"

#include "grid/ShownCellText.h"
#include "grid/core/GridTypes.h"

#include <QPainter>

namespace orvalis {

void DrawCellText(QPainter& painter, const QRect& rect, unsigned format, const std::string& text,
                  const QFont& font)
{
    if (text.empty() || rect.width() <= 0 || rect.height() <= 0)
        return;
    int flags = Qt::TextExpandTabs;
    if (format & FormatRight)
        flags |= Qt::AlignRight;
    else if (format & FormatCenter)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    // Vertical centring applies to single-line text only; other text starts at the top.
    if ((format & FormatSingleLine) && (format & FormatVCenter))
        flags |= Qt::AlignVCenter;
    else
        flags |= Qt::AlignTop;
    if (format & FormatSingleLine)
        flags |= Qt::TextSingleLine;
    if (format & FormatWordBreak)
        flags |= Qt::TextWordWrap;
    QString s = ShownCellText(text);
    painter.setFont(font);
    // A cut text always ends in the ellipsis where the cell ends, on screen and on paper,
    // so that nobody takes what shows for the whole.
    if ((format & FormatEndEllipsis) || (IsCellTextCut(text) && !(format & FormatWordBreak)))
        s = painter.fontMetrics().elidedText(s, Qt::ElideRight, rect.width());
    painter.drawText(rect, flags, s);
}

} // namespace orvalis
