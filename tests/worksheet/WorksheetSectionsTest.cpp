#include "RecordingMessages.h"

#include "worksheet/AppSettings.h"
#include "worksheet/Worksheet.h"

#include <gtest/gtest.h>

using namespace orvalis;

namespace {

struct SectionsFixture : ::testing::Test {
    AppSettings settings;
    RecordingMessages messages;

    // Column 1 "Trg/In" with n values, column 2 "Target".
    static void FillInput(Worksheet& ws, int n)
    {
        ws.Store().SetCellText(6, 1, "Trg/In");
        for (int i = 0; i < n; ++i)
            ws.Store().SetCellText(ws.firstDataRow + i, 1, std::to_string(i + 1));
    }
    static void SetCounts(Worksheet& ws, int training, int testing, int eval)
    {
        ws.ApplyCellEdit(2, 2, std::to_string(training));
        ws.ApplyCellEdit(3, 2, std::to_string(testing));
        ws.ApplyCellEdit(4, 2, std::to_string(eval));
    }
};

} // namespace

TEST_F(SectionsFixture, AutoConfigureFromTheDataLength)
{
    const std::string suggest = "Suggest Training Set > 20 Elements";
    struct Case {
        const char* name;
        int rows;        // data rows of the first input column (-1: every row filled)
        int mode;
        int taps;        // NumTaps before
        int training, testing, eval, tapsAfter, extrapolation;
        bool suggestion;
    };
    const Case cases[] = {
        {"60 rows, evaluate", 60, 1, 0, 40, 10, 10, 6, 0, false},
        {"61 rows, evaluate", 61, 1, 0, 40, 10, 11, 6, 0, false},
        {"61 rows, extrapolate", 61, 2, 0, 40, 21, 0, 6, 5, false},
        {"25 rows, evaluate", 25, 1, 0, 16, 4, 5, 2, 0, true},
        {"taps kept when set", 60, 1, 9, 40, 10, 10, 9, 0, false},
        {"column full to the last row counts 0", -1, 1, 0, 0, 0, 0, 0, 0, true},
        {"30 rows: a tenth is 3", 30, 2, 0, 20, 10, 0, 3, 5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.entries.clear();
        Worksheet ws(settings, messages);
        FillInput(ws, c.rows < 0 ? 1001 - ws.firstDataRow : c.rows);
        ws.ApplyCellEdit(5, 2, std::to_string(c.taps));
        ws.state = WorksheetState::Trained;
        ws.inputSetCount = 1;
        EXPECT_TRUE(ws.AutoConfigureSections(c.mode));
        EXPECT_EQ(ws.counts.numTraining, c.training);
        EXPECT_EQ(ws.counts.numTesting, c.testing);
        EXPECT_EQ(ws.counts.numEval, c.eval);
        EXPECT_EQ(ws.counts.numTaps, c.tapsAfter);
        EXPECT_EQ(ws.counts.totalRows, c.training + c.testing + c.eval);
        EXPECT_EQ(settings.extrapolationRows, c.extrapolation);
        EXPECT_EQ(ws.Store().GetCellText(2, 2), std::to_string(c.training));
        EXPECT_EQ(ws.Store().GetCellText(3, 2), std::to_string(c.testing));
        EXPECT_EQ(ws.Store().GetCellText(4, 2), std::to_string(c.eval));
        EXPECT_EQ(ws.Store().GetCellText(5, 2), std::to_string(c.tapsAfter));
        EXPECT_EQ(ws.state, WorksheetState::Trained);
        // The role scan created the result columns (no messages), then the suggestion.
        std::vector<RecordingMessages::Entry> expected;
        if (c.suggestion)
            expected.push_back({"info", suggest});
        EXPECT_EQ(messages.entries, expected);
        if (c.training > 0) {
            EXPECT_EQ(ws.Store().GetCellBackColor(ws.firstDataRow, 0), settings.trainColor);
        }
        settings.extrapolationRows = 0;
    }
}

TEST_F(SectionsFixture, AutoConfigureMeasuresUpToTheFirstEmptyCell)
{
    Worksheet ws(settings, messages);
    FillInput(ws, 60);
    ws.Store().SetCellText(ws.firstDataRow + 3, 1, "");
    EXPECT_EQ(ws.CountDataRows(1), 3);
    EXPECT_EQ(ws.CountDataRows(5), 0);

    ws.AutoConfigureSectionsFromColumn1(1);  // no role scan: column 1 measured
    EXPECT_EQ(ws.counts.numTraining, 2);
    EXPECT_EQ(ws.counts.numEval, 1);
}

TEST_F(SectionsFixture, AutoConfigureWithoutInputsChangesNothing)
{
    Worksheet ws(settings, messages);
    ws.Store().SetCellText(6, 1, "Target");
    for (int i = 0; i < 60; ++i)
        ws.Store().SetCellText(ws.firstDataRow + i, 1, "1");
    EXPECT_FALSE(ws.AutoConfigureSections(1));
    EXPECT_EQ(ws.Store().GetCellText(2, 2), "0");
    EXPECT_EQ(ws.counts.numTraining, 0);

    // A scan that fails after meeting an input still configures.
    Worksheet seven(settings, messages);
    FillInput(seven, 60);
    for (int j = 2; j <= 7; ++j)
        seven.Store().SetCellText(6, j, "Target");
    messages.entries.clear();
    EXPECT_TRUE(seven.AutoConfigureSections(1));
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Error: Exceeded Maximum Number of Target Sets"}));
    EXPECT_EQ(seven.counts.numTraining, 40);
}

TEST_F(SectionsFixture, ClearingExtrapolationRowsEmptiesOnlyResultColumns)
{
    Worksheet ws(settings, messages);
    FillInput(ws, 100);
    ws.Store().SetCellText(6, 2, "Val:Est");
    ws.Store().SetCellText(6, 3, "Err:Sign");
    ws.Store().SetCellText(6, 4, "Comment");
    const int f = ws.firstDataRow;
    for (int r = f; r < f + 100; ++r)
        for (int j = 2; j <= 4; ++j)
            ws.Store().SetCellText(r, j, "v");
    ws.ClearExtrapolationRows(40, 10, 10);  // rows f+60 .. f+80
    for (int r : {f + 59, f + 60, f + 80, f + 81}) {
        const bool cleared = r >= f + 60 && r <= f + 80;
        SCOPED_TRACE(r - f);
        EXPECT_EQ(ws.Store().GetCellText(r, 1).empty(), false);  // the user's input
        EXPECT_EQ(ws.Store().GetCellText(r, 2).empty(), cleared);
        EXPECT_EQ(ws.Store().GetCellText(r, 3).empty(), cleared);
        EXPECT_EQ(ws.Store().GetCellText(r, 4), "v");
    }
    ws.ClearExtrapolationRows(0, 0, 0);  // counts still 0: the data stays
    EXPECT_EQ(ws.Store().GetCellText(f, 1), "1");
    ws.ClearExtrapolationRows(990, 0, 0);  // near the last row: clipped
    ws.ClearExtrapolationRows(-500, 0, 0);  // negative counts never reach the header
    EXPECT_EQ(ws.Store().GetCellText(6, 2), "Val:Est");
}

TEST_F(SectionsFixture, ResetTrainingWritesTheInitialFigures)
{
    Worksheet ws(settings, messages);
    ws.SetStateAndText(WorksheetState::Eval);
    ws.phaseOffset = -1;
    for (int r = 1; r <= 4; ++r)
        ws.Store().SetCellText(r, 6, "1.5");
    ws.Store().SetCellText(2, 4, "80");
    ws.Store().SetCellText(3, 4, "70");
    ws.ResetTraining();
    EXPECT_EQ(ws.state, WorksheetState::Init);
    EXPECT_EQ(ws.phaseOffset, 100);
    EXPECT_EQ(ws.Store().GetCellText(1, 4), "Init");
    for (auto [r, c] : {std::pair{2, 4}, {3, 4}, {1, 6}, {2, 6}, {3, 6}, {4, 6}})
        EXPECT_EQ(ws.Store().GetCellText(r, c), "0");
}

TEST_F(SectionsFixture, ResultsModeSwitchWithSizingOff)
{
    settings.autoVectorSizing = false;
    Worksheet ws(settings, messages);
    SetCounts(ws, 100, 60, 20);
    ws.SetStateAndText(WorksheetState::Trained);

    ws.SwitchResultsMode(2);
    EXPECT_EQ(ws.counts.numTesting, 80);
    EXPECT_EQ(ws.counts.numEval, 0);
    EXPECT_EQ(ws.counts.savedNumEval, 20);
    EXPECT_EQ(ws.counts.totalRows, 180);
    EXPECT_EQ(ws.Store().GetCellText(3, 2), "80");
    EXPECT_EQ(ws.Store().GetCellText(4, 2), "---");
    EXPECT_EQ(settings.resultsMode, 2);
    EXPECT_EQ(settings.extrapolationRows, settings.extrapolationLen);
    EXPECT_EQ(ws.state, WorksheetState::Init);
    EXPECT_EQ(ws.Store().GetCellText(1, 4), "Init");
    EXPECT_EQ(ws.Store().GetCellBackColor(ws.firstDataRow + 180, 0), settings.extrpColor);

    ws.SwitchResultsMode(1);
    EXPECT_EQ(ws.counts.numTesting, 60);
    EXPECT_EQ(ws.counts.numEval, 20);
    EXPECT_EQ(ws.Store().GetCellText(4, 2), "20");
    EXPECT_EQ(settings.extrapolationRows, 0);

    ws.SwitchResultsMode(2);
    ws.SwitchResultsMode(2);  // again: the saved evaluation count becomes 0 ...
    EXPECT_EQ(ws.counts.savedNumEval, 0);
    ws.SwitchResultsMode(1);  // ... and 5 rows come back
    EXPECT_EQ(ws.counts.numEval, 5);
    EXPECT_EQ(ws.counts.numTesting, 75);

    // The testing count never goes negative when the user shortened it meanwhile.
    ws.SwitchResultsMode(2);
    ws.ApplyCellEdit(3, 2, "3");
    ws.SwitchResultsMode(1);
    EXPECT_EQ(ws.counts.numTesting, 0);
    EXPECT_EQ(ws.counts.numEval, 5);
    EXPECT_EQ(ws.Store().GetCellText(3, 2), "0");
}

TEST_F(SectionsFixture, ResultsModeSwitchWithSizingOnReconfigures)
{
    Worksheet ws(settings, messages);
    FillInput(ws, 61);
    ws.SwitchResultsMode(2);
    EXPECT_EQ(ws.counts.numTraining, 40);
    EXPECT_EQ(ws.counts.numTesting, 21);
    EXPECT_EQ(ws.Store().GetCellText(4, 2), "---");
    ws.SwitchResultsMode(1);
    EXPECT_EQ(ws.counts.numTesting, 10);
    EXPECT_EQ(ws.counts.numEval, 11);
    ws.SwitchResultsMode(7);  // any other choice does nothing
    EXPECT_EQ(settings.resultsMode, 1);
}
