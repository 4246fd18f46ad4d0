// Loads arbitrary bytes as a worksheet file and, when they load, works on the worksheet
// as a user would: evaluates it as stored, trains it, evaluates again, and in the other
// results mode trains and evaluates (extrapolating) once more. The runs get a small
// budget (one iteration per cycle, at most three cycles), so the paths behind the
// reader (extraction, the engine's ranges, evaluation, extrapolation) are explored at
// fuzzing speed. At the end the worksheet must still save to a file that reads back.
//
// The last byte of the input (a reader leaves trailing bytes unread) picks the settings:
// bit 0 comment row, bit 1 2 Pass, bit 2 automatic sizing, bit 3 Data Extrapolate mode,
// bit 4 a second round in the other mode, bits 5-7 the extrapolation length.
#include "worksheet/AppSettings.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/WorksheetNetwork.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <variant>

namespace {

using namespace orvalis;

void TrainAndEvaluate(Worksheet& ws)
{
    if (TrainWorksheet(ws, nullptr)) {
        ContinueTraining(ws, nullptr);
        EvaluateWorksheet(ws);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const unsigned control = size > 0 ? data[size - 1] : 0u;
    AppSettings settings;
    settings.useCommentLine = (control & 1u) != 0;
    settings.use2PassEstimate = (control & 2u) != 0;
    settings.autoVectorSizing = (control & 4u) != 0;
    settings.resultsMode = (control & 8u) != 0 ? ResultsModeExtrapolate : ResultsModeEvaluate;
    settings.extrapolationLen = 2 + static_cast<int>((control >> 5) * 18 / 7);
    settings.UpdateExtrapolationRows();
    SilentMessages messages;

    Worksheet ws(settings, messages);
    if (!LoadWorksheetBytes(ws, data, size))
        return 0;
    // The budget: the network is built from this record on first use, and Train keeps
    // these parameters because the automatic training configuration is off.
    StoredNetwork& record = ws.network;
    record.autoTrainingConfigure = 0;
    record.iterationsPerCycle = 1;
    record.maxCycles = std::min(record.maxCycles, 1);

    EvaluateWorksheet(ws);  // a Trained or Eval file as stored
    TrainAndEvaluate(ws);
    if ((control & 16u) != 0) {
        ws.SwitchResultsMode(settings.resultsMode == ResultsModeEvaluate ? ResultsModeExtrapolate
                                                                         : ResultsModeEvaluate);
        TrainAndEvaluate(ws);
    }

    if (ws.HasNetwork())
        ExportNetworkRecord(ws);
    const auto bytes = WorksheetFileBytes(ws);
    if (std::holds_alternative<FileError>(ParseWorksheetFile(bytes.data(), bytes.size(), ws.firstDataRow)))
        __builtin_trap();  // a worksheet after its runs must save to a readable file
    return 0;
}
