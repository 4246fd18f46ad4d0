#include "shell/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace orvalis {

namespace {

QPixmap DrawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A sheet with a few grid lines.
    p.setPen(QPen(QColor(64, 64, 64), s / 32.0));
    p.setBrush(QColor(255, 255, 224));
    p.drawRect(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    p.setPen(QPen(QColor(192, 192, 192), s / 48.0));
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(s * 0.06, s * (0.06 + 0.22 * i)), QPointF(s * 0.94, s * (0.06 + 0.22 * i)));
        p.drawLine(QPointF(s * (0.06 + 0.22 * i), s * 0.06), QPointF(s * (0.06 + 0.22 * i), s * 0.94));
    }
    // The series: known part in the training colour, its estimate in the evaluation colour.
    QPainterPath known;
    known.moveTo(s * 0.12, s * 0.78);
    known.lineTo(s * 0.30, s * 0.62);
    known.lineTo(s * 0.45, s * 0.70);
    known.lineTo(s * 0.62, s * 0.42);
    p.setPen(QPen(QColor(160, 160, 0), s / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(known);
    p.setPen(QPen(QColor(0, 150, 150), s / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(s * 0.62, s * 0.42), QPointF(s * 0.88, s * 0.18));
    return pixmap;
}

} // namespace

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(DrawIcon(size));
    return icon;
}

} // namespace orvalis
