#include "ShellTestSupport.h"

#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/RecentFileList.h"
#include "shell/ShownText.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/GridDoc.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

QStringList FrameTitles(CWorksheetApp& app)
{
    QStringList titles;
    for (CChildFrame* frame : app.Docs().Frames())
        titles.append(frame->windowTitle());
    return titles;
}

TEST(WorksheetApp, StartsWithWorksheet1UnderTheApplicationCaption)
{
    ShellFixture shell;
    CMainFrame* frame = shell.App().MainFrame();
    ASSERT_NE(frame, nullptr);
    // The maximised worksheet's title joins the caption, as MDI frames show it.
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Brennix - Tavelle Orvalis - [Worksheet1]"));
    EXPECT_EQ(FrameTitles(shell.App()), QStringList{QStringLiteral("Worksheet1")});
    EXPECT_EQ(shell.App().Docs().ActiveDocument()->Title(), QStringLiteral("Worksheet1"));
    EXPECT_FALSE(shell.App().Docs().ActiveDocument()->IsModified());
    ASSERT_NE(frame->Action(CmdFileNew), nullptr);
    EXPECT_EQ(frame->Action(CmdFileNew)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(frame->Action(CmdFileSave)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_TRUE(shell.prompts.log.empty());
}

TEST(WorksheetApp, SettingsAreReadAtStartAndAllNineWrittenAtExit)
{
    MemorySettingsStore stored;
    stored.strings["Strings/UseCommentLine"] = "True";  // not exactly "TRUE": false
    stored.strings["Strings/ResultsMode"] = "Extrapolate";
    stored.integers["Constants/ExtrapolationLen"] = 8;
    ShellFixture shell(stored);
    const AppSettings& settings = shell.App().Settings();
    EXPECT_FALSE(settings.useCommentLine);
    EXPECT_TRUE(settings.use2PassEstimate);
    EXPECT_EQ(settings.resultsMode, ResultsModeExtrapolate);
    EXPECT_EQ(settings.extrapolationRows, 8);
    // Without the comment row the first data row is 7.
    EXPECT_EQ(shell.App().Docs().ActiveDocument()->GetWorksheet().firstDataRow, 7);

    shell.App().ShutDown();
    EXPECT_EQ(shell.store.strings.size() + shell.store.integers.size(), 9u);
    EXPECT_EQ(shell.store.strings["Strings/UseCommentLine"], "FALSE");
    EXPECT_EQ(shell.store.strings["Strings/AutoVectorSizing"], "TRUE");
    EXPECT_EQ(shell.store.strings["Strings/ResultsMode"], "Extrapolate");
    EXPECT_EQ(shell.store.integers["Constants/TrainColor"], 49344);
}

TEST(WorksheetApp, NewWorksheetsAreNumberedWithoutReuse)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    EXPECT_TRUE(frame.RouteCommand(CmdFileNew));
    EXPECT_EQ(shell.App().Docs().ActiveDocument()->Title(), QStringLiteral("Worksheet2"));
    EXPECT_TRUE(frame.RouteCommand(CmdFileClose));
    ShellFixture::Settle();
    EXPECT_TRUE(frame.RouteCommand(CmdFileNew));
    EXPECT_EQ(FrameTitles(shell.App()),
              (QStringList{QStringLiteral("Worksheet1"), QStringLiteral("Worksheet3")}));
}

TEST(WorksheetApp, ModifiedMarkFollowsTheWorksheet)
{
    ShellFixture shell;
    CChildFrame& child = *shell.App().Docs().ActiveFrame();
    Worksheet& sheet = child.Document().GetWorksheet();
    EXPECT_FALSE(child.isWindowModified());
    ASSERT_TRUE(sheet.ApplyCellEdit(sheet.firstDataRow, 1, "12.5"));
    EXPECT_TRUE(child.isWindowModified());
    EXPECT_EQ(child.windowTitle(), QStringLiteral("Worksheet1*"));
    child.Document().SetModifiedFlag(false);
    EXPECT_FALSE(child.isWindowModified());
    EXPECT_EQ(child.windowTitle(), QStringLiteral("Worksheet1"));
}

// Closing one worksheet window: which answers close it and which keep it.
TEST(WorksheetApp, ClosingAModifiedWorksheetAsksFirst)
{
    struct Case {
        const char* name;
        bool modify;
        std::deque<UiPrompts::SaveAnswer> answers;
        bool closes;
        size_t questions;
    };
    const Case cases[] = {
        {"unmodified closes unasked", false, {}, true, 0},
        {"No closes without saving", true, {UiPrompts::SaveAnswer::No}, true, 1},
        {"Cancel keeps the window", true, {UiPrompts::SaveAnswer::Cancel}, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShellFixture shell;
        CChildFrame* child = shell.App().Docs().ActiveFrame();
        if (c.modify)
            child->Document().GetWorksheet().ApplyCellEdit(9, 2, "x");
        shell.prompts.saveAnswers = c.answers;
        shell.App().MainFrame()->RouteCommand(CmdFileClose);
        ShellFixture::Settle();
        EXPECT_EQ(shell.App().Docs().Documents().empty(), c.closes);
        ASSERT_EQ(shell.prompts.log.size(), c.questions);
        if (c.questions > 0) {
            EXPECT_EQ(shell.prompts.log[0].text, "Save changes to Worksheet1?");
        }
    }
}

TEST(WorksheetApp, ExitAsksForEveryModifiedWorksheetAndCancelKeepsAll)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    frame.RouteCommand(CmdFileNew);
    for (CGridDoc* doc : shell.App().Docs().Documents())
        doc->SetModifiedFlag(true);

    // The second question is cancelled: nothing closes, the program goes on.
    shell.prompts.saveAnswers = {UiPrompts::SaveAnswer::No, UiPrompts::SaveAnswer::Cancel};
    frame.RouteCommand(CmdAppExit);
    ShellFixture::Settle();
    EXPECT_EQ(shell.App().Docs().Documents().size(), 2u);
    EXPECT_TRUE(frame.isVisible());
    ASSERT_EQ(shell.prompts.log.size(), 2u);
    EXPECT_EQ(shell.prompts.log[1].text, "Save changes to Worksheet2?");

    shell.prompts.saveAnswers = {UiPrompts::SaveAnswer::No, UiPrompts::SaveAnswer::No};
    frame.RouteCommand(CmdAppExit);
    ShellFixture::Settle();
    EXPECT_TRUE(shell.App().Docs().Documents().empty());
    EXPECT_FALSE(frame.isVisible());
}

bool InMenus(const CMainFrame& frame, int id)
{
    for (const QMenu* menu : frame.Menus()) {
        for (const QAction* item : menu->actions())
            if (item->property("commandId").toInt() == id)
                return true;
    }
    return false;
}

TEST(WorksheetApp, MenusFollowWhetherAWorksheetIsOpen)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    ASSERT_NE(frame.Action(CmdFileSave), nullptr);
    EXPECT_TRUE(frame.Action(CmdFileSave)->isEnabled());
    EXPECT_TRUE(frame.Action(CmdFileImport)->isEnabled());

    frame.RouteCommand(CmdFileClose);
    ShellFixture::Settle();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Brennix - Tavelle Orvalis"));
    EXPECT_FALSE(InMenus(frame, CmdFileSave));
    EXPECT_FALSE(InMenus(frame, CmdFileImport));
    EXPECT_FALSE(frame.Action(CmdFileSave)->isEnabled());
    ASSERT_TRUE(InMenus(frame, CmdFileNew));
    ASSERT_NE(frame.Action(CmdFileOpen), nullptr);
    EXPECT_TRUE(frame.Action(CmdFileOpen)->isEnabled());
    // Commands of a worksheet find no handler without one and do nothing.
    EXPECT_FALSE(frame.RouteCommand(CmdFileSave));
    frame.RouteCommand(CmdFileImport);
    EXPECT_TRUE(shell.prompts.filtersSeen.isEmpty());

    frame.RouteCommand(CmdFileNew);
    EXPECT_TRUE(InMenus(frame, CmdFileSave));
}

TEST(RecentFileList, KeepsTheFourNewestAndSurvivesARestart)
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    RecentFileList list(RecentFileCount);
    for (const char* name : {"/w/a.ows", "/w/b.ows", "/w/c.ows", "/w/d.ows", "/w/e.ows", "/w/c.ows"})
        list.Add(QString::fromLatin1(name));
    const QStringList expected = {QStringLiteral("/w/c.ows"), QStringLiteral("/w/e.ows"),
                                  QStringLiteral("/w/d.ows"), QStringLiteral("/w/b.ows")};
    EXPECT_EQ(list.Files(), expected);
    EXPECT_EQ(list.MenuText(0), QStringLiteral("&1 c.ows"));
    list.Save(settings);

    RecentFileList reread(RecentFileCount);
    reread.Load(settings);
    EXPECT_EQ(reread.Files(), expected);
}

TEST(RecentFileList, MenuShowsControlCharactersAndElidesLongNames)
{
    RecentFileList list(RecentFileCount);
    list.Add(QStringLiteral("/w/two\nlines&.ows"));
    list.Add(QStringLiteral("/w/") + QString(100000, QLatin1Char('x')) + QStringLiteral(".ows"));
    const QString longName = list.MenuText(0);
    EXPECT_LE(longName.size(), 90);
    EXPECT_TRUE(longName.startsWith(QStringLiteral("&1 xxx")));
    EXPECT_TRUE(longName.endsWith(QStringLiteral("xxx.ows")));
    EXPECT_EQ(list.MenuText(1), QStringLiteral("&2 two\\nlines&&.ows"));
    EXPECT_EQ(list.Files().at(1), QStringLiteral("/w/two\nlines&.ows")) << "the file is the one opened";
}

TEST(ShownText, MessageBoxTextIsBoundedAndShowsControls)
{
    const QString path = QStringLiteral("/w/") + QString(100000, QLatin1Char('y'));
    const QString shown = BoundedMessageText(QStringLiteral("Error: Cannot open file ") + path +
                                             QStringLiteral("\nsecond\x01line"));
    const QStringList lines = shown.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2) << "the message's own line break stays";
    EXPECT_EQ(lines[0].size(), kMessageLineChars);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Error: Cannot open file /w/yyy")));
    EXPECT_EQ(lines[1], QStringLiteral("second\\x01line"));
    EXPECT_EQ(BoundedMessageText(QString(1000, QLatin1Char('\n'))).count(QLatin1Char('\n')), kMessageLines);
    EXPECT_EQ(BoundedMessageText(QStringLiteral("Info: short")), QStringLiteral("Info: short"));
}

} // namespace
} // namespace orvalis::test
