#include "worksheet/Worksheet.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ColumnRole.h"
#include "worksheet/HeaderBlock.h"
#include "worksheet/IntegerText.h"
#include "worksheet/UserMessages.h"
#include "worksheet/WorksheetNetwork.h"

#include <algorithm>
#include <cstdint>

namespace orvalis {

int AddCounts(int a, int b)
{
    return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

Worksheet::Worksheet(AppSettings& settings, UserMessages& messages, TextMeasurer* measurer)
    : trainingPredictions(kPredictionCapacity, 0.0f),
      evaluationPredictions(kPredictionCapacity, 0.0f),
      m_settings(settings),
      m_messages(messages)
{
    m_store.SetTextMeasurer(measurer);
    firstDataRow = BuildHeaderBlock(m_store, m_settings);
    m_store.AddListener(this);
}

Worksheet::~Worksheet()
{
    m_store.RemoveListener(this);
}

bool Worksheet::AutoSizeHeaderBlock()
{
    if (!m_store.GetTextMeasurer())
        return false;
    m_store.AutoSize();
    m_store.SetColumnWidth(0, m_store.GetColumnWidth(0) * 3 / 2);
    return true;
}

bool Worksheet::GrowRows(std::int64_t gridRows)
{
    if (gridRows <= m_store.GetRowCount())
        return true;
    if (gridRows > maxRows || !AddWorksheetRows(m_store, firstDataRow, static_cast<int>(gridRows)))
        return false;
    UpdateRowLabels();
    // The rows are part of what a save writes.
    SetModified(true);
    return true;
}

void Worksheet::ShrinkRows(std::int64_t gridRows)
{
    const std::int64_t floor = std::max<std::int64_t>(gridRows, kWorksheetRows);
    if (floor >= m_store.GetRowCount())
        return;
    m_store.SetRowCount(static_cast<int>(floor));
    UpdateRowLabels();
}

void Worksheet::UpdateRowLabels()
{
    UpdateRowLabels(counts.numTraining, counts.numTesting, counts.numEval,
                    m_settings.extrapolationRows);
}

void Worksheet::UpdateRowLabels(int numTraining, int numTesting, int numEval, int numExtrapolate)
{
    orvalis::UpdateRowLabels(m_store, m_settings, firstDataRow, numTraining, numTesting, numEval,
                             numExtrapolate);
}

// Role scan ---------------------------------------------------------------------------

bool Worksheet::ScanColumnRoles()
{
    counts.totalRows = AddCounts(AddCounts(counts.numTraining, counts.numTesting), counts.numEval);
    targetSetCount = 0;
    roles.inputColumns.clear();
    roles.targetColumns.clear();
    roles.valEstColumn = roles.valSlopeColumn = 0;
    roles.errValueColumn = roles.errSlopeColumn = roles.errSignColumn = 0;
    roles.hasResultColumns = false;

    auto addInput = [this](int col) {
        if (static_cast<int>(roles.inputColumns.size()) >= kMaxInputSets) {
            m_messages.Error("Error: Exceeded Maximum Number of Input Sets");
            return false;
        }
        roles.inputColumns.push_back(col);
        return true;
    };
    auto addTarget = [this](int col) {
        if (static_cast<int>(roles.targetColumns.size()) >= kMaxTargetSets) {
            m_messages.Error("Error: Exceeded Maximum Number of Target Sets");
            return false;
        }
        roles.targetColumns.push_back(col);
        targetSetCount = static_cast<int>(roles.targetColumns.size());
        return true;
    };

    int firstNoData = 0;
    for (int j = 1; j < m_store.GetColumnCount(); ++j) {
        int* resultColumn = nullptr;
        switch (RoleFromText(m_store.CellTextRef(kRoleRow, j))) {
        case ColumnRole::Input:
            if (!addInput(j))
                return false;
            break;
        case ColumnRole::TrgIn:
            if (!addInput(j) || !addTarget(j))
                return false;
            roles.trgInColumn = j;
            break;
        case ColumnRole::Target:
            if (!addTarget(j))
                return false;
            break;
        case ColumnRole::ErrSign: resultColumn = &roles.errSignColumn; break;
        case ColumnRole::ErrSlope: resultColumn = &roles.errSlopeColumn; break;
        case ColumnRole::ErrValue: resultColumn = &roles.errValueColumn; break;
        case ColumnRole::ValEst: resultColumn = &roles.valEstColumn; break;
        case ColumnRole::ValSlope: resultColumn = &roles.valSlopeColumn; break;
        case ColumnRole::NoData:
            if (firstNoData == 0 && IsFreeColumn(j))
                firstNoData = j;
            break;
        default:
            break;
        }
        if (resultColumn) {
            *resultColumn = j;
            roles.hasResultColumns = true;
        }
    }

    const int scannedInputs = static_cast<int>(roles.inputColumns.size());
    if (scannedInputs != inputSetCount)
        state = WorksheetState::Init;
    inputSetCount = scannedInputs;

    if (targetSetCount == 0) {
        m_messages.Error("Error: No Target Sets Defined");
        return false;
    }
    CreateResultColumns(firstNoData);
    return true;
}

// A "No Data" column may receive a created result column only when nothing is written
// below its role: every column after an import is "No Data" but holds the user's data.
bool Worksheet::IsFreeColumn(int col) const
{
    if (col < 1 || col >= m_store.GetColumnCount())
        return false;
    if (m_store.CellTextRef(kRoleRow, col) != RoleText(ColumnRole::NoData))
        return false;
    for (int r = firstDataRow; r < m_store.GetRowCount(); ++r)
        if (!m_store.CellTextRef(r, col).empty())
            return false;
    return true;
}

void Worksheet::CreateResultColumns(int firstNoData)
{
    if (firstNoData == 0)
        return;
    int candidate = firstNoData;
    if (roles.valEstColumn == 0) {
        roles.valEstColumn = firstNoData;
        m_store.SetCellText(kRoleRow, firstNoData, RoleText(ColumnRole::ValEst));
        roles.hasResultColumns = true;
        candidate = firstNoData + 1;
    }
    if (roles.valSlopeColumn == 0 && IsFreeColumn(candidate)) {
        roles.valSlopeColumn = candidate;
        m_store.SetCellText(kRoleRow, candidate, RoleText(ColumnRole::ValSlope));
        roles.hasResultColumns = true;
    }
}

// Editing -----------------------------------------------------------------------------

bool Worksheet::ApplyCellEdit(int row, int col, const std::string& text)
{
    if (!m_store.IsValidCell(row, col) || m_store.IsFixed(row, col) ||
        !m_store.IsCellEditable(row, col))
        return false;
    if (m_store.CellTextRef(row, col) != text) {
        m_store.SetModified(true, row, col);
        m_store.SetCellText(row, col, text);
    }
    m_store.NotifyEditEnded(row, col);
    return true;
}

void Worksheet::EditEnded(int row, int col)
{
    if (col == kValueColumn && row >= kStartOffsetRow && row <= kNumTapsRow)
        HandleHeaderEdit(row);
    SetModified(true);
}

void Worksheet::HandleHeaderEdit(int row)
{
    int* field = nullptr;
    switch (row) {
    case kStartOffsetRow: field = &counts.startOffset; break;
    case kNumTrainingRow: field = &counts.numTraining; break;
    case kNumTestingRow: field = &counts.numTesting; break;
    case kNumEvalRow: field = &counts.numEval; break;
    default: field = &counts.numTaps; break;
    }
    const int value = ReadIntegerText(m_store.CellTextRef(row, kValueColumn));
    if (value != *field) {
        *field = value;
        state = WorksheetState::Init;
    }
    counts.totalRows = AddCounts(AddCounts(counts.numTraining, counts.numTesting), counts.numEval);
    UpdateRowLabels();
}

void Worksheet::SetModified(bool modified)
{
    const bool changed = modified != m_modified;
    m_modified = modified;
    if (modified)
        ++m_modificationCount;
    if (!modified)
        m_store.SetModified(false);
    if (changed && m_modifiedObserver)
        m_modifiedObserver(modified);
}

void Worksheet::SetStateAndText(WorksheetState newState)
{
    state = newState;
    m_store.SetCellText(kStateRow, kStateColumn, StateText(newState));
}

WorksheetNetwork& Worksheet::Network()
{
    if (!m_network)
        m_network = BuildNetworkFromRecord(*this);
    return *m_network;
}

void Worksheet::RebuildNetwork()
{
    if (m_network)
        m_network = BuildNetworkFromRecord(*this);
}

void Worksheet::WriteCount(int row, int value)
{
    m_store.SetCellText(row, kValueColumn, IntegerText(value));
}

} // namespace orvalis
