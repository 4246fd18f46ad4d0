// The results passes: network outputs turned back into the target's units, the result
// columns, the six figures and the phase decision.

#include "worksheet/ResultStatistics.h"

#include "worksheet/AppSettings.h"
#include "worksheet/NumberText.h"
#include "worksheet/VectorSets.h"
#include "worksheet/Worksheet.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace orvalis {

namespace {

// Arrays indexed by data row; reads outside them (possible only when the counts were
// edited between a run and its Continue) see 0.
template <typename T>
struct RowArray {
    const T* values;
    std::int64_t size;
    T operator()(std::int64_t i) const { return i >= 0 && i < size ? values[i] : T(0); }
};

float BackTransform(long double y, const TargetScale& scale)
{
    const long double min = scale.min;
    const long double max = scale.max;
    return static_cast<float>(((y - static_cast<long double>(0.1)) * 1.25L) * (max - min) + min);
}

// Learning the change, the network's outputs are changes over L rows: each is turned
// back into a value by adding the value L rows before the row the output belongs to (an
// extrapolated row's own estimate once the extension has passed L rows), and every
// result is formed from those values. Steps are measured in the units of the network's
// output, as with the values.
struct TurnedBack {
    std::vector<double> levels;    // per data row: the cells' values, then extrapolated estimates
    std::vector<double> estimates; // per prediction slot: the turned-back estimate
    double unit = 1.0;             // output units per target unit: 0.8 / (max - min)

    double Level(std::int64_t i) const { return At(levels, i); }
    double Estimate(std::int64_t e) const { return At(estimates, e); }
    static double At(const std::vector<double>& v, std::int64_t i)
    {
        return i >= 0 && i < static_cast<std::int64_t>(v.size()) ? v[static_cast<std::size_t>(i)] : 0.0;
    }
};

struct RowInputs {
    RowArray<float> predictions;
    RowArray<double> targets;
    RowArray<double> averages;
    TargetScale scale;
    int phase;     // 0 or -1
    bool twoPass;
    const TurnedBack* change = nullptr; // set when the network learned the change

    double TargetStep(std::int64_t i) const
    {
        if (change)
            return (change->Level(i + 1) - change->Level(i)) * change->unit;
        return targets(i + 1) - targets(i);
    }
    float EstimateStep(std::int64_t e) const
    {
        if (change)
            return static_cast<float>((change->Estimate(e + 1) - change->Estimate(e)) * change->unit);
        return predictions(e + 1) - predictions(e);
    }
};

struct RowResult {
    const char* sign = "N/A";
    float estimate = 0.0f;
    float target = 0.0f;
    float value = 0.0f;
    float slope = 0.0f;
    float slopeSource = 0.0f;
    bool match = false;
};

RowResult ComputeRow(const RowInputs& in, std::int64_t i, bool lastRow)
{
    const auto& P = in.predictions;
    const std::int64_t e = in.phase == 0 ? i : i + 1; // the row whose output estimates row i
    RowResult r;
    const float da = in.EstimateStep(e);
    const double dt = in.TargetStep(i);
    if (in.change) {
        r.estimate = static_cast<float>(in.change->Estimate(e));
        r.target = static_cast<float>(in.change->Level(i));
    } else {
        r.estimate = BackTransform(P(e), in.scale);
        r.target = BackTransform(in.targets(i), in.scale);
        if (in.twoPass) {
            r.target = static_cast<float>(r.target + in.averages(i));
            r.estimate = static_cast<float>(r.estimate + in.averages(e));
        }
    }
    r.value = r.target - r.estimate;
    const bool targetFalls = dt < 0;
    const bool estimateFalls = da < 0;
    r.sign = targetFalls ? (estimateFalls ? "--" : "-+") : (estimateFalls ? "+-" : "++");
    r.match = targetFalls == estimateFalls;
    const double s = r.match ? std::fabs(dt - da) : std::fabs(dt) + std::fabs(static_cast<double>(da));
    r.slope = lastRow ? 0.0f : static_cast<float>(s);
    r.slopeSource = in.change ? static_cast<float>(in.change->Estimate(e) - in.change->Estimate(e - 1))
                              : P(i) - P(i - 1);
    return r;
}

const char* SlopeText(float source)
{
    if (source > 0)
        return "+";
    if (source < 0)
        return "-";
    return ".";
}

// Float sums of the rows that count, as the figures need them.
struct Sums {
    float s = 0, s2 = 0, v = 0, v2 = 0, g = 0, g2 = 0;
    int matches = 0;

    void Add(const RowResult& r, bool inRange)
    {
        s += r.slope;
        s2 += r.slope * r.slope;
        v += r.value;
        v2 += r.value * r.value;
        g += r.target;
        g2 += r.target * r.target;
        if (inRange && r.match)
            ++matches;
    }
};

float Spread(float sum, float squares, long double n)
{
    const long double S = sum;
    const long double S2 = squares;
    return static_cast<float>(sqrtl(((n * S2 - S * S) / n) / (n - 1)));
}

void ComputeFigures(ResultStatistics& st, const Sums& sums, std::int64_t count)
{
    const long double n = static_cast<long double>(count);
    st.slopeErrAvg = static_cast<float>(static_cast<long double>(sums.s) / n);
    st.valueErrAvg = static_cast<float>(static_cast<long double>(sums.v) / n);
    st.slopeErrSD = Spread(sums.s, sums.s2, n);
    st.valueErrSD = Spread(sums.v, sums.v2, n);
    const float targetSD = Spread(sums.g, sums.g2, n);
    st.slopeFM = static_cast<float>(static_cast<long double>(sums.matches) * 100 / n);
    st.valueFM = static_cast<float>(
        (1 - static_cast<long double>(st.valueErrSD) / static_cast<long double>(targetSD)) * 100);
}

void WriteFigures(Worksheet& ws, const ResultStatistics& st)
{
    CellStore& store = ws.Store();
    store.SetCellText(1, kFigureColumn, FormatNumber("%.5f", st.slopeErrAvg));
    store.SetCellText(2, kFigureColumn, FormatNumber("%.5f", st.slopeErrSD));
    store.SetCellText(kSlopeFmRow, kStateColumn, FormatNumber("%.3f", st.slopeFM));
    store.SetCellText(3, kFigureColumn, FormatNumber("%.5f", st.valueErrAvg));
    store.SetCellText(4, kFigureColumn, FormatNumber("%.5f", st.valueErrSD));
    store.SetCellText(kValueFmRow, kStateColumn, FormatNumber("%.3f", st.valueFM));
}

// Writes the result cells of data row i; the error columns only for rows < totalRows.
void WriteRow(Worksheet& ws, std::int64_t i, const RowResult& r, bool inRange, std::int64_t totalRows)
{
    CellStore& store = ws.Store();
    const std::int64_t gridRow = ws.firstDataRow + i;
    if (gridRow >= store.GetRowCount())
        return;
    const int row = static_cast<int>(gridRow);
    const ColumnRoleMap& roles = ws.roles;
    const bool measured = i < totalRows;
    if (roles.errSignColumn && measured)
        store.SetCellText(row, roles.errSignColumn, inRange ? r.sign : "N/A");
    if (roles.valEstColumn)
        store.SetCellText(row, roles.valEstColumn, FormatNumber("%.3f", r.estimate));
    if (roles.valSlopeColumn)
        store.SetCellText(row, roles.valSlopeColumn, SlopeText(r.slopeSource));
    if (roles.errSlopeColumn && measured)
        store.SetCellText(row, roles.errSlopeColumn, FormatNumber("%.3f", r.slope));
    if (roles.errValueColumn && measured)
        store.SetCellText(row, roles.errValueColumn, FormatNumber("%.3f", r.value));
}

RowInputs MakeInputs(Worksheet& ws, const std::vector<float>& predictions, const TargetScale& scale,
                     int phase)
{
    VectorSets& v = ws.vectors;
    return RowInputs{{predictions.data(), static_cast<std::int64_t>(predictions.size())},
                     {v.Target(0), v.Capacity()},
                     {v.TargetAverage(0), v.Capacity()},
                     scale,
                     phase,
                     ws.Settings().use2PassEstimate};
}

// Rows a pass walks: the rows asked for, but none past the grid's data rows (reachable
// only with counts edited after the run).
std::int64_t RowsToWalk(const Worksheet& ws, std::int64_t rows)
{
    return std::clamp<std::int64_t>(rows, 0, ws.Store().GetRowCount() - ws.firstDataRow);
}

// The turned-back estimates of prediction slots [outFirst, outEnd); other slots read as
// the row's value. From slot extendFrom on, an extension at phase offset -1 stores in
// slot s the output of row s - 1 (the estimate shown on row s - 1).
TurnedBack TurnBack(Worksheet& ws, const std::vector<float>& predictions, const TargetScale& scale,
                    int phase, std::int64_t outFirst, std::int64_t outEnd, std::int64_t extendFrom)
{
    VectorSets& v = ws.vectors;
    const int lag = v.changeLag;
    const std::int64_t total = std::clamp<std::int64_t>(ws.counts.totalRows, 0, v.Capacity());
    const std::int64_t size = std::min<std::int64_t>(static_cast<std::int64_t>(predictions.size()),
                                                     v.Capacity());
    const bool twoPass = ws.Settings().use2PassEstimate;
    TurnedBack tb;
    tb.unit = 0.8 / (static_cast<double>(scale.max) - static_cast<double>(scale.min));
    tb.levels.assign(static_cast<std::size_t>(size), 0.0);
    tb.estimates.assign(static_cast<std::size_t>(size), 0.0);
    if (lag > 0) {
        std::copy_n(v.Level(VectorSets::kInputSets), total, tb.levels.begin());
    } else {
        // The values as the usual results turn the scaled series back.
        for (std::int64_t i = 0; i < total; ++i) {
            double value = BackTransform(v.Target(0)[i], scale);
            if (twoPass)
                value = static_cast<float>(value + v.TargetAverage(0)[i]);
            tb.levels[static_cast<std::size_t>(i)] = value;
        }
    }
    for (std::int64_t e = 0; e < size; ++e) {
        const auto slot = static_cast<std::size_t>(e);
        if (e < outFirst || e >= outEnd) {
            tb.estimates[slot] = e < total ? tb.levels[slot] : 0.0;
            continue;
        }
        double change = BackTransform(predictions[slot], scale);
        if (twoPass)
            change = static_cast<float>(change + v.TargetAverage(0)[e]);
        const bool shifted = phase == -1 && e >= extendFrom;
        const std::int64_t outputRow = shifted ? e - 1 : e;
        tb.estimates[slot] = lag > 0 ? change + tb.Level(outputRow - lag) : change;
        // An extrapolated row's value is its estimate: the rows L further on build on it.
        const std::int64_t shownRow = phase == -1 ? e - 1 : e;
        if (shownRow >= total && shownRow < size)
            tb.levels[static_cast<std::size_t>(shownRow)] = tb.estimates[slot];
    }
    return tb;
}

// Whether the prediction step of `offset` rows later has the direction of the target
// step, counted over first..last.
int DirectionMatches(const RowInputs& in, std::int64_t first, std::int64_t last, int offset)
{
    int count = 0;
    for (std::int64_t i = std::max<std::int64_t>(first, 0); i <= last && i < in.targets.size; ++i) {
        const double dt = in.TargetStep(i);
        const float dp = in.EstimateStep(i + offset);
        if ((dt < 0) == (dp < 0))
            ++count;
    }
    return count;
}

} // namespace

void WriteTrainingResults(Worksheet& ws)
{
    const SectionCounts& c = ws.counts;
    const std::int64_t end = static_cast<std::int64_t>(c.numTraining) + c.numTesting - 1;
    std::int64_t first = c.numTaps;
    const std::int64_t last = end - 1;
    std::int64_t n = end - c.numTaps + 1;

    RowInputs in = MakeInputs(ws, ws.trainingPredictions, ws.vectors.trainingTargetScale, 0);
    const int lag = ws.vectors.changeLag;
    TurnedBack change;
    if (lag > 0) {
        // The first L rows have no change, so the first window ends L rows later.
        first += lag;
        n -= lag;
        change = TurnBack(ws, ws.trainingPredictions, ws.vectors.trainingTargetScale, 0, first, end + 1,
                          std::numeric_limits<std::int64_t>::max());
        in.change = &change;
    }
    // Comparing the two percentages of n is comparing the two counts; a tie reads the
    // output one row later.
    const int sameRow = DirectionMatches(in, first, last, 0);
    const int nextRow = DirectionMatches(in, first, last, 1);
    ws.phaseOffset = sameRow > nextRow ? 0 : -1;
    in.phase = ws.phaseOffset;

    Sums sums;
    const std::int64_t rows = RowsToWalk(ws, c.totalRows);
    for (std::int64_t i = 0; i < rows; ++i) {
        const bool inRange = i >= first && i <= last;
        const RowResult r = inRange ? ComputeRow(in, i, i == last) : RowResult{};
        WriteRow(ws, i, r, inRange, c.totalRows);
        sums.Add(r, inRange);
    }
    ComputeFigures(ws.statistics, sums, n);
    WriteFigures(ws, ws.statistics);
}

void WriteEvaluationResults(Worksheet& ws, const std::vector<double>* leakFree)
{
    const SectionCounts& c = ws.counts;
    const std::int64_t first = static_cast<std::int64_t>(c.numTraining) + c.numTesting;
    const std::int64_t end = static_cast<std::int64_t>(c.totalRows) + ws.Settings().extrapolationRows;
    const std::int64_t n = end - first + 1;
    const int phase = ws.phaseOffset == -1 ? -1 : 0;
    RowInputs in = MakeInputs(ws, ws.evaluationPredictions, ws.vectors.evaluationTargetScale, phase);
    TurnedBack change;
    if (ws.vectors.changeLag > 0 || leakFree) {
        const std::int64_t slots = static_cast<std::int64_t>(c.totalRows) + ws.extrapolationCount;
        change = TurnBack(ws, ws.evaluationPredictions, ws.vectors.evaluationTargetScale, phase, first,
                          slots, c.totalRows);
        if (leakFree) {
            // Each Evaluate row shows the estimate from the values before it, whatever the
            // phase offset; the row reads it from the slot its phase points to.
            for (std::size_t k = 0; k < leakFree->size(); ++k) {
                const std::int64_t row = first + static_cast<std::int64_t>(k);
                const std::int64_t slot = phase == -1 ? row + 1 : row;
                if (slot < static_cast<std::int64_t>(change.estimates.size()))
                    change.estimates[static_cast<std::size_t>(slot)] = (*leakFree)[k];
            }
        }
        in.change = &change;
    }

    Sums sums;
    const std::int64_t rows = RowsToWalk(ws, end);
    for (std::int64_t i = 0; i < rows; ++i) {
        const bool inRange = i >= first;
        const RowResult r = inRange ? ComputeRow(in, i, i == end - 1) : RowResult{};
        WriteRow(ws, i, r, inRange, c.totalRows);
        if (i < c.totalRows)
            sums.Add(r, inRange);
    }

    CellStore& store = ws.Store();
    if (ws.Settings().resultsMode != ResultsModeEvaluate) {
        for (int row = 1; row <= 4; ++row)
            store.SetCellText(row, kFigureColumn, "---");
        store.SetCellText(kSlopeFmRow, kStateColumn, "---");
        store.SetCellText(kValueFmRow, kStateColumn, "---");
        return;
    }

    ResultStatistics& st = ws.statistics;
    ComputeFigures(st, sums, n);
    // The net changes read the texts just written, so "Val:Est" enters with three
    // decimals, as the user sees it.
    const auto cellNumber = [&](std::int64_t dataRow, int col) {
        const std::int64_t gridRow = ws.firstDataRow + dataRow;
        if (col <= 0 || gridRow >= store.GetRowCount())
            return 0.0;
        return ReadNumberText(store.CellTextRef(static_cast<int>(gridRow), col));
    };
    const int targetColumn = ws.roles.targetColumns.empty() ? 0 : ws.roles.targetColumns.front();
    st.targetNetChange = 100.0f;
    st.estimateNetChange = 100.0f;
    const std::int64_t lastStep = std::min<std::int64_t>(end - 2, store.GetRowCount());
    for (std::int64_t k = first + 1; k <= lastStep; ++k) {
        st.targetNetChange = static_cast<float>(
            st.targetNetChange + (cellNumber(k, targetColumn) - cellNumber(k - 1, targetColumn)));
        st.estimateNetChange = static_cast<float>(
            st.estimateNetChange +
            (cellNumber(k, ws.roles.valEstColumn) - cellNumber(k - 1, ws.roles.valEstColumn)));
    }
    WriteFigures(ws, st);
}

} // namespace orvalis
