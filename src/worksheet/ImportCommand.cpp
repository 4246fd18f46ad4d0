#include "worksheet/ImportCommand.h"

#include "worksheet/AppSettings.h"
#include "worksheet/ImportLoader.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"

#include <algorithm>

namespace orvalis {

ImportFileType ImportFileTypeOf(const std::string& path)
{
    const std::string name = FileBaseName(path);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos)
        return ImportFileType::NotSupported;
    const std::string extension = name.substr(dot + 1);
    if (extension == "csv")
        return ImportFileType::CommaSeparated;
    if (extension == "txt")
        return ImportFileType::TabDelimited;
    return ImportFileType::NotSupported;
}

namespace {

std::string GrowthQuestion(const ImportLoadResult& loaded, const std::string& path)
{
    return "Grow the worksheet so that the " + std::to_string(loaded.rowsLeftOut) +
           (loaded.rowsLeftOut == 1 ? " row" : " rows") + " left out of " + FileBaseName(path) +
           " are imported too?";
}

} // namespace

ImportOutcome ImportFile(CellStore& cells, int firstDataRow, const ImportRequest& request,
                         UserMessages& messages,
                         const std::function<void()>& configureFromColumn1,
                         const std::function<void(std::int64_t)>& growRows)
{
    ImportOutcome outcome;
    int row = request.row;
    int column = request.column;
    if (request.commentHeader) {
        // Row 0 is the row above the first data row: the comment row, or the role row
        // when the worksheet has no comment row.
        row = 0;
        column = 1;
    }
    const ImportFileType type = ImportFileTypeOf(request.path);
    if (type == ImportFileType::NotSupported) {
        messages.Error("Error: Import File Type not Supported");
        return outcome;
    }
    const bool comma = type == ImportFileType::CommaSeparated;
    ImportRowChoice choice;
    choice.keepLastRows = request.keepLastRows;
    // The header line stays in the row above the data whichever data lines are kept.
    choice.fixedLines = request.commentHeader ? 1 : 0;
    if (request.growRows)
        choice.grow = growRows;
    // One reading of the file: failed (said), done, or to be read again into the grid
    // grown at the user's word.
    enum class Pass { Failed,
                      Done,
                      Again };
    const auto load = [&] {
        const ImportLoadResult loaded =
            LoadDelimitedFile(cells, request.path, firstDataRow + row - 1, column,
                              comma ? kCommaSeparator : kTabSeparator, choice);
        outcome.lastColumn = loaded.lastColumn;
        outcome.opened = outcome.opened || loaded.status == ImportLoadStatus::Loaded ||
                         loaded.status == ImportLoadStatus::ReadError;
        if (loaded.status != ImportLoadStatus::Loaded) {
            ReportLoadFailure(loaded.status, request.path, messages);
            messages.Error(comma ? "Error: Import CSV File Failure"
                                 : "Error: Import TAB Delimited File Failure");
            return Pass::Failed;
        }
        // Said before the configuration's own messages, which follow from what was kept.
        if (const std::string leftOut = LeftOutMessage(loaded, request.path); !leftOut.empty())
            messages.Information(leftOut);
        // Rows the grid could not take may come in after all, once it has grown (columns
        // cannot grow).
        if (loaded.rowsLeftOut > 0 && !choice.grow && request.offerGrowth && growRows &&
            messages.Ask(GrowthQuestion(loaded, request.path))) {
            choice.grow = growRows;
            choice.keepLastRows = false;
            return Pass::Again;
        }
        return Pass::Done;
    };
    Pass pass = load();
    if (pass == Pass::Again)
        pass = load();
    if (pass != Pass::Done)
        return outcome;
    outcome.imported = true;
    if (row == 0 && column == 1) {
        outcome.headerImport = true;
        const int last = std::min(outcome.lastColumn - 1, kLastDataColumn);
        for (int c = 1; c <= last; ++c)
            cells.SetCellText(kRoleRow, c, "Comment");
        if (configureFromColumn1)
            configureFromColumn1();
    }
    return outcome;
}

ImportOutcome ImportFile(Worksheet& worksheet, const ImportRequest& request)
{
    const auto configure = [&] {
        worksheet.AutoConfigureSectionsFromColumn1(worksheet.Settings().resultsMode);
    };
    // One empty row stays below the imported lines: the automatic sizing measures a
    // series up to its first empty cell, and a column filled to the last row reads as
    // having none.
    const auto grow = [&](std::int64_t rows) {
        worksheet.GrowRows(std::min<std::int64_t>(rows + 1, worksheet.maxRows));
    };
    const ImportOutcome outcome = ImportFile(worksheet.Store(), worksheet.firstDataRow, request,
                                             worksheet.Messages(), configure, grow);
    // Imported cells are the user's new data: closing without saving asks first.
    if (outcome.opened)
        worksheet.SetModified();
    return outcome;
}

} // namespace orvalis
