// The batch commands that make, fill and show worksheets without training them.
#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"
#include "batch/CellText.h"

#include "worksheet/ImportCommand.h"
#include "worksheet/ImportParameters.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"

#include <ostream>

namespace orvalis {

int RunNewCommand(BatchContext& context)
{
    auto worksheet = context.NewWorksheet();
    return context.Finish(*worksheet, BatchDone);
}

int RunImportCommand(BatchContext& context)
{
    const BatchArguments& args = context.Arguments();
    auto worksheet = context.NewWorksheet();
    // The values go through the File Import dialog's checks, texts as typed.
    ImportParameters parameters;
    const std::string refusal = parameters.Validate(args.Value("--row", "1"),
                                                    args.Value("--column", "1"),
                                                    args.Has("--header"));
    if (!refusal.empty()) {
        context.Messages().Error(refusal);
        return context.Finish(*worksheet, BatchRefused);
    }
    ImportRequest request{args.positional[0], parameters.row, parameters.column,
                          parameters.commentHeader, args.Has("--last-rows")};
    // A file longer than the worksheet grows it; otherwise what does not fit is left out
    // and said on stderr, and no question is asked.
    request.growRows = args.Has("--grow");
    const ImportOutcome outcome = ImportFile(*worksheet, request);
    if (outcome.imported)
        return context.Finish(*worksheet, BatchDone);
    if (ImportFileTypeOf(request.path) == ImportFileType::NotSupported)
        return context.Finish(*worksheet, BatchRefused);
    // The file could not be read: no worksheet is written that would look imported.
    return BatchFileError;
}

namespace {

struct CellEdit {
    int row = 0;
    int col = 0;
    std::string text;
};

// "--role COL=ROLE" edits the role cell of COL; "--cell ROW,COL=TEXT" any cell.
bool ParseEdit(const std::string& option, const std::string& value, CellEdit& edit)
{
    const std::size_t eq = value.find('=');
    if (eq == std::string::npos)
        return false;
    const std::string where = value.substr(0, eq);
    edit.text = value.substr(eq + 1);
    if (option == "--role") {
        edit.row = kRoleRow;
        return ParseWholeNumber(where, edit.col) && edit.col >= 1 && edit.col <= kLastDataColumn;
    }
    const std::size_t comma = where.find(',');
    return comma != std::string::npos && ParseWholeNumber(where.substr(0, comma), edit.row) &&
           ParseWholeNumber(where.substr(comma + 1), edit.col);
}

// The header cells that hold the section sizes and the taps: the automatic sizing
// writes them.
bool IsSectionSizeCell(int row, int col)
{
    return col == kValueColumn && row >= kStartOffsetRow && row <= kNumTapsRow;
}

} // namespace

int RunSetCommand(BatchContext& context)
{
    std::vector<CellEdit> edits;
    for (const auto& [option, value] : context.Arguments().options) {
        if (option != "--role" && option != "--cell")
            continue;
        CellEdit edit;
        if (!ParseEdit(option, value, edit)) {
            context.Note(option == "--role" ? "--role takes COL=ROLE with COL from 1 to 68"
                                            : "--cell takes ROW,COL=TEXT");
            return BatchUsage;
        }
        edits.push_back(edit);
    }
    int status = BatchDone;
    // In the order given, each as if typed into the grid: header values are read back
    // (and reset the state when they change), every edit marks the worksheet modified.
    const auto apply = [&](Worksheet& ws, bool sizes) {
        for (const CellEdit& edit : edits) {
            if (IsSectionSizeCell(edit.row, edit.col) != sizes)
                continue;
            if (!ws.ApplyCellEdit(edit.row, edit.col, edit.text)) {
                context.Note("cell " + std::to_string(edit.row) + "," + std::to_string(edit.col) +
                             " cannot be edited");
                status = BatchRefused;
            }
        }
    };
    // Roles, comments and data go in before the automatic sizing of the load, which then
    // measures (and reports on) the worksheet as the command leaves it; the section sizes
    // typed here come after it, so that they are what the worksheet keeps.
    auto worksheet = context.LoadWorksheet(context.Arguments().positional[0],
                                           [&](Worksheet& ws) { apply(ws, false); });
    if (!worksheet)
        return BatchFileError;
    apply(*worksheet, true);
    // The load clears the modified mark after the sizing; the edits made before it count.
    if (!edits.empty())
        worksheet->SetModified(true);
    return context.Finish(*worksheet, status);
}

int RunAutoconfigCommand(BatchContext& context)
{
    auto worksheet = context.LoadWorksheet(context.Arguments().positional[0]);
    if (!worksheet)
        return BatchFileError;
    AutoConfigVectors(*worksheet);
    // The configuration measures the first input column; without one nothing changed.
    if (!worksheet->roles.inputColumns.empty())
        return context.Finish(*worksheet, BatchDone);
    context.Note("no \"Input\" or \"Trg/In\" column: the sections are unchanged");
    return context.Finish(*worksheet, BatchRefused);
}

int RunShowCommand(BatchContext& context)
{
    auto worksheet = context.LoadWorksheet(context.Arguments().positional[0]);
    if (!worksheet)
        return BatchFileError;
    WriteUsedGrid(worksheet->Store(), context.Arguments().Has("--tab") ? '\t' : ',',
                  context.Out());
    context.Out().flush();
    return context.Finish(*worksheet, context.Out() ? BatchDone : BatchFileError);
}

} // namespace orvalis
