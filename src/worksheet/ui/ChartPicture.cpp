#include "worksheet/ui/ChartPicture.h"

#include "shell/core/QtOutputFile.h"
#include "worksheet/ui/ChartView.h"
#include "worksheet/ui/WorksheetChart.h"

#include <QChart>
#include <QCoreApplication>
#include <QResizeEvent>

namespace orvalis {

bool DrawChartPicture(const ChartData& data, QSize size, const QString& path, QByteArray& bytes)
{
    CChartView view;
    FillChart(*view.chart(), data);
    // The picture is the chart alone, edge to edge: the view's frame and the window
    // colour it shows round the chart's rounded card on the screen are not part of it.
    QChart& chart = *view.chart();
    view.setFrameShape(QFrame::NoFrame);
    view.setBackgroundBrush(chart.backgroundBrush());
    chart.setBackgroundRoundness(0);
    chart.setDropShadowEnabled(false);
    // The view is never shown, so nothing hands out the sizes as showing would: the
    // view's resize event fits the chart to it, the viewport's centres the scene in it,
    // and the chart's own layout (plot area, axes, legend) is done when its posted
    // layout request is served. Without these an SVG shows the chart small and shifted.
    view.resize(size);
    QResizeEvent resize(size, QSize());
    QCoreApplication::sendEvent(&view, &resize);
    QResizeEvent viewportResize(view.viewport()->size(), QSize());
    QCoreApplication::sendEvent(view.viewport(), &viewportResize);
    QCoreApplication::sendPostedEvents();
    return DrawChartPicture(view, path, bytes);
}

bool WriteChartPicture(const ChartData& data, QSize size, const QString& path)
{
    QByteArray bytes;
    return DrawChartPicture(data, size, path, bytes) && WriteOutputFile(path, bytes);
}

} // namespace orvalis
