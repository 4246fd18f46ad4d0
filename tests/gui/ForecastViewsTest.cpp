#include "ShellTestSupport.h"

#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/LastRunCheck.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/WorksheetNetwork.h"
#include "worksheet/ui/ChartPane.h"
#include "worksheet/ui/ChartView.h"
#include "worksheet/ui/ConfigureResultsDialog.h"
#include "worksheet/ui/EstimateResultDialog.h"
#include "worksheet/ui/ForecastVerdictLabel.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/ResultsPanel.h"
#include "worksheet/ui/WorksheetChart.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QAreaSeries>
#include <QChart>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace orvalis::test {
namespace {

QColor TextColour(const QLabel& label)
{
    return label.palette().color(QPalette::WindowText);
}

int RunBatch(const QTemporaryDir& dir, const QStringList& args)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("batch-config")));
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(ORVALIS_BATCH_TOOL), args);
    tool.waitForFinished(600000);
    return tool.exitCode();
}

// The check of the worksheet file at path as a fresh load computes it: what every view
// of that worksheet must show.
ForecastCheck CheckOfFile(const QString& path)
{
    AppSettings settings;
    settings.autoVectorSizing = false;
    settings.UpdateExtrapolationRows();
    SilentMessages messages;
    Worksheet ws(settings, messages);
    EXPECT_TRUE(LoadWorksheetFile(ws, path.toStdString()));
    return CheckLastEvaluation(ws);
}

} // namespace

// The Results panel's part for the check: the verdict green when the network beat
// repeating the last value, red when not, plain when no check could be made, hidden
// when there is none; the MASE figures with three decimals, "-" without a value.
TEST(ForecastViews, ResultsPanelVerdictColours)
{
    GuiApp();
    ForecastCheck better;
    better.available = true;
    better.n = 24;
    better.season = 12;
    better.network.mase = 0.82;
    better.network.mae = 8.2;
    better.naive.mae = 10.0;
    better.naive.mase = 1.0;
    better.vsNaive = 0.18;
    ForecastCheck worse = better;
    worse.vsNaive = -0.35;
    worse.network.mae = 13.5;
    ForecastCheck refused;
    refused.reason = "the worksheet has no Evaluate rows";

    struct Case {
        const char* name;
        const ForecastCheck* check;
        bool shown;
        std::optional<QColor> colour; // empty: the panel's own text colour
    };
    const Case cases[] = {
        {"better than naive", &better, true, VerdictColour(true)},
        {"worse than naive", &worse, true, VerdictColour(false)},
        {"no check possible", &refused, true, std::nullopt},
        {"not evaluated", nullptr, false, std::nullopt},
    };
    CResultsPanel panel;
    panel.resize(400, 600);
    panel.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        panel.ShowForecastCheck(c.check);
        EXPECT_EQ(panel.CheckPart()->isVisible(), c.shown);
        if (!c.shown)
            continue;
        QLabel& verdict = *panel.VerdictLabel();
        EXPECT_EQ(verdict.text().toStdString(), MakeForecastVerdict(*c.check).text);
        EXPECT_EQ(verdict.accessibleName(), QStringLiteral("Forecast check"));
        EXPECT_EQ(TextColour(verdict), c.colour.value_or(panel.palette().color(QPalette::WindowText)));
    }
    panel.ShowForecastCheck(&better);
    EXPECT_EQ(panel.CheckLabel(CheckFigure::MaseNetwork)->text(), QStringLiteral("0.820"));
    EXPECT_EQ(panel.CheckLabel(CheckFigure::MaseNaive)->text(), QStringLiteral("1.000"));
    EXPECT_EQ(panel.CheckLabel(CheckFigure::MaseLinear)->text(), QStringLiteral("-"));
    EXPECT_EQ(panel.CheckLabel(CheckFigure::Season)->text(), QStringLiteral("12 (found)"));
    EXPECT_EQ(panel.CheckLabel(CheckFigure::MaseSeasonalNaive)->accessibleName(),
              QStringLiteral("Forecast check MASE seasonal naive"));
}

// The airline walk-through in the window: after Evaluate the Estimate Operation window
// carries the verdict under its fields and the Results panel the same verdict and
// figures, those of the saved file's check; the file opened again shows them again.
TEST(ForecastViews, VerdictAfterEvaluateAndAfterReopening)
{
    GuiApp();
    QTemporaryDir tmp;
    const QString source = tmp.filePath(QStringLiteral("air.ows"));
    const QString csv = QStringLiteral(ORVALIS_SAMPLE_DATA_DIR "/airpassengers_full.csv");
    ASSERT_EQ(RunBatch(tmp, {"import", csv, "-o", source, "--header"}), 0);
    ASSERT_EQ(RunBatch(tmp, {"set", source, "-o", source, "--role", "3=Trg/In", "--auto-sizing", "off"}), 0);
    ASSERT_EQ(RunBatch(tmp, {"train", source, "-o", source, "--auto-sizing", "off"}), 0);

    ShellFixture shell;
    shell.App().Settings().autoVectorSizing = false;
    CMainFrame& frame = *shell.App().MainFrame();
    shell.prompts.openFiles.push_back(source);
    frame.RouteCommand(CmdFileOpen);
    CGridDoc* doc = shell.App().Docs().ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->LastForecastCheck(), nullptr); // trained, not evaluated
    ASSERT_TRUE(frame.RouteCommand(CmdViewChart));
    CChartPane* pane = shell.App().Docs().ActiveFrame()->View().ChartPane();
    ASSERT_NE(pane, nullptr);
    pane->Refresh();
    EXPECT_FALSE(pane->Results().CheckPart()->isVisible());

    QString dialogLine;
    QColor dialogColour;
    shell.prompts.dialogScript = [&](QDialog& dialog) {
        auto* estimate = qobject_cast<CEstimateResultDialog*>(&dialog);
        if (!estimate)
            return false;
        dialogLine = estimate->VerdictLine().text();
        dialogColour = TextColour(estimate->VerdictLine());
        EXPECT_EQ(estimate->IntervalField().text(), QStringLiteral("24"));
        dialog.accept();
        return true;
    };
    frame.RouteCommand(CmdEvaluate);
    const QString saved = tmp.filePath(QStringLiteral("evaluated.ows"));
    ASSERT_TRUE(doc->DoSave(saved));
    const ForecastCheck expected = CheckOfFile(saved);
    ASSERT_TRUE(expected.available) << expected.reason;
    const ForecastVerdict verdict = MakeForecastVerdict(expected);
    EXPECT_TRUE(verdict.good) << verdict.text;
    EXPECT_EQ(dialogLine.toStdString(), verdict.text);
    EXPECT_EQ(dialogColour, VerdictColour(verdict.good));

    const auto expectPanel = [&](CChartPane& shown) {
        shown.Refresh();
        CResultsPanel& panel = shown.Results();
        EXPECT_TRUE(panel.CheckPart()->isVisible());
        EXPECT_EQ(panel.VerdictLabel()->text().toStdString(), verdict.text);
        EXPECT_EQ(TextColour(*panel.VerdictLabel()), VerdictColour(verdict.good));
        EXPECT_EQ(panel.CheckLabel(CheckFigure::MaseNetwork)->text(),
                  QString::number(*expected.network.mase, 'f', 3));
        EXPECT_EQ(panel.CheckLabel(CheckFigure::MaseNaive)->text(),
                  QString::number(*expected.naive.mase, 'f', 3));
    };
    expectPanel(*pane);

    frame.RouteCommand(CmdFileClose);
    ShellFixture::Settle();
    shell.prompts.openFiles.push_back(saved);
    frame.RouteCommand(CmdFileOpen);
    doc = shell.App().Docs().ActiveDocument();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->GetWorksheet().state, WorksheetState::Eval);
    ASSERT_TRUE(frame.RouteCommand(CmdViewChart));
    pane = shell.App().Docs().ActiveFrame()->View().ChartPane();
    ASSERT_NE(pane, nullptr);
    expectPanel(*pane);
}

// In Data Extrapolate the window's chart draws the two interval bands through the
// extrapolated rows at the values of the chart data, named in the legend; a zoom does
// not stretch them over the plot as it does the section bands.
TEST(ForecastViews, WindowChartDrawsTheIntervalBands)
{
    GuiApp();
    AppSettings settings;
    settings.resultsMode = ResultsModeExtrapolate;
    settings.autoVectorSizing = false;
    settings.UpdateExtrapolationRows();
    ScriptedPrompts prompts;
    CGridDoc doc(settings, prompts);
    CGridView view(doc);
    CChartPane pane(doc, view.Grid());
    pane.resize(900, 500);
    pane.show();

    Worksheet& ws = doc.GetWorksheet();
    ws.Store().SetCellText(kRoleRow, 1, "Trg/In");
    for (int i = 0; i < 80; ++i)
        ws.Store().SetCellText(ws.firstDataRow + i, 1,
                               std::to_string(100.0 + 12.0 * std::sin(0.37 * i) + 0.4 * i));
    ws.ApplyCellEdit(kNumTrainingRow, kValueColumn, "40");
    ws.ApplyCellEdit(kNumTestingRow, kValueColumn, "40");
    ws.ApplyCellEdit(kNumTapsRow, kValueColumn, "4");
    ws.network.autoTrainingConfigure = 0;
    ws.network.maxCycles = 4;
    ws.network.iterationsPerCycle = 2;
    ASSERT_TRUE(TrainWorksheet(ws, nullptr));
    ASSERT_TRUE(EvaluateWorksheet(ws));
    const ForecastCheck expected = CheckLastEvaluation(ws);
    doc.UpdateForecastCheck();
    // The bands' forecasts run away from the window: none are drawn until they are in,
    // and they arrive by themselves, computed from the values the evaluation left (an
    // edit made meanwhile does not reach them).
    EXPECT_EQ(doc.LastForecastCheck(), nullptr);
    ws.Store().SetCellText(ws.firstDataRow + 70, 1, "5000");
    for (int i = 0; i < 1000 && !doc.LastForecastCheck(); ++i)
        QTest::qWait(5);
    ASSERT_NE(doc.LastForecastCheck(), nullptr);
    ASSERT_EQ(doc.LastForecastCheck()->intervals.size(), expected.intervals.size());
    for (std::size_t h = 0; h < expected.intervals.size(); ++h)
        EXPECT_EQ(doc.LastForecastCheck()->intervals[h].hi95, expected.intervals[h].hi95) << h;
    pane.Refresh();

    const std::vector<ChartIntervalPoint>& points = pane.Data().intervals;
    ASSERT_EQ(points.size(), std::size_t(settings.extrapolationLen));
    QChart& chart = *pane.View().chart();
    chart.zoom(2.0);
    for (const auto& [percent, wide] : {std::pair{80, false}, std::pair{95, true}}) {
        SCOPED_TRACE(percent);
        QAreaSeries* band = nullptr;
        for (QAbstractSeries* series : chart.series())
            if (series->name() == IntervalBandName(percent))
                band = qobject_cast<QAreaSeries*>(series);
        ASSERT_NE(band, nullptr);
        const QList<QPointF> upper = band->upperSeries()->points();
        const QList<QPointF> lower = band->lowerSeries()->points();
        ASSERT_EQ(upper.size(), qsizetype(points.size()));
        ASSERT_EQ(lower.size(), qsizetype(points.size()));
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_DOUBLE_EQ(upper[qsizetype(i)].x(), points[i].x);
            EXPECT_DOUBLE_EQ(upper[qsizetype(i)].y(), wide ? points[i].hi95 : points[i].hi80);
            EXPECT_DOUBLE_EQ(lower[qsizetype(i)].y(), wide ? points[i].lo95 : points[i].lo80);
        }
    }
}

} // namespace orvalis::test

namespace orvalis::test {

// Configure > Result Parameters: the season field is named for screen readers, OK
// stores what it reads as and the dialog opened again shows it; a refused text keeps the
// dialog open and the setting.
TEST(ForecastViews, SeasonFieldOfTheResultsDialog)
{
    GuiApp();
    AppSettings settings;
    ScriptedPrompts prompts;
    Worksheet ws(settings, prompts);
    FigureOfMeritWeights weights;
    {
        CConfigureResultsDialog dialog(ws, weights);
        EXPECT_EQ(dialog.SeasonEdit().accessibleName(), QStringLiteral("Season Length:"));
        EXPECT_EQ(dialog.SeasonEdit().text(), QStringLiteral("Auto"));
        dialog.SeasonEdit().setText(QStringLiteral("12"));
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(settings.seasonLength, 12);
    CConfigureResultsDialog again(ws, weights);
    EXPECT_EQ(again.SeasonEdit().text(), QStringLiteral("12"));
    again.SeasonEdit().setText(QStringLiteral("1"));
    again.accept();
    EXPECT_NE(again.result(), QDialog::Accepted);
    EXPECT_EQ(settings.seasonLength, 12);
    ASSERT_EQ(prompts.log.size(), 1u);
    EXPECT_EQ(prompts.log[0].text, "Error: Season Length Must Be Auto, None or 2 to 1000");
}

} // namespace orvalis::test
