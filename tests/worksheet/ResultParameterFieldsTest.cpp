#include "worksheet/ResultParameterFields.h"

#include "worksheet/AppSettings.h"
#include "worksheet/RecordingMessages.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace orvalis;

TEST(ResultParameterFields, OpeningAndDefaults)
{
    AppSettings settings;
    settings.extrapolationLen = 12;
    settings.extrapolationRows = 12;
    FigureOfMeritWeights weights{0.5f, 2.0f, 0.25f, 0.75f};
    ResultParameterFields f = OpenResultParameterFields(settings, 100, weights);
    EXPECT_EQ(f.phaseOffset, "0"); // undetermined shows as 0
    EXPECT_EQ(f.intervalLength, "12");
    EXPECT_EQ(f.trainValueAvgWeight, "0.500000");
    EXPECT_EQ(f.trainValueSdWeight, "2.000000");
    EXPECT_EQ(f.estimateValueSdWeight, "0.750000");
    EXPECT_EQ(OpenResultParameterFields(settings, -1, weights).phaseOffset, "-1");

    // Defaults stores at once, whatever the dialog does next.
    ApplyResultDefaults(f, settings, -1, weights);
    EXPECT_EQ(settings.extrapolationLen, 5);
    EXPECT_EQ(settings.extrapolationRows, 0);
    EXPECT_EQ(weights, FigureOfMeritWeights{});
    EXPECT_EQ(f.intervalLength, "5");
    EXPECT_EQ(f.phaseOffset, "-1");
    EXPECT_EQ(f.trainValueSdWeight, "1.000000");
}

TEST(ResultParameterFields, OkChecksInOrder)
{
    struct Case {
        const char* name;
        bool comment;
        const char* interval;
        const char* estimateAvg;
        const char* trainSd;
        std::vector<RecordingMessages::Entry> messages;
        int lengthAfter;
    };
    const std::string info = "Info: Need to close documents to enable display changes";
    const Case cases[] = {
        {"unchanged", true, "5", "0.000000", "1.000000", {}, 5},
        {"20 accepted", true, "20", "0", "10", {}, 20},
        {"1 refused after the comment switch", false, "1", "0", "1",
         {{"info", info}, {"error", "Error: Maximum Extrapolation Length Exceeded"}}, 7},
        {"21 refused", true, "21", "0", "1",
         {{"error", "Error: Maximum Extrapolation Length Exceeded"}}, 7},
        {"estimate average above 1", true, "9", "1.5", "1",
         {{"error", "Error: Estimate Value Average Coefficent Out of Range"}}, 9},
        {"training deviation above 10", true, "9", "1", "10.5",
         {{"error", "Error: Training Value Std Dev Coefficent Out of Range"}}, 9},
    };
    for (const Case& c : cases) {
        AppSettings settings;
        settings.extrapolationLen = 7;
        settings.extrapolationRows = 7;
        FigureOfMeritWeights weights;
        ResultParameterFields f = OpenResultParameterFields(settings, 0, weights);
        f.commentHeaderRow = c.comment;
        f.intervalLength = c.interval;
        f.estimateValueAvgWeight = c.estimateAvg;
        f.trainValueSdWeight = c.trainSd;
        RecordingMessages messages;
        EXPECT_EQ(AcceptResultParameterFields(f, settings, weights, messages),
                  c.messages.empty() || c.messages.back().kind != "error")
            << c.name;
        EXPECT_EQ(messages.entries, c.messages) << c.name;
        EXPECT_EQ(settings.useCommentLine, c.comment) << c.name;
        EXPECT_EQ(settings.extrapolationLen, c.lengthAfter) << c.name;
        EXPECT_EQ(settings.extrapolationRows, 7) << c.name; // acts from the next mode switch
    }
}

TEST(ResultParameterFields, EachWeightHasItsOwnMessage)
{
    const char* messages[] = {"Error: Estimate Value Average Coefficent Out of Range",
                              "Error: Estimate Std Dev Coefficent Out of Range",
                              "Error: Training Value Average Coefficent Out of Range",
                              "Error: Training Value Std Dev Coefficent Out of Range"};
    for (int bad = 0; bad < 4; ++bad) {
        AppSettings settings;
        FigureOfMeritWeights weights;
        ResultParameterFields f = OpenResultParameterFields(settings, 0, weights);
        std::string* fields[] = {&f.estimateValueAvgWeight, &f.estimateValueSdWeight,
                                 &f.trainValueAvgWeight, &f.trainValueSdWeight};
        for (int k = 0; k < 4; ++k)
            *fields[k] = "0.5";
        *fields[bad] = "-0.1";
        RecordingMessages recorder;
        EXPECT_FALSE(AcceptResultParameterFields(f, settings, weights, recorder));
        ASSERT_EQ(recorder.entries.size(), 1u);
        EXPECT_EQ(recorder.entries[0].text, messages[bad]);
        // The weights before the failing one are stored.
        const float stored[] = {weights.estimateValueAvgWeight, weights.estimateValueSdWeight,
                                weights.trainValueAvgWeight, weights.trainValueSdWeight};
        for (int k = 0; k < bad; ++k)
            EXPECT_EQ(stored[k], 0.5f) << bad << " " << k;
    }
}

// The season length: shown as the setting holds it, stored by OK when its text reads as
// automatic, none or 2..1000 rows (read back the same when the dialog opens again), and
// otherwise refused with its message and the setting kept. Defaults makes it automatic.
TEST(ResultParameterFields, SeasonLengthRoundTrip)
{
    struct Case {
        const char* text;
        std::optional<int> stored; // empty: refused
        const char* shownAgain;
    };
    const Case cases[] = {
        {"Auto", -1, "Auto"},
        {" auto ", -1, "Auto"},
        {"", -1, "Auto"},
        {"None", 0, "None"},
        {"NONE", 0, "None"},
        {"0", 0, "None"},
        {"12", 12, "12"},
        {"2", 2, "2"},
        {"1000", 1000, "1000"},
        {"1", {}, ""},
        {"-1", {}, ""},
        {"1001", {}, ""},
        {"12x", {}, ""},
        {"99999999999", {}, ""},
        {"seven", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        AppSettings settings;
        settings.seasonLength = 7;
        FigureOfMeritWeights weights;
        RecordingMessages messages;
        ResultParameterFields f = OpenResultParameterFields(settings, 0, weights);
        EXPECT_EQ(f.seasonLength, "7");
        f.seasonLength = c.text;
        const bool accepted = AcceptResultParameterFields(f, settings, weights, messages);
        EXPECT_EQ(accepted, c.stored.has_value());
        if (!c.stored) {
            EXPECT_EQ(settings.seasonLength, 7);
            EXPECT_EQ(messages.Texts(),
                      std::vector<std::string>{"Error: Season Length Must Be Auto, None or 2 to 1000"});
            continue;
        }
        EXPECT_EQ(settings.seasonLength, *c.stored);
        EXPECT_EQ(OpenResultParameterFields(settings, 0, weights).seasonLength, c.shownAgain);
    }

    AppSettings settings;
    settings.seasonLength = 4;
    FigureOfMeritWeights weights;
    ResultParameterFields f = OpenResultParameterFields(settings, 0, weights);
    ApplyResultDefaults(f, settings, 0, weights);
    EXPECT_EQ(settings.seasonLength, -1);
    EXPECT_EQ(f.seasonLength, "Auto");
}
