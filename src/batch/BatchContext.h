#pragma once

#include "batch/BatchArguments.h"
#include "batch/StderrMessages.h"

#include "worksheet/AppSettings.h"
#include "worksheet/WorksheetFile.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace orvalis {

class Worksheet;

// Exit statuses of the batch tool.
enum BatchStatus : int {
    BatchDone = 0,
    BatchRefused = 1,   // the operation was refused; its message was printed
    BatchUsage = 2,     // the command line was wrong
    BatchFileError = 3, // a file could not be read or written
    BatchAborted = 4,   // a signal (Ctrl+C, SIGTERM, SIGHUP) stopped the work before its
                        // end; what was done is written, a training with its best weights
};

// What a command runs with: its arguments, the settings in force (the user's stored
// settings with the command line's overrides; never written back), the messages on the
// error stream, and the output streams.
class BatchContext {
public:
    BatchContext(BatchArguments arguments, const AppSettings& settings, std::ostream& out,
                 std::ostream& err);
    ~BatchContext();

    const BatchArguments& Arguments() const { return m_arguments; }
    AppSettings& Settings() { return m_settings; }
    StderrMessages& Messages() { return m_messages; }
    std::ostream& Out() { return m_out; }
    // The tool's own remarks (not the worksheet's messages), one a line.
    void Note(const std::string& text);

    // A new worksheet, as File New makes it.
    std::unique_ptr<Worksheet> NewWorksheet();
    // The worksheet in file path, as File Open reads it; nullptr after its message when
    // the file cannot be read or is refused. beforeSizing, when given, changes the cells
    // before the automatic sizing of the load measures them.
    std::unique_ptr<Worksheet> LoadWorksheet(const std::string& path,
                                             const BeforeSizing& beforeSizing = nullptr);

    // Writes bytes to path through WriteOutputFile. On failure says "Error: Cannot write
    // file NAME" and what failed, and returns false.
    bool WriteOutput(const std::string& path, std::string_view bytes);

    // Says once, before `step` reads its vectors, that it runs in 2 Pass although
    // --two-pass off was given (a train with automatic training parameters switched it on).
    void NoteTwoPassOverride(const std::string& step);

    // Ends a command that has a worksheet: writes the --cells listing when asked and
    // saves to -o when given, for status Done, Refused and Aborted. Returns the final status (a
    // file that cannot be written makes it FileError).
    int Finish(Worksheet& worksheet, int status);

private:
    BatchArguments m_arguments;
    AppSettings m_settings;
    std::ostream& m_out;
    std::ostream& m_err;
    StderrMessages m_messages;
    bool m_twoPassNoted = false;
};

// Applies the setting options (--comment-line, --two-pass, --auto-sizing, --mode,
// --extrapolation-len, --season, --change-lag, --taps-rule, --leak-free, --patient,
// --starts, --seed, --forecaster) to settings. Returns what is wrong with a value, or "";
// the values of --auto-training and --auto-network are checked here too.
std::string ApplySettingOptions(const BatchArguments& arguments, AppSettings& settings);

// Sets the worksheet's automatic switches from --auto-training and --auto-network (values
// already checked by ApplySettingOptions); absent options leave them as they are.
void ApplyWorksheetSwitches(const BatchArguments& arguments, Worksheet& worksheet);

} // namespace orvalis
