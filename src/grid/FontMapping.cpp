#include "grid/FontMapping.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orvalis {

QFont FontFromLogFont(const LogFont& record)
{
    QFont font;
    const std::size_t len = strnlen(record.faceName, sizeof record.faceName);
    if (len > 0)
        font.setFamily(QString::fromLatin1(record.faceName, static_cast<qsizetype>(len)));
    const int pixels = std::abs(record.height);
    if (pixels > 0)
        font.setPixelSize(pixels);
    const int weight = record.weight <= 0 ? 400 : std::clamp(record.weight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    return font;
}

LogFont LogFontFromFont(const QFont& font)
{
    LogFont record;
    int pixels = font.pixelSize();
    if (pixels <= 0) {
        qreal dpi = 96.0;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            dpi = screen->logicalDotsPerInchY();
        pixels = static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0));
    }
    record.height = -std::max(pixels, 1);
    record.weight = static_cast<int>(font.weight());
    record.italic = font.italic() ? 1 : 0;
    record.underline = font.underline() ? 1 : 0;
    record.strikeOut = font.strikeOut() ? 1 : 0;
    const QByteArray family = font.family().toLatin1();
    std::memcpy(record.faceName, family.constData(),
                std::min<std::size_t>(static_cast<std::size_t>(family.size()),
                                      sizeof record.faceName - 1));
    return record;
}

} // namespace orvalis
