// The start-up window: where it shows, and what takes it away.

#include "ShellTestSupport.h"

#include "shell/ChildFrame.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

CWorksheetGrid& ActiveGrid(CWorksheetApp& app)
{
    return app.Docs().ActiveFrame()->View().Grid();
}

TEST(SplashWindow, ShowsCentredOnTheScreenBesideTheFrameAndLeavesAfterItsTime)
{
    ShellFixture shell({}, {}, 200);
    QWidget* splash = shell.App().Splash();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    // The frame and its first worksheet are up at once, not after the splash.
    EXPECT_TRUE(shell.App().MainFrame()->isVisible());
    EXPECT_NE(shell.App().Docs().ActiveFrame(), nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((splash->frameGeometry().center() - screen.center()).manhattanLength(), 2);

    EXPECT_TRUE(QTest::qWaitFor([&] { return shell.App().Splash() == nullptr; }, 5000))
        << "the splash outstays its time";
    ShellFixture::Settle();
    EXPECT_TRUE(shell.App().MainFrame()->isVisible());
}

// Free software: the splash names its licence and threatens nobody for copying it.
TEST(SplashWindow, NamesTheLicenceWithoutACopyingWarning)
{
    ShellFixture shell({}, {}, 60000);
    QWidget* splash = shell.App().Splash();
    ASSERT_NE(splash, nullptr);
    QString all;
    for (const QLabel* label : splash->findChildren<QLabel*>())
        all += label->text() + QLatin1Char('\n');
    EXPECT_TRUE(all.contains(
        QStringLiteral("Licensed under the GNU General Public License, version 3 or later.")))
        << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("penalties"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("copying"), Qt::CaseInsensitive)) << all.toStdString();
}

TEST(SplashWindow, FirstKeyOrClickTakesItAwayAndStillReachesItsTarget)
{
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "key" : "click");
        ShellFixture shell({}, {}, 60000);
        ASSERT_NE(shell.App().Splash(), nullptr);
        CWorksheetGrid& grid = ActiveGrid(shell.App());
        const CellId start = grid.GetFocusCell();
        const CellId below{start.row + 1, start.col};
        if (byKey) {
            QTest::keyClick(&grid, Qt::Key_Down);
        } else {
            QRect cell;
            grid.GetCellRect(below.row, below.col, cell);
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        }
        ShellFixture::Settle();
        EXPECT_EQ(shell.App().Splash(), nullptr);
        // The press that closed the splash is not swallowed.
        EXPECT_EQ(grid.GetFocusCell(), below);
    }
}

} // namespace
} // namespace orvalis::test
