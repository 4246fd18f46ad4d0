#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace orvalis {

// Colour as stored: red in bits 0-7, green 8-15, blue 16-23, bits 24-31 zero.
using Colour = std::uint32_t;

enum ResultsModeValue : int { ResultsModeEvaluate = 1, ResultsModeExtrapolate = 2 };

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

// Reads the nine settings and the season length with their defaults. Booleans are true
// only for exactly "TRUE"; the mode is Evaluate only for exactly "Evaluate"; an
// ExtrapolationLen outside 2..20 reads as 5; a SeasonLength other than -1, 0 or
// 2..kMaxSeasonLength reads as -1 (automatic). Sets extrapolationRows from the mode.
AppSettings LoadSettings(SettingsStore& store);

// Writes the nine settings in the order they are read, then SeasonLength when it is not
// automatic or the store holds one already (a store that never had a season keeps the
// nine values it always had).
void SaveSettings(const AppSettings& settings, SettingsStore& store);

// The longest season a user can set: the rows a worksheet holds.
constexpr int kMaxSeasonLength = 1000;
// Whether a season length is one the setting can hold: -1, 0 or 2..kMaxSeasonLength.
constexpr bool IsSeasonLength(std::int64_t value)
{
    return value == -1 || value == 0 || (value >= 2 && value <= kMaxSeasonLength);
}

} // namespace orvalis
