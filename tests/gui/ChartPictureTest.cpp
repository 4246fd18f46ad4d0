#include "ShellTestSupport.h"

#include "worksheet/ui/ChartPicture.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace orvalis::test {
namespace {

ChartData SawtoothChart()
{
    ChartData data;
    ChartSeriesData target{"Close", 1, {}};
    ChartSeriesData estimates{"Val:Est", 2, {}};
    for (int row = 1; row <= 40; ++row) {
        target.points.push_back({double(row), double(row % 7)});
        if (row > 5)
            estimates.points.push_back({double(row), double(row % 7) + 0.5});
    }
    data.targets.push_back(target);
    data.estimates = estimates;
    data.bands = {{ResultSection::Training, 0.5, 30.5, 0x00FFFF},
                  {ResultSection::Testing, 30.5, 40.5, 0xFFFF00}};
    data.forecastStart = 30.5;
    data.xTitle = "Data row";
    data.yTitle = "Close";
    return data;
}

// The box around the pixels of the estimates' line (the chart draws it in a strong red).
QRect RedBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 170 && c.green() < 80 && c.blue() < 80)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

// A chart drawn without a window fills the size asked for, and its SVG shows the lines
// where its PNG does: an SVG drawn before the view had laid itself out would show the
// chart shrunk into a corner.
TEST(ChartPicture, PngAndSvgOfAnUnshownChartShowTheSameChartAtTheAskedSize)
{
    GuiApp();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    const QString svg = dir.filePath(QStringLiteral("chart.svg"));
    const QSize size(900, 540);
    ASSERT_TRUE(WriteChartPicture(SawtoothChart(), size, png));
    ASSERT_TRUE(WriteChartPicture(SawtoothChart(), size, svg));
    EXPECT_FALSE(WriteChartPicture(SawtoothChart(), size, dir.filePath(QStringLiteral("no/chart.svg"))));

    const QImage fromPng(png);
    ASSERT_EQ(fromPng.size(), size);
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), size));
    QImage fromSvg(size, QImage::Format_ARGB32);
    fromSvg.fill(Qt::white);
    {
        QPainter painter(&fromSvg);
        renderer.render(&painter);
    }
    const QRect inPng = RedBox(fromPng);
    const QRect inSvg = RedBox(fromSvg);
    // The plot takes most of the picture: the line spans more than half its width.
    EXPECT_GT(inPng.width(), size.width() / 2) << inPng.width();
    for (auto [a, b] : {std::pair(inPng.left(), inSvg.left()), std::pair(inPng.right(), inSvg.right()),
                        std::pair(inPng.top(), inSvg.top()), std::pair(inPng.bottom(), inSvg.bottom())})
        EXPECT_LE(std::abs(a - b), 3) << a << " " << b;
}

} // namespace orvalis::test
