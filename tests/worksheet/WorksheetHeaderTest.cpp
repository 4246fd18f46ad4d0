#include "RecordingMessages.h"

#include "worksheet/AppSettings.h"
#include "worksheet/IntegerText.h"
#include "worksheet/Worksheet.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvalis;

namespace {

constexpr GridColour kYellow = Rgb(255, 255, 128);
constexpr GridColour kCyan = Rgb(128, 255, 255);

// Fixed-pitch measuring: 7 pixels a character, 16 high.
class FixedMeasurer final : public TextMeasurer {
public:
    Size MeasureText(const LogFont&, const std::string& text) override
    {
        return {static_cast<int>(text.size()) * 7, 16};
    }
    Metrics FontMetrics(const LogFont&) override { return {7, 16, 0, 7}; }
};

struct HeaderFixture : ::testing::Test {
    AppSettings settings;
    RecordingMessages messages;
};

} // namespace

TEST_F(HeaderFixture, HeaderBlockCellsHaveTheirTextsFormatsColoursAndReadOnlyBits)
{
    Worksheet ws(settings, messages);
    const CellStore& s = ws.Store();
    EXPECT_EQ(s.GetRowCount(), 1001);
    EXPECT_EQ(s.GetColumnCount(), 69);
    EXPECT_EQ(s.GetFixedRowCount(), 1);
    EXPECT_EQ(s.GetFixedColumnCount(), 1);
    EXPECT_TRUE(s.editable);

    struct Case {
        int row, col;
        const char* text;
        unsigned format;
        GridColour back;
        bool readOnly;
    };
    const Case cases[] = {
        {0, 0, "", 0x0, kYellow, false},
        {0, 1, "Column 1", 0x10, kYellow, false},
        {0, 68, "Column 68", 0x10, kYellow, false},
        {1, 0, ">>Legend<<", 0x8024, kYellow, false},
        {2, 0, "Training", 0x8024, settings.trainColor, false},
        {3, 0, "Testing", 0x8024, settings.testColor, false},
        {4, 0, "Evaluate", 0x8024, settings.evalColor, false},
        {5, 0, "Extapolate", 0x8024, settings.extrpColor, false},
        {6, 0, "I/O Select:", 0x8026, kYellow, false},
        {7, 0, "Comment:", 0x8026, kYellow, false},
        {8, 0, "Data 1", 0x8024, kYellow, false},
        {1000, 0, "Data 993", 0x8024, kYellow, false},
        {1, 1, "Start Offset:", 0x8026, kCyan, true},
        {1, 2, "0", 0x8025, kCyan, false},
        {1, 3, "State:", 0x8026, kCyan, true},
        {1, 4, "Init", 0x8025, kCyan, false},
        {1, 5, "Slope Err Avg:", 0x8026, kCyan, true},
        {1, 6, "0", 0x8025, kCyan, false},
        {2, 1, "Num Training:", 0x8026, kCyan, true},
        {2, 3, "Slope FM:", 0x8026, kCyan, true},
        {2, 4, "0", 0x8025, kCyan, false},
        {2, 5, "Slope Err SD:", 0x8026, kCyan, true},
        {3, 1, "Num Testing:", 0x8026, kCyan, true},
        {3, 3, "Value FM:", 0x8026, kCyan, true},
        {3, 5, "Value Err Avg:", 0x8026, kCyan, true},
        {4, 1, "Num Eval:", 0x8026, kCyan, true},
        {4, 3, "", 0x8025, kCyan, false},
        {4, 4, "", 0x8025, kCyan, false},
        {4, 5, "Value Err SD:", 0x8026, kCyan, true},
        {4, 6, "0", 0x8025, kCyan, false},
        {5, 1, "Num Taps:", 0x8026, kCyan, true},
        {5, 2, "0", 0x8025, kCyan, false},
        {5, 3, "", 0x8025, kCyan, false},
        {5, 5, "", 0x8025, kCyan, true},
        {5, 7, "", 0x8025, kCyan, false},
        {1, 68, "", 0x8025, kCyan, false},
        {6, 1, "No Data", 0x8025, kYellow, false},
        {6, 68, "No Data", 0x8025, kYellow, false},
        {7, 1, "", 0x8025, DefaultColor, false},
        {500, 30, "", 0x8025, DefaultColor, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cell (" << c.row << "," << c.col << ")");
        EXPECT_EQ(s.GetCellText(c.row, c.col), c.text);
        EXPECT_EQ(s.GetCellFormat(c.row, c.col), c.format);
        EXPECT_EQ(s.GetCellBackColor(c.row, c.col), c.back);
        EXPECT_EQ((s.GetCellState(c.row, c.col) & CellReadOnly) != 0, c.readOnly);
    }
    EXPECT_EQ(ws.state, WorksheetState::Init);
    EXPECT_FALSE(ws.IsModified());
}

TEST_F(HeaderFixture, FirstDataRowFollowsTheCommentLine)
{
    struct Case {
        bool commentLine;
        int firstDataRow;
        const char* row7;
        const char* row8;
        const char* lastLabel;
    };
    for (const Case& c : {Case{true, 8, "Comment:", "Data 1", "Data 993"},
                          Case{false, 7, "Data 1", "Data 2", "Data 994"}}) {
        settings.useCommentLine = c.commentLine;
        Worksheet ws(settings, messages);
        EXPECT_EQ(ws.firstDataRow, c.firstDataRow);
        EXPECT_EQ(ws.Store().GetCellText(7, 0), c.row7);
        EXPECT_EQ(ws.Store().GetCellText(8, 0), c.row8);
        EXPECT_EQ(ws.Store().GetCellText(1000, 0), c.lastLabel);
        EXPECT_EQ(ws.Store().GetCellFormat(7, 0), c.commentLine ? 0x8026u : 0x8024u);
    }
}

TEST_F(HeaderFixture, AutoSizeWidensTheLabelColumnByHalf)
{
    FixedMeasurer measurer;
    Worksheet ws(settings, messages, &measurer);
    const CellStore& s = ws.Store();
    int widest = 0;
    for (int r = 0; r < s.GetRowCount(); ++r)
        widest = std::max(widest, s.GetCellExtent(r, 0).width);
    ASSERT_GT(widest, 0);
    EXPECT_EQ(s.GetColumnWidth(0), widest * 3 / 2);
    EXPECT_EQ(s.GetColumnWidth(1), s.GetCellExtent(1, 1).width);  // "Start Offset:"
}

TEST_F(HeaderFixture, UpdateRowLabelsColoursTheSections)
{
    Worksheet ws(settings, messages);
    const int f = ws.firstDataRow;
    const GridColour train = settings.trainColor, test = settings.testColor,
                     eval = settings.evalColor, extrp = settings.extrpColor;
    const GridColour magenta = Rgb(255, 0, 255);  // stands for "whatever was there"

    struct Probe {
        int row;
        GridColour colour;
    };
    struct Case {
        const char* name;
        int training, testing, eval, extrapolate;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"30/10/5/0", 30, 10, 5, 0,
         {{f - 1, kYellow}, {f, train}, {f + 29, train}, {f + 30, test}, {f + 39, test},
          {f + 40, eval}, {f + 44, eval}, {f + 45, kYellow}, {1000, kYellow}, {2, train}}},
        {"30/10/5/4", 30, 10, 5, 4, {{f + 45, extrp}, {f + 48, extrp}, {f + 49, kYellow}}},
        {"0/10/5/0 keeps earlier rows", 0, 10, 5, 0,
         {{f, magenta}, {f + 14, magenta}, {f + 15, kYellow}, {1000, kYellow}}},
        {"10/0/5/0 keeps earlier rows", 10, 0, 5, 0, {{f + 14, magenta}, {f + 15, kYellow}}},
        {"negative counts never reach the header rows", -40, 10, 5, 0,
         {{2, train}, {5, extrp}, {f - 1, kYellow}, {f, kYellow}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int r = f; r < 1001; ++r)
            ws.Store().SetCellBackColor(r, 0, magenta);
        ws.UpdateRowLabels(c.training, c.testing, c.eval, c.extrapolate);
        for (const Probe& p : c.probes)
            EXPECT_EQ(ws.Store().GetCellBackColor(p.row, 0), p.colour) << "row " << p.row;
    }
}

TEST_F(HeaderFixture, HeaderEditsReadTheValueAndResetTheStateOnlyWhenItChanges)
{
    struct Case {
        const char* name;
        int row;
        const char* before;
        const char* typed;
        int expected;
        bool init;
    };
    const Case cases[] = {
        {"taps 10 to 10", 5, "10", "10", 10, false},
        {"taps 10 to 11", 5, "10", "11", 11, true},
        {"taps 10 to ' 10xyz'", 5, "10", " 10xyz", 10, false},
        {"training to text reads 0", 2, "40", "abc", 0, true},
        {"testing wraps like atoi", 3, "0", "4294967336", 40, true},
        {"eval negative kept", 4, "0", "-5", -5, true},
        {"start offset", 1, "0", "3", 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Worksheet ws(settings, messages);
        bool observed = false;
        ws.SetModifiedObserver([&observed](bool m) { observed = m; });
        ASSERT_TRUE(ws.ApplyCellEdit(c.row, 2, c.before));
        ws.SetStateAndText(WorksheetState::Trained);
        ws.SetModified(false);
        ASSERT_TRUE(ws.ApplyCellEdit(c.row, 2, c.typed));
        const int* fields[] = {nullptr, &ws.counts.startOffset, &ws.counts.numTraining,
                               &ws.counts.numTesting, &ws.counts.numEval, &ws.counts.numTaps};
        EXPECT_EQ(*fields[c.row], c.expected);
        EXPECT_EQ(ws.state, c.init ? WorksheetState::Init : WorksheetState::Trained);
        EXPECT_EQ(ws.Store().GetCellText(c.row, 2), c.typed);
        EXPECT_EQ(ws.Store().GetCellText(1, 4), "Trained");  // an edit never rewrites it
        EXPECT_TRUE(ws.IsModified());
        EXPECT_TRUE(observed);
    }
}

TEST_F(HeaderFixture, HeaderEditRecoloursTheLabels)
{
    Worksheet ws(settings, messages);
    const int f = ws.firstDataRow;
    ws.ApplyCellEdit(2, 2, "30");
    EXPECT_EQ(ws.Store().GetCellBackColor(f, 0), kYellow);  // testing still 0
    ws.ApplyCellEdit(3, 2, "10");
    ws.ApplyCellEdit(4, 2, "5");
    EXPECT_EQ(ws.counts.totalRows, 45);
    EXPECT_EQ(ws.Store().GetCellBackColor(f, 0), settings.trainColor);
    EXPECT_EQ(ws.Store().GetCellBackColor(f + 30, 0), settings.testColor);
    EXPECT_EQ(ws.Store().GetCellBackColor(f + 44, 0), settings.evalColor);
    EXPECT_EQ(ws.Store().GetCellBackColor(f + 45, 0), kYellow);
}

TEST_F(HeaderFixture, EditsAsIfTypedRespectFixedAndReadOnlyCells)
{
    Worksheet ws(settings, messages);
    EXPECT_FALSE(ws.ApplyCellEdit(0, 3, "x"));    // fixed row
    EXPECT_FALSE(ws.ApplyCellEdit(9, 0, "x"));    // fixed column
    EXPECT_FALSE(ws.ApplyCellEdit(2, 1, "x"));    // read-only label
    EXPECT_FALSE(ws.ApplyCellEdit(1001, 1, "x")); // outside
    EXPECT_FALSE(ws.IsModified());
    EXPECT_EQ(ws.Store().GetCellText(2, 1), "Num Training:");

    EXPECT_TRUE(ws.ApplyCellEdit(20, 3, "1.5"));  // any data cell marks the worksheet modified
    EXPECT_TRUE(ws.IsModified());
    EXPECT_TRUE(ws.Store().GetCellState(20, 3) & CellModified);
    EXPECT_EQ(ws.state, WorksheetState::Init);
}

TEST(IntegerText, ReadsLikeTheCLibrary)
{
    struct Case {
        const char* text;
        int value;
    };
    for (const Case& c : {Case{"", 0}, Case{"abc", 0}, Case{"12ab", 12}, Case{"  -7", -7},
                          Case{"+3", 3}, Case{"1.9", 1}, Case{"2147483648", -2147483648},
                          Case{"4294967336", 40}, Case{"99999999999999999999", -1},
                          Case{"-99999999999999999999", 0}, Case{"0x10", 0}}) {
        EXPECT_EQ(ReadIntegerText(c.text), c.value) << c.text;
    }
}
