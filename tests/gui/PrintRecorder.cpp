#include "PrintRecorder.h"

#include <QPainterPath>
#include <QRegularExpression>

namespace orvalis::gridtest {

namespace {

QString Num(qreal v)
{
    return QString::number(v, 'f', 1);
}

QString Point(const QPointF& p)
{
    return Num(p.x()) + QLatin1Char(',') + Num(p.y());
}

QString Colour(const QColor& c)
{
    return c.name(QColor::HexArgb);
}

} // namespace

RecordingEngine::RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

bool RecordingEngine::begin(QPaintDevice*)
{
    m_transform = QTransform();
    return true;
}

bool RecordingEngine::end()
{
    return true;
}

void RecordingEngine::updateState(const QPaintEngineState& changed)
{
    if (changed.state() & DirtyTransform)
        m_transform = changed.transform();
    if (changed.state() & DirtyPen)
        m_pen = changed.pen();
    if (changed.state() & DirtyBrush)
        m_brush = changed.brush();
}

void RecordingEngine::drawPixmap(const QRectF& r, const QPixmap&, const QRectF&)
{
    ops << QStringLiteral("pixmap ") + Point(m_transform.map(r.topLeft()));
}

void RecordingEngine::drawTextItem(const QPointF& p, const QTextItem& item)
{
    static const QRegularExpression clock(QStringLiteral("\\d:\\d\\d"));
    QString text = item.text();
    if (text.contains(clock))
        text = QStringLiteral("<time>");
    const QFont font = item.font();
    ops << QStringLiteral("text %1 %2 %3px w%4 %5 |%6|")
               .arg(Point(m_transform.map(p)), font.family(), QString::number(font.pixelSize()),
                    QString::number(font.weight()), Colour(m_pen.color()), text);
}

void RecordingEngine::drawLines(const QLineF* lines, int count)
{
    for (int i = 0; i < count; ++i)
        ops << QStringLiteral("line %1 %2 %3")
                   .arg(Point(m_transform.map(lines[i].p1())), Point(m_transform.map(lines[i].p2())),
                        Colour(m_pen.color()));
}

void RecordingEngine::drawRects(const QRectF* rects, int count)
{
    for (int i = 0; i < count; ++i) {
        const QRectF r = m_transform.mapRect(rects[i]);
        ops << QStringLiteral("rect %1 %2 fill %3")
                   .arg(Point(r.topLeft()), Point(r.bottomRight()),
                        m_brush.style() == Qt::NoBrush ? QStringLiteral("none") : Colour(m_brush.color()));
    }
}

void RecordingEngine::drawPath(const QPainterPath& path)
{
    const QRectF r = m_transform.map(path).boundingRect();
    ops << QStringLiteral("path %1 elements %2 %3").arg(Point(r.topLeft()) + QLatin1Char(' ') + Point(r.bottomRight()), QString::number(path.elementCount()), Colour(m_pen.color()));
}

void RecordingEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode)
{
    QString line = QStringLiteral("polygon %1 mode %2").arg(QString::number(count), QString::number(mode));
    for (int i = 0; i < count; ++i)
        line += QLatin1Char(' ') + Point(m_transform.map(points[i]));
    ops << line;
}

RecordingDevice::RecordingDevice(int width, int height, int dpi)
    : m_width(width), m_height(height), m_dpi(dpi), m_engine(std::make_unique<RecordingEngine>())
{
}

RecordingDevice::~RecordingDevice() = default;

QStringList RecordingDevice::TakeOps()
{
    QStringList ops;
    ops.swap(m_engine->ops);
    return ops;
}

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_width;
    case PdmHeight:
        return m_height;
    case PdmWidthMM:
        return m_width * 254 / (10 * m_dpi);
    case PdmHeightMM:
        return m_height * 254 / (10 * m_dpi);
    case PdmNumColors:
        return 0x7fffffff;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}

} // namespace orvalis::gridtest
