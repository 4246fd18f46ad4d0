// Automatic section configuration, training reset, extrapolation-row clearing and the
// results-mode switch of a worksheet.

#include "worksheet/AppSettings.h"
#include "worksheet/ColumnRole.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"

#include <algorithm>
#include <cstdint>

namespace orvalis {

namespace {
constexpr int kExtrapolationClearRows = 21;
constexpr int kDefaultRestoredEval = 5;
}

int Worksheet::CountDataRows(int column) const
{
    for (int r = firstDataRow; r < m_store.GetRowCount(); ++r)
        if (m_store.CellTextRef(r, column).empty())
            return r - firstDataRow;
    return 0;
}

bool Worksheet::AutoConfigureSections(int mode)
{
    ScanColumnRoles();
    // A scan that failed after meeting input columns still configures; one that met
    // none leaves everything as it was.
    if (roles.inputColumns.empty())
        return false;
    ApplySections(CountDataRows(roles.inputColumns.front()), mode);
    return true;
}

void Worksheet::AutoConfigureSectionsFromColumn1(int mode)
{
    ApplySections(CountDataRows(1), mode);
}

void Worksheet::ApplySections(int n, int mode)
{
    counts.numTraining = 2 * n / 3;
    if (mode == ResultsModeEvaluate) {
        m_settings.extrapolationRows = 0;
        counts.numTesting = n / 6;
        counts.numEval = n - counts.numTraining - counts.numTesting;
        if (counts.numTraining < 20)
            m_messages.Information("Suggest Training Set > 20 Elements");
    } else {
        counts.numEval = 0;
        counts.numTesting = n - counts.numTraining;
        m_settings.extrapolationRows = m_settings.extrapolationLen;
    }
    counts.totalRows = counts.numTraining + counts.numTesting + counts.numEval;
    WriteCount(kNumTrainingRow, counts.numTraining);
    WriteCount(kNumTestingRow, counts.numTesting);
    WriteCount(kNumEvalRow, counts.numEval);
    UpdateRowLabels();
    if (counts.numTaps == 0)
        counts.numTaps = static_cast<int>(n * 0.1);
    WriteCount(kNumTapsRow, counts.numTaps);
}

void Worksheet::ResetTraining()
{
    state = WorksheetState::Init;
    phaseOffset = 100;
    if (m_settings.resultsMode == ResultsModeExtrapolate)
        ClearExtrapolationRows(counts.numTraining, counts.numTesting, counts.numEval);
    m_store.SetCellText(kStateRow, kStateColumn, StateText(WorksheetState::Init));
    m_store.SetCellText(kSlopeFmRow, kStateColumn, "0");
    m_store.SetCellText(kValueFmRow, kStateColumn, "0");
    for (int r = 1; r <= 4; ++r)
        m_store.SetCellText(r, kFigureColumn, "0");
}

void Worksheet::ClearExtrapolationRows(int numTraining, int numTesting, int numEval)
{
    const std::int64_t start = static_cast<std::int64_t>(firstDataRow) + numTraining +
                               numTesting + numEval;
    const std::int64_t first = std::max<std::int64_t>(start, firstDataRow);
    const std::int64_t last = std::min<std::int64_t>(start + kExtrapolationClearRows,
                                                     m_store.GetRowCount());
    if (first >= last)
        return;
    // Only result columns are emptied: these rows may hold the user's own data.
    for (int j = 1; j < m_store.GetColumnCount(); ++j) {
        if (!IsResultRole(RoleFromText(m_store.CellTextRef(kRoleRow, j))))
            continue;
        for (auto r = static_cast<int>(first); r < static_cast<int>(last); ++r)
            m_store.SetCellText(r, j, std::string());
    }
}

void Worksheet::SwitchResultsMode(int mode)
{
    if (mode == ResultsModeEvaluate) {
        ClearExtrapolationRows(counts.numTraining, counts.numTesting, counts.numEval);
        if (m_settings.resultsMode == ResultsModeExtrapolate) {
            if (m_settings.autoVectorSizing) {
                AutoConfigureSections(ResultsModeEvaluate);
            } else {
                int k = counts.savedNumEval;
                if (k == 0)
                    k = counts.savedNumEval = kDefaultRestoredEval;
                counts.numEval = k;
                m_settings.extrapolationRows = 0;
                // The evaluation rows come back out of the testing rows, which must
                // not go negative when the user shortened them meanwhile.
                const std::int64_t testing = static_cast<std::int64_t>(counts.numTesting) - k;
                counts.numTesting = static_cast<int>(std::clamp<std::int64_t>(testing, 0, INT32_MAX));
            }
        }
        m_settings.resultsMode = ResultsModeEvaluate;
        m_settings.UpdateExtrapolationRows();
        WriteCount(kNumTestingRow, counts.numTesting);
        WriteCount(kNumEvalRow, counts.numEval);
        counts.totalRows = AddCounts(AddCounts(counts.numTraining, counts.numTesting), counts.numEval);
    } else if (mode == ResultsModeExtrapolate) {
        if (m_settings.resultsMode == ResultsModeEvaluate) {
            if (m_settings.autoVectorSizing)
                AutoConfigureSections(ResultsModeExtrapolate);
            else
                counts.numTesting = AddCounts(counts.numTesting, counts.numEval);
        }
        m_settings.resultsMode = ResultsModeExtrapolate;
        m_settings.UpdateExtrapolationRows();
        WriteCount(kNumTestingRow, counts.numTesting);
        counts.savedNumEval = counts.numEval;
        counts.numEval = 0;
        m_store.SetCellText(kNumEvalRow, kValueColumn, "---");
        counts.totalRows = AddCounts(counts.numTraining, counts.numTesting);
    } else {
        return;
    }
    UpdateRowLabels();
    ResetTraining();
}

void Worksheet::AdjustSectionsAfterLoad()
{
    if (m_settings.autoVectorSizing) {
        AutoConfigureSections(m_settings.resultsMode);
    } else if (m_settings.resultsMode == ResultsModeExtrapolate) {
        counts.numTesting = AddCounts(counts.numTesting, counts.numEval);
        WriteCount(kNumTestingRow, counts.numTesting);
        counts.savedNumEval = counts.numEval;
        counts.numEval = 0;
        m_store.SetCellText(kNumEvalRow, kValueColumn, "---");
        counts.totalRows = AddCounts(counts.numTraining, counts.numTesting);
    }
    UpdateRowLabels();
}

} // namespace orvalis
