// The grid's clipboard and print paths: copying every cell of 1000 rows x 26 columns of a
// worksheet-shaped grid to the system clipboard and pasting it back into emptied cells,
// opening the print preview of a worksheet with 990 imported rows (all its pages
// laid out and drawn), and pasting one 50 MB cell into a shown worksheet, then drawing
// it, reading it through the accessibility interface and printing it to a PDF file.

#include "worksheet/AppSettings.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace orvalis;

// A worksheet in its window; the grid measures with the screen fonts.
struct SheetWindow {
    AppSettings settings;
    SilentMessages messages;
    Worksheet worksheet{settings, messages};
    CWorksheetGrid grid{worksheet.Store()};
    SheetWindow()
    {
        worksheet.AutoSizeHeaderBlock();
        grid.resize(1280, 800);
        grid.show();
        QCoreApplication::processEvents();
    }
};

// A grid of the worksheet's shape without its header block, whose read-only labels
// would stop a paste at row 1.
struct PlainWindow {
    CellStore store{1001, 69, 1, 1};
    CGridCtrl grid{store};
    PlainWindow()
    {
        grid.resize(1280, 800);
        grid.show();
        QCoreApplication::processEvents();
    }
};

void BM_CopyThenPaste1000x26(benchmark::State& state)
{
    PlainWindow w;
    CellStore& store = w.store;
    const int first = 1;
    char text[32];
    for (int r = first; r < first + 1000; ++r)
        for (int c = 1; c <= 26; ++c) {
            std::snprintf(text, sizeof text, "%.3f", r * 1.5 + c);
            store.SetCellText(r, c, text);
        }
    const auto copyBlock = [&] {
        w.grid.SetFocusCell(first, 1);
        w.grid.SetSelectedRange(first, 1, first + 999, 26);
        w.grid.OnEditCopy();
    };
    for (auto _ : state) {
        if (state.range(0) == 0) {
            copyBlock();
        } else {
            // The block goes back into emptied cells, so every cell is written.
            state.PauseTiming();
            copyBlock();
            for (int r = first; r < first + 1000; ++r)
                for (int c = 1; c <= 26; ++c)
                    store.SetCellText(r, c, std::string());
            w.grid.SetFocusCell(first, 1);
            state.ResumeTiming();
            w.grid.OnEditPaste();
        }
    }
    std::snprintf(text, sizeof text, "%.3f", (first + 999) * 1.5 + 26);
    if (QGuiApplication::clipboard()->text().size() < 26000 * 5 ||
        store.GetCellText(first + 999, 26) != text)
        state.SkipWithError("the block did not come back");
}
BENCHMARK(BM_CopyThenPaste1000x26)->Arg(0)->ArgName("paste")->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PrintPreview990Rows(benchmark::State& state)
{
    SheetWindow w;
    const ImportOutcome outcome = ImportFile(
        w.worksheet, {ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_990.csv", 1, 1, true});
    if (!outcome.imported)
        state.SkipWithError("sample data not found");
    int pagesDrawn = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog dialog(&printer, &w.grid);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &w.grid,
                         [&](QPrinter* target) {
                             w.grid.PrintTo(*target);
                             ++pagesDrawn;
                         });
        dialog.show();
        QCoreApplication::processEvents();
        dialog.close();
    }
    if (pagesDrawn < static_cast<int>(state.iterations()))
        state.SkipWithError("the preview drew nothing");
}
BENCHMARK(BM_PrintPreview990Rows)->Unit(benchmark::kMillisecond);

void BM_PasteOneHugeCell(benchmark::State& state)
{
    const std::string huge(std::size_t{50} << 20, '7');
    SheetWindow w;
    const int row = w.worksheet.firstDataRow;
    QTemporaryDir dir;
    for (auto _ : state) {
        state.PauseTiming();
        w.worksheet.Store().SetCellText(row, 1, std::string());
        QGuiApplication::clipboard()->setText(QString::fromLatin1(huge.data(), static_cast<qsizetype>(huge.size())));
        w.grid.SetFocusCell(row, 1);
        state.ResumeTiming();
        w.grid.OnEditPaste();
        w.grid.repaint();
        QCoreApplication::processEvents();
        if (QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(&w.grid))
            if (QAccessibleTableInterface* table = cell->tableInterface())
                if (QAccessibleInterface* at = table->cellAt(row - 1, 0))
                    benchmark::DoNotOptimize(at->text(QAccessible::Name).size());
        if (state.range(0) == 1) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(QStringLiteral("huge.pdf")));
            w.grid.PrintTo(printer);
        }
    }
    if (w.worksheet.Store().CellTextRef(row, 1).size() != huge.size())
        state.SkipWithError("the cell did not take the text");
}
BENCHMARK(BM_PasteOneHugeCell)->Arg(0)->ArgName("print")->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
