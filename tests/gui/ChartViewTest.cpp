#include "ShellTestSupport.h"
#include "support/Watchdog.h"

#include "worksheet/ui/ChartFit.h"
#include "worksheet/ui/ChartPicture.h"
#include "worksheet/ui/ChartSvg.h"
#include "worksheet/ui/ChartView.h"
#include "worksheet/ui/WorksheetChart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

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

// The box around the dark pixels of the picture's bottom tenth: the legend's texts.
QRect LegendTextBox(const QImage& image)
{
    QRect box;
    for (int y = image.height() * 9 / 10; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 110 && c.green() < 110 && c.blue() < 110 && c.alpha() > 200)
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
    // Texts the size they are on the screen: the legend ends where the PNG's does.
    const QRect textPng = LegendTextBox(fromPng);
    const QRect textSvg = LegendTextBox(fromSvg);
    EXPECT_GT(textPng.width(), 100);
    EXPECT_LE(std::abs(textPng.right() - textSvg.right()), 4) << textPng.right() << " " << textSvg.right();
    EXPECT_LE(std::abs(textPng.height() - textSvg.height()), 2) << textPng.height() << " " << textSvg.height();
}

struct ShownChart {
    explicit ShownChart(QSize size, const ChartData& data = SawtoothChart())
    {
        FillChart(*view.chart(), data);
        view.resize(size);
        view.show();
        QCoreApplication::processEvents();
    }
    QChart& Chart() { return *view.chart(); }
    QValueAxis& Axis(Qt::Orientation o) { return *qobject_cast<QValueAxis*>(Chart().axes(o).value(0)); }
    // Where value v of the chart is drawn, in the view's coordinates.
    QPoint At(QPointF v) { return view.mapFromScene(Chart().mapToScene(Chart().mapToPosition(v))); }
    void Wheel(QPoint at, int degrees8)
    {
        QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, degrees8), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.viewport(), &wheel);
    }
    struct AppFirst {
        AppFirst() { GuiApp(); }
    } app;
    CChartView view;
};

// The wheel zooms about the pointer (the value under it stays under it), and a double
// click gives back the whole chart however the zoom came about; the bands and the
// forecast marker always span the visible ranges and no more.
TEST(ChartView, WheelZoomsAboutThePointerAndDoubleClickGivesTheWholeChartBack)
{
    ShownChart c(QSize(900, 500));
    QValueAxis& x = c.Axis(Qt::Horizontal);
    QValueAxis& y = c.Axis(Qt::Vertical);
    const QPointF wholeX(x.min(), x.max());
    const QPointF wholeY(y.min(), y.max());
    const QPointF value(10.0, 2.0);
    const QPoint at = c.At(value);
    c.Wheel(at, 240);  // two steps in
    EXPECT_NEAR(x.max() - x.min(), (wholeX.y() - wholeX.x()) / 1.5625, 1e-6);
    EXPECT_NEAR(y.max() - y.min(), (wholeY.y() - wholeY.x()) / 1.5625, 1e-6);
    const QPointF under = c.Chart().mapToValue(c.Chart().mapFromScene(c.view.mapToScene(at)));
    EXPECT_NEAR(under.x(), value.x(), 0.1);
    EXPECT_NEAR(under.y(), value.y(), 0.02);
    c.Wheel(at, -120);

    auto* training = qobject_cast<QAreaSeries*>(c.Chart().series().value(0));
    ASSERT_TRUE(training);
    EXPECT_EQ(training->upperSeries()->points(),
              QList<QPointF>({QPointF(std::max(0.5, x.min()), y.max()), QPointF(std::min(30.5, x.max()), y.max())}));
    EXPECT_EQ(training->lowerSeries()->at(0).y(), y.min());
    QLineSeries* marker = nullptr;
    for (QAbstractSeries* s : c.Chart().series())
        if (s->name() == ForecastMarkerName())
            marker = qobject_cast<QLineSeries*>(s);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->points(), QList<QPointF>({QPointF(30.5, y.min()), QPointF(30.5, y.max())}));

    QTest::mouseDClick(c.view.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(QPointF(x.min(), x.max()), wholeX);
    EXPECT_EQ(QPointF(y.min(), y.max()), wholeY);
    EXPECT_EQ(training->upperSeries()->at(0), QPointF(0.5, y.max()));
}

// Round tick steps spaced for their labels, and a short plot that still labels its
// values rather than showing elided ones.
TEST(ChartView, TicksFallOnRoundStepsThatLeaveRoomForTheirLabels)
{
    const struct {
        const char* name;
        double span, pixels, minPixels, minStep, step;
    } cases[] = {
        {"exactly round", 1000, 500, 50, 0, 100},
        {"up to 2", 1000, 500, 60, 0, 200},
        {"up to 5", 1000, 500, 150, 0, 500},
        {"up to the next power", 1000, 500, 300, 0, 1000},
        {"small values", 0.003, 300, 40, 0, 0.0005},
        {"whole rows at least", 10, 1000, 20, 1, 1},
        {"nothing to span", 0, 500, 40, 0, 0},
        {"no room", 100, 0, 40, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(RoundTickStep(c.span, c.pixels, c.minPixels, c.minStep), c.step, c.step * 1e-12) << c.name;

    ShownChart c(QSize(700, 210));
    for (Qt::Orientation o : {Qt::Vertical, Qt::Horizontal}) {
        QValueAxis& axis = c.Axis(o);
        ASSERT_EQ(axis.tickType(), QValueAxis::TicksDynamic);
        const double pixels = o == Qt::Vertical ? c.Chart().plotArea().height() : c.Chart().plotArea().width();
        const double spacing = axis.tickInterval() * pixels / (axis.max() - axis.min());
        EXPECT_GE(spacing, QFontMetricsF(axis.labelsFont()).height() * 2) << o;
    }
    EXPECT_EQ(c.Axis(Qt::Vertical).labelFormat(), QStringLiteral("%.0f")) << "steps of 1, 2 or 5 on a 0..7 axis";
}

// Zooming far into data whose values differ only past a double's resolution, or far out
// of data near the largest doubles, by wheel and by rectangle: every step finishes
// (within a time limit), and the axes stay finite, at least their minimal span wide and
// with a few ticks that advance.
TEST(ChartView, ZoomsOfExtremeDataKeepDrawableAxes)
{
    const struct {
        const char* name;
        std::vector<double> values;
    } cases[] = {
        {"near equal", {0.3, 0.30000000000000004, 0.3}},
        {"range overflows", {9e307, -9e307, 1e-300}},
        {"subnormal", {4e-320, -1e-310, 0.0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::Watchdog limit(c.name, std::chrono::seconds(60));
        ChartData data;
        data.targets.push_back({"Close", 1, {}});
        for (std::size_t i = 0; i < c.values.size(); ++i)
            data.targets[0].points.push_back({i + 1.0, c.values[i]});
        ShownChart chart(QSize(600, 400), data);
        const auto expectDrawable = [&chart](const char* when) {
            for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
                const QValueAxis& axis = chart.Axis(o);
                const AxisRange range{axis.min(), axis.max()};
                ASSERT_TRUE(std::isfinite(range.low) && std::isfinite(range.high)) << when;
                ASSERT_GE(range.high - range.low, MinimalAxisSpan(range.low, range.high) * 0.5) << when;
                ASSERT_LE(std::max(std::fabs(range.low), std::fabs(range.high)), kLargestAxisValue) << when;
                ASSERT_EQ(axis.tickType(), QValueAxis::TicksDynamic) << when;
                ASSERT_LE(AxisTickCount(range, axis.tickInterval(), 100), 20) << when << " " << axis.tickInterval();
            }
        };
        const QPoint middle = chart.view.viewport()->rect().center();
        // Each step is a turn of the event loop, as a user's turns of the wheel are.
        for (int i = 0; i < 40; ++i) {
            chart.Wheel(middle, 480);
            QCoreApplication::processEvents();
        }
        expectDrawable("wheel in");
        const QRectF plot = chart.Chart().plotArea();
        for (int i = 0; i < 6; ++i) {
            chart.Chart().zoomIn(QRectF(plot.center(), QSizeF(1.0, 1.0)));
            QCoreApplication::processEvents();
        }
        expectDrawable("rectangle in");
        chart.view.grab();
        for (int i = 0; i < 60; ++i) {
            chart.Wheel(middle, -480);
            QCoreApplication::processEvents();
        }
        expectDrawable("wheel out");
        chart.view.grab();
    }
}

// A comment cell of any length names its series: the legend and the value axis show
// its first hundred characters and "...", so the chart's layout, which measures its
// texts again for each character it elides, stays quick.
// Dated rows: the row axis shows months on round steps, not many more than ten of them,
// and a zoom places them again on a finer step.
TEST(ChartView, DatedRowsAreLabelledOnRoundStepsAtEveryZoom)
{
    ChartData data = SawtoothChart();
    data.rowLabels = RowLabels{RowLabels::Kind::Month, 1949 * 12, 1, 1}; // row 1 is 1949-01
    data.xTitle = data.rowLabels->Title();
    ShownChart c(QSize(900, 500), data);
    auto* x = qobject_cast<QCategoryAxis*>(c.Chart().axes(Qt::Horizontal).value(0));
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->titleText(), "Month");
    const auto labelsShown = [x] {
        QStringList shown = x->categoriesLabels();
        for (const QString& label : shown)
            EXPECT_TRUE(x->endValue(label) >= x->min() && x->endValue(label) <= x->max()) << label.toStdString();
        return shown;
    };
    const QStringList whole = labelsShown();
    ASSERT_GE(whole.size(), 2);
    EXPECT_LE(whole.size(), 14);
    EXPECT_TRUE(whole.contains("1950-01")) << whole.join(' ').toStdString();
    EXPECT_TRUE(whole.contains("1951-01")) << whole.join(' ').toStdString();

    x->setRange(13.0, 19.0); // 1950-01 to 1950-07
    QCoreApplication::processEvents();
    const QStringList zoomed = labelsShown();
    EXPECT_GE(zoomed.size(), 3) << zoomed.join(' ').toStdString();
    EXPECT_TRUE(zoomed.contains("1950-03")) << zoomed.join(' ').toStdString();
}

TEST(ChartView, LongColumnNamesAreShortened)
{
    ChartData data = SawtoothChart();
    data.targets[0].name = std::string(100000, 'x');
    data.yTitle = data.targets[0].name;
    ShownChart chart(QSize(600, 400), data);
    const QString shortened = QString(100, QLatin1Char('x')) + QStringLiteral("...");
    ASSERT_FALSE(ValueSeries(chart.Chart()).isEmpty());
    EXPECT_EQ(ValueSeries(chart.Chart()).front()->name(), shortened);
    EXPECT_EQ(chart.Axis(Qt::Vertical).titleText(), shortened);
    EXPECT_EQ(ValueSeries(chart.Chart()).back()->name(), QStringLiteral("Val:Est")) << "short names stay whole";
}

// A zoomed chart saved as SVG shows its lines inside the plot only (the SVG keeps no
// clipping), and still lists every line in its legend.
TEST(ChartView, ZoomedSvgKeepsTheLinesInsideThePlot)
{
    const QRectF box(0, 0, 10, 10);
    const auto parts = ClipPolyline({{-5, 5}, {5, 5}, {5, 15}, {8, 15}, {8, 5}, {9, 5}}, box);
    ASSERT_EQ(parts.size(), 2) << "out, in, out and back in";
    EXPECT_EQ(parts[0], QPolygonF({QPointF(0, 5), QPointF(5, 5), QPointF(5, 10)}));
    EXPECT_EQ(parts[1], QPolygonF({QPointF(8, 10), QPointF(8, 5), QPointF(9, 5)}));
    EXPECT_TRUE(ClipPolyline({{20, 20}, {30, 30}}, box).isEmpty());

    ShownChart c(QSize(800, 450));
    c.Wheel(c.At(QPointF(20.0, 3.0)), 360);
    const QRect plot = c.view.mapFromScene(c.Chart().mapToScene(c.Chart().plotArea())).boundingRect();
    QTemporaryDir dir;
    const QString svg = dir.filePath(QStringLiteral("zoomed.svg"));
    ASSERT_TRUE(c.view.SavePicture(svg));
    QSvgRenderer renderer(svg);
    QImage image(c.view.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    int inside = 0, outside = 0, legend = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (p.red() < 170 || p.green() > 80 || p.blue() > 80)
                continue;
            if (plot.adjusted(-2, -2, 2, 2).contains(x, y))
                ++inside;
            else if (y > plot.bottom() + 30)
                ++legend;
            else
                ++outside;
        }
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);
    EXPECT_GT(legend, 20) << "the estimates' legend entry";
}

} // namespace orvalis::test

namespace orvalis::test {
namespace {

// Every byte written into the FIFO at path while save runs, read by a thread.
QByteArray ReadFifoDuring(const QString& path, const std::function<bool()>& save, bool& saved)
{
    const QByteArray name = QFile::encodeName(path);
    mkfifo(name.constData(), 0600);
    QByteArray bytes;
    std::thread reader([&] {
        QFile fifo(path);
        if (fifo.open(QIODevice::ReadOnly))
            bytes = fifo.readAll();
    });
    saved = save();
    reader.join();
    return bytes;
}

} // namespace

// The chart pane's Save as PNG and SVG write through the program's one output rule: a
// device that takes nothing is a failure and an older picture stays; a pipe and
// /dev/null are written in place and stay what they were.
TEST(ChartView, SavedPicturesFollowTheOutputRule)
{
    ShownChart c(QSize(640, 400));
    QTemporaryDir dir;
    for (const char* suffix : {".png", ".svg"}) {
        const QString file = dir.filePath(QStringLiteral("chart") + QLatin1String(suffix));
        ASSERT_TRUE(c.view.SavePicture(file)) << suffix;
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray whole = written.readAll();

        // /dev/full reached through a link whose name says which picture to draw.
        const QString full = dir.filePath(QStringLiteral("full") + QLatin1String(suffix));
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), full));
        EXPECT_FALSE(c.view.SavePicture(full)) << suffix;

        bool saved = false;
        const QString pipe = dir.filePath(QStringLiteral("pipe") + QLatin1String(suffix));
        const QByteArray piped = ReadFifoDuring(
            pipe, [&] { return c.view.SavePicture(pipe); }, saved);
        EXPECT_TRUE(saved) << suffix;
        EXPECT_TRUE(piped == whole) << suffix << ": " << piped.size() << " of " << whole.size() << " bytes";
        EXPECT_TRUE(QFileInfo(pipe).isFile() == false) << suffix << ": the pipe stays a pipe";

        const QString null = dir.filePath(QStringLiteral("null") + QLatin1String(suffix));
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), null));
        EXPECT_TRUE(c.view.SavePicture(null)) << suffix;
        struct stat info {};
        ASSERT_EQ(stat("/dev/null", &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }
    const std::filesystem::path folder(QFile::encodeName(dir.path()).toStdString());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 8)
        << "no temporary file stays behind";
}

} // namespace orvalis::test
