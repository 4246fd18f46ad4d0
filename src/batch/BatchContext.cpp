#include "batch/BatchContext.h"

#include "batch/CellText.h"

#include "worksheet/OutputFile.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <cstdint>
#include <optional>
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
    auto worksheet = std::make_unique<Worksheet>(m_settings, m_messages);
    ApplyWorksheetSwitches(m_arguments, *worksheet);
    return worksheet;
}

std::unique_ptr<Worksheet> BatchContext::LoadWorksheet(const std::string& path,
                                                       const BeforeSizing& beforeSizing)
{
    auto worksheet = std::make_unique<Worksheet>(m_settings, m_messages);
    if (!LoadWorksheetFile(*worksheet, path, beforeSizing))
        return nullptr;  // the reader has told why
    // The switches are the worksheet's own, stored in its file: they replace what was read.
    ApplyWorksheetSwitches(m_arguments, *worksheet);
    return worksheet;
}

void BatchContext::NoteTwoPassOverride(const std::string& step)
{
    // Automatic training parameters switch 2 Pass on at every Train; the steps after it
    // then read their vectors in 2 Pass, whatever --two-pass said.
    if (m_twoPassNoted || m_arguments.Value("--two-pass") != "off" || !m_settings.use2PassEstimate)
        return;
    m_twoPassNoted = true;
    Note(step + " runs in 2 Pass: the automatic training parameters of the train before "
                "it switched 2 Pass back on (--auto-training off keeps --two-pass off)");
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

// A seed: a whole number from 0 to 2^32 - 1 in decimal digits.
bool ReadSeed(const std::string& text, std::uint32_t& seed)
{
    if (text.empty() || text.size() > 10)
        return false;
    std::uint64_t n = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        n = n * 10 + static_cast<std::uint64_t>(ch - '0');
    }
    if (n > 0xFFFFFFFFu)
        return false;
    seed = static_cast<std::uint32_t>(n);
    return true;
}

// The worksheet's two automatic switches as the options give them, unset when absent.
struct WorksheetSwitches {
    std::optional<bool> autoTraining;
    std::optional<bool> autoNetwork;
};

std::string ReadWorksheetSwitches(const BatchArguments& arguments, WorksheetSwitches& switches)
{
    struct Option {
        const char* name;
        std::optional<bool>* flag;
    };
    for (const Option& o : {Option{"--auto-training", &switches.autoTraining},
                            Option{"--auto-network", &switches.autoNetwork}}) {
        if (!arguments.Has(o.name))
            continue;
        bool on = false;
        if (!ReadSwitch(arguments.Value(o.name), on))
            return std::string(o.name) + " takes on or off";
        *o.flag = on;
    }
    return {};
}

// --change-lag, --taps-rule and --leak-free into the forecasting options.
std::string ApplyChangeOptions(const BatchArguments& arguments, ForecastOptions& forecast)
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

// The forecasting options: --change-lag, --taps-rule, --leak-free, --patient, --starts,
// --seed and --forecaster.
std::string ApplyForecastOptions(const BatchArguments& arguments, ForecastOptions& options)
{
    if (std::string problem = ApplyChangeOptions(arguments, options); !problem.empty())
        return problem;
    struct Switch {
        const char* name;
        bool* flag;
    };
    for (const Switch& s : {Switch{"--patient", &options.patientTraining},
                            Switch{"--forecaster", &options.forecaster}}) {
        if (arguments.Has(s.name) && !ReadSwitch(arguments.Value(s.name), *s.flag))
            return std::string(s.name) + " takes on or off";
    }
    if (arguments.Has("--starts")) {
        int value = 0;
        if (!ParseWholeNumber(arguments.Value("--starts"), value) || value < 1 ||
            value > ForecastOptions::MaxStarts)
            return "--starts takes a whole number from 1 to " +
                   std::to_string(ForecastOptions::MaxStarts);
        options.starts = value;
    }
    if (arguments.Has("--seed") && !ReadSeed(arguments.Value("--seed"), options.seed))
        return "--seed takes a whole number from 0 to 4294967295";
    return {};
}

} // namespace

void ApplyWorksheetSwitches(const BatchArguments& arguments, Worksheet& worksheet)
{
    WorksheetSwitches switches;
    ReadWorksheetSwitches(arguments, switches); // checked with the other setting options
    if (switches.autoTraining)
        worksheet.network.autoTrainingConfigure = *switches.autoTraining ? 1 : 0;
    if (switches.autoNetwork)
        worksheet.network.autoNetworkConfigure = *switches.autoNetwork ? 1 : 0;
}

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
    if (std::string problem = ApplyForecastOptions(arguments, settings.forecast); !problem.empty())
        return problem;
    WorksheetSwitches switches;
    if (std::string problem = ReadWorksheetSwitches(arguments, switches); !problem.empty())
        return problem;
    settings.UpdateExtrapolationRows();
    return {};
}

} // namespace orvalis
