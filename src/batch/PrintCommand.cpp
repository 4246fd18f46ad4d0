// orvalis-batch print: a worksheet's printed pages as a PDF file, the same pages File
// Print gives.

#include "batch/PrintCommand.h"

#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"
#include "worksheet/Worksheet.h"

#include <filesystem>
#include <ostream>

namespace orvalis {

namespace {

BatchPdfWriter& Writer()
{
    static BatchPdfWriter writer;
    return writer;
}

} // namespace

void SetBatchPdfWriter(BatchPdfWriter writer)
{
    Writer() = std::move(writer);
}

int RunPrintCommand(BatchContext& context)
{
    const BatchArguments& args = context.Arguments();
    BatchPdfRequest request;
    const std::string paper = args.Value("--paper", "A4");
    if (paper != "A4" && paper != "Letter") {
        context.Note("--paper takes A4 or Letter, not " + paper);
        return BatchUsage;
    }
    request.letter = paper == "Letter";
    request.landscape = args.Has("--landscape");
    request.chartPage = args.Has("--chart");
    request.path = args.Value("-o");
    const std::string input = args.positional[0];
    // The header shows the worksheet's name as its window's title does: the file name.
    request.title = std::filesystem::path(input).filename().string();
    if (!Writer()) {
        context.Note("printing is not available in this program");
        return BatchFileError;
    }
    auto worksheet = context.LoadWorksheet(input);
    if (!worksheet)
        return BatchFileError;
    std::string bytes;
    const int pages = Writer()(*worksheet, request, bytes);
    if (pages <= 0) {
        context.Note("cannot print to " + request.path);
        return BatchFileError;
    }
    if (!context.WriteOutput(request.path, bytes))
        return BatchFileError;
    context.Out() << "pages: " << pages << '\n';
    context.Out().flush();
    return BatchDone;
}

} // namespace orvalis
