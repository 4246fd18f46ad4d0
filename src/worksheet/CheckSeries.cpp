#include "worksheet/CheckSeries.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ChangeLag.h"
#include "worksheet/ColumnRole.h"
#include "worksheet/NumberText.h"
#include "worksheet/VectorExtraction.h"
#include "worksheet/VectorSets.h"
#include "worksheet/Worksheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace orvalis {

namespace {

// The extraction's range for a series whose values are all equal: it cannot divide by
// max - min, so it scales as if the range were 0..255.
constexpr double kFallbackMin = 0.0;
constexpr double kFallbackMax = 255.0;

// A cell's number as the worksheet reads it. Cells written as plain decimals ("%.3f")
// parse fully with from_chars, which rounds exactly as strtod does and costs a fraction
// of it; any other text (blanks, a sign, "0x1p3", trailing letters) goes through the
// worksheet's own reading.
double ReadCellNumber(const std::string& text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error == std::errc() && stop == end)
        return value;
    return ReadNumberText(text);
}

bool ReadColumn(const Worksheet& ws, int col, int rows, std::vector<double>& values,
                std::string& reason)
{
    values.assign(static_cast<std::size_t>(rows), 0.0);
    const CellStore& store = ws.Store();
    for (int r = 0; r < rows; ++r) {
        const int gridRow = ws.firstDataRow + r;
        const std::string& text = gridRow < store.GetRowCount() ? store.CellTextRef(gridRow, col)
                                                                : std::string();
        const double value = text.empty() ? std::nan("") : ReadCellNumber(text);
        if (!std::isfinite(value)) {
            char line[120];
            std::snprintf(line, sizeof line, "row %d of column %d does not hold a number",
                          r + 1, col);
            reason = line;
            return false;
        }
        values[static_cast<std::size_t>(r)] = value;
    }
    return true;
}

// The detrended series of the check: 2 Pass removes the trailing mean of the T rows up
// to each row, summed as the extraction sums it, so rows 0..F-1 come out bit for bit
// as training saw them.
// The trailing means sum every window afresh, which makes them the costliest step of
// reading the series; the check runs after every Evaluate, and its columns rarely
// change in between. So the last few columns detrended (per thread) are kept with their
// result, and a column equal to one of them bit for bit, over the same rows and window,
// gets that result again: the same figures without the sums.
class DetrendMemo {
public:
    // The detrended copy of x[0 .. count-1] with trailing means of `taps` rows.
    std::vector<double> Detrend(const double* x, int count, int taps)
    {
        const auto n = static_cast<std::size_t>(count);
        for (const Entry& e : m_entries)
            if (e.taps == taps && e.raw.size() == n &&
                (n == 0 || std::memcmp(e.raw.data(), x, n * sizeof(double)) == 0))
                return e.detrended;
        Entry entry{std::vector<double>(x, x + count), std::vector<double>(x, x + count), taps};
        std::vector<double> average(n);
        MovingAverageDetrend(average.data(), entry.detrended.data(), count, taps);
        std::vector<double> result = entry.detrended;
        if (m_entries.size() < kEntries)
            m_entries.push_back(std::move(entry));
        else
            m_entries[m_next++ % kEntries] = std::move(entry);
        return result;
    }

private:
    // Enough for every input set and a separate target column.
    static constexpr std::size_t kEntries = VectorSets::kInputSets + 1;
    struct Entry {
        std::vector<double> raw;
        std::vector<double> detrended;
        int taps = 0;
    };
    std::vector<Entry> m_entries;
    std::size_t m_next = 0;
};

std::vector<double> Detrended(const std::vector<double>& x, int count, int taps, bool twoPass)
{
    if (!twoPass)
        return std::vector<double>(x.begin(), x.begin() + count);
    thread_local DetrendMemo memo;
    return memo.Detrend(x.data(), count, taps);
}

// The changes of x at lag L, 0 below row L.
std::vector<double> Changes(const std::vector<double>& x, int lag)
{
    std::vector<double> d(x.size(), 0.0);
    for (std::size_t j = static_cast<std::size_t>(lag); j < x.size(); ++j)
        d[j] = x[j] - x[j - static_cast<std::size_t>(lag)];
    return d;
}

// The detrended learned series: rows below `first` (no change there) stay 0, and the
// trailing means start at `first`, as the extraction's do.
std::vector<double> DetrendedFrom(const std::vector<double>& x, int first, int count, int taps,
                                  bool twoPass)
{
    if (first <= 0)
        return Detrended(x, count, taps, twoPass);
    const int from = std::min(first, count);
    const std::vector<double> tail(x.begin() + from, x.begin() + count);
    std::vector<double> d(static_cast<std::size_t>(from), 0.0);
    const std::vector<double> detrended = Detrended(tail, count - from, taps, twoPass);
    d.insert(d.end(), detrended.begin(), detrended.end());
    return d;
}

void TrainingRange(const std::vector<double>& d, int first, int fitted, double& min, double& max)
{
    min = std::numeric_limits<double>::infinity();
    max = -std::numeric_limits<double>::infinity();
    for (int i = first; i < fitted; ++i) {
        min = std::min(min, d[static_cast<std::size_t>(i)]);
        max = std::max(max, d[static_cast<std::size_t>(i)]);
    }
    if (min == max) {
        min = kFallbackMin;
        max = kFallbackMax;
    }
}

} // namespace

CheckColumns CheckColumnsOf(const Worksheet& ws)
{
    CheckColumns columns;
    if (!ws.roles.inputColumns.empty() || !ws.roles.targetColumns.empty()) {
        const std::size_t sets =
            std::min(ws.roles.inputColumns.size(), static_cast<std::size_t>(VectorSets::kInputSets));
        columns.inputs.assign(ws.roles.inputColumns.begin(), ws.roles.inputColumns.begin() + sets);
        columns.target = ws.roles.targetColumns.empty() ? 0 : ws.roles.targetColumns.front();
        return columns;
    }
    return RoleRowColumns(ws);
}

CheckColumns RoleRowColumns(const Worksheet& ws)
{
    CheckColumns columns;
    const CellStore& store = ws.Store();
    for (int col = 1; col < store.GetColumnCount(); ++col) {
        const ColumnRole role = RoleFromText(store.CellTextRef(kRoleRow, col));
        if ((role == ColumnRole::Input || role == ColumnRole::TrgIn) &&
            columns.inputs.size() < static_cast<std::size_t>(VectorSets::kInputSets))
            columns.inputs.push_back(col);
        if ((role == ColumnRole::Target || role == ColumnRole::TrgIn) && columns.target == 0)
            columns.target = col;
    }
    return columns;
}

bool ReadCheckSeries(const Worksheet& ws, const CheckColumns& columns, int rows, CheckSeries& out,
                     std::string& reason)
{
    const int inputSets = static_cast<int>(columns.inputs.size());
    const int targetColumn = columns.target;
    out.inputs.assign(static_cast<std::size_t>(inputSets), {});
    out.scaled.assign(static_cast<std::size_t>(inputSets), {});
    out.inputMin.assign(static_cast<std::size_t>(inputSets), 0.0);
    out.inputMax.assign(static_cast<std::size_t>(inputSets), 0.0);
    out.rows = rows;
    out.targetInput = -1;
    for (int k = 0; k < inputSets; ++k) {
        const int col = columns.inputs[static_cast<std::size_t>(k)];
        if (!ReadColumn(ws, col, rows, out.inputs[static_cast<std::size_t>(k)], reason))
            return false;
        if (col == targetColumn && out.targetInput < 0)
            out.targetInput = k;
    }
    if (out.targetInput >= 0)
        out.target = out.inputs[static_cast<std::size_t>(out.targetInput)];
    else if (!ReadColumn(ws, targetColumn, rows, out.target, reason))
        return false;

    if (out.lag < 0)
        out.lag = ResolveChangeLag(ws.Settings(), out.target.data(), out.fitted);
    out.inputChanges.clear();
    out.targetChange.clear();
    if (out.lag > 0) {
        for (const std::vector<double>& x : out.inputs)
            out.inputChanges.push_back(Changes(x, out.lag));
        out.targetChange = Changes(out.target, out.lag);
    }
    const int first = out.FirstRow();
    for (int k = 0; k < inputSets; ++k) {
        const auto i = static_cast<std::size_t>(k);
        std::vector<double> d = DetrendedFrom(out.Learned(k), first, rows, out.taps, out.twoPass);
        TrainingRange(d, first, out.fitted, out.inputMin[i], out.inputMax[i]);
        for (double& v : d)
            v = out.Scale(k, v);
        out.scaled[i] = std::move(d);
    }
    // The target's range; when it is also an input set, its detrended rows 0..F-1 are
    // that set's (a row's trailing mean looks no further than the row).
    double min = 0.0;
    double max = 0.0;
    if (out.targetInput >= 0) {
        min = out.inputMin[static_cast<std::size_t>(out.targetInput)];
        max = out.inputMax[static_cast<std::size_t>(out.targetInput)];
    } else {
        TrainingRange(DetrendedFrom(out.LearnedTarget(), first, out.fitted, out.taps, out.twoPass), first,
                      out.fitted, min, max);
    }
    out.targetMin = static_cast<float>(min);
    out.targetMax = static_cast<float>(max);
    return true;
}

} // namespace orvalis
