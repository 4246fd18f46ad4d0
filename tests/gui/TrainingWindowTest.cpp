#include "ShellTestSupport.h"

#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/ResultsModeBar.h"
#include "shell/TrainingCommands.h"
#include "worksheet/NumberText.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/WorksheetNetwork.h"
#include "worksheet/ui/ConfidenceGroup.h"
#include "worksheet/ui/EstimateResultDialog.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/TrainingController.h"
#include "worksheet/ui/TrainingCurve.h"
#include "worksheet/ui/TrainingProgressDialog.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace orvalis::test {
namespace {

// The batch tool run on throw-away settings in dir; returns its stdout lines as
// name -> value, with "status" holding the exit status.
std::map<std::string, std::string> RunBatch(const QTemporaryDir& dir, const QStringList& args)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("batch-config")));
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(ORVALIS_BATCH_TOOL), args);
    tool.waitForFinished(600000);
    std::map<std::string, std::string> lines;
    for (const QByteArray& line : tool.readAllStandardOutput().split('\n')) {
        const int colon = line.indexOf(": ");
        if (colon > 0)
            lines[line.left(colon).toStdString()] = line.mid(colon + 2).toStdString();
    }
    lines["status"] = std::to_string(tool.exitCode());
    return lines;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The monthly airline passengers with their header, the passengers learnt from their
// own past, sections fixed: a worksheet file both routes start from.
class TrainingWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        GuiApp();
        source = tmp.filePath(QStringLiteral("air.ows"));
        const QString csv = QStringLiteral(ORVALIS_SAMPLE_DATA_DIR "/airpassengers_full.csv");
        ASSERT_EQ(RunBatch(tmp, {"import", csv, "-o", source, "--header"})["status"], "0");
        ASSERT_EQ(RunBatch(tmp, {"set", source, "-o", source, "--role", "3=Trg/In",
                                 "--auto-sizing", "off"})["status"], "0");
        shell = std::make_unique<ShellFixture>();
        shell->App().Settings().autoVectorSizing = false;
        shell->prompts.openFiles.push_back(source);
        Frame().RouteCommand(CmdFileOpen);
        ASSERT_NE(Doc(), nullptr);
        ASSERT_EQ(Doc()->PathName(), source);
    }
    void TearDown() override { shell.reset(); }

    CMainFrame& Frame() { return *shell->App().MainFrame(); }
    CGridDoc* Doc() { return shell->App().Docs().ActiveDocument(); }
    CTrainingController& Training() { return Frame().Training(); }
    CTrainingProgressDialog& Progress() { return *Training().ProgressDialog(); }
    std::string StateCell() { return Doc()->GetWorksheet().Store().CellTextRef(1, 4); }

    QTemporaryDir tmp;
    QString source;
    std::unique_ptr<ShellFixture> shell;
};

TEST_F(TrainingWindow, WindowRunsGiveTheBatchToolsFileByteForByte)
{
    const QString batchOut = tmp.filePath(QStringLiteral("batch.ows"));
    auto batch = RunBatch(tmp, {"run", source, "-o", batchOut, "train", "evaluate", "--auto-sizing", "off"});
    ASSERT_EQ(batch["status"], "0");
    auto batchTrain = RunBatch(tmp, {"train", source, "-o", tmp.filePath(QStringLiteral("t.ows")), "--auto-sizing", "off"});

    Frame().RouteCommand(CmdTrain);
    ASSERT_NE(Training().ProgressDialog(), nullptr);
    EXPECT_EQ(Progress().IterationsField().text().toStdString(),
              std::to_string(std::stoi(batchTrain["cycles"]) - 1));
    EXPECT_EQ(Progress().UpdatesField().text().toStdString(), batchTrain["updates"]);
    // The fields show a report now and then, but the curve holds every cycle.
    EXPECT_EQ(Progress().Curve().StoredCycles(), std::stoi(batchTrain["cycles"]));
    EXPECT_EQ(StateCell(), "Trained");
    EXPECT_TRUE(Doc()->IsModified());

    std::map<std::string, QString> shown;
    shell->prompts.dialogScript = [&](QDialog& dialog) {
        auto* estimate = qobject_cast<CEstimateResultDialog*>(&dialog);
        if (!estimate)
            return false;
        shown["slope"] = estimate->SlopeGroup().ConfidenceField().text();
        shown["slopeState"] = estimate->SlopeGroup().StateField().text();
        shown["value"] = estimate->ValueGroup().ConfidenceField().text();
        shown["interval"] = estimate->IntervalField().text();
        shown["actual"] = estimate->ActualField().text();
        dialog.accept();
        return true;
    };
    Frame().RouteCommand(CmdEvaluate);
    const Worksheet& ws = Doc()->GetWorksheet();
    EXPECT_EQ(StateCell(), "Eval");
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown["slope"].toStdString(), FormatNumber("%f", ws.statistics.slopeFM));
    EXPECT_EQ(FormatNumber("%.3f", shown["slope"].toDouble()), batch["slope_fm"]);
    EXPECT_EQ(FormatNumber("%.3f", shown["value"].toDouble()), batch["value_fm"]);
    EXPECT_EQ(shown["slopeState"], ws.statistics.slopeFM > 70 ? "High" : "Fair");
    EXPECT_EQ(shown["interval"], "24");  // NumEval, no extrapolation rows in Model Evaluate
    EXPECT_EQ(shown["actual"].toStdString(), FormatNumber("%f", ws.statistics.targetNetChange));

    const QString windowOut = tmp.filePath(QStringLiteral("window.ows"));
    ASSERT_TRUE(Doc()->DoSave(windowOut));
    const QByteArray expected = FileBytes(batchOut);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_TRUE(FileBytes(windowOut) == expected);
}

TEST_F(TrainingWindow, AbortDuringTheRunEndsItAfterThatCycleAndRefusesASecondRun)
{
    struct DuringRun {
        bool running = false;
        bool trainEnabled = true;
        bool importEnabled = true;
        bool forecastingEnabled = true; // the run reads its options as it goes
        bool editTaken = true;
        bool closed = false;
        bool continueEnabled = true;
        bool okEnabled = true;
        CTrainingProgressDialog* dialog = nullptr;
    } during;
    QTimer::singleShot(0, [&] {
        during.running = Training().IsRunning();
        during.trainEnabled = !RefusedDuringRun(Training(), CmdTrain, Doc());
        during.importEnabled = Frame().Action(CmdFileImport)->isEnabled();
        during.forecastingEnabled = Frame().Action(CmdForecastingOptions)->isEnabled();
        during.editTaken = Doc()->GetWorksheet().ApplyCellEdit(kNumTapsRow, kValueColumn, "3");
        during.dialog = Training().ProgressDialog();
        during.continueEnabled = Progress().ContinueButton().isEnabled();
        during.okEnabled = Progress().OkButton().isEnabled();
        Frame().RouteCommand(CmdTrain);      // refused: it would open a fresh window
        Frame().RouteCommand(CmdFileClose);  // refused: the worksheet is in use
        during.closed = Doc() == nullptr;
        QTest::mouseClick(&Progress().AbortButton(), Qt::LeftButton);
    });
    Frame().RouteCommand(CmdTrain);

    EXPECT_TRUE(during.running);
    EXPECT_FALSE(during.trainEnabled);
    EXPECT_FALSE(during.importEnabled);
    EXPECT_FALSE(during.forecastingEnabled);
    EXPECT_FALSE(during.editTaken);
    EXPECT_FALSE(during.closed);
    EXPECT_FALSE(during.continueEnabled);
    EXPECT_FALSE(during.okEnabled);
    EXPECT_EQ(during.dialog, Training().ProgressDialog());
    EXPECT_FALSE(Training().IsRunning());
    EXPECT_TRUE(Frame().Action(CmdFileImport)->isEnabled());
    // The abort came in the first cycle's dispatch: that cycle was the last.
    EXPECT_EQ(Progress().IterationsField().text(), "0");
    EXPECT_EQ(Progress().UpdatesField().text(), "1");
    EXPECT_EQ(StateCell(), "Trained");
    EXPECT_NE(Progress().SlopeGroup().StateField().text(), "Run");
    EXPECT_TRUE(Progress().OkButton().isEnabled());
    EXPECT_TRUE(Doc()->GetWorksheet().ApplyCellEdit(kNumTapsRow, kValueColumn, "14"));

    // The abort stays requested: Continue performs exactly one cycle.
    Progress().IterationsField().setText(QStringLiteral("x"));
    QTest::mouseClick(&Progress().ContinueButton(), Qt::LeftButton);
    EXPECT_EQ(Progress().IterationsField().text(), "0");
    EXPECT_EQ(Progress().UpdatesField().text(), "1");

    QTest::mouseClick(&Progress().OkButton(), Qt::LeftButton);
    ShellFixture::Settle();
    EXPECT_EQ(Training().ProgressDialog(), nullptr);
}

// While the run goes, exactly these commands are refused: those that could start a
// second run, replace the worksheet or change its sections always, and those that would
// close, save or rewrite the trained worksheet only while it is the active one.
TEST_F(TrainingWindow, DuringARunTheRefusedCommandsAreExactlyTheseOnes)
{
    const std::set<int> always = {CmdTrain, CmdToolbarTrain, CmdEvaluate, CmdToolbarEvaluate,
                                  CmdClearTraining, CmdAutoConfigVectors, CmdNetworkParameters,
                                  CmdTrainingParameters, CmdResultParameters, CmdForecastingOptions,
                                  CmdFileImport,
                                  CmdFileOpen, CmdFileMru1, CmdFileMru2, CmdFileMru3, CmdFileMru4};
    const std::set<int> onTheTrainedWorksheet = {CmdFileClose, CmdFileSave, CmdFileSaveAs,
                                                 CmdWindowNew, CmdEditCut, CmdEditPaste};
    std::set<int> refusedActive, refusedNoWorksheet, refusedIdle;
    bool running = false;
    QTimer::singleShot(0, [&] {
        running = Training().IsRunning();
        for (const CommandInfo& info : CommandTable()) {
            if (RefusedDuringRun(Training(), info.id, Doc()))
                refusedActive.insert(info.id);
            if (RefusedDuringRun(Training(), info.id, nullptr))
                refusedNoWorksheet.insert(info.id);
        }
        QTest::mouseClick(&Progress().AbortButton(), Qt::LeftButton);
    });
    Frame().RouteCommand(CmdTrain);
    ASSERT_TRUE(running);
    for (const CommandInfo& info : CommandTable())
        if (RefusedDuringRun(Training(), info.id, Doc()))
            refusedIdle.insert(info.id);

    std::set<int> both = always;
    both.insert(onTheTrainedWorksheet.begin(), onTheTrainedWorksheet.end());
    EXPECT_EQ(refusedActive, both);
    EXPECT_EQ(refusedNoWorksheet, always);
    EXPECT_TRUE(refusedIdle.empty()) << "nothing is refused once the run is over";
}

TEST_F(TrainingWindow, ContinueTrainsTheWorksheetThatWasTrainedNotTheActiveOne)
{
    QTimer::singleShot(0, [&] { Training().Abort(); });
    Frame().RouteCommand(CmdTrain);
    CGridDoc* trained = Doc();
    Frame().RouteCommand(CmdFileNew);
    ASSERT_NE(Doc(), trained);
    const std::string before = Doc()->GetWorksheet().Store().CellTextRef(1, 4);

    trained->GetWorksheet().Store().SetCellText(2, 4, "");  // the slope figure
    QTest::mouseClick(&Progress().ContinueButton(), Qt::LeftButton);
    EXPECT_NE(trained->GetWorksheet().Store().CellTextRef(2, 4), "");
    EXPECT_EQ(Doc()->GetWorksheet().Store().CellTextRef(1, 4), before);
    EXPECT_EQ(Doc()->GetWorksheet().state, WorksheetState::Init);
}

TEST_F(TrainingWindow, QuestionsAnsweredNoChangeNothingAndEvaluateNeedsATrainedNetwork)
{
    Frame().RouteCommand(CmdEvaluate);
    ASSERT_FALSE(shell->prompts.log.empty());
    EXPECT_EQ(shell->prompts.log.back().text, "Error: Orvalis not Trained");
    EXPECT_EQ(StateCell(), "Init");

    QTimer::singleShot(0, [&] { Training().Abort(); });
    Frame().RouteCommand(CmdTrain);
    Doc()->SetModifiedFlag(false);
    const std::string testing = Doc()->GetWorksheet().Store().CellTextRef(kNumTestingRow, kValueColumn);
    Doc()->GetWorksheet().ApplyCellEdit(kNumTestingRow, kValueColumn, "20");
    Doc()->GetWorksheet().SetStateAndText(WorksheetState::Trained);  // as if trained so
    Doc()->SetModifiedFlag(false);

    shell->prompts.askAnswers = {false, false};
    Frame().RouteCommand(CmdClearTraining);
    Frame().RouteCommand(CmdAutoConfigVectors);
    EXPECT_EQ(shell->prompts.log.back().text, "Proceed With Automatic Configuration of Vector Sets?");
    EXPECT_EQ(StateCell(), "Trained");
    EXPECT_EQ(Doc()->GetWorksheet().Store().CellTextRef(kNumTestingRow, kValueColumn), "20");
    EXPECT_FALSE(Doc()->IsModified());

    shell->prompts.askAnswers = {true, true};
    Frame().RouteCommand(CmdClearTraining);
    EXPECT_EQ(StateCell(), "Init");
    EXPECT_TRUE(Doc()->IsModified());
    Frame().RouteCommand(CmdAutoConfigVectors);
    EXPECT_EQ(Doc()->GetWorksheet().Store().CellTextRef(kNumTestingRow, kValueColumn), testing);
}

TEST_F(TrainingWindow, ClosingTheProgramDuringARunAbortsItThenAsksToSave)
{
    bool askedDuringRun = true;
    bool visibleDuringRun = false;
    QTimer::singleShot(0, [&] {
        Frame().close();
        askedDuringRun = !shell->prompts.log.empty();
        visibleDuringRun = Frame().isVisible();
    });
    shell->prompts.saveAnswers.push_back(UiPrompts::SaveAnswer::No);
    Frame().RouteCommand(CmdTrain);
    EXPECT_FALSE(askedDuringRun);
    EXPECT_TRUE(visibleDuringRun);
    EXPECT_EQ(StateCell(), "Trained");
    EXPECT_EQ(Progress().IterationsField().text(), "0");  // aborted in its first cycle

    ShellFixture::Settle();
    ASSERT_FALSE(shell->prompts.log.empty());
    EXPECT_EQ(shell->prompts.log.back().kind, "SaveChanges");
    EXPECT_FALSE(Frame().isVisible());
}

// Several starts: the window names the start that runs, and the worksheet it trains is
// the batch tool's with the same option, byte for byte. A single training shows no start.
TEST_F(TrainingWindow, SeveralStartsSayWhichStartRuns)
{
    QTimer::singleShot(0, [&] { Training().Abort(); });
    Frame().RouteCommand(CmdTrain);
    EXPECT_FALSE(Progress().StartField().isVisible());
    QTest::mouseClick(&Progress().OkButton(), Qt::LeftButton);
    shell->prompts.askAnswers = {true};
    Frame().RouteCommand(CmdClearTraining);
    ASSERT_EQ(StateCell(), "Init");

    const QString batchOut = tmp.filePath(QStringLiteral("starts.ows"));
    auto batch = RunBatch(tmp, {"train", source, "-o", batchOut, "--auto-sizing", "off", "--starts", "3"});
    ASSERT_EQ(batch["status"], "0");
    ASSERT_EQ(batch.count("start"), 1u);
    ASSERT_EQ(batch["start"], "2") << "the kept start is not the last one, whose figures differ";

    shell->App().Settings().forecast.starts = 3;
    QString firstStart;
    QTimer::singleShot(0, [&] { firstStart = Progress().StartField().text(); });
    Frame().RouteCommand(CmdTrain);
    EXPECT_EQ(firstStart, "1 of 3");
    EXPECT_EQ(Progress().StartField().text().toStdString(), batch["start"] + " of 3 (kept)");
    // The figures are the kept start's last cycle, as the batch tool reports them.
    ASSERT_EQ(batch.count("cycles"), 1u);
    EXPECT_EQ(Progress().IterationsField().text().toStdString(), std::to_string(std::stoi(batch["cycles"]) - 1));
    EXPECT_EQ(Progress().UpdatesField().text().toStdString(), batch["updates"]);
    EXPECT_TRUE(Progress().StartField().isVisible());
    EXPECT_EQ(Progress().StartField().accessibleName(), "Start:");

    const QString windowOut = tmp.filePath(QStringLiteral("window.ows"));
    ASSERT_TRUE(Doc()->DoSave(windowOut));
    const QByteArray expected = FileBytes(batchOut);
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_TRUE(FileBytes(windowOut) == expected);
}

// A forecast shows itself: Evaluate in Data Extrapolate says in the status bar how many
// rows it added after which row, and opens the worksheet's chart.
TEST_F(TrainingWindow, ForecastTellsTheStatusBarAndOpensTheChart)
{
    QComboBox& mode = Frame().ModeBar().Combo();
    mode.setCurrentIndex(1);
    emit mode.activated(1);
    ASSERT_EQ(shell->App().Settings().resultsMode, ResultsModeExtrapolate);
    Frame().RouteCommand(CmdTrain);
    ASSERT_EQ(StateCell(), "Trained");
    CGridView& view = shell->App().Docs().ActiveFrame()->View();
    view.ShowChart(false);
    Frame().RouteCommand(CmdEvaluate);
    ASSERT_EQ(StateCell(), "Eval");
    const Worksheet& ws = Doc()->GetWorksheet();
    EXPECT_EQ(Frame().statusBar()->currentMessage(),
              QStringLiteral("Extrapolated %1 rows after row %2")
                  .arg(shell->App().Settings().extrapolationRows)
                  .arg(ws.counts.totalRows));
    EXPECT_TRUE(view.ChartShown());
}

// A worksheet filled to its last rows has no room for the rows Data Extrapolate adds:
// Train refuses at once, saying how to make room, instead of Evaluate refusing after a
// whole run.
TEST(TrainingRefusal, FullWorksheetInDataExtrapolateIsRefusedBeforeTraining)
{
    GuiApp();
    QTemporaryDir tmp;
    const QString source = tmp.filePath(QStringLiteral("full.ows"));
    const QString csv = QStringLiteral(ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_990.csv");
    ASSERT_EQ(RunBatch(tmp, {"import", csv, "-o", source, "--header"})["status"], "0");
    ASSERT_EQ(RunBatch(tmp, {"set", source, "-o", source, "--role", "2=Trg/In"})["status"], "0");
    MemorySettingsStore stored;
    stored.strings["Strings/ResultsMode"] = "Extrapolate";
    ShellFixture shell(stored);
    shell.prompts.openFiles.push_back(source);
    CMainFrame& frame = *shell.App().MainFrame();
    frame.RouteCommand(CmdFileOpen);
    CGridDoc* doc = shell.App().Docs().ActiveDocument();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->PathName(), source);
    shell.prompts.log.clear();
    // A worksheet that may not grow: one that can makes room instead.
    doc->GetWorksheet().maxRows = 1001;

    frame.RouteCommand(CmdTrain);
    EXPECT_EQ(frame.Training().ProgressDialog(), nullptr) << "no run started";
    EXPECT_EQ(doc->GetWorksheet().Store().CellTextRef(1, 4), "Init");
    ASSERT_EQ(shell.prompts.log.size(), 1u);
    const std::string& text = shell.prompts.log[0].text;
    EXPECT_EQ(shell.prompts.log[0].kind, "Error");
    EXPECT_EQ(text.rfind("Error: Extrapolation Runs Past the Last Worksheet Row", 0), 0u) << text;
    for (const char* way : {"fewer rows", "Keep the last rows", "shorter Interval Length"})
        EXPECT_NE(text.find(way), std::string::npos) << way << " in " << text;
}

} // namespace
} // namespace orvalis::test
