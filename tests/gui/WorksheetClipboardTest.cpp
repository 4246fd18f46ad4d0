#include "GridTestSupport.h"

#include "worksheet/AppSettings.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QClipboard>

#include <gtest/gtest.h>

using namespace orvalis;

namespace {

struct WorksheetWindow : ::testing::Test {
    bool appMade = (gridtest::App(), true);
    AppSettings settings;
    SilentMessages messages;
    Worksheet worksheet{settings, messages};
    CWorksheetGrid grid{worksheet.Store()};
    CellStore& cells = worksheet.Store();
    void SetUp() override
    {
        worksheet.AutoSizeHeaderBlock();
        worksheet.SetModified(false);
    }
    void Paste(int row, int col, const char* text)
    {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
        grid.SetFocusCell(row, col);
        grid.OnEditPaste();
    }
};

} // namespace

TEST_F(WorksheetWindow, PastedHeaderValuesAreTakenAsTypedOnesAndLabelsStay)
{
    // Num Training and Num Testing pasted as a column: the worksheet reads them as it
    // reads typed values, and the labels left of them are read-only.
    Paste(kNumTrainingRow, kValueColumn, "40\n12\n");
    EXPECT_EQ(worksheet.counts.numTraining, 40);
    EXPECT_EQ(worksheet.counts.numTesting, 12);
    EXPECT_TRUE(worksheet.IsModified());

    const std::string label = cells.GetCellText(kNumTrainingRow, kValueColumn - 1);
    worksheet.SetModified(false);
    Paste(kNumTrainingRow, kValueColumn - 1, "x\ty");
    EXPECT_EQ(cells.GetCellText(kNumTrainingRow, kValueColumn - 1), label);
    EXPECT_EQ(cells.GetCellText(kNumTrainingRow, kValueColumn), "40") << "nothing past a refused start";
    EXPECT_FALSE(worksheet.IsModified());
}

TEST_F(WorksheetWindow, PastingWhatIsThereLeavesTheWorksheetUnmodified)
{
    const int row = worksheet.firstDataRow;
    Paste(row, 1, "1.5\t2.5\r\n");
    ASSERT_TRUE(worksheet.IsModified());
    worksheet.SetModified(false);
    Paste(row, 1, "1.5\t2.5\r\n");
    EXPECT_FALSE(worksheet.IsModified());
}
