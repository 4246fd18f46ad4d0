#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace orvalis {

// Colour as stored: red in bits 0-7, green 8-15, blue 16-23, bits 24-31 zero.
using Colour = std::uint32_t;

enum ResultsModeValue : int { ResultsModeEvaluate = 1, ResultsModeExtrapolate = 2 };

// How Train and Evaluate forecast beyond the program's own method. Every member at its
// default gives the program's usual results; the forecaster's switch stands for a measured set of them
// (EffectiveForecastOptions).
struct ForecastOptions {
    static constexpr int ChangeLagSeason = -1;
    static constexpr int MaxChangeLag = 1000;
    static constexpr int MaxStarts = 100;
    static constexpr std::uint32_t DefaultSeed = 4711;

    // Learn the change: the network learns y[t] - y[t-L] of the target and of every input;
    // 0 off, ChangeLagSeason the worksheet's season (off when it has none), 1..MaxChangeLag.
    int changeLag = 0;
    // Window by rule: Num Taps from the series (season + 1, or the order of least BIC)
    // instead of the sections' tenth of the rows.
    bool tapsByRule = false;
    // Patient training: no stop on the error-ratio goal; the run goes to Maximum Cycles and
    // keeps the weights with the lowest Testing error.
    bool patientTraining = false;
    // Trainings from different random starts, the first from seed; the network with the
    // lowest Testing error is kept. 1..MaxStarts.
    int starts = 1;
    std::uint32_t seed = DefaultSeed;
    // Evaluate writes the forecast check's estimates (values before each row only) into
    // Val:Est and computes the result columns and figures from them.
    bool leakFreeEvaluation = false;
    // The forecaster's settings: when on, the measured set replaces the members above.
    bool forecaster = false;

    bool operator==(const ForecastOptions&) const = default;
};

// The options a run uses: the forecaster's set when its switch is on, else options itself.
ForecastOptions EffectiveForecastOptions(const ForecastOptions& options);

// The nine user preferences, application-wide, read at start and written at exit.
struct AppSettings {
    bool useCommentLine = true;     // the worksheet has a comment row above the data
    bool use2PassEstimate = true;   // 2 Pass (moving average removed) rather than 1 Pass
    bool autoVectorSizing = true;   // sections resized on mode switch and file load
    int resultsMode = ResultsModeEvaluate;
    int extrapolationLen = 5;       // rows extrapolated in Data Extrapolate mode, 2..20
    Colour trainColor = 49344;      // 0x00C0C0
    Colour testColor = 32896;       // 0x008080
    Colour evalColor = 12632064;    // 0xC0C000
    Colour extrpColor = 8421376;    // 0x808000
    // Season length of the forecast check's baselines: -1 found from the data, 0 none,
    // N >= 2 rows per season.
    int seasonLength = -1;
    ForecastOptions forecast;

    // Rows in effect: 0 in Model Evaluate, extrapolationLen in Data Extrapolate.
    int extrapolationRows = 0;

    void UpdateExtrapolationRows()
    {
        extrapolationRows = resultsMode == ResultsModeEvaluate ? 0 : extrapolationLen;
    }
};

// The per-user settings store, addressed by section ("Constants" or "Strings") and
// value name. Absent values answer std::nullopt.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> ReadString(const std::string& section,
                                                  const std::string& name) = 0;
    virtual std::optional<std::int64_t> ReadInt(const std::string& section,
                                                const std::string& name) = 0;
    virtual void WriteString(const std::string& section, const std::string& name,
                             const std::string& value) = 0;
    virtual void WriteInt(const std::string& section, const std::string& name,
                          std::int64_t value) = 0;
};

// An in-memory store: the tests' store, never the user's real settings.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<std::string> ReadString(const std::string& section,
                                          const std::string& name) override;
    std::optional<std::int64_t> ReadInt(const std::string& section,
                                        const std::string& name) override;
    void WriteString(const std::string& section, const std::string& name,
                     const std::string& value) override;
    void WriteInt(const std::string& section, const std::string& name,
                  std::int64_t value) override;

    std::map<std::string, std::string> strings;  // key "Section/Name"
    std::map<std::string, std::int64_t> integers;
};

// Reads the nine settings, the season length and the forecasting options with their
// defaults (an option out of its range reads as its default). Booleans are true
// only for exactly "TRUE"; the mode is Evaluate only for exactly "Evaluate"; an
// ExtrapolationLen outside 2..20 reads as 5; a SeasonLength other than -1, 0 or
// 2..kMaxSeasonLength reads as -1 (automatic). Sets extrapolationRows from the mode.
AppSettings LoadSettings(SettingsStore& store);

// Writes the nine settings in the order they are read, then SeasonLength and each
// forecasting option when it differs from its default or the store holds one already (a
// store that never had them keeps the nine values it always had).
void SaveSettings(const AppSettings& settings, SettingsStore& store);

// The longest season a user can set: the rows a worksheet holds.
constexpr int kMaxSeasonLength = 1000;
// Whether a season length is one the setting can hold: -1, 0 or 2..kMaxSeasonLength.
constexpr bool IsSeasonLength(std::int64_t value)
{
    return value == -1 || value == 0 || (value >= 2 && value <= kMaxSeasonLength);
}

} // namespace orvalis
