#include "batch/BatchContext.h"

#include "batch/CellText.h"

#include "worksheet/OutputFile.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <cstdint>
#include <ostream>
#include <sstream>

namespace orvalis {

BatchContext::BatchContext(BatchArguments arguments, const AppSettings& settings,
                           std::ostream& out, std::ostream& err)
    : m_arguments(std::move(arguments)), m_settings(settings), m_out(out), m_err(err),
      m_messages(err)
{
}

BatchContext::~BatchContext() = default;

void BatchContext::Note(const std::string& text)
{
    m_err << "orvalis-batch: " << text << '\n' << std::flush;
}

std::unique_ptr<Worksheet> BatchContext::NewWorksheet()
{
    return std::make_unique<Worksheet>(m_settings, m_messages);
}

std::unique_ptr<Worksheet> BatchContext::LoadWorksheet(const std::string& path,
                                                       const BeforeSizing& beforeSizing)
{
    auto worksheet = NewWorksheet();
    if (!LoadWorksheetFile(*worksheet, path, beforeSizing))
        return nullptr;  // the reader has told why
    return worksheet;
}

bool BatchContext::WriteOutput(const std::string& path, std::string_view bytes)
{
    const OutputResult written = WriteOutputFile(path, bytes);
    if (written)
        return true;
    const std::size_t slash = path.find_last_of('/');
    m_messages.Error("Error: Cannot write file " + (slash == std::string::npos ? path : path.substr(slash + 1)));
    Note("cannot write " + path + ": " + written.detail);
    return false;
}

int BatchContext::Finish(Worksheet& worksheet, int status)
{
    const std::string cellsPath = m_arguments.Value("--cells");
    if (!cellsPath.empty()) {
        // Written whole or not at all, like a worksheet: a full disk must not leave a
        // script an empty or cut listing that looks like a result.
        std::ostringstream cells;
        WriteCellListing(worksheet.Store(), cells);
        const std::string text = cells.str();
        if (!WriteOutput(cellsPath, text))
            status = BatchFileError;
    }
    const std::string output = m_arguments.Value("-o");
    if (!output.empty() && (status == BatchDone || status == BatchRefused || status == BatchAborted)) {
        if (!SaveWorksheetFile(worksheet, output))
            status = BatchFileError;  // the writer has told why; the old file is intact
    }
    return status;
}

namespace {

// "on" or "off" into flag; false for anything else.
bool ReadSwitch(const std::string& text, bool& flag)
{
    if (text == "on" || text == "off") {
        flag = text == "on";
        return true;
    }
    return false;
}

// The forecasting options: --change-lag, --taps-rule, --leak-free.
std::string ApplyForecastOptions(const BatchArguments& arguments, ForecastOptions& forecast)
{
    if (arguments.Has("--change-lag")) {
        const std::string text = arguments.Value("--change-lag");
        int value = 0;
        if (text == "season")
            forecast.changeLag = ForecastOptions::ChangeLagSeason;
        else if (ParseWholeNumber(text, value) && value >= 0 && value <= ForecastOptions::MaxChangeLag)
            forecast.changeLag = value;
        else
            return "--change-lag takes 0 (off), season or a whole number from 1 to " +
                   std::to_string(ForecastOptions::MaxChangeLag);
    }
    if (arguments.Has("--taps-rule")) {
        const std::string text = arguments.Value("--taps-rule");
        if (text != "spec" && text != "auto")
            return "--taps-rule takes spec or auto";
        forecast.tapsByRule = text == "auto";
    }
    if (arguments.Has("--leak-free") && !ReadSwitch(arguments.Value("--leak-free"), forecast.leakFreeEvaluation))
        return "--leak-free takes on or off";
    return {};
}

} // namespace

std::string ApplySettingOptions(const BatchArguments& arguments, AppSettings& settings)
{
    struct Switch {
        const char* name;
        bool* flag;
    };
    for (const Switch& s : {Switch{"--comment-line", &settings.useCommentLine},
                            Switch{"--two-pass", &settings.use2PassEstimate},
                            Switch{"--auto-sizing", &settings.autoVectorSizing}}) {
        if (arguments.Has(s.name) && !ReadSwitch(arguments.Value(s.name), *s.flag))
            return std::string(s.name) + " takes on or off";
    }
    if (arguments.Has("--mode")) {
        const std::string mode = arguments.Value("--mode");
        if (mode == "evaluate")
            settings.resultsMode = ResultsModeEvaluate;
        else if (mode == "extrapolate")
            settings.resultsMode = ResultsModeExtrapolate;
        else
            return "--mode takes evaluate or extrapolate";
    }
    if (arguments.Has("--extrapolation-len")) {
        const std::string text = arguments.Value("--extrapolation-len");
        int value = 0;
        if (!ParseWholeNumber(text, value) || value < 2 || value > 20)
            return "--extrapolation-len takes a whole number from 2 to 20";
        settings.extrapolationLen = value;
    }
    if (arguments.Has("--season")) {
        const std::string text = arguments.Value("--season");
        int value = 0;
        if (text == "auto")
            settings.seasonLength = -1;
        else if (ParseWholeNumber(text, value) && value != -1 && IsSeasonLength(value))
            settings.seasonLength = value;
        else
            return "--season takes auto, 0 (none) or a whole number from 2 to " +
                   std::to_string(kMaxSeasonLength);
    }
    const std::string problem = ApplyForecastOptions(arguments, settings.forecast);
    if (!problem.empty())
        return problem;
    settings.UpdateExtrapolationRows();
    return {};
}

} // namespace orvalis
