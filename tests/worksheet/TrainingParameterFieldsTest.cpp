#include "worksheet/TrainingParameterFields.h"

#include "worksheet/RecordingMessages.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orvalis;

namespace {

// Valid texts with the automatic box off: every case changes one thing.
TrainingParameterFields Typed()
{
    TrainingParameterFields f;
    f.iterationsPerCycle = "20";
    f.maxCycles = "500";
    f.errorRatioGoal = "1.5";
    f.learningRate = "0.05";
    f.gain = "1.5";
    f.momentum = "0.9";
    f.mode = "2 Pass";
    f.autoTrainingConfigure = false;
    f.autoVectorSizing = false;
    return f;
}

} // namespace

TEST(TrainingParameterFields, OpeningShowsTwoDecimals)
{
    TrainingParameters p;
    TrainingParameterFields f = OpenTrainingParameterFields(p, 1, true, true);
    EXPECT_EQ(f.iterationsPerCycle, "10");
    EXPECT_EQ(f.maxCycles, "2000");
    EXPECT_EQ(f.errorRatioGoal, "1.20");
    EXPECT_EQ(f.learningRate, "0.05");
    EXPECT_EQ(f.gain, "1.00");
    EXPECT_EQ(f.momentum, "0.50");
    EXPECT_EQ(f.mode, "2 Pass");
    EXPECT_TRUE(f.autoTrainingConfigure);

    p.learningRate = 0.096;
    f = OpenTrainingParameterFields(p, 0, false, false);
    EXPECT_EQ(f.learningRate, "0.10"); // so OK without a change is refused
    EXPECT_EQ(f.mode, "1 Pass");
    EXPECT_FALSE(f.autoVectorSizing);
}

TEST(TrainingParameterFields, OkChecksInOrderAndKeepsWhatPassed)
{
    struct Case {
        const char* name;
        std::function<void(TrainingParameterFields&)> edit;
        const char* message; // "" when the dialog closes
        std::function<void(const TrainingParameters&, bool use2Pass)> check;
    };
    const TrainingParameters defaults;
    const Case cases[] = {
        {"all valid, single precision for three", [](auto&) {}, "",
         [](const TrainingParameters& p, bool twoPass) {
             EXPECT_EQ(p.errorRatioGoal, 1.5);
             EXPECT_EQ(p.learningRate, 0.05000000074505806);
             EXPECT_EQ(p.gain, 1.5);
             EXPECT_EQ(p.momentum, 0.8999999761581421);
             EXPECT_EQ(p.iterationsPerCycle, 20);
             EXPECT_EQ(p.maxCycles, 500);
             EXPECT_TRUE(twoPass);
         }},
        {"ratio 1.05", [](auto& f) { f.errorRatioGoal = "1.05"; },
         "Error: Training Error Ratio Illegal Value",
         [&](const TrainingParameters& p, bool) { EXPECT_EQ(p, defaults); }},
        {"ratio 2 is inside", [](auto& f) { f.errorRatioGoal = "2"; }, "",
         [](const TrainingParameters& p, bool) { EXPECT_EQ(p.errorRatioGoal, 2.0); }},
        {"ratio 1.1 is inside", [](auto& f) { f.errorRatioGoal = "1.1"; }, "",
         [](const TrainingParameters& p, bool) { EXPECT_EQ(p.errorRatioGoal, 1.1); }},
        {"ratio nan", [](auto& f) { f.errorRatioGoal = "nan"; },
         "Error: Training Error Ratio Illegal Value", nullptr},
        {"gain 0.4", [](auto& f) { f.gain = "0.4"; }, "Error: Network Gain Term Illegal Value",
         [](const TrainingParameters& p, bool) { EXPECT_EQ(p.errorRatioGoal, 1.5); }},
        {"momentum 0.95", [](auto& f) { f.momentum = "0.95"; },
         "Error: Network Momentum Term Illegal Value", nullptr},
        {"iterations 0", [](auto& f) { f.iterationsPerCycle = "0"; },
         "Error: Training Iterations Illegal Value", nullptr},
        {"cycles 100000 inside", [](auto& f) { f.maxCycles = "100000"; }, "",
         [](const TrainingParameters& p, bool) { EXPECT_EQ(p.maxCycles, 100000); }},
        {"cycles 100001", [](auto& f) { f.maxCycles = "100001"; },
         "Error: Maximum Training Cycles Illegal Value", nullptr},
        {"rate 0.2 after the rest is stored", [](auto& f) { f.learningRate = "0.2"; },
         "Error: Learning Rate Illegal Value",
         [](const TrainingParameters& p, bool) {
             EXPECT_EQ(p.gain, 1.5);
             EXPECT_EQ(p.iterationsPerCycle, 20);
             EXPECT_EQ(p.maxCycles, 500);
             EXPECT_EQ(p.learningRate, 0.05);
         }},
        {"rate 0.1 is above 0.1 in single precision", [](auto& f) { f.learningRate = "0.1"; },
         "Error: Learning Rate Illegal Value", nullptr},
        {"rate 0.09", [](auto& f) { f.learningRate = "0.09"; }, "",
         [](const TrainingParameters& p, bool) {
             EXPECT_EQ(p.learningRate, static_cast<double>(0.09f));
         }},
        {"rate shown as 0.01 stores 0.01", [](auto& f) { f.learningRate = "0.01"; }, "",
         [](const TrainingParameters& p, bool) {
             EXPECT_EQ(p.learningRate, static_cast<double>(0.01f));
         }},
        {"mode 1 Pass", [](auto& f) { f.mode = "1 Pass"; }, "",
         [](const TrainingParameters&, bool twoPass) { EXPECT_FALSE(twoPass); }},
        {"mode 2 Pass", [](auto& f) { f.mode = "2 Pass"; }, "",
         [](const TrainingParameters&, bool twoPass) { EXPECT_TRUE(twoPass); }},
        {"mode in lower case is refused", [](auto& f) { f.mode = "1 pass"; },
         TrainingModeRefused, [](const TrainingParameters&, bool twoPass) { EXPECT_FALSE(twoPass); }},
        {"mode banana is refused after the rest is stored", [](auto& f) { f.mode = "banana"; },
         TrainingModeRefused,
         [](const TrainingParameters& p, bool twoPass) {
             EXPECT_EQ(p.maxCycles, 500);
             EXPECT_FALSE(twoPass);
         }},
        {"first list entry is 1 Pass", [](auto& f) { f.mode = TrainingModeListEntries[0]; }, "",
         [](const TrainingParameters&, bool twoPass) { EXPECT_FALSE(twoPass); }},
    };
    for (const Case& c : cases) {
        TrainingParameterFields fields = Typed();
        c.edit(fields);
        TrainingParameters p;
        int automatic = 1;
        bool sizing = true, twoPass = false;
        RecordingMessages messages;
        const bool closed = AcceptTrainingParameterFields(fields, p, automatic, sizing, twoPass,
                                                          messages);
        EXPECT_EQ(closed, !*c.message) << c.name;
        EXPECT_EQ(automatic, 0) << c.name;
        EXPECT_FALSE(sizing) << c.name;
        if (*c.message)
            EXPECT_EQ(messages.entries,
                      (std::vector<RecordingMessages::Entry>{{"error", c.message}}))
                << c.name;
        else
            EXPECT_TRUE(messages.entries.empty()) << c.name;
        if (c.check)
            c.check(p, twoPass);
    }
}

TEST(TrainingParameterFields, DefaultsThenOkClosesWithoutStoring)
{
    TrainingParameterFields fields = Typed();
    ApplyTrainingDefaultFields(fields);
    EXPECT_EQ(fields.learningRate, "0.05");
    EXPECT_EQ(fields.mode, "2 Pass");

    TrainingParameters p;
    p.maxCycles = 77;
    int automatic = 0;
    bool sizing = false, twoPass = false;
    RecordingMessages messages;
    fields.learningRate = "junk"; // never read: the automatic box is checked
    EXPECT_TRUE(AcceptTrainingParameterFields(fields, p, automatic, sizing, twoPass, messages));
    EXPECT_EQ(automatic, 1);
    EXPECT_TRUE(sizing);
    EXPECT_FALSE(twoPass); // the Mode is not read either
    EXPECT_EQ(p.maxCycles, 77);
    EXPECT_EQ(fields.learningRate, "0.05");
    EXPECT_TRUE(messages.entries.empty());
}
