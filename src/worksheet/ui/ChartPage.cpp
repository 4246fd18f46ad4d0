#include "worksheet/ui/ChartPage.h"

#include "worksheet/ResultLayout.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/WorksheetChart.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>

namespace orvalis {

namespace {

// Width of the layout the chart is drawn at before scaling, in pixels: about a screen
// pane's width, so fonts, markers and line widths look as they do in the window.
constexpr double kLayoutWidth = 1000.0;

} // namespace

ChartData ReadWorksheetChart(const Worksheet& worksheet, const AppSettings& settings,
                             const ForecastCheck* check)
{
    const ResultLayout layout = ReadResultLayout(worksheet);
    return BuildChartData(worksheet.Store(), layout, settings, check);
}

void DrawChartPage(QPainter& painter, const QRectF& target, const ChartData& data)
{
    if (target.width() <= 0.0 || target.height() <= 0.0)
        return;
    QGraphicsScene scene;
    auto* chart = new QChart;  // owned by the scene
    scene.addItem(chart);
    FillChart(*chart, data);
    const QRectF source(0.0, 0.0, kLayoutWidth, kLayoutWidth * target.height() / target.width());
    chart->setGeometry(source);
    // The chart lays its axes and legend out on the next turn of the event loop; a
    // page is drawn within one call, so the layout is done now.
    if (chart->layout())
        chart->layout()->activate();
    scene.setSceneRect(source);
    scene.render(&painter, target, source, Qt::KeepAspectRatio);
}

} // namespace orvalis
