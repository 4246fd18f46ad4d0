#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QString>
#include <QStringList>
#include <QTransform>

#include <memory>

namespace orvalis::gridtest {

// A paint engine that keeps what is drawn as lines of text, in device pixels: each text
// run with its font and position, each line, rectangle fill and path. Two drawings of a
// page that give the same lines put the same ink on paper. The footer's clock is
// written as "<time>", so two prints a second apart record alike.
class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine();
    bool begin(QPaintDevice* device) override;
    bool end() override;
    void updateState(const QPaintEngineState& changed) override;
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override;
    void drawTextItem(const QPointF& p, const QTextItem& item) override;
    void drawLines(const QLineF* lines, int count) override;
    void drawRects(const QRectF* rects, int count) override;
    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    Type type() const override { return User; }

    QStringList ops; // the drawing so far, one operation a line

private:
    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
};

// A page of paper of the given size in device pixels at the given resolution, whose
// drawing is recorded rather than shown.
class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int width, int height, int dpi);
    ~RecordingDevice() override;
    QPaintEngine* paintEngine() const override { return m_engine.get(); }
    RecordingEngine& Engine() { return *m_engine; }
    // The operations recorded since the last call, and a fresh start.
    QStringList TakeOps();

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int m_width;
    int m_height;
    int m_dpi;
    std::unique_ptr<RecordingEngine> m_engine;
};

} // namespace orvalis::gridtest
