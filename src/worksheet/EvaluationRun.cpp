#include "worksheet/EvaluationRun.h"

#include "worksheet/AppSettings.h"
#include "worksheet/Extrapolation.h"
#include "worksheet/ForecastCheck.h"
#include "worksheet/ResultLayout.h"
#include "worksheet/ResultStatistics.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace orvalis {

namespace {

// The engine's prediction array as the extrapolation writes into it.
class EngineSlots final : public PredictionSlots {
public:
    // lag: the change lag of the view, whose row r is data row r + lag.
    EngineSlots(CBackpropNet& net, const VectorView& view, int lag) : m_net(net), m_view(view), m_lag(lag) {}
    double PredictRow(int row) override { return m_net.PredictRow(row - m_lag, m_view); }
    float Slot(int row) const override { return m_net.Prediction(row - m_lag); }
    void SetSlot(int row, float value) override { m_net.SetPrediction(row - m_lag, value); }

private:
    CBackpropNet& m_net;
    VectorView m_view;
    int m_lag;
};

bool NetworkFitsWorksheet(Worksheet& ws, const CBackpropNet& net)
{
    const SectionCounts& c = ws.counts;
    UserMessages& messages = ws.Messages();
    const std::int64_t window = static_cast<std::int64_t>(c.numTaps) * ws.inputSetCount;
    if (!net.IsBuilt() || net.BuiltShape().Inputs() != window) {
        messages.Error("Error: Network Inputs Must Equal Num Taps x Input Sets (" +
                       std::to_string(window) + ")");
        return false;
    }
    // With the phase offset -1 every window starts one row earlier, so a window as
    // long as the Training and Testing rows would begin before the first data row.
    const std::int64_t windowRows = static_cast<std::int64_t>(c.numTaps) + (ws.phaseOffset == -1 ? 1 : 0);
    if (windowRows > static_cast<std::int64_t>(c.numTraining) + c.numTesting) {
        messages.Error("Error: Num Taps Exceeds Num Training + Num Testing");
        return false;
    }
    // Learning the change, windows start at row L, where the first change is.
    const int lag = ws.vectors.changeLag;
    if (lag > 0 && windowRows + lag > static_cast<std::int64_t>(c.numTraining) + c.numTesting) {
        messages.Error("Error: Num Taps + Change Lag Exceeds Num Training + Num Testing");
        return false;
    }
    const ExtrapolationRoom room = ExtrapolationRoomOf(ws);
    if (!room.Fits()) {
        messages.Error("Error: Extrapolation Runs Past the Last Worksheet Row");
        return false;
    }
    // The extension runs on rows of its own: a full worksheet grows for them, and the
    // vectors make room for them now, before the run takes pointers into them.
    if (!ws.GrowRows(room.gridRows))
        return false;
    ws.vectors.Reserve(ws.Store().GetRowCount());
    return true;
}

// With leak-free evaluation on, the forecast check's estimates of the Evaluate rows (from
// the values before each row only); empty when it is off or the check has none, and the
// results are then the usual ones.
std::vector<double> LeakFreeEstimates(Worksheet& ws)
{
    std::vector<double> estimates;
    if (!EffectiveForecastOptions(ws.Settings().forecast).leakFreeEvaluation || ws.counts.numEval <= 0)
        return estimates;
    const ForecastCheck check = ComputeForecastCheck(ws, 1);
    if (!check.available || static_cast<int>(check.rows.size()) != ws.counts.numEval)
        return estimates;
    for (const ForecastCheckRow& row : check.rows)
        estimates.push_back(row.estimate);
    return estimates;
}

} // namespace

ExtrapolationRoom ExtrapolationRoomOf(const Worksheet& ws)
{
    const AppSettings& settings = ws.Settings();
    ExtrapolationRoom room;
    room.count =
        ExtrapolationCountFor(settings.resultsMode, settings.extrapolationRows, ws.phaseOffset);
    room.lastDataRow = ws.counts.totalRows;
    // The extension and its scratch row must stay on the worksheet, grown if need be.
    const std::int64_t end = static_cast<std::int64_t>(ws.firstDataRow) + ws.counts.totalRows + room.count;
    if (room.count > 0)
        room.gridRows = end + 1;
    const std::int64_t lastGridRow = ws.maxRows - 1;
    if (room.count > 0 && end > lastGridRow)
        room.rowsShort = static_cast<int>(std::min<std::int64_t>(end - lastGridRow, 1 << 30));
    return room;
}

bool EvaluateWorksheet(Worksheet& ws, EstimateFigures* figures)
{
    if (ws.state == WorksheetState::Init) {
        ws.Messages().Error("Error: Orvalis not Trained");
        return false;
    }
    WorksheetNetwork& network = ws.Network();
    CBackpropNet& net = network.net;
    if (!BeginRun(ws, false))
        return false;
    const AppSettings& settings = ws.Settings();
    const int count =
        ExtrapolationCountFor(settings.resultsMode, settings.extrapolationRows, ws.phaseOffset);
    if (!NetworkFitsWorksheet(ws, net))
        return RefuseRun(ws);

    const VectorView view = DefineRunRanges(ws);
    network.lastView = view;
    net.ListPredictions(view, 1);
    const int previousCount = ws.extrapolationCount;
    ws.extrapolationCount = count;
    if (count != 0) {
        EngineSlots slots(net, view, ws.vectors.changeLag);
        if (!ExtrapolateSeries(ws, slots)) {
            // The extension's own message said why; the worksheet keeps its state and
            // its results of the last evaluation.
            ws.extrapolationCount = previousCount;
            return RefuseRun(ws);
        }
    }
    CopyPredictions(ws, net, ws.counts.totalRows + count, ws.evaluationPredictions);
    ws.SetStateAndText(WorksheetState::Eval);
    const std::vector<double> leakFree = LeakFreeEstimates(ws);
    WriteEvaluationResults(ws, leakFree.empty() ? nullptr : &leakFree);
    NoteEstimateRows(ws, settings.extrapolationRows);

    if (figures) {
        *figures = EstimateFigures{};
        if (settings.resultsMode == ResultsModeEvaluate) {
            figures->show = true;
            figures->slopeConfidence = ws.statistics.slopeFM;
            figures->valueConfidence = ws.statistics.valueFM;
            figures->actualBasis = ws.statistics.targetNetChange;
            figures->estimateBasis = ws.statistics.estimateNetChange;
            figures->intervalLength = ws.counts.numEval + settings.extrapolationRows;
        }
    }
    return true;
}

} // namespace orvalis
