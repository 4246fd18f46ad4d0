// orvalis-batch chart: a worksheet's chart as a PNG, SVG or JPEG picture, the chart the
// worksheet's window shows in its chart pane.

#include "batch/ChartCommand.h"

#include "batch/BatchCommand.h"
#include "batch/BatchContext.h"
#include "worksheet/LastRunCheck.h"
#include "worksheet/PictureFormat.h"
#include "worksheet/Worksheet.h"

#include <ostream>

namespace orvalis {

namespace {

BatchChartWriter& Writer()
{
    static BatchChartWriter writer;
    return writer;
}

} // namespace

void SetBatchChartWriter(BatchChartWriter writer)
{
    Writer() = std::move(writer);
}

bool ParseChartSize(const std::string& text, BatchChartRequest& request)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    int width = 0;
    int height = 0;
    if (!ParseWholeNumber(text.substr(0, x), width) || !ParseWholeNumber(text.substr(x + 1), height))
        return false;
    // The upper bound keeps the picture's memory sensible (8000 x 8000 is 256 MB).
    const auto fits = [](int side) { return side >= kMinChartSide && side <= kMaxChartSide; };
    if (!fits(width) || !fits(height))
        return false;
    request.width = width;
    request.height = height;
    return true;
}

int RunChartCommand(BatchContext& context)
{
    const BatchArguments& args = context.Arguments();
    BatchChartRequest request;
    if (args.Has("--size") && !ParseChartSize(args.Value("--size"), request)) {
        context.Note("--size takes WIDTHxHEIGHT, each " + std::to_string(kMinChartSide) + " to " +
                     std::to_string(kMaxChartSide) + " pixels, not " + args.Value("--size"));
        return BatchUsage;
    }
    request.path = args.Value("-o");
    // Bytes of one format under another's name would mislead whoever opens the file.
    if (PictureFormatOf(request.path) == PictureFormat::Unknown) {
        context.Note("chart writes .png, .svg or .jpg (.jpeg) pictures, not " + request.path);
        return BatchUsage;
    }
    if (!Writer()) {
        context.Note("charts are not available in this program");
        return BatchFileError;
    }
    auto worksheet = context.LoadWorksheet(args.positional[0]);
    if (!worksheet)
        return BatchFileError;
    const CellStore& store = worksheet->Store();
    const ResultLayout layout = ReadResultLayout(*worksheet);
    const ForecastCheck check = CheckLastEvaluation(*worksheet);
    const ChartData data = BuildChartData(store, layout, context.Settings(), &check);
    // An empty frame of axes would pass for a chart in a script; say why there is none.
    if (!data.HasSeries()) {
        context.Note("nothing to chart: no column with the role Target or Trg/In holds "
                     "numbers in its data rows");
        return BatchRefused;
    }
    std::string bytes;
    if (!Writer()(data, request, bytes)) {
        context.Note("cannot draw the chart for " + request.path);
        return BatchFileError;
    }
    return context.WriteOutput(request.path, bytes) ? BatchDone : BatchFileError;
}

} // namespace orvalis
