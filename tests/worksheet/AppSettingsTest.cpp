#include "worksheet/AppSettings.h"

#include <gtest/gtest.h>

using namespace orvalis;

TEST(AppSettings, EmptyStoreGivesDefaultsAndSaveWritesAllNine)
{
    MemorySettingsStore store;
    const AppSettings s = LoadSettings(store);
    EXPECT_TRUE(s.useCommentLine);
    EXPECT_TRUE(s.use2PassEstimate);
    EXPECT_TRUE(s.autoVectorSizing);
    EXPECT_EQ(s.resultsMode, ResultsModeEvaluate);
    EXPECT_EQ(s.extrapolationLen, 5);
    EXPECT_EQ(s.extrapolationRows, 0);
    EXPECT_EQ(s.trainColor, 49344u);
    EXPECT_EQ(s.testColor, 32896u);
    EXPECT_EQ(s.evalColor, 12632064u);
    EXPECT_EQ(s.extrpColor, 8421376u);

    SaveSettings(s, store);
    EXPECT_EQ(store.strings.size() + store.integers.size(), 9u);
    EXPECT_EQ(store.strings["Strings/UseCommentLine"], "TRUE");
    EXPECT_EQ(store.strings["Strings/ResultsMode"], "Evaluate");
    EXPECT_EQ(store.integers["Constants/ExtrapolationLen"], 5);
    EXPECT_EQ(store.integers["Constants/ExtrpColor"], 8421376);
}

TEST(AppSettings, ParsingIsExactAndCaseSensitive)
{
    struct Case {
        const char* stored;
        bool expected;
    };
    for (const Case& c : {Case{"TRUE", true}, Case{"True", false}, Case{"true", false},
                          Case{"1", false}, Case{"FALSE", false}, Case{"", false}}) {
        MemorySettingsStore store;
        store.WriteString("Strings", "UseCommentLine", c.stored);
        store.WriteString("Strings", "Use2PassEstimate", c.stored);
        store.WriteString("Strings", "AutoVectorSizing", c.stored);
        const AppSettings s = LoadSettings(store);
        EXPECT_EQ(s.useCommentLine, c.expected) << c.stored;
        EXPECT_EQ(s.use2PassEstimate, c.expected) << c.stored;
        EXPECT_EQ(s.autoVectorSizing, c.expected) << c.stored;
        SaveSettings(s, store);
        EXPECT_EQ(store.strings["Strings/UseCommentLine"], c.expected ? "TRUE" : "FALSE");
    }
    for (const char* mode : {"Extrapolate", "evaluate", "anything"}) {
        MemorySettingsStore store;
        store.WriteString("Strings", "ResultsMode", mode);
        store.WriteInt("Constants", "ExtrapolationLen", 8);
        const AppSettings s = LoadSettings(store);
        EXPECT_EQ(s.resultsMode, ResultsModeExtrapolate) << mode;
        EXPECT_EQ(s.extrapolationRows, 8) << mode;
        SaveSettings(s, store);
        EXPECT_EQ(store.strings["Strings/ResultsMode"], "Extrapolate");
    }
}

TEST(AppSettings, ExtrapolationLengthOutsideLimitsReadsAsDefault)
{
    for (std::int64_t stored : {-3LL, 0LL, 1LL, 21LL, 4294967298LL}) {
        MemorySettingsStore store;
        store.WriteString("Strings", "ResultsMode", "Extrapolate");
        store.WriteInt("Constants", "ExtrapolationLen", stored);
        const AppSettings s = LoadSettings(store);
        EXPECT_EQ(s.extrapolationLen, 5) << stored;
        EXPECT_EQ(s.extrapolationRows, 5) << stored;
    }
    for (std::int64_t stored : {2LL, 20LL}) {
        MemorySettingsStore store;
        store.WriteInt("Constants", "ExtrapolationLen", stored);
        EXPECT_EQ(LoadSettings(store).extrapolationLen, stored);
    }
}

TEST(AppSettings, SeasonLengthRoundTripAndRange)
{
    struct Case {
        std::int64_t stored;
        int read;
    };
    for (const Case& c : {Case{-1, -1}, Case{0, 0}, Case{2, 2}, Case{12, 12}, Case{1000, 1000},
                          Case{1, -1}, Case{-2, -1}, Case{1001, -1}, Case{4294967308LL, -1}}) {
        MemorySettingsStore store;
        store.WriteInt("Constants", "SeasonLength", c.stored);
        const AppSettings s = LoadSettings(store);
        EXPECT_EQ(s.seasonLength, c.read) << c.stored;
        MemorySettingsStore again;
        SaveSettings(s, again);
        EXPECT_EQ(LoadSettings(again).seasonLength, c.read) << c.stored;
    }
    // Automatic, never stored: the store keeps its nine values; once a season was
    // stored, going back to automatic is written too.
    MemorySettingsStore store;
    AppSettings s = LoadSettings(store);
    EXPECT_EQ(s.seasonLength, -1);
    SaveSettings(s, store);
    EXPECT_FALSE(store.ReadInt("Constants", "SeasonLength"));
    s.seasonLength = 12;
    SaveSettings(s, store);
    EXPECT_EQ(store.integers["Constants/SeasonLength"], 12);
    s.seasonLength = -1;
    SaveSettings(s, store);
    EXPECT_EQ(store.integers["Constants/SeasonLength"], -1);
}

TEST(AppSettings, ForecastOptionsRoundTripAndStayUnwrittenWhileUnused)
{
    MemorySettingsStore store;
    AppSettings s = LoadSettings(store);
    EXPECT_EQ(s.forecast, ForecastOptions{});
    SaveSettings(s, store);
    EXPECT_EQ(store.strings.size() + store.integers.size(), 9u);

    s.forecast.changeLag = ForecastOptions::ChangeLagSeason;
    s.forecast.tapsByRule = true;
    s.forecast.patientTraining = true;
    s.forecast.starts = 5;
    s.forecast.seed = 4000000000u;
    s.forecast.leakFreeEvaluation = true;
    s.forecast.forecaster = true;
    SaveSettings(s, store);
    EXPECT_EQ(LoadSettings(store).forecast, s.forecast);
    // Back to the defaults: written as such, and read back as such.
    s.forecast = ForecastOptions{};
    SaveSettings(s, store);
    EXPECT_EQ(LoadSettings(store).forecast, ForecastOptions{});
    EXPECT_EQ(store.strings["Strings/TapsRule"], "Spec");

    struct Case {
        const char* name;
        std::int64_t stored;
    };
    for (const Case& c : {Case{"ChangeLag", -2}, Case{"ChangeLag", 1001}, Case{"TrainingStarts", 0},
                          Case{"TrainingStarts", 101}, Case{"TrainingSeed", -1},
                          Case{"TrainingSeed", 4294967296LL}}) {
        MemorySettingsStore odd;
        odd.WriteInt("Constants", c.name, c.stored);
        EXPECT_EQ(LoadSettings(odd).forecast, ForecastOptions{}) << c.name << " " << c.stored;
    }
    MemorySettingsStore lower;
    lower.WriteString("Strings", "PatientTraining", "true");
    EXPECT_FALSE(LoadSettings(lower).forecast.patientTraining);
}

TEST(AppSettings, ForecasterSwitchStandsForItsSetAndKeepsStartsAndSeed)
{
    ForecastOptions own;
    own.changeLag = 12;
    own.starts = 3;
    own.seed = 9;
    EXPECT_EQ(EffectiveForecastOptions(own), own);
    own.forecaster = true;
    const ForecastOptions used = EffectiveForecastOptions(own);
    // The set learns the levels: a lag of the user's own gives way to it.
    EXPECT_EQ(used.changeLag, 0);
    EXPECT_TRUE(used.tapsByRule && used.patientTraining && used.leakFreeEvaluation);
    EXPECT_EQ(used.starts, 3);
    EXPECT_EQ(used.seed, 9u);
}

TEST(AppSettings, StoredColoursThatAreNoRgbValueReadAsTheDefault)
{
    struct Case {
        std::int64_t stored;
        Colour read;
    };
    for (const Case c : {Case{-1, 49344u}, Case{0x1000000, 49344u}, Case{4294967296LL + 5, 49344u},
                         Case{0, 0u}, Case{0xFFFFFF, 0xFFFFFFu}}) {
        MemorySettingsStore store;
        store.WriteInt("Constants", "TrainColor", c.stored);
        EXPECT_EQ(LoadSettings(store).trainColor, c.read) << c.stored;
    }
}
