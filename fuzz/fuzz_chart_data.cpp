// libFuzzer target: a worksheet's cells to the chart's data, its axes and the Results
// figures, without drawing (the drawing takes the ranges and steps checked here).
//
// The input is text. Its first line holds the four section counts (Num Training, Num
// Testing, Num Eval, Num Taps), typed into the header as a user would; its second line
// the comment-row texts of columns 1 to 3 (the series names); every further line is a
// data row, its cells separated by TABs, for columns 1 to 3. The last byte picks the
// roles and the state: bit 0 a second target in column 2 (else "Val:Est" there), bit 1
// "Val:Est" in column 3, bits 2-3 the state (Init, Trained, Eval), bit 4 Data
// Extrapolate mode.
//
// Every chart must get axes that the drawing can draw: finite, ordered, at least their
// minimal span wide, unchanged when made safe again, with every value shown inside and a
// few ticks that advance, also after zooms far in and far out; every figure that has a
// value must be finite.
#include "worksheet/AppSettings.h"
#include "worksheet/BaselineFigures.h"
#include "worksheet/ChartAxes.h"
#include "worksheet/ChartData.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace orvalis;

// A check that fails stops the fuzzer; the corpus replay in the test suite, which
// compiles this file too, makes it a test failure instead.
#ifndef ORVALIS_FUZZ_CHECK_FAILED
#define ORVALIS_FUZZ_CHECK_FAILED() __builtin_trap()
#endif

void Check(bool holds)
{
    if (!holds)
        ORVALIS_FUZZ_CHECK_FAILED();
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

void CheckAxis(const AxisRange& range, double minStep)
{
    Check(std::isfinite(range.low) && std::isfinite(range.high) && range.low < range.high);
    Check(std::fabs(range.low) <= kLargestAxisValue && std::fabs(range.high) <= kLargestAxisValue);
    Check(range.high - range.low >= MinimalAxisSpan(range.low, range.high) * 0.5);
    Check(SafeAxisRange(range.low, range.high) == range);
    for (double pixels : {1.0, 37.0, 500.0, 9000.0}) {
        const double step = RoundTickStep(range.high - range.low, pixels, std::max(25.0, pixels / 10.0), minStep);
        Check(step > 0.0 && std::isfinite(step));
        Check(AxisTickCount(range, step, 100) <= 12);
    }
}

// The ranges a zoom about the middle of range by factor can leave, once made safe.
void CheckZooms(const AxisRange& range, double minStep)
{
    const double middle = range.low / 2.0 + range.high / 2.0;
    const double half = (range.high - range.low) / 2.0;
    for (double factor : {1e-30, 1e-9, 0.8, 1.25, 1e9, 1e30})
        CheckAxis(SafeAxisRange(middle - half * factor, middle + half * factor), minStep);
}

void CheckFigure(const std::optional<double>& figure)
{
    Check(!figure || (std::isfinite(*figure) && *figure >= 0.0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const unsigned control = data[size - 1];
    const std::string_view text(reinterpret_cast<const char*>(data), size - 1);
    // One worksheet for the whole run (making one takes most of an input's time); what
    // an input wrote is cleared before the next.
    static AppSettings settings;
    static SilentMessages messages;
    static Worksheet ws(settings, messages);
    static int rowsWritten = 0;
    CellStore& store = ws.Store();
    for (int row = ws.firstDataRow; row < ws.firstDataRow + rowsWritten; ++row)
        for (int col = 1; col <= 3; ++col)
            store.SetCellText(row, col, std::string());
    for (int col = 1; col <= 3; ++col) {
        store.SetCellText(kRoleRow, col, std::string());
        store.SetCellText(kCommentRow, col, std::string());
    }
    settings.autoVectorSizing = false;
    settings.resultsMode = (control & 16u) != 0 ? ResultsModeExtrapolate : ResultsModeEvaluate;
    settings.UpdateExtrapolationRows();

    store.SetCellText(kRoleRow, 1, "Target");
    store.SetCellText(kRoleRow, 2, (control & 1u) != 0 ? "Trg/In" : "Val:Est");
    if ((control & 2u) != 0)
        store.SetCellText(kRoleRow, 3, "Val:Est");
    const std::vector<std::string_view> lines = Split(text, '\n');
    const std::vector<std::string_view> counts = Split(lines[0], ' ');
    const int countRows[] = {kNumTrainingRow, kNumTestingRow, kNumEvalRow, kNumTapsRow};
    for (std::size_t i = 0; i < 4; ++i)
        ws.ApplyCellEdit(countRows[i], kValueColumn, i < counts.size() ? std::string(counts[i]) : "0");
    const WorksheetState states[] = {WorksheetState::Init, WorksheetState::Trained, WorksheetState::Eval,
                                     WorksheetState::Trained};
    ws.SetStateAndText(states[(control >> 2) & 3u]);
    if (lines.size() > 1 && ws.firstDataRow > kCommentRow) {
        const std::vector<std::string_view> names = Split(lines[1], '\t');
        for (std::size_t c = 0; c < names.size() && c < 3; ++c)
            store.SetCellText(kCommentRow, static_cast<int>(c) + 1, std::string(names[c]));
    }
    for (std::size_t line = 2; line < lines.size(); ++line) {
        const int row = ws.firstDataRow + static_cast<int>(line) - 2;
        if (row >= store.GetRowCount())
            break;
        rowsWritten = std::max(rowsWritten, row - ws.firstDataRow + 1);
        const std::vector<std::string_view> cells = Split(lines[line], '\t');
        for (std::size_t c = 0; c < cells.size() && c < 3; ++c)
            store.SetCellText(row, static_cast<int>(c) + 1, std::string(cells[c]));
    }

    const ResultLayout layout = ReadResultLayout(store, ws.firstDataRow, settings.extrapolationRows);
    const ChartData chart = BuildChartData(store, layout, settings);
    const ChartFrame frame = FrameChart(chart);
    CheckAxis(frame.rows, 1.0);
    CheckAxis(frame.values, 0.0);
    CheckZooms(frame.rows, 1.0);
    CheckZooms(frame.values, 0.0);
    Check(ValueScaleNote(frame.valueExponent).empty() == (frame.valueExponent == 0));
    const auto checkSeries = [&frame](const ChartSeriesData& series) {
        for (const ChartPoint& p : series.points) {
            const double shown = ShownValue(p.y, frame.valueExponent);
            Check(std::isfinite(shown) && shown >= frame.values.low && shown <= frame.values.high);
            Check(p.x >= frame.rows.low && p.x <= frame.rows.high);
        }
    };
    for (const ChartSeriesData& series : chart.targets)
        checkSeries(series);
    if (chart.estimates)
        checkSeries(*chart.estimates);

    for (const SectionFigures& figures : ComputeBaselineFigures(store, layout)) {
        Check(figures.n >= 0 && figures.mapeLeftOut >= 0 && figures.mapeLeftOut <= figures.n);
        for (const auto* figure : {&figures.mae, &figures.rmse, &figures.mape, &figures.naiveRmse,
                                   &figures.theilU, &figures.directionHits})
            CheckFigure(*figure);
    }
    return 0;
}
