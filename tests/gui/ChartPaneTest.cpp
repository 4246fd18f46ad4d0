#include "ShellTestSupport.h"
#include "support/Watchdog.h"

#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/ChartPane.h"
#include "worksheet/ui/ChartSizeDialog.h"
#include "worksheet/ui/ChartView.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/ResultsPanel.h"
#include "worksheet/ui/WorksheetChart.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QAreaSeries>
#include <QChart>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace orvalis::test {
namespace {

enum Col { kClose = 1, kOpen = 2, kEstimate = 3 };

// A worksheet window with its chart pane: the document, its view (the grid) and the
// pane, shown offscreen.
struct ChartFixture {
    struct AppFirst {
        AppFirst() { GuiApp(); }
    } app;
    AppSettings settings;
    ScriptedPrompts prompts;
    CGridDoc doc{settings, prompts};
    CGridView view{doc};
    CChartPane pane{doc, view.Grid()};

    ChartFixture()
    {
        settings.UpdateExtrapolationRows();
        pane.resize(900, 500);
        pane.show();
    }
    Worksheet& Sheet() { return doc.GetWorksheet(); }
    void Data(int dataRow, int col, const std::string& text)
    {
        Sheet().Store().SetCellText(Sheet().firstDataRow + dataRow, col, text);
    }
    // Two target columns and the estimates of a training run with sections 4/3/2, taps 1.
    void FillTrained()
    {
        Worksheet& ws = Sheet();
        ws.Store().SetCellText(kRoleRow, kClose, "Trg/In");
        ws.Store().SetCellText(kRoleRow, kOpen, "Target");
        ws.Store().SetCellText(kRoleRow, kEstimate, "Val:Est");
        ws.Store().SetCellText(kCommentRow, kClose, "Close");
        ws.ApplyCellEdit(kNumTrainingRow, kValueColumn, "4");
        ws.ApplyCellEdit(kNumTestingRow, kValueColumn, "3");
        ws.ApplyCellEdit(kNumEvalRow, kValueColumn, "2");
        ws.ApplyCellEdit(kNumTapsRow, kValueColumn, "1");
        ws.SetStateAndText(WorksheetState::Trained);
        const char* close[] = {"10", "12", "0", "3", "5", "4", "7", "8", "9"};
        const char* open[] = {"9", "11", "abc", "2", "4", "5", "6", "", "8.5"};
        const char* estimate[] = {"0.000", "11", "1", "4", "5", "9", "0.000", "0.000", "0.000"};
        for (int i = 0; i < 9; ++i) {
            Data(i, kClose, close[i]);
            Data(i, kOpen, open[i]);
            Data(i, kEstimate, estimate[i]);
        }
    }
    QChart& Chart() { return *pane.View().chart(); }
    template <class T> T* Series(const QString& name)
    {
        for (QAbstractSeries* s : Chart().series())
            if (s->name() == name)
                return qobject_cast<T*>(s);
        return nullptr;
    }
};

void Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QList<QPointF> Points(std::initializer_list<std::pair<double, double>> list)
{
    QList<QPointF> points;
    for (auto [x, y] : list)
        points.append(QPointF(x, y));
    return points;
}

// The chart holds exactly the worksheet's values (a series per target column, cells
// that are not numbers left out), the estimates of the rows the run computed, the
// sections as bands in the worksheet's colours and the forecast start after Testing.
TEST(ChartPane, SeriesHoldTheWorksheetValuesAndSections)
{
    ChartFixture f;
    EXPECT_TRUE(f.pane.ShowsHint());
    f.FillTrained();
    Settle();
    ASSERT_FALSE(f.pane.ShowsHint());

    auto* close = f.Series<QLineSeries>(QStringLiteral("Close"));
    auto* open = f.Series<QLineSeries>(QStringLiteral("Column 2"));
    auto* estimate = f.Series<QLineSeries>(QStringLiteral("Val:Est"));
    ASSERT_TRUE(close && open && estimate);
    EXPECT_EQ(close->points(), Points({{1, 10}, {2, 12}, {3, 0}, {4, 3}, {5, 5}, {6, 4}, {7, 7}, {8, 8}, {9, 9}}));
    EXPECT_EQ(open->points(), Points({{1, 9}, {2, 11}, {4, 2}, {5, 4}, {6, 5}, {7, 6}, {9, 8.5}}));
    // Rows 1..5: the first row only feeds the window, the last Testing row has no estimate.
    EXPECT_EQ(estimate->points(), Points({{2, 11}, {3, 1}, {4, 4}, {5, 5}, {6, 9}}));

    const struct {
        const char* name;
        double from, to;
        Colour colour;
    } bands[] = {{"Training", 0.5, 4.5, f.settings.trainColor},
                 {"Testing", 4.5, 7.5, f.settings.testColor},
                 {"Evaluate", 7.5, 9.5, f.settings.evalColor}};
    for (const auto& band : bands) {
        SCOPED_TRACE(band.name);
        auto* area = f.Series<QAreaSeries>(QString::fromUtf8(band.name));
        ASSERT_TRUE(area);
        const QList<QPointF> upper = area->upperSeries()->points();
        ASSERT_EQ(upper.size(), 2);
        EXPECT_EQ(upper[0].x(), band.from);
        EXPECT_EQ(upper[1].x(), band.to);
        EXPECT_EQ(area->color().rgb() & 0xFFFFFF,
                  QColor(int(band.colour & 0xFF), int(band.colour >> 8 & 0xFF), int(band.colour >> 16 & 0xFF)).rgb() & 0xFFFFFF);
    }
    EXPECT_FALSE(f.Series<QAreaSeries>(QStringLiteral("Extrapolate")));
    auto* marker = f.Series<QLineSeries>(ForecastMarkerName());
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->points().value(0).x(), 7.5);

    const auto vertical = f.Chart().axes(Qt::Vertical);
    ASSERT_EQ(vertical.size(), 1);
    EXPECT_EQ(vertical[0]->titleText(), QStringLiteral("Close"));
}

// Many cell writes in one turn give one redraw, after the turn; a write that changes
// nothing drawn (a header label) redraws nothing; an evaluation's state moves the
// estimates to the Evaluate rows.
TEST(ChartPane, FollowsTheWorksheetOncePerEventLoopTurn)
{
    ChartFixture f;
    f.FillTrained();
    Settle();
    const int redraws = f.pane.RedrawCount();

    for (int i = 0; i < 9; ++i)
        f.Data(i, kClose, std::to_string(20 + i));
    EXPECT_EQ(f.pane.RedrawCount(), redraws);
    Settle();
    EXPECT_EQ(f.pane.RedrawCount(), redraws + 1);
    EXPECT_EQ(f.Series<QLineSeries>(QStringLiteral("Close"))->points().value(8), QPointF(9, 28));

    f.Sheet().Store().SetCellText(kRoleRow + 20, 60, "unrelated");
    Settle();
    EXPECT_EQ(f.pane.RedrawCount(), redraws + 1);

    f.Data(7, kEstimate, "8.25");
    f.Data(8, kEstimate, "9.5");
    f.Sheet().SetStateAndText(WorksheetState::Eval);
    Settle();
    EXPECT_EQ(f.Series<QLineSeries>(QStringLiteral("Val:Est"))->points(), Points({{8, 8.25}, {9, 9.5}}));
    EXPECT_EQ(f.pane.Figures()[2].n, 2);
}

// The panel shows the figures the worksheet gives, with Theil's U green below 1 and
// red above; every value is named by its section and figure.
TEST(ChartPane, ResultsPanelShowsTheBaselineFigures)
{
    ChartFixture f;
    f.FillTrained();
    Settle();
    CResultsPanel& panel = f.pane.Results();
    const BaselineFigures& figures = f.pane.Figures();
    EXPECT_EQ(figures[0].n, 3);
    for (int s = 0; s < 3; ++s)
        for (int r = 0; r < kBaselineFigureCount; ++r) {
            QLabel* label = panel.ValueLabel(static_cast<ResultSection>(s), static_cast<BaselineFigure>(r));
            ASSERT_TRUE(label);
            EXPECT_EQ(label->text(), BaselineFigureText(figures[s], static_cast<BaselineFigure>(r)));
            EXPECT_FALSE(label->accessibleName().isEmpty());
        }
    EXPECT_EQ(panel.ValueLabel(ResultSection::Testing, BaselineFigure::Rmse)->accessibleName(),
              QStringLiteral("Testing RMSE"));
    EXPECT_EQ(panel.ValueLabel(ResultSection::Training, BaselineFigure::Mae)->text(), QStringLiteral("1.000"));
    auto colour = [&](ResultSection s) {
        return panel.ValueLabel(s, BaselineFigure::TheilU)->palette().color(QPalette::WindowText);
    };
    EXPECT_EQ(colour(ResultSection::Training), QColor(0, 130, 0));  // U = 0.138
    EXPECT_EQ(colour(ResultSection::Testing), QColor(200, 0, 0));   // U = sqrt(5)
    EXPECT_EQ(panel.ValueLabel(ResultSection::Evaluate, BaselineFigure::TheilU)->text(), QStringLiteral("-"));
}

// Pasting values whose range overflows a double into the target column while the pane
// is open, or values that differ only past a double's resolution: the pane redraws
// (within a time limit) with finite axes, the value axis says the power of ten it
// shows, and the Results panel shows no inf or nan.
TEST(ChartPane, PastedExtremeValuesKeepTheChartAndResultsFinite)
{
    ChartFixture f;
    f.FillTrained();
    Settle();
    const struct {
        const char* name;
        const char* pasted;
        QString title;
    } cases[] = {
        {"range overflows", "9e307\n-9e307\n9e307\n-8e307\n", QStringLiteral("Close (\u00d71e307)")},
        {"largest", "1.7976931348623157e308\n-1.7976931348623157e308\n", QStringLiteral("Close (\u00d71e308)")},
        {"near equal", "0.3\n0.30000000000000004\n0.3\n0.3\n0.3\n0.3\n0.3\n0.3\n0.3\n", QStringLiteral("Close")},
        // The estimates (up to 11) share the axis: no power of ten.
        {"subnormal", "1e-308\n4e-320\n-2e-310\n0\n", QStringLiteral("Close")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::Watchdog limit(c.name, std::chrono::seconds(60));
        for (int i = 0; i < 9; ++i)
            f.Data(i, kOpen, "");
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
        f.view.Grid().SetFocusCell(f.Sheet().firstDataRow, kClose);
        f.view.Grid().OnEditPaste();
        Settle();
        f.pane.View().grab(); // draws the chart as the window would
        const auto vertical = f.Chart().axes(Qt::Vertical);
        ASSERT_EQ(vertical.size(), 1);
        EXPECT_EQ(vertical[0]->titleText(), c.title);
        for (QAbstractAxis* axis : f.Chart().axes()) {
            auto* value = qobject_cast<QValueAxis*>(axis);
            ASSERT_TRUE(value);
            EXPECT_TRUE(std::isfinite(value->min()) && std::isfinite(value->max()));
            EXPECT_LT(value->min(), value->max());
        }
        for (int s = 0; s < 3; ++s)
            for (int r = 0; r < kBaselineFigureCount; ++r) {
                const QString text = f.pane.Results().ValueLabel(static_cast<ResultSection>(s), static_cast<BaselineFigure>(r))->text();
                EXPECT_FALSE(text.contains(QStringLiteral("inf")) || text.contains(QStringLiteral("nan"))) << text.toStdString();
                EXPECT_LE(text.size(), 16) << text.toStdString();
            }
    }
}

// PNG and SVG exports are complete files (the SVG well-formed XML); the picture copied
// to the clipboard is the chart's.
TEST(ChartPane, ExportsPngSvgAndClipboard)
{
    ChartFixture f;
    f.FillTrained();
    Settle();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    const QString svg = dir.filePath(QStringLiteral("chart.SVG"));
    ASSERT_TRUE(f.pane.View().SavePicture(png));
    ASSERT_TRUE(f.pane.View().SavePicture(svg));
    EXPECT_EQ(QImage(png).size(), f.pane.View().size());

    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int elements = 0;
    bool sawSvgRoot = false;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            sawSvgRoot = sawSvgRoot || (elements == 0 && xml.name() == QStringLiteral("svg"));
            ++elements;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(sawSvgRoot);
    EXPECT_GT(elements, 10);

    EXPECT_FALSE(f.pane.View().SavePicture(dir.filePath(QStringLiteral("missing/chart.png"))));

    f.pane.View().CopyPicture();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), f.pane.View().size());
}

// A saved picture has the size asked for (1200 x 700 unless the user says otherwise)
// whatever the pane's size, and no frame: its edges are the chart's white, not the
// grey line the view draws round it on the screen.
TEST(ChartPane, SavedPictureHasTheAskedSizeWithoutTheViewsFrame)
{
    ChartFixture f;
    f.FillTrained();
    Settle();
    CChartSizeDialog ask;
    EXPECT_EQ(ask.PictureSize(), QSize(1200, 700));
    EXPECT_EQ(ask.WidthField().accessibleName(), QStringLiteral("Width:"));
    ask.HeightField().setValue(480);
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("sized.png"));
    ASSERT_TRUE(f.pane.View().SavePictureAt(png, ask.PictureSize()));
    const QImage picture(png);
    ASSERT_EQ(picture.size(), QSize(1200, 480));
    const auto white = [](QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() > 240; };
    for (const QPoint p : {QPoint(0, 240), QPoint(1199, 240), QPoint(600, 0), QPoint(600, 479)})
        EXPECT_TRUE(white(picture.pixelColor(p))) << p.x() << "," << p.y() << ": "
                                                  << picture.pixelColor(p).name().toStdString();
    const QString svg = dir.filePath(QStringLiteral("sized.svg"));
    ASSERT_TRUE(f.pane.View().SavePictureAt(svg, QSize(1000, 600)));
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("viewBox=\"0 0 1000 600\""));
}

// View > Chart shows the pane under the grid of the active worksheet and checks the
// item; the second time it hides it again.
TEST(ChartPane, ViewChartCommandTogglesThePane)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    CGridView& view = shell.App().Docs().ActiveFrame()->View();
    EXPECT_FALSE(view.ChartShown());
    EXPECT_FALSE(frame.CommandStateOf(CmdViewChart).checked);
    ASSERT_TRUE(frame.RouteCommand(CmdViewChart));
    EXPECT_TRUE(view.ChartShown());
    ASSERT_TRUE(view.ChartPane());
    EXPECT_TRUE(frame.CommandStateOf(CmdViewChart).checked);
    EXPECT_TRUE(view.ChartPane()->ShowsHint());
    frame.RouteCommand(CmdViewChart);
    EXPECT_FALSE(view.ChartShown());
}

} // namespace
} // namespace orvalis::test
