#include "ShellTestSupport.h"

#include "shell/AboutBox.h"
#include "shell/ChildFrame.h"
#include "shell/ColorConfigDialog.h"
#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/HelpPages.h"
#include "shell/MainFrame.h"
#include "shell/ResultsModeBar.h"
#include "shell/StatusIndicators.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

// Picks item index of the results-mode combo as a user confirms a choice.
void ChooseMode(CMainFrame& frame, int index)
{
    QComboBox& combo = frame.ModeBar().Combo();
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

TEST(ResultsModeBar, ShowsTheStoredModeAtStart)
{
    MemorySettingsStore stored;
    stored.strings["Strings/ResultsMode"] = "Extrapolate";
    ShellFixture shell(stored);
    EXPECT_EQ(shell.App().MainFrame()->ModeBar().Combo().currentText(),
              QStringLiteral("Data Extrapolate"));
}

TEST(ResultsModeBar, SwitchingWithoutAutomaticSizingMovesRowsBetweenSections)
{
    MemorySettingsStore stored;
    stored.strings["Strings/AutoVectorSizing"] = "FALSE";
    stored.integers["Constants/ExtrapolationLen"] = 7;
    ShellFixture shell(stored);
    CMainFrame& frame = *shell.App().MainFrame();
    Worksheet& sheet = shell.App().Docs().ActiveDocument()->GetWorksheet();
    sheet.counts.numTraining = 100;
    sheet.counts.numTesting = 60;
    sheet.counts.numEval = 20;
    sheet.state = WorksheetState::Trained;

    shell.prompts.askAnswers = {true, true};
    ChooseMode(frame, 1);
    EXPECT_EQ(sheet.counts.numTesting, 80);
    EXPECT_EQ(sheet.counts.numEval, 0);
    EXPECT_EQ(sheet.counts.savedNumEval, 20);
    EXPECT_EQ(sheet.counts.totalRows, 180);
    EXPECT_EQ(sheet.Store().GetCellText(4, 2), "---");
    EXPECT_EQ(shell.App().Settings().extrapolationRows, 7);
    EXPECT_EQ(sheet.state, WorksheetState::Init);

    // The mode already in force, chosen again: the evaluation rows saved are none now,
    // and the training state is reset all the same.
    sheet.state = WorksheetState::Trained;
    ChooseMode(frame, 1);
    EXPECT_EQ(sheet.counts.savedNumEval, 0);
    EXPECT_EQ(sheet.state, WorksheetState::Init);

    // Back to Model Evaluate: five evaluation rows, taken from the testing rows.
    ChooseMode(frame, 0);
    EXPECT_EQ(sheet.counts.numEval, 5);
    EXPECT_EQ(sheet.counts.numTesting, 75);
    EXPECT_EQ(sheet.Store().GetCellText(4, 2), "5");
    EXPECT_EQ(shell.App().Settings().extrapolationRows, 0);
    EXPECT_EQ(shell.App().Settings().resultsMode, ResultsModeEvaluate);

    // Few testing rows left: the switch back never makes a count negative.
    ChooseMode(frame, 1);
    sheet.counts.numTesting = 2;
    sheet.counts.savedNumEval = 5;
    ChooseMode(frame, 0);
    EXPECT_GE(sheet.counts.numTesting, 0);
    EXPECT_EQ(sheet.counts.numEval, 5);
}

// The box chooses only what the user confirms in its list; the keyboard then goes back
// to the worksheet, and a trained network is reset only after a Yes.
TEST(ResultsModeBar, KeysMeantForTheWorksheetNeverSwitchTheMode)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    Worksheet& sheet = shell.App().Docs().ActiveDocument()->GetWorksheet();
    QWidget& grid = shell.App().Docs().ActiveFrame()->View().Grid();
    QComboBox& combo = frame.ModeBar().Combo();
    sheet.state = WorksheetState::Trained;

    // With the list closed, nothing but opening it changes the choice.
    combo.setFocus();
    struct Key {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
    } keys[] = {
        {"Down", Qt::Key_Down, Qt::NoModifier},
        {"Up", Qt::Key_Up, Qt::NoModifier},
        {"End", Qt::Key_End, Qt::NoModifier},
        {"Home", Qt::Key_Home, Qt::NoModifier},
        {"Ctrl+End", Qt::Key_End, Qt::ControlModifier},
        {"Page Down", Qt::Key_PageDown, Qt::NoModifier},
        {"letter D", Qt::Key_D, Qt::NoModifier},
    };
    for (const Key& k : keys) {
        QTest::keyClick(&combo, k.key, k.mods);
        EXPECT_EQ(combo.currentIndex(), 0) << k.name;
    }
    QWheelEvent wheel(QPointF(5, 5), combo.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&combo, &wheel);
    EXPECT_EQ(combo.currentIndex(), 0) << "the wheel";
    EXPECT_EQ(sheet.state, WorksheetState::Trained);
    EXPECT_TRUE(shell.prompts.log.empty());

    // A choice on a trained worksheet asks; No keeps the network and the mode shown.
    ChooseMode(frame, 1);
    ASSERT_EQ(shell.prompts.log.size(), 1u);
    EXPECT_EQ(shell.prompts.log[0].kind, "Ask");
    EXPECT_EQ(sheet.state, WorksheetState::Trained);
    EXPECT_EQ(shell.App().Settings().resultsMode, ResultsModeEvaluate);
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_TRUE(grid.hasFocus()) << "the keyboard is back on the worksheet";

    // Yes switches; a worksheet in Init is switched without a question.
    shell.prompts.askAnswers = {true};
    combo.setFocus();
    ChooseMode(frame, 1);
    EXPECT_EQ(shell.App().Settings().resultsMode, ResultsModeExtrapolate);
    EXPECT_EQ(sheet.state, WorksheetState::Init);
    EXPECT_TRUE(grid.hasFocus());
    ChooseMode(frame, 0);
    EXPECT_EQ(shell.App().Settings().resultsMode, ResultsModeEvaluate);
    const auto questions = std::count_if(shell.prompts.log.begin(), shell.prompts.log.end(),
                                         [](const auto& entry) { return entry.kind == "Ask"; });
    EXPECT_EQ(questions, 2) << "asked for the trained worksheet only";
}

TEST(ResultsModeBar, WithoutAWorksheetOnlyTheStoredModeChanges)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    frame.RouteCommand(CmdFileClose);
    ShellFixture::Settle();
    ChooseMode(frame, 1);
    EXPECT_EQ(shell.App().Settings().resultsMode, ResultsModeExtrapolate);
    EXPECT_EQ(shell.App().Settings().extrapolationRows, shell.App().Settings().extrapolationLen);
    shell.App().ShutDown();
    EXPECT_EQ(shell.store.strings["Strings/ResultsMode"], "Extrapolate");
}

TEST(HelpPages, MissingPagesAreReportedAndFoundPagesOpenedInTheWorkingFolderFirst)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    std::vector<QUrl> opened;
    SetHelpOpener([&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    const QString before = QDir::currentPath();
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());

    EXPECT_TRUE(frame.RouteCommand(CmdChildHelpTopics));
    EXPECT_TRUE(frame.RouteCommand(CmdChildFaq));
    ASSERT_EQ(shell.prompts.log.size(), 2u);
    EXPECT_EQ(shell.prompts.log[0].kind, "Error");
    EXPECT_EQ(shell.prompts.log[0].text, "Error: Cannot find Help file");
    EXPECT_EQ(shell.prompts.log[1].text, "Error: Cannot find FAQ file");
    EXPECT_TRUE(opened.empty());

    for (const char* name : {kHelpPage, kFaqPage}) {
        QFile page(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("<html></html>");
    }
    shell.prompts.log.clear();
    // Also without a worksheet, through the main frame's own commands.
    frame.RouteCommand(CmdFileClose);
    ShellFixture::Settle();
    EXPECT_TRUE(frame.RouteCommand(CmdFrameHelpTopics));
    EXPECT_TRUE(frame.RouteCommand(CmdFrameFaq));
    EXPECT_TRUE(shell.prompts.log.empty());
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(folder.filePath(QString::fromLatin1(kHelpPage))));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(folder.filePath(QString::fromLatin1(kFaqPage))));

    // A desktop with no browser to start: the user learns where the page is.
    SetHelpOpener([](const QUrl&) { return false; });
    frame.RouteCommand(CmdFrameHelpTopics);
    frame.RouteCommand(CmdFrameFaq);
    ASSERT_EQ(shell.prompts.log.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const char* page = i == 0 ? kHelpPage : kFaqPage;
        const QString path = QDir::toNativeSeparators(folder.filePath(QString::fromLatin1(page)));
        const QString text = QString::fromStdString(shell.prompts.log[i].text);
        EXPECT_EQ(shell.prompts.log[i].kind, "Error");
        EXPECT_TRUE(text.startsWith(i == 0 ? "Error: Cannot open Help file\n"
                                           : "Error: Cannot open FAQ file\n"))
            << text.toStdString();
        EXPECT_TRUE(text.endsWith(path)) << text.toStdString();
    }

    QDir::setCurrent(before);
    SetHelpOpener({});
}

TEST(ColorConfiguration, SelectDefaultAndACancelledChooser)
{
    ShellFixture shell;
    AppSettings& settings = shell.App().Settings();
    QColor offered = QColor(255, 0, 0);
    bool cancel = false;
    shell.prompts.dialogScript = [&](QDialog& dialog) {
        auto& colours = dynamic_cast<ColorConfigDialog&>(dialog);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Color Configuration"));
        colours.SetChooser([&](QWidget*) -> std::optional<QColor> {
            if (cancel)
                return std::nullopt;
            return offered;
        });
        dialog.findChild<QPushButton*>(QStringLiteral("select0"))->click();
        offered = QColor(0, 0, 255);
        dialog.findChild<QPushButton*>(QStringLiteral("select3"))->click();
        cancel = true;
        dialog.findChild<QPushButton*>(QStringLiteral("select2"))->click();
        dialog.findChild<QPushButton*>(QStringLiteral("default1"))->click();
        return false;  // Cancel keeps what the buttons did
    };
    settings.testColor = 0x123456;
    settings.evalColor = 0x654321;
    EXPECT_TRUE(shell.App().MainFrame()->RouteCommand(CmdDisplayColors));
    EXPECT_EQ(settings.trainColor, 0x0000FFu);
    EXPECT_EQ(settings.extrpColor, 0xFF0000u);
    EXPECT_EQ(settings.evalColor, 0x654321u);
    EXPECT_EQ(settings.testColor, 0x008080u);
}

// The legend cells explain the row colours: after Display Colors both show the new
// colours, in every open worksheet.
TEST(ColorConfiguration, LegendAndRowLabelsOfEveryWorksheetTakeTheNewColours)
{
    ShellFixture shell;
    shell.App().Docs().NewDocument();
    std::vector<Worksheet*> sheets;
    for (CGridDoc* doc : shell.App().Docs().Documents()) {
        Worksheet& ws = doc->GetWorksheet();
        ws.counts.numTraining = 10;
        ws.counts.numTesting = 5;
        ws.UpdateRowLabels();
        sheets.push_back(&ws);
    }
    ASSERT_EQ(sheets.size(), 2u);
    shell.prompts.dialogScript = [&](QDialog& dialog) {
        auto& colours = dynamic_cast<ColorConfigDialog&>(dialog);
        colours.SetChooser([](QWidget*) -> std::optional<QColor> { return QColor(255, 0, 0); });
        dialog.findChild<QPushButton*>(QStringLiteral("select0"))->click();
        colours.SetChooser([](QWidget*) -> std::optional<QColor> { return QColor(0, 0, 255); });
        dialog.findChild<QPushButton*>(QStringLiteral("select3"))->click();
        return true;
    };
    EXPECT_TRUE(shell.App().MainFrame()->RouteCommand(CmdDisplayColors));
    for (Worksheet* ws : sheets) {
        const CellStore& store = ws->Store();
        EXPECT_EQ(store.GetCellBackColor(2, 0), 0x0000FFu) << "Training legend";
        EXPECT_EQ(store.GetCellBackColor(5, 0), 0xFF0000u) << "Extrapolation legend";
        EXPECT_EQ(store.GetCellBackColor(ws->firstDataRow, 0), 0x0000FFu) << "first training row";
    }
}

TEST(AboutBox, NamesTheVersionAndShowsTheIconAtTwiceItsSize)
{
    ShellFixture shell;
    bool shown = false;
    shell.prompts.dialogScript = [&](QDialog& dialog) {
        shown = true;
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Tavelle Orvalis"));
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts.append(label->text());
        EXPECT_TRUE(texts.contains(QStringLiteral("Tavelle Orvalis Analysis Tool Version 1.1")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Acknowledgements:")));
        EXPECT_TRUE(texts.contains(
            QStringLiteral("Licensed under the GNU General Public License, version 3 or later.")));
        const auto* icon = dialog.findChild<IconButton*>();
        EXPECT_NE(icon, nullptr);
        if (icon) {
            const int extent = dialog.style()->pixelMetric(QStyle::PM_LargeIconSize);
            EXPECT_EQ(icon->size(), QSize(2 * extent + 8, 2 * extent + 8));
        }
        return true;
    };
    EXPECT_TRUE(shell.App().MainFrame()->RouteCommand(CmdAppAbout));
    EXPECT_TRUE(shown);
}

TEST(StatusBar, ReadyAndTheLockIndicatorsFollowTheLockKeys)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    QStringList texts;
    for (const QLabel* label : frame.statusBar()->findChildren<QLabel*>())
        texts.append(label->text());
    EXPECT_TRUE(texts.contains(QStringLiteral("Ready")));

    // The pane named "Message" carries what is shown, to the eye and to a screen reader.
    QLabel* message = nullptr;
    for (QLabel* label : frame.statusBar()->findChildren<QLabel*>())
        if (label->accessibleName() == QStringLiteral("Message"))
            message = label;
    ASSERT_NE(message, nullptr);
    const auto readAloud = [message] {
        QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(message);
        QAccessibleTextInterface* text = pane ? pane->textInterface() : nullptr;
        return text ? text->text(0, text->characterCount()) : QString();
    };
    EXPECT_EQ(readAloud(), QStringLiteral("Ready"));
    frame.show();
    frame.ShowStatusMessage(QStringLiteral("Undo history cleared"));
    EXPECT_TRUE(message->isVisible()) << "a message does not hide the pane";
    EXPECT_EQ(readAloud(), QStringLiteral("Undo history cleared"));
    EXPECT_EQ(message->accessibleDescription(), QStringLiteral("Undo history cleared"));
    frame.statusBar()->grab().save(QStringLiteral("status_bar_message.png"));
    frame.statusBar()->clearMessage();
    EXPECT_EQ(readAloud(), QStringLiteral("Ready"));
    frame.statusBar()->grab().save(QStringLiteral("status_bar_ready.png"));
    StatusIndicators& indicators = frame.Indicators();
    const bool caps = indicators.CapsOn();
    frame.activateWindow();
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &frame;
    QTest::keyClick(target, Qt::Key_CapsLock);
    EXPECT_NE(indicators.CapsOn(), caps);
    QTest::keyClick(target, Qt::Key_CapsLock);
    EXPECT_EQ(indicators.CapsOn(), caps);
}

}  // namespace
}  // namespace orvalis::test
