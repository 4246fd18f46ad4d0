#include "worksheet/ForecastOptionFields.h"

#include "worksheet/AppSettings.h"
#include "worksheet/RecordingMessages.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvalis;

namespace {

// Options that differ from the defaults in every member.
ForecastOptions EveryOptionSet()
{
    ForecastOptions o;
    o.changeLag = 12;
    o.tapsByRule = true;
    o.patientTraining = true;
    o.starts = 7;
    o.seed = 4294967295u;
    o.leakFreeEvaluation = true;
    o.forecaster = true;
    return o;
}

} // namespace

TEST(ForecastOptionFields, EveryOptionRoundTripsThroughItsField)
{
    ForecastOptions season;
    season.changeLag = ForecastOptions::ChangeLagSeason;
    season.seed = 0;
    for (const ForecastOptions& stored : {ForecastOptions{}, EveryOptionSet(), season}) {
        const ForecastOptionFields fields = OpenForecastOptionFields(stored);
        ForecastOptions read;
        read.starts = 3; // overwritten by the fields
        RecordingMessages messages;
        EXPECT_TRUE(AcceptForecastOptionFields(fields, read, messages));
        EXPECT_TRUE(messages.entries.empty());
        EXPECT_EQ(read, stored) << fields.changeLag << " " << fields.seed;
    }
    EXPECT_EQ(OpenForecastOptionFields(ForecastOptions{}).changeLag, "Off");
    EXPECT_EQ(OpenForecastOptionFields(season).changeLag, "Season");
    EXPECT_EQ(OpenForecastOptionFields(EveryOptionSet()).seed, "4294967295");
}

TEST(ForecastOptionFields, LearnTheChangeTexts)
{
    struct Case {
        const char* text;
        std::optional<int> lag;
    };
    const Case cases[] = {
        {"Off", 0},
        {" off ", 0},
        {"0", 0},
        {"", 0},
        {"SEASON", -1},
        {"Season", -1},
        {"1", 1},
        {" 1000\t", 1000},
        {"1001", {}},
        {"-1", {}},
        {"12ab", {}},
        {"1.5", {}},
        {"99999999999999999999", {}},
        {"auto", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadChangeLagText(c.text), c.lag) << '"' << c.text << '"';
}

// A refused field names its range and leaves every option as it was, also the fields
// that passed before it.
TEST(ForecastOptionFields, OutOfRangeValuesAreRefusedAndNothingIsStored)
{
    struct Case {
        const char* name;
        const char* changeLag;
        const char* starts;
        const char* seed;
        const char* message;
    };
    const std::string lag = "Error: Learn the Change Must Be Off, Season or 1 to 1000";
    const std::string starts = "Error: Starts Must Be 1 to 100";
    const std::string seed = "Error: Seed Must Be 0 to 4294967295";
    const Case cases[] = {
        {"lag past 1000", "1001", "1", "1", lag.c_str()},
        {"negative lag", "-2", "1", "1", lag.c_str()},
        {"lag as a word", "trend", "1", "1", lag.c_str()},
        {"no starts", "1", "0", "1", starts.c_str()},
        {"starts past 100", "1", "101", "1", starts.c_str()},
        {"starts left empty", "1", "", "1", starts.c_str()},
        {"starts with letters", "1", "5x", "1", starts.c_str()},
        {"seed past 32 bits", "1", "1", "4294967296", seed.c_str()},
        {"negative seed", "1", "1", "-1", seed.c_str()},
        {"seed left empty", "1", "1", " ", seed.c_str()},
    };
    for (const Case& c : cases) {
        ForecastOptionFields fields = OpenForecastOptionFields(EveryOptionSet());
        fields.forecaster = false;
        fields.tapsByRule = false;
        fields.changeLag = c.changeLag;
        fields.starts = c.starts;
        fields.seed = c.seed;
        ForecastOptions options;
        RecordingMessages messages;
        EXPECT_FALSE(AcceptForecastOptionFields(fields, options, messages)) << c.name;
        EXPECT_EQ(messages.entries, (std::vector<RecordingMessages::Entry>{{"error", c.message}}))
            << c.name;
        EXPECT_EQ(options, ForecastOptions{}) << c.name;
    }
}

// Storing with the switch on keeps the user's own values under the fields the set decides
// (the dialog shows the set there) and takes edits made meanwhile to the fields it leaves.
TEST(ForecastOptionFields, StoringUnderTheForecasterKeepsTheUsersOwn)
{
    ForecastOptions own;
    own.changeLag = 5;
    own.seed = 9;
    const ForecastOptionFields ownFields = OpenForecastOptionFields(own);
    ForecastOptionFields edited = ForecasterShownFields(ownFields);
    edited.changeLag = "77"; // cannot happen in the dialog: the field is disabled
    edited.seed = "123";
    const ForecasterGoverned governed = GovernedByForecaster();
    ASSERT_TRUE(governed.changeLag);
    const ForecastOptionFields kept = FieldsToStore(edited, ownFields);
    EXPECT_EQ(kept.changeLag, "5");
    EXPECT_EQ(kept.seed, governed.seed ? "9" : "123");
    EXPECT_TRUE(kept.forecaster);
    edited.forecaster = false; // with the switch off, stored as shown
    EXPECT_EQ(FieldsToStore(edited, ownFields), edited);
}
