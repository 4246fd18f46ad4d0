#include "worksheet/WorksheetFile.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ColumnRole.h"
#include "worksheet/IntegerText.h"
#include "worksheet/OutputFile.h"
#include "worksheet/ResultLayout.h"
#include "worksheet/UserMessages.h"
#include "worksheet/WholeFile.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetNetwork.h"

#include <algorithm>

namespace orvalis {

namespace {

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileError MakeError(FileError::Kind kind, std::string message, std::string detail = {})
{
    FileError e;
    e.kind = kind;
    e.message = std::move(message);
    e.detail = std::move(detail);
    return e;
}

} // namespace

int FirstUnsavedColumn(const Worksheet& ws)
{
    const CellStore& store = ws.Store();
    for (int j = 1; j < store.GetColumnCount(); ++j)
        if (store.CellTextRef(kRoleRow, j) == RoleText(ColumnRole::NoData))
            return j;
    return store.GetColumnCount();
}

bool ConfirmSaveDropsText(Worksheet& ws)
{
    const CellStore& store = ws.Store();
    const int k = FirstUnsavedColumn(ws);
    const int firstRow = ws.Settings().useCommentLine ? kCommentRow : ws.firstDataRow;
    for (int j = k; j < store.GetColumnCount(); ++j) {
        for (int r = firstRow; r < store.GetRowCount(); ++r) {
            if (!store.CellTextRef(r, j).empty())
                return ws.Messages().Ask("Proceed With Save? Data From Column " +
                                         std::to_string(k) + " On Will Not Be Saved");
        }
    }
    return true;
}

std::vector<std::uint8_t> WorksheetFileBytes(const Worksheet& ws)
{
    const CellStore& store = ws.Store();
    const StoredNetwork& n = ws.network;
    const bool init = ws.state == WorksheetState::Init;
    ByteWriter out;
    out.String(kWorksheetFileVersion);
    out.Int32(n.autoNetworkConfigure);
    out.Int32(n.layerCount);
    for (int l = 0; l < n.layerCount; ++l)
        out.Int32(l < static_cast<int>(n.unitsPerLayer.size()) ? n.unitsPerLayer[l] : 0);
    out.Float64(n.learningRate);
    out.Float64(n.momentum);
    out.Float64(n.gain);
    out.Int32(n.autoTrainingConfigure);
    out.Float64(n.errorRatioGoal);
    out.Int32(n.iterationsPerCycle);
    out.Int32(n.maxCycles);
    out.Int32(ws.phaseOffset);
    if (init) {
        // No trained network: placeholders that no reader uses.
        out.Int32(kPlaceholderWeightCount);
        for (int i = 0; i < kPlaceholderWeightCount; ++i)
            out.Float32(0.0f);
    } else {
        out.Int32(static_cast<std::int32_t>(ws.storedWeights.size()));
        for (float w : ws.storedWeights)
            out.Float32(w);
    }
    for (int row = kStartOffsetRow; row <= kNumTapsRow; ++row)
        out.String(store.CellTextRef(row, kValueColumn));
    out.String(init ? StateText(WorksheetState::Init) : store.CellTextRef(kStateRow, kStateColumn));

    const int nc = store.GetColumnCount();
    const int nr = store.GetRowCount();
    out.Int32(nc);
    out.Int32(nr);
    for (int j = 1; j < nc; ++j)
        out.String(store.CellTextRef(kRoleRow, j));
    const int k = FirstUnsavedColumn(ws);
    const bool comments = ws.Settings().useCommentLine;
    for (int j = 1; j < k; ++j)
        out.String(comments ? store.CellTextRef(kCommentRow, j) : std::string("---"));
    for (int r = ws.firstDataRow; r < nr; ++r)
        for (int j = 1; j < k; ++j)
            out.String(store.CellTextRef(r, j));
    return std::move(out.Bytes());
}

FileResult SaveWorksheetFile(Worksheet& ws, const std::string& path)
{
    if (!ConfirmSaveDropsText(ws))
        return MakeError(FileError::Kind::Cancelled, {}, "the user declined");
    // A network never used since the worksheet was made or loaded is its record as it
    // stands; one that has run writes back its shape and weights.
    if (ws.state != WorksheetState::Init && ws.HasNetwork())
        ExportNetworkRecord(ws);
    const std::vector<std::uint8_t> bytes = WorksheetFileBytes(ws);
    // What is saved must open again: a file past the open limit is not written at all.
    if (bytes.size() > kMaxWorksheetFileBytes) {
        FileError e = MakeError(FileError::Kind::WriteFailed,
                                "Error: Cannot write file " + BaseName(path) +
                                    "\nThe worksheet would make a file larger than " +
                                    std::to_string(kMaxWorksheetFileBytes >> 20) +
                                    " MiB, which could not be opened again",
                                "larger than the open limit");
        ws.Messages().Error(e.message);
        return e;
    }
    const OutputResult written = WriteOutputFile(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!written) {
        FileError e = MakeError(FileError::Kind::WriteFailed,
                                "Error: Cannot write file " + BaseName(path), written.detail);
        ws.Messages().Error(e.message);
        return e;
    }
    ws.SetModified(false);
    return {};
}

namespace {

void ApplyContents(Worksheet& ws, WorksheetFileContents& file, const BeforeSizing& beforeSizing)
{
    CellStore& store = ws.Store();
    ws.network = file.network;
    ws.phaseOffset = file.phaseOffset;

    SectionCounts& c = ws.counts;
    int* fields[] = {&c.startOffset, &c.numTraining, &c.numTesting, &c.numEval, &c.numTaps};
    for (int i = 0; i < 5; ++i) {
        *fields[i] = ReadIntegerText(file.headerTexts[i]);
        store.SetCellText(kStartOffsetRow + i, kValueColumn, file.headerTexts[i]);
    }
    c.totalRows = AddCounts(AddCounts(c.numTraining, c.numTesting), c.numEval);

    const std::string& stateText = file.headerTexts[5];
    if (stateText == "Init")
        ws.state = WorksheetState::Init;
    else if (stateText == "Trained")
        ws.state = WorksheetState::Trained;
    else if (stateText == "Eval")
        ws.state = WorksheetState::Eval;
    store.SetCellText(kStateRow, kStateColumn, stateText);

    ws.storedWeights.clear();
    if (ws.state != WorksheetState::Init) {
        const auto needed = static_cast<std::size_t>(ws.network.WeightCount());
        if (file.weights.size() < needed) {
            ws.Messages().Error("Error: Stored Weights Do Not Match Network Shape");
            ws.SetStateAndText(WorksheetState::Init);
        } else {
            file.weights.resize(needed);  // extra weights are ignored
            ws.storedWeights = std::move(file.weights);
        }
    }
    ws.RebuildNetwork();

    ws.savedColumnCount = file.columnCount;
    ws.savedRowCount = file.rowCount;
    int inputs = 0;
    for (std::size_t j = 0; j < file.roles.size(); ++j) {
        const ColumnRole role = RoleFromText(file.roles[j]);
        if (role == ColumnRole::Input || role == ColumnRole::TrgIn)
            ++inputs;
        store.SetCellText(kRoleRow, static_cast<int>(j) + 1, file.roles[j]);
    }
    // The scan of the automatic configuration then finds the same input count, so a
    // Trained or Eval worksheet keeps its state.
    ws.inputSetCount = std::min(inputs, kMaxInputSets);

    if (ws.Settings().useCommentLine)
        for (std::size_t j = 0; j < file.comments.size(); ++j)
            store.SetCellText(kCommentRow, static_cast<int>(j) + 1, file.comments[j]);
    // A worksheet saved grown opens at its saved length; a shorter file leaves the new
    // worksheet's rows as they are. A count past the row limit comes only with no data
    // rows (the reader refuses it otherwise), and there is nothing to grow for.
    if (file.rowCount <= ws.maxRows)
        ws.GrowRows(file.rowCount);
    const std::size_t rows = std::min<std::size_t>(
        file.rows.size(), static_cast<std::size_t>(store.GetRowCount() - ws.firstDataRow));
    for (std::size_t i = 0; i < rows; ++i)
        for (std::size_t j = 0; j < file.rows[i].size(); ++j)
            store.SetCellText(ws.firstDataRow + static_cast<int>(i), static_cast<int>(j) + 1,
                              file.rows[i][j]);

    NoteLoadedEstimateRows(ws);
    if (beforeSizing)
        beforeSizing(ws);
    ws.AdjustSectionsAfterLoad();
    ws.SetModified(false);
}

} // namespace

FileResult LoadWorksheetBytes(Worksheet& ws, const std::uint8_t* data, std::size_t size,
                              const BeforeSizing& beforeSizing)
{
    auto parsed = ParseWorksheetFile(data, size, ws.firstDataRow, ws.maxRows, ws.Store().GetColumnCount());
    if (FileError* error = std::get_if<FileError>(&parsed)) {
        ws.Messages().Error(error->message);
        return *error;
    }
    ApplyContents(ws, std::get<WorksheetFileContents>(parsed), beforeSizing);
    return {};
}

FileResult LoadWorksheetFile(Worksheet& ws, const std::string& path, const BeforeSizing& beforeSizing)
{
    std::vector<std::uint8_t> bytes;
    switch (ReadWholeFile(path, kMaxWorksheetFileBytes, bytes)) {
    case ReadOutcome::Done:
        return LoadWorksheetBytes(ws, bytes.data(), bytes.size(), beforeSizing);
    case ReadOutcome::TooLarge: {
        FileError e = MakeError(FileError::Kind::Invalid, kInvalidWorksheetFileMessage,
                                "larger than the read limit");
        ws.Messages().Error(e.message);
        return e;
    }
    case ReadOutcome::Failed:
        break;
    }
    FileError e = MakeError(FileError::Kind::CannotOpen, "Error: Cannot open file " + BaseName(path));
    ws.Messages().Error(e.message);
    return e;
}

} // namespace orvalis
