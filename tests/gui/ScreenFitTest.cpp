// A restored main window fits the screen it opens on.

#include "ShellTestSupport.h"

#include "shell/MainFrame.h"
#include "shell/ScreenFit.h"

#include <QScreen>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

TEST(ScreenFit, FramesAreShrunkAndMovedInsideTheFreeArea)
{
    const QRect screen(0, 0, 2560, 1400);
    struct Case {
        const char* name;
        QRect frame;
        QRect fitted;
    } cases[] = {
        {"a frame that fits stays", {100, 50, 800, 600}, {100, 50, 800, 600}},
        {"twice the scale: as large as the area", {0, 0, 2800, 1880}, {0, 0, 2560, 1400}},
        {"past the right and bottom: moved back", {2000, 1000, 800, 600}, {1760, 800, 800, 600}},
        {"above and left of the area: moved in", {-50, -30, 800, 600}, {0, 0, 800, 600}},
        {"too wide and off to the right", {900, 10, 3000, 500}, {0, 10, 2560, 500}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitOnScreen(c.frame, screen), c.fitted) << c.name;
    // A second screen to the right: the window stays on it.
    EXPECT_EQ(FitOnScreen({2600, 100, 2000, 900}, {2560, 0, 1920, 1080}), QRect(2560, 100, 1920, 900));
}

TEST(ScreenFit, AWindowSavedLargerThanTheScreenComesBackWhole)
{
    GuiApp();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QByteArray saved;
    {
        QWidget large;
        large.setGeometry(available.x(), available.y(), available.width() + 240, available.height() + 440);
        saved = large.saveGeometry();
    }
    QTemporaryDir dir;
    QSettings recent(dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    recent.setValue(QStringLiteral("Window/Geometry"), saved);
    MemorySettingsStore store;
    ScriptedPrompts prompts;
    CWorksheetApp app(store, recent, prompts);
    app.StartUp({});
    CMainFrame& frame = *app.MainFrame();
    EXPECT_TRUE(available.contains(frame.frameGeometry())) << "the whole window shows";
    const QRect bar(frame.statusBar()->mapTo(&frame, QPoint(0, 0)), frame.statusBar()->size());
    EXPECT_TRUE(available.contains(bar.translated(frame.geometry().topLeft())))
        << "the status bar is on the screen";
    frame.close();
}

} // namespace
} // namespace orvalis::test
