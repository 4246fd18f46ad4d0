#include "ShellTestSupport.h"

#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolBar>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

// A menu as a user reads it: each item's text, a tab and its first key, "-" for a line.
QStringList Items(const QMenu& menu)
{
    QStringList items;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            items.append(QStringLiteral("-"));
            continue;
        }
        QString item = action->text();
        if (!action->shortcut().isEmpty())
            item += QLatin1Char('\t') + action->shortcut().toString();
        items.append(item);
    }
    return items;
}

QStringList Titles(const CMainFrame& frame)
{
    QStringList titles;
    for (const QMenu* menu : frame.Menus())
        titles.append(menu->title());
    return titles;
}

TEST(MainFrameMenus, WorksheetMenusItemForItem)
{
    ShellFixture shell;
    const CMainFrame& frame = *shell.App().MainFrame();
    ASSERT_EQ(Titles(frame),
              (QStringList{"&File", "&Edit", "&View", "Actions", "Configure", "&Window", "&Help"}));
    const std::vector<QMenu*>& menus = frame.Menus();
    EXPECT_EQ(Items(*menus[0]),
              (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Close", "&Save\tCtrl+S",
                           "Save &As...", "-", "Import", "&Export...", "-", "&Print...\tCtrl+P", "Print Pre&view",
                           "P&rint Setup...", "-", "<None>", "-", "E&xit"}));
    EXPECT_EQ(Items(*menus[1]),
              (QStringList{"&Undo\tCtrl+Z", "&Redo\tCtrl+Shift+Z", "-", "Cu&t\tCtrl+X",
                           "&Copy\tCtrl+C", "&Paste\tCtrl+V", "Select All\tCtrl+A", "-"}));
    EXPECT_EQ(Items(*menus[2]),
              (QStringList{"&Toolbar", "&Status Bar", "-", "&Chart\tCtrl+Shift+C"}));
    EXPECT_EQ(Items(*menus[3]), (QStringList{"Train Orvalis", "Evaluate Orvalis", "Clear Training",
                                             "Auto-Config Vectors"}));
    EXPECT_EQ(Items(*menus[4]), (QStringList{"Orvalis Parameters", "Training Parameters",
                                             "Result Parameters", "Forecasting...",
                                             "Display Colors"}));
    EXPECT_EQ(Items(*menus[5]),
              (QStringList{"&New Window", "&Cascade", "&Tile", "&Arrange Icons"}));
    EXPECT_EQ(Items(*menus[6]), (QStringList{"Help Topics", "Tavelle FAQ", "&About Tavelle..."}));

    // The second keys of the table work too.
    EXPECT_EQ(frame.Action(CmdEditPaste)->shortcuts().value(1), QKeySequence("Shift+Ins"));
    EXPECT_EQ(frame.Action(CmdEditUndo)->shortcuts().value(1), QKeySequence("Alt+Backspace"));
    EXPECT_EQ(frame.Action(CmdEditRedo)->shortcuts().value(1), QKeySequence("Ctrl+Y"));
}

TEST(MainFrameMenus, NoWorksheetMenusItemForItem)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    frame.RouteCommand(CmdFileClose);
    ShellFixture::Settle();
    ASSERT_EQ(Titles(frame), (QStringList{"&File", "&View", "&Help"}));
    EXPECT_EQ(Items(*frame.Menus()[0]), (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "-",
                                                     "P&rint Setup...", "-", "E&xit"}));
    EXPECT_EQ(Items(*frame.Menus()[1]), (QStringList{"&Toolbar", "&Status Bar"}));
    EXPECT_EQ(Items(*frame.Menus()[2]),
              (QStringList{"Help Topics", "Tavelle FAQ", "&About Tavelle..."}));
}

TEST(MainFrameMenus, WindowMenuListsTheOpenWindows)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    frame.RouteCommand(CmdFileNew);
    QMenu& window = *frame.Menus()[5];
    emit window.aboutToShow();
    QStringList items = Items(window);
    EXPECT_EQ(items.mid(4), (QStringList{"-", "&1 Worksheet1", "&2 Worksheet2"}));
    // Opened again, the list is rebuilt rather than added to.
    emit window.aboutToShow();
    EXPECT_EQ(Items(window).size(), items.size());
    EXPECT_TRUE(window.actions().last()->isChecked());
    // Two windows on one worksheet are told apart by their numbers.
    frame.RouteCommand(CmdWindowNew);
    emit window.aboutToShow();
    EXPECT_EQ(Items(window).mid(5),
              (QStringList{"&1 Worksheet1", "&2 Worksheet2:1", "&3 Worksheet2:2"}));
}

TEST(MainFrameMenus, CascadeLeavesASingleWindowLargeAndInsideTheArea)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    frame.resize(1000, 700);
    ASSERT_TRUE(frame.RouteCommand(CmdWindowCascade));
    const QRect inside = frame.MdiArea().viewport()->rect();
    const QMdiSubWindow& window = *frame.MdiArea().subWindowList().front();
    EXPECT_FALSE(window.isMaximized());
    EXPECT_TRUE(inside.contains(window.geometry()));
    EXPECT_GE(window.width(), inside.width() / 2);
    EXPECT_GE(window.height(), inside.height() / 2);
}

TEST(MainFrameMenus, ToolbarButtonsInOrderWithTheirTips)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    QStringList tips;
    for (const QAction* action : frame.ToolBar().actions())
        tips.append(action->isSeparator() ? QStringLiteral("-") : action->toolTip());
    EXPECT_EQ(tips, (QStringList{"New", "Open", "Save", "-", "Cut", "Copy", "Paste", "-", "Print",
                                 "About", "-", "Train Orvalis", "Evaluate Orvalis", "Chart"}));
    for (const QAction* action : frame.ToolBar().actions()) {
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->toolTip().toStdString();
            EXPECT_FALSE(action->statusTip().isEmpty()) << action->toolTip().toStdString();
        }
    }
}

}  // namespace
}  // namespace orvalis::test
