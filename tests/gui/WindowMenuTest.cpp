// The Window menu: second windows on one worksheet, and the three arrangements.

#include "ShellTestSupport.h"

#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "worksheet/ui/GridDoc.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

QStringList Titles(DocManager& docs)
{
    QStringList titles;
    for (CChildFrame* frame : docs.Frames())
        titles.append(frame->windowTitle());
    return titles;
}

TEST(WindowMenu, WindowsOnOneWorksheetAreNumberedWhileThereAreSeveral)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    DocManager& docs = shell.App().Docs();
    ASSERT_TRUE(frame.RouteCommand(CmdWindowNew));
    ASSERT_TRUE(frame.RouteCommand(CmdFileNew));
    ASSERT_TRUE(frame.RouteCommand(CmdWindowNew));
    ASSERT_TRUE(frame.RouteCommand(CmdWindowNew));
    EXPECT_EQ(Titles(docs), (QStringList{"Worksheet1:1", "Worksheet1:2", "Worksheet2:1",
                                         "Worksheet2:2", "Worksheet2:3"}));
    // An edit marks every window of the worksheet, and keeps the numbers.
    docs.ActiveDocument()->SetModifiedFlag(true);
    EXPECT_EQ(Titles(docs).mid(2), (QStringList{"Worksheet2:1*", "Worksheet2:2*", "Worksheet2:3*"}));
    docs.ActiveDocument()->SetModifiedFlag(false);

    // Closing windows numbers the rest again; the last one drops its number.
    docs.Frames()[3]->close();
    docs.Frames()[0]->close();
    ShellFixture::Settle();
    EXPECT_EQ(Titles(docs), (QStringList{"Worksheet1", "Worksheet2:1", "Worksheet2:2"}));
}

TEST(WindowMenu, NewWindowOpensAtTheSizeOfTheWindowItCopies)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    frame.resize(1000, 700);
    frame.show();
    DocManager& docs = shell.App().Docs();
    CChildFrame& first = *docs.ActiveFrame();
    first.showNormal();
    first.setGeometry(20, 10, 600, 400);
    ASSERT_TRUE(frame.RouteCommand(CmdWindowNew));
    CChildFrame& second = *docs.ActiveFrame();
    ASSERT_NE(&second, &first);
    EXPECT_FALSE(second.isMaximized());
    EXPECT_EQ(second.size(), QSize(600, 400));
    EXPECT_GT(second.x(), first.x()) << "both titles show";
    EXPECT_GT(second.y(), first.y());
    const QRect room(QPoint(0, 0), frame.MdiArea().viewport()->size());
    EXPECT_TRUE(room.contains(second.geometry()));

    // Near the area's corner the copy moves back inside it.
    first.setGeometry(room.width() - 500, room.height() - 300, 500, 300);
    frame.MdiArea().setActiveSubWindow(&first);
    ASSERT_TRUE(frame.RouteCommand(CmdWindowNew));
    CChildFrame& third = *docs.ActiveFrame();
    EXPECT_EQ(third.size(), QSize(500, 300));
    EXPECT_TRUE(room.contains(third.geometry()));
    frame.grab().save(QStringLiteral("window_new_window.png"));
}

TEST(WindowMenu, CascadeLeavesEveryWindowLargeAndInsideTheArea)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    frame.resize(1000, 700);
    ASSERT_TRUE(frame.RouteCommand(CmdWindowNew));
    ASSERT_TRUE(frame.RouteCommand(CmdFileNew));
    ASSERT_TRUE(frame.RouteCommand(CmdWindowCascade));
    const QSize room = frame.MdiArea().viewport()->size();
    const QList<QMdiSubWindow*> windows = frame.MdiArea().subWindowList();
    ASSERT_EQ(windows.size(), 3);
    QSet<int> lefts;
    for (QMdiSubWindow* window : windows) {
        EXPECT_FALSE(window->isMaximized());
        EXPECT_TRUE(QRect(QPoint(0, 0), room).contains(window->geometry())) << window->windowTitle().toStdString();
        // Far more than a title bar: most of the area, less the staircase.
        EXPECT_GT(window->width(), room.width() * 3 / 4);
        EXPECT_GT(window->height(), room.height() / 2);
        lefts.insert(window->x());
    }
    EXPECT_EQ(lefts.size(), 3) << "the windows overlap in a staircase";
}

TEST(WindowMenu, ArrangeIconsPutsMinimisedWindowsInRowsWithoutOverlap)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    frame.resize(640, 600);
    for (int i = 0; i < 7; ++i)
        ASSERT_TRUE(frame.RouteCommand(CmdFileNew));
    const QList<QMdiSubWindow*> windows = frame.MdiArea().subWindowList();
    // Out of the maximised state first: the area maximises whichever window it
    // activates while one is maximised.
    for (QMdiSubWindow* window : windows)
        window->showNormal();
    for (QMdiSubWindow* window : windows)
        window->showMinimized();
    ASSERT_TRUE(frame.RouteCommand(CmdWindowArrange));

    const QSize room = frame.MdiArea().viewport()->size();
    QList<QRect> icons;
    for (QMdiSubWindow* window : windows) {
        ASSERT_TRUE(window->isMinimized());
        const QRect icon = window->geometry();
        EXPECT_TRUE(QRect(QPoint(0, 0), room).contains(icon));
        for (const QRect& other : icons)
            EXPECT_FALSE(icon.intersects(other)) << window->windowTitle().toStdString();
        icons.append(icon);
    }
    EXPECT_EQ(icons.front().bottom(), room.height() - 1) << "the first row sits on the bottom edge";
}

} // namespace
} // namespace orvalis::test
