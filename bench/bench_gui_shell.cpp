// File New as the program does it: a worksheet, its window and grid, the header block
// sized to the screen fonts, shown maximised in the main frame; and the heap that one
// more open worksheet window holds.
#include "SilentPrompts.h"
#include "shell/ChildFrame.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/WorksheetApp.h"
#include "worksheet/AppSettings.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <malloc.h>

namespace {

using namespace orvalis;

struct Shell {
    QTemporaryDir dir;
    MemorySettingsStore store;
    QSettings recent{dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat};
    SilentPrompts prompts{true, UiPrompts::SaveAnswer::No};
    CWorksheetApp app{store, recent, prompts};
    Shell()
    {
        app.StartUp();
        app.MainFrame()->resize(1280, 800);
        Settle();
    }
    static void Settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    void CloseActive()
    {
        app.Docs().ActiveFrame()->CloseWithoutPrompt();
        Settle();
    }
};

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

void BM_FileNewWorksheetWindow(benchmark::State& state)
{
    Shell shell;
    for (auto _ : state) {
        shell.app.Docs().NewDocument();
        QCoreApplication::processEvents();  // shown and laid out
        state.PauseTiming();
        shell.CloseActive();
        state.ResumeTiming();
    }
    // Heap held by one more open worksheet window, measured after it has been painted.
    const std::size_t before = HeapInUse();
    shell.app.Docs().NewDocument();
    shell.app.MainFrame()->grab();
    Shell::Settle();
    state.counters["extra_window_MB"] = static_cast<double>(HeapInUse() - before) / 1e6;
}
BENCHMARK(BM_FileNewWorksheetWindow)->Unit(benchmark::kMillisecond);

// File Open of a worksheet whose 68 columns are filled in every data row: the window
// and header block first, then the file read into the grid while it is not yet shown.
void BM_OpenFullWorksheetWindow(benchmark::State& state)
{
    Shell shell;
    Worksheet& sheet = shell.app.Docs().ActiveDocument()->GetWorksheet();
    CellStore& cells = sheet.Store();
    char text[32];
    for (int col = 1; col <= kLastDataColumn; ++col) {
        cells.SetCellText(kRoleRow, col, "Input");
        for (int row = sheet.firstDataRow; row < kWorksheetRows; ++row) {
            std::snprintf(text, sizeof text, "%.3f", row * 1.5 + col);
            cells.SetCellText(row, col, text);
        }
    }
    const QString path = shell.dir.filePath(QStringLiteral("full.ows"));
    if (!SaveWorksheetFile(sheet, path.toStdString())) {
        state.SkipWithError("cannot write the worksheet file");
        return;
    }
    shell.CloseActive();
    for (auto _ : state) {
        if (!shell.app.Docs().OpenDocumentFile(path)) {
            state.SkipWithError("the worksheet file was refused");
            return;
        }
        QCoreApplication::processEvents();
        state.PauseTiming();
        shell.CloseActive();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenFullWorksheetWindow)->Unit(benchmark::kMillisecond);

} // namespace
