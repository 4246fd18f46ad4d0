// Worksheets longer than the 1001 rows they start with: growing, the file, import,
// extrapolation at the last row, and runs over more rows than the engine's first
// prediction array holds.
#include "RunWorksheet.h"

#include "network/RandomGenerator.h"
#include "worksheet/EvaluationRun.h"
#include "worksheet/HeaderBlock.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/TrainingRun.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/WorksheetFileFormat.h"
#include "worksheet/WorksheetNetwork.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvalis;

namespace {

constexpr const char* kEuStocks = ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_full.csv";

std::int32_t RowCountField(const Worksheet& ws, const std::vector<std::uint8_t>& bytes)
{
    auto parsed = ParseWorksheetFile(bytes.data(), bytes.size(), ws.firstDataRow);
    return std::get<WorksheetFileContents>(parsed).rowCount;
}

} // namespace

TEST(WorksheetGrowth, NewRowsLookLikeTheRowsAboveAndTheLimitHolds)
{
    RunWorksheet sheet;
    Worksheet& ws = *sheet.ws;
    CellStore& store = ws.Store();
    sheet.Counts(1000, 300, 200, 4);
    ws.SetModified(false);

    ASSERT_TRUE(ws.GrowRows(1600));
    EXPECT_EQ(store.GetRowCount(), 1600);
    EXPECT_TRUE(ws.IsModified());
    struct Case {
        const char* name;
        int row;
        const char* label;
        GridColour colour;
    };
    const int first = ws.firstDataRow;
    const Case cases[] = {
        {"last row of the new worksheet", 1000, "Data 993", sheet.settings.trainColor},
        {"first added row, still Training", 1001, "Data 994", sheet.settings.trainColor},
        {"an added Testing row", first + 1000, "Data 1001", sheet.settings.testColor},
        {"an added Evaluate row", first + 1400, "Data 1401", sheet.settings.evalColor},
        {"added row past the sections", first + 1500, "Data 1501", kTitleColour},
        {"last added row", 1599, "Data 1592", kTitleColour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(store.CellTextRef(c.row, 0), c.label);
        EXPECT_EQ(store.GetCellBackColor(c.row, 0), c.colour);
        EXPECT_EQ(store.GetCellFormat(c.row, 0), kFormatLeft);
        EXPECT_EQ(store.GetCellFormat(c.row, 5), kFormatCentre);
        EXPECT_EQ(store.GetRowHeight(c.row), store.GetRowHeight(999));
        EXPECT_TRUE(store.IsCellEditable(c.row, 5));
    }

    // A worksheet never shrinks, and stops at its limit without adding anything.
    EXPECT_TRUE(ws.GrowRows(1200));
    EXPECT_EQ(store.GetRowCount(), 1600);
    ws.maxRows = 2000;
    EXPECT_FALSE(ws.GrowRows(2001));
    EXPECT_EQ(store.GetRowCount(), 1600);
    EXPECT_TRUE(ws.GrowRows(2000));
    EXPECT_EQ(store.CellTextRef(1999, 0), "Data " + std::to_string(1999 - first + 1));
}

// A shown grid lays the sheet out again whenever it hears of a cell after the layout
// changed. Growing must change the layout once and then write the labels, or a long
// import into a window lays out the whole sheet once per added row.
TEST(WorksheetGrowth, GrowingChangesTheLayoutOnceBeforeTheLabels)
{
    RunWorksheet sheet;
    Worksheet& ws = *sheet.ws;
    CellStore& store = ws.Store();
    struct LayoutWatcher final : CellStoreListener {
        explicit LayoutWatcher(const CellStore& s) : cells(s) {}
        const CellStore& cells;
        std::vector<std::uint64_t> seen; // distinct layouts heard with a cell change
        void CellChanged(int, int) override
        {
            if (seen.empty() || seen.back() != cells.LayoutGeneration())
                seen.push_back(cells.LayoutGeneration());
        }
        void LayoutChanged() override {}
    } watcher(store);
    store.AddListener(&watcher);
    ASSERT_TRUE(ws.GrowRows(3000));
    store.RemoveListener(&watcher);
    EXPECT_EQ(watcher.seen.size(), 1u);
    EXPECT_EQ(store.CellTextRef(2999, 0), "Data " + std::to_string(2999 - ws.firstDataRow + 1));
}

// The grown row count is the file's row count; the worksheet opens again whole, and a
// file longer than a worksheet may grow is refused once read.
TEST(WorksheetGrowth, GrownWorksheetRoundTripsThroughTheFile)
{
    RunWorksheet sheet;
    Worksheet& ws = *sheet.ws;
    sheet.Role(1, "Trg/In");
    sheet.Role(2, "Comment");
    ASSERT_TRUE(ws.GrowRows(3000));
    const int dataRows = 3000 - ws.firstDataRow;
    for (int i = 0; i < dataRows; i += 7)
        sheet.Text(i, 1, std::to_string(i));
    sheet.Text(dataRows - 1, 2, "last");
    const std::vector<std::uint8_t> bytes = WorksheetFileBytes(ws);
    EXPECT_EQ(RowCountField(ws, bytes), 3000);

    RunWorksheet reopened;
    ASSERT_TRUE(LoadWorksheetBytes(*reopened.ws, bytes.data(), bytes.size()));
    EXPECT_TRUE(reopened.messages.entries.empty());
    EXPECT_EQ(reopened.ws->Store().GetRowCount(), 3000);
    EXPECT_FALSE(reopened.ws->IsModified());
    EXPECT_EQ(reopened.Cell(dataRows - 1, 2), "last");
    EXPECT_EQ(reopened.ws->Store().CellTextRef(2999, 0), "Data " + std::to_string(dataRows));
    EXPECT_EQ(WorksheetFileBytes(*reopened.ws), bytes);

    // Past the limit: the same bytes are refused, and nothing is taken over.
    RunWorksheet limited;
    limited.ws->maxRows = 2999;
    EXPECT_FALSE(LoadWorksheetBytes(*limited.ws, bytes.data(), bytes.size()));
    EXPECT_EQ(limited.messages.Texts(), std::vector<std::string>{kInvalidWorksheetFileMessage});
    EXPECT_EQ(limited.ws->Store().GetRowCount(), 1001);
    EXPECT_EQ(limited.Header(kRoleRow, 1), "No Data");
}

// Import with growing takes every line; without it the end is left out as it always
// was; the window's question grows the worksheet only when answered Yes.
TEST(WorksheetGrowth, ImportGrowsToFitTheFile)
{
    struct Case {
        const char* name;
        bool grow;
        bool offer;
        bool answer;
        bool all;                       // every line came in
        std::vector<std::string> kinds; // messages in order
    };
    // A worksheet filled to its last row has no end of series for the sizing to find,
    // which suggests a larger training set; a grown one keeps an empty row below.
    const std::string suggest = "info";
    const Case cases[] = {
        {"grow", true, false, false, true, {}},
        {"no growing, batch", false, false, false, false, {"info", suggest}},
        {"offered and taken", false, true, true, true, {"info", "ask"}},
        {"offered and declined", false, true, false, false, {"info", "ask", suggest}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunWorksheet sheet;
        sheet.messages.answer = c.answer;
        ImportRequest request;
        request.path = kEuStocks;
        request.commentHeader = true;
        request.growRows = c.grow;
        request.offerGrowth = c.offer;
        const ImportOutcome outcome = ImportFile(*sheet.ws, request);
        EXPECT_TRUE(outcome.imported);
        EXPECT_EQ(sheet.ws->Store().GetRowCount(), c.all ? sheet.ws->firstDataRow + 1861 : 1001);
        std::vector<std::string> kinds;
        for (const auto& e : sheet.messages.entries)
            kinds.push_back(e.kind);
        EXPECT_EQ(kinds, c.kinds);
        if (c.offer) {
            EXPECT_EQ(sheet.messages.entries[1].text,
                      "Grow the worksheet so that the 867 rows left out of "
                      "eustockmarkets_full.csv are imported too?");
        }
        const bool all = c.all;
        EXPECT_EQ(sheet.Cell(1859, 1), all ? "1860" : "");
        EXPECT_EQ(sheet.Cell(992, 1), "993");
        EXPECT_EQ(sheet.Header(kRoleRow, 5), "Comment");
        // The sections are measured on what was imported.
        EXPECT_EQ(sheet.ws->counts.totalRows, all ? 1860 : 0);
    }

    // Growing stops at the worksheet's limit; the rest is left out and said.
    RunWorksheet limited;
    limited.ws->maxRows = 1500;
    ImportRequest request;
    request.path = kEuStocks;
    request.commentHeader = true;
    request.growRows = true;
    ImportFile(*limited.ws, request);
    EXPECT_EQ(limited.ws->Store().GetRowCount(), 1500);
    EXPECT_EQ(limited.messages.entries.front().text,
              "Info: " + std::to_string(1860 - (1500 - limited.ws->firstDataRow)) +
                  " rows and 0 columns of eustockmarkets_full.csv did not fit the "
                  "worksheet and were not imported");
}

// A worksheet filled to its last row makes room for the extension by growing, and the
// user's data above it stays as it was.
TEST(WorksheetGrowth, ExtrapolationOfAFullWorksheetGrows)
{
    RunWorksheet sheet(true, ResultsModeExtrapolate);
    Worksheet& ws = *sheet.ws;
    const int capacity = 1001 - ws.firstDataRow;
    sheet.Role(1, "Trg/In");
    sheet.Role(2, "Input");
    sheet.Column(1, TestSeries(capacity));
    sheet.Column(2, TestSeries(capacity, 0.5));
    sheet.Counts(600, capacity - 602, 0, 4);
    ws.network.autoTrainingConfigure = 0;
    ws.network.maxCycles = 2;
    ws.network.iterationsPerCycle = 1;
    ASSERT_TRUE(TrainWorksheet(ws, nullptr));
    const ExtrapolationRoom room = ExtrapolationRoomOf(ws);
    EXPECT_TRUE(room.Fits());
    ASSERT_TRUE(EvaluateWorksheet(ws)) << sheet.messages.Texts().front();
    EXPECT_TRUE(sheet.messages.entries.empty());
    EXPECT_EQ(ws.state, WorksheetState::Eval);
    EXPECT_EQ(ws.Store().GetRowCount(), room.gridRows);
    EXPECT_EQ(room.gridRows, ws.firstDataRow + ws.counts.totalRows + ws.extrapolationCount + 1);
    EXPECT_GT(room.gridRows, 1001);
    // The extension's estimates are written in the rows it grew.
    const int lastEstimate = ws.counts.totalRows + sheet.settings.extrapolationRows - 1;
    EXPECT_FALSE(sheet.Cell(lastEstimate, ws.roles.valEstColumn).empty());
    EXPECT_EQ(sheet.Cell(capacity - 1, 1), FormatNumber("%.3f", TestSeries(capacity).back()));
    EXPECT_TRUE(sheet.Cell(capacity, 1).empty()); // the scratch rows are put back
}

// More rows than the engine's and the vectors' first arrays hold: every row is trained
// on, listed and written, and Continue runs on the same rows.
TEST(WorksheetGrowth, RunsCoverEveryRowOfALongWorksheet)
{
    RunWorksheet sheet(false, ResultsModeEvaluate);
    Worksheet& ws = *sheet.ws;
    const int rows = 12000;
    ASSERT_TRUE(ws.GrowRows(ws.firstDataRow + rows));
    sheet.Role(1, "Trg/In");
    sheet.Column(1, TestSeries(rows));
    sheet.Counts(8000, 2000, 2000, 3);
    ws.network.autoTrainingConfigure = 0;
    ws.network.maxCycles = 1;
    ws.network.iterationsPerCycle = 1;
    ASSERT_TRUE(TrainWorksheet(ws, nullptr));
    EXPECT_GE(ws.vectors.Capacity(), rows);
    // The last Testing row is past the first 10,000.
    EXPECT_NE(ws.trainingPredictions.at(9999), 0.0f);
    EXPECT_EQ(sheet.Cell(9998, ws.roles.valEstColumn).empty(), false);
    EXPECT_NE(sheet.Cell(9998, ws.roles.valEstColumn), "0.000");
    ASSERT_TRUE(ContinueTraining(ws, nullptr));
    ASSERT_TRUE(EvaluateWorksheet(ws));
    EXPECT_NE(ws.evaluationPredictions.at(rows - 1), 0.0f);
    EXPECT_NE(sheet.Cell(rows - 1, ws.roles.valEstColumn), "0.000");
    EXPECT_TRUE(sheet.messages.entries.empty());
}

// Learning the change, the engine reads the vectors from row L on. When the vectors grow
// and move, the input pointers follow them from that row, and Continue trains on the
// rows and the lag of the last run exactly as if nothing had moved.
TEST(WorksheetGrowth, LearningTheChangeSurvivesTheVectorsMoving)
{
    {
        VectorSets v;
        v.Input(0)[3] = 7.0;
        v.Level(VectorSets::kInputSets)[9999] = 5.0;
        const double* const* pointers = v.InputPointers(3);
        v.Reserve(25000);
        EXPECT_EQ(pointers[0], v.Input(0) + 3);
        EXPECT_EQ(pointers[0][0], 7.0);
        EXPECT_EQ(v.Level(VectorSets::kInputSets)[9999], 5.0);
        v.Level(VectorSets::kInputSets)[24999] = 1.0; // the levels grew with the arrays
        EXPECT_EQ(v.Level(VectorSets::kInputSets)[0], 0.0);
    }

    const int lag = 2;
    RunWorksheet sheet;
    Worksheet& ws = *sheet.ws;
    sheet.settings.forecast.changeLag = lag;
    sheet.Role(1, "Trg/In");
    sheet.Column(1, TestSeries(200));
    sheet.Counts(120, 40, 40, 4);
    ws.network.autoTrainingConfigure = 0;
    ws.network.maxCycles = 5;
    ws.network.iterationsPerCycle = 10;
    ASSERT_TRUE(TrainWorksheet(ws, nullptr));
    ASSERT_EQ(ws.Network().changeLag, lag);

    // What going on from here gives on the vectors where they are.
    const bool patient = EffectiveForecastOptions(sheet.settings.forecast).patientTraining;
    const std::uint32_t state = RandomGenerator::Process().State();
    CBackpropNet reference = ws.Network().net;
    const TrainingOutcome expected = reference.RunTraining(ws.Network().lastView, nullptr, patient);
    reference.ListPredictions(ws.Network().lastView, 2);

    ws.vectors.Reserve(30000);
    RandomGenerator::Process().Seed(state);
    TrainingOutcome outcome;
    ASSERT_TRUE(ContinueTraining(ws, nullptr, &outcome));
    EXPECT_EQ(outcome.cycles, expected.cycles);
    EXPECT_EQ(outcome.bestTestError, expected.bestTestError);
    EXPECT_EQ(outcome.trainRatio, expected.trainRatio);
    EXPECT_EQ(ws.trainingPredictions[1], 0.0f) << "no change before row L";
    EXPECT_EQ(ws.trainingPredictions[lag + 10], reference.Prediction(10));
}
