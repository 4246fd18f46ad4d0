// The chart pane redrawn after a training run has rewritten the estimates of a
// 990-row worksheet: rereading the cells, refilling the chart and painting it.

#include "SilentPrompts.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/ChartPane.h"
#include "worksheet/ui/ChartView.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

using namespace orvalis;

std::string Text(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

void BM_ChartRedrawAfterTrain(benchmark::State& state)
{
    AppSettings settings;
    SilentPrompts prompts{false, UiPrompts::SaveAnswer::Cancel};
    CGridDoc doc(settings, prompts);
    CGridView view(doc);
    view.resize(1280, 900);
    view.show();
    view.ShowChart(true);
    Worksheet& ws = doc.GetWorksheet();
    CellStore& store = ws.Store();
    store.SetCellText(kRoleRow, 1, "Trg/In");
    store.SetCellText(kRoleRow, 2, "Val:Est");
    ws.ApplyCellEdit(kNumTrainingRow, kValueColumn, "660");
    ws.ApplyCellEdit(kNumTestingRow, kValueColumn, "165");
    ws.ApplyCellEdit(kNumEvalRow, kValueColumn, "165");
    ws.ApplyCellEdit(kNumTapsRow, kValueColumn, "10");
    ws.SetStateAndText(WorksheetState::Trained);
    for (int i = 0; i < 990; ++i)
        store.SetCellText(ws.firstDataRow + i, 1, Text(3000 + 400 * std::sin(i * 0.05) + i));
    CChartPane& pane = *view.ChartPane();
    QImage image(pane.View().size(), QImage::Format_ARGB32_Premultiplied);
    int run = 0;
    for (auto _ : state) {
        // What Train leaves behind: every estimate rewritten (not timed), then one
        // event-loop turn's refresh and a paint of the chart (timed).
        state.PauseTiming();
        ++run;
        for (int i = 10; i < 824; ++i)
            store.SetCellText(ws.firstDataRow + i, 2, Text(3000 + 400 * std::sin(i * 0.05 + run * 0.01) + i));
        state.ResumeTiming();
        pane.Refresh();
        QPainter painter(&image);
        pane.View().render(&painter);
    }
    state.counters["redraws"] = pane.RedrawCount();
}
BENCHMARK(BM_ChartRedrawAfterTrain)->Unit(benchmark::kMillisecond);

} // namespace
