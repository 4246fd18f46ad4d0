#include "batch/BatchContext.h"

#include "batch/CellText.h"

#include "worksheet/WholeFile.h"
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

std::unique_ptr<Worksheet> BatchContext::LoadWorksheet(const std::string& path)
{
    auto worksheet = NewWorksheet();
    if (!LoadWorksheetFile(*worksheet, path))
        return nullptr;  // the reader has told why
    return worksheet;
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
        std::string detail;
        if (!ReplaceWholeFile(cellsPath, reinterpret_cast<const std::uint8_t*>(text.data()),
                              text.size(), detail)) {
            Note("cannot write " + cellsPath + ": " + detail);
            status = BatchFileError;
        }
    }
    const std::string output = m_arguments.Value("-o");
    if (!output.empty() && (status == BatchDone || status == BatchRefused)) {
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
    settings.UpdateExtrapolationRows();
    return {};
}

} // namespace orvalis
