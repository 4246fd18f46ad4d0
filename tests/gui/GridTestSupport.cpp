#include "GridTestSupport.h"

#include "support/WorksheetShapedStore.h"

#include <QScreen>
#include <QTest>

namespace orvalis::gridtest {

QApplication& App()
{
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: a QApplication torn down among the exit handlers crashes.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

WorksheetLikeGrid::WorksheetLikeGrid(int width, int height)
{
    App();
    store.AddListener(&notes);
    // The window first, as the worksheet view does, so the rows get the screen font's
    // default height.
    grid = std::make_unique<CGridCtrl>(store);
    testsupport::ShapeLikeWorksheet(store, "");
    testsupport::LookLikeWorksheet(grid->Options());
    store.SetCellText(1, 0, "Start Offset");
    for (int r = 10; r < 20; ++r) {
        store.SetCellText(r, 0, std::to_string(r - 10));
        store.SetCellBackColor(r, 0, kTrainColour);
    }
    for (int r = 10; r < 40; ++r)
        store.SetCellText(r, 2, std::to_string(1.25 * r));
    store.SetColumnWidth(0, store.GetColumnWidth(0) * 3 / 2);
    grid->resize(width, height);
    grid->show();
    grid->activateWindow();
    active = QTest::qWaitForWindowActive(grid.get(), 2000);
    grid->setFocus();
    grid->ResetScrollBars();
    Settle();
}

WorksheetLikeGrid::~WorksheetLikeGrid()
{
    grid.reset();
    store.RemoveListener(&notes);
}

QPoint WorksheetLikeGrid::CellCentre(int row, int col) const
{
    QRect rect;
    grid->GetCellRect(row, col, rect);
    return rect.center();
}

QImage OnScreen(CGridCtrl& grid)
{
    Settle();
    const QPoint at = grid.viewport()->mapTo(grid.window(), QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(grid.window()->winId(), at.x(), at.y(), grid.viewport()->width(),
                     grid.viewport()->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

void Settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace orvalis::gridtest
