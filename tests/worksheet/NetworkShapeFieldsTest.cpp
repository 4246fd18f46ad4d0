#include "worksheet/NetworkShapeFields.h"

#include "support/ShapeOf.h"
#include "worksheet/RecordingMessages.h"

#include <gtest/gtest.h>

using namespace orvalis;
using testsupport::ShapeOf;

TEST(NetworkShapeFields, OpeningShowsThreeOrMoreLayersOnly)
{
    NetworkShapeFields f = OpenNetworkShapeFields(ShapeOf({12, 6, 1}), 0);
    EXPECT_EQ(f.layers, "3");
    EXPECT_EQ(f.elementsPerLayer, "12 6 1 ");
    EXPECT_EQ(f.inputNodes, "12");
    EXPECT_EQ(f.outputNodes, "1");
    EXPECT_FALSE(f.autoConfigure);

    f = OpenNetworkShapeFields(ShapeOf({5, 1}), 1);
    EXPECT_EQ(f.layers, "2");
    EXPECT_EQ(f.elementsPerLayer, "Not Defined");
    EXPECT_EQ(f.inputNodes, "0");
    EXPECT_EQ(f.outputNodes, "0");
    EXPECT_TRUE(f.autoConfigure);

    // A new record has no shape.
    EXPECT_EQ(OpenNetworkShapeFields(NetworkShape{}, 1).layers, "0");
}

TEST(NetworkShapeFields, OkValidatesInOrderAndKeepsWhatPassed)
{
    struct Case {
        const char* name;
        NetworkShapeFields fields;
        bool closes;
        const char* kind;    // message kind, "" for none
        const char* message; // "" for none
        int layers;          // layerCount and first three counts after OK,
        int units[3];        // starting from 4-2-3
    };
    const NetworkShape start = ShapeOf({4, 2, 3});
    const Case cases[] = {
        {"accepted", {"20", "1", "3", "20 10 1", false}, true, "", "", 3, {20, 10, 1}},
        {"text after the last layer ignored", {"20", "1", "3", "20 10 1 7 x", false}, true, "",
         "", 3, {20, 10, 1}},
        {"nine layers", {"20", "1", "9", "20 10 1", false}, false, "plain",
         "Error: Maximum Number of Layers Exceeded", 3, {4, 2, 3}},
        {"no layers", {"20", "1", "abc", "20 10 1", false}, false, "plain",
         "Error: Maximum Number of Layers Exceeded", 3, {4, 2, 3}},
        {"missing third count stores the first two", {"20", "1", "3", "20 10", false}, false,
         "error", "Error: Maximum Number of Units Per Layer Exceeded", 3, {20, 10, 3}},
        {"count above 200", {"20", "1", "3", "20 201 1", false}, false, "error",
         "Error: Maximum Number of Units Per Layer Exceeded", 3, {20, 2, 3}},
        {"two spaces make an empty token", {"20", "1", "3", "20  10 1", false}, false, "error",
         "Error: Maximum Number of Units Per Layer Exceeded", 3, {20, 2, 3}},
        {"inputs differ", {"21", "1", "3", "20 10 1", false}, false, "error",
         "Error: Number of Inputs Must Equal First Layer Units", 3, {20, 10, 1}},
        {"outputs differ", {"20", "2", "3", "20 10 1", false}, false, "error",
         "Error: Number of Outputs Must Equal Last Layer Units", 3, {20, 10, 1}},
        {"seventeen outputs", {"20", "17", "3", "20 10 17", false}, false, "error",
         "Error: Maximum Number of Outputs Exceeded", 3, {20, 10, 17}},
        {"two layers accepted", {"5", "1", "2", "5 1", false}, true, "", "", 2, {5, 1, 3}},
        {"one layer accepted", {"4", "4", "1", "4", false}, true, "", "", 1, {4, 2, 3}},
        {"automatic box ignores the rest", {"x", "y", "99", "junk", true}, true, "", "", 3, {4, 2, 3}},
    };
    for (const Case& c : cases) {
        NetworkShape shape = start;
        int automatic = 0;
        RecordingMessages messages;
        EXPECT_EQ(AcceptNetworkShapeFields(c.fields, shape, automatic, messages), c.closes)
            << c.name;
        EXPECT_EQ(automatic, c.fields.autoConfigure ? 1 : 0) << c.name;
        if (*c.message) {
            ASSERT_EQ(messages.entries.size(), 1u) << c.name;
            EXPECT_EQ(messages.entries[0].kind, c.kind) << c.name;
            EXPECT_EQ(messages.entries[0].text, c.message) << c.name;
        } else {
            EXPECT_TRUE(messages.entries.empty()) << c.name;
        }
        EXPECT_EQ(shape.layerCount, c.layers) << c.name;
        for (int l = 0; l < 3; ++l)
            EXPECT_EQ(shape.unitsPerLayer[l], c.units[l]) << c.name << " layer " << l;
    }
}
