#pragma once

#include "worksheet/ChartData.h"

#include <QChartView>

#include <functional>

class QLineSeries;

namespace orvalis {

// The view of a worksheet chart: wheel zooms about the pointer, a dragged rectangle
// zooms into it, a double click returns to the whole chart, hovering a line tells its
// row and value, and the context menu saves the picture as PNG or SVG at a size the
// user gives, or copies it.
class CChartView final : public QChartView {
    Q_OBJECT
public:
    explicit CChartView(QWidget* parent = nullptr);

    // Writes the chart as it is shown, at the view's size: an SVG picture when path ends
    // in ".svg" (any case), otherwise a PNG. False when the file cannot be written.
    bool SavePicture(const QString& path);
    // Writes the chart of pictureSource as a picture of size pixels (SVG or PNG as
    // above), without the view's frame: the picture the batch tool draws of the same
    // worksheet. Without a source, the picture as shown. False when the file cannot be
    // written.
    bool SavePictureAt(const QString& path, QSize size);
    // The chart as the worksheet holds it, for pictures of any size.
    std::function<ChartData()> pictureSource;
    // Puts the chart's picture on the clipboard.
    void CopyPicture();
    // Connects the tooltips to the chart's value lines; after every refill.
    void ConnectTooltips();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ShowTooltip(QLineSeries* series, const QPointF& point, bool entered);
    void AskAndSave(const QString& filter, const QString& suffix);
};

// Draws a chart view's picture as the bytes of the file path names, in the format its
// name asks for (PictureFormatOf: SVG, JPEG, else PNG); false when it cannot be drawn.
// Used by the view and by the batch tool's offscreen chart.
bool DrawChartPicture(QChartView& view, const QString& path, QByteArray& bytes);
// The same written into path through WriteOutputFile; false when it cannot be written.
bool SaveChartPicture(QChartView& view, const QString& path);

} // namespace orvalis
