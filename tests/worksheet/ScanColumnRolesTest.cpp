#include "RecordingMessages.h"

#include "worksheet/AppSettings.h"
#include "worksheet/Worksheet.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

struct ScanCase {
    const char* name;
    std::map<int, std::string> roles;        // column -> role text
    std::vector<int> dataColumns;            // columns holding a value in data row 0
    bool ok;
    std::vector<std::string> messages;
    std::vector<int> inputs;
    std::vector<int> targets;
    int valEst;
    int valSlope;
    std::map<int, std::string> rolesAfter;   // role texts checked after the scan
};

std::map<int, std::string> Repeat(const std::string& role, int from, int count)
{
    std::map<int, std::string> m;
    for (int i = 0; i < count; ++i)
        m[from + i] = role;
    return m;
}

std::map<int, std::string> Merge(std::map<int, std::string> a, const std::map<int, std::string>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

} // namespace

TEST(ScanColumnRoles, RolesLimitsMessagesAndCreatedColumns)
{
    const std::string inputLimit = "Error: Exceeded Maximum Number of Input Sets";
    const std::string targetLimit = "Error: Exceeded Maximum Number of Target Sets";
    const std::string noTarget = "Error: No Target Sets Defined";
    const ScanCase cases[] = {
        {"only Trg/In in column 1", {{1, "Trg/In"}}, {1}, true, {}, {1}, {1}, 2, 3,
         {{2, "Val:Est"}, {3, "Val:Slope"}, {4, "No Data"}}},
        {"seventeen inputs", Merge(Repeat("Input", 1, 17), {{18, "Target"}}), {}, false,
         {inputLimit}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, {}, 0, 0,
         {{18, "Target"}, {19, "No Data"}}},
        {"sixteen inputs are fine", Merge(Repeat("Input", 1, 16), {{17, "Target"}}), {}, true,
         {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, {17}, 18, 19, {}},
        {"six targets then Trg/In", Merge(Repeat("Target", 1, 6), {{7, "Trg/In"}}), {}, false,
         {targetLimit}, {7}, {1, 2, 3, 4, 5, 6}, 0, 0, {{8, "No Data"}}},
        {"no target", {{1, "Input"}, {2, "Input"}}, {}, false, {noTarget}, {1, 2}, {}, 0, 0,
         {{3, "No Data"}}},
        {"comment and other texts are ignored",
         {{1, "Comment"}, {2, "input"}, {3, "Target"}, {4, "Input"}}, {}, true, {}, {4}, {3},
         5, 6, {{1, "Comment"}, {2, "input"}}},
        {"existing result columns are kept",
         {{1, "Input"}, {2, "Target"}, {3, "Val:Slope"}, {5, "Err:Sign"}}, {}, true, {}, {1},
         {2}, 4, 3, {{4, "Val:Est"}, {6, "No Data"}}},
        {"Val:Est exists, Val:Slope goes to the first free column",
         {{1, "Trg/In"}, {2, "Val:Est"}}, {1}, true, {}, {1}, {1}, 2, 3, {{3, "Val:Slope"}}},
        {"a No Data column holding data is never taken",
         {{1, "Trg/In"}}, {1, 2, 3}, true, {}, {1}, {1}, 4, 5,
         {{2, "No Data"}, {3, "No Data"}, {4, "Val:Est"}, {5, "Val:Slope"}}},
        {"no room for Val:Slope after Val:Est",
         {{1, "Trg/In"}, {2, "No Data"}}, {1, 3}, true, {}, {1}, {1}, 2, 0,
         {{2, "Val:Est"}, {3, "No Data"}}},
        {"no free column at all", Merge(Repeat("Comment", 2, 67), {{1, "Trg/In"}}), {1}, true,
         {}, {1}, {1}, 0, 0, {{68, "Comment"}}},
        {"last column free: Val:Est only", Merge(Repeat("Comment", 2, 66), {{1, "Trg/In"}}),
         {1}, true, {}, {1}, {1}, 68, 0, {{68, "Val:Est"}}},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(c.name);
        AppSettings settings;
        RecordingMessages messages;
        Worksheet ws(settings, messages);
        for (const auto& [col, role] : c.roles)
            ws.Store().SetCellText(6, col, role);
        for (int col : c.dataColumns)
            ws.Store().SetCellText(ws.firstDataRow, col, "1.0");
        EXPECT_EQ(ws.ScanColumnRoles(), c.ok);
        EXPECT_EQ(messages.Texts(), c.messages);
        for (const auto& e : messages.entries)
            EXPECT_EQ(e.kind, "error");
        EXPECT_EQ(ws.roles.inputColumns, c.inputs);
        EXPECT_EQ(ws.roles.targetColumns, c.targets);
        EXPECT_EQ(ws.targetSetCount, static_cast<int>(c.targets.size()));
        EXPECT_EQ(ws.roles.valEstColumn, c.valEst);
        EXPECT_EQ(ws.roles.valSlopeColumn, c.valSlope);
        for (const auto& [col, role] : c.rolesAfter)
            EXPECT_EQ(ws.Store().GetCellText(6, col), role) << "column " << col;
        if (c.ok) {
            EXPECT_EQ(ws.inputSetCount, static_cast<int>(c.inputs.size()));
        }
    }
}

TEST(ScanColumnRoles, InputCountChangeResetsTheStateAndTrgInIsRemembered)
{
    AppSettings settings;
    RecordingMessages messages;
    Worksheet ws(settings, messages);
    ws.Store().SetCellText(6, 1, "Trg/In");
    ws.Store().SetCellText(6, 2, "Input");
    ws.Store().SetCellText(6, 3, "Val:Est");
    ws.Store().SetCellText(6, 4, "Val:Slope");
    ASSERT_TRUE(ws.ScanColumnRoles());
    EXPECT_EQ(ws.inputSetCount, 2);
    EXPECT_EQ(ws.roles.trgInColumn, 1);
    EXPECT_TRUE(ws.roles.hasResultColumns);

    ws.state = WorksheetState::Trained;
    ASSERT_TRUE(ws.ScanColumnRoles());  // same inputs: state kept
    EXPECT_EQ(ws.state, WorksheetState::Trained);

    ws.Store().SetCellText(6, 1, "Target");
    ASSERT_TRUE(ws.ScanColumnRoles());
    EXPECT_EQ(ws.inputSetCount, 1);
    EXPECT_EQ(ws.state, WorksheetState::Init);
    EXPECT_EQ(ws.roles.trgInColumn, 1);  // kept from the earlier scan

    ws.counts.numTraining = 40;
    ws.counts.numTesting = 10;
    ws.counts.numEval = 5;
    ws.ScanColumnRoles();
    EXPECT_EQ(ws.counts.totalRows, 55);
}
