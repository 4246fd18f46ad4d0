#include "ShellTestSupport.h"

#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/ImportCommandUi.h"
#include "worksheet/ui/ImportDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

TEST(ImportDialog, OkChecksTheFieldsInOrderAndStaysOpenOnTheFirstFailure)
{
    GuiApp();
    struct Case {
        const char* name;
        const char* row;
        const char* column;
        bool header;
        const char* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {"defaults", "1", "1", false, nullptr},
        {"header at 1,1", "1", "1", true, nullptr},
        {"last row and column", "1001", "69", false, nullptr},
        {"row 0", "0", "1", false, "Error: Grid Row Value Out of Range"},
        {"row past the grid", "1002", "1", false, "Error: Grid Row Value Out of Range"},
        {"row not a number", "abc", "1", false, "Error: Grid Row Value Out of Range"},
        {"column 70", "1", "70", false, "Error: Grid Column Value Out of Range"},
        {"row checked before column", "0", "0", false, "Error: Grid Row Value Out of Range"},
        {"header needs row 1", "2", "1", true,
         "Error: Comment Header Requires Grid Row/Column Values Equal 1"},
        {"header needs column 1", "1", "3", true,
         "Error: Comment Header Requires Grid Row/Column Values Equal 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPrompts prompts;
        CImportDialog dialog(prompts);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("File Import"));
        dialog.RowEdit().setText(QString::fromLatin1(c.row));
        dialog.ColumnEdit().setText(QString::fromLatin1(c.column));
        dialog.HeaderCheck().setChecked(c.header);
        dialog.accept();
        if (c.message) {
            EXPECT_NE(dialog.result(), QDialog::Accepted);
            ASSERT_EQ(prompts.log.size(), 1u);
            EXPECT_EQ(prompts.log[0].kind, "Error");
            EXPECT_EQ(prompts.log[0].text, c.message);
        } else {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_TRUE(prompts.log.empty());
        }
    }
}

class ImportCommandUi : public ::testing::Test {
protected:
    void SetUp() override
    {
        GuiApp();
        path = dir.filePath(QStringLiteral("prices.csv"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("a,b\n1,2\n3,4\n");
    }

    // Answers the File Import dialog with the given fields and OK.
    void Answer(const char* row, const char* column, bool header, bool keepLastRows = false)
    {
        prompts.openFiles = {path};
        prompts.dialogScript = [=](QDialog& dialog) {
            auto& import = dynamic_cast<CImportDialog&>(dialog);
            import.RowEdit().setText(QString::fromLatin1(row));
            import.ColumnEdit().setText(QString::fromLatin1(column));
            import.HeaderCheck().setChecked(header);
            import.KeepLastRowsCheck().setChecked(keepLastRows);
            import.accept();
            return dialog.result() == QDialog::Accepted;
        };
    }

    QTemporaryDir dir;
    QString path;
    AppSettings settings;
    ScriptedPrompts prompts;
};

TEST_F(ImportCommandUi, HeaderImportFillsTheCommentRowAndConfiguresSections)
{
    CGridDoc doc(settings, prompts);
    Answer("1", "1", true);
    RunImportCommand(doc);
    const Worksheet& sheet = doc.GetWorksheet();
    const CellStore& cells = sheet.Store();
    ASSERT_EQ(prompts.filtersSeen.size(), 1);
    EXPECT_TRUE(prompts.filtersSeen[0].startsWith(
        QStringLiteral("Comma Seperated Var Files (*.csv);;Text Tab Delimited Files (*.txt)")));
    EXPECT_EQ(cells.GetCellText(kCommentRow, 1), "a");
    EXPECT_EQ(cells.GetCellText(kCommentRow, 2), "b");
    EXPECT_EQ(cells.GetCellText(sheet.firstDataRow + 1, 2), "4");
    EXPECT_EQ(cells.GetCellText(kRoleRow, 2), "Comment");
    EXPECT_EQ(cells.GetCellText(kRoleRow, 3), "No Data");
    EXPECT_EQ(sheet.counts.numTraining, 1);
    ASSERT_FALSE(prompts.log.empty());
    EXPECT_EQ(prompts.log.back().text, "Suggest Training Set > 20 Elements");
    EXPECT_TRUE(doc.IsModified());
}

// The check box reaches the import: the recent end of a long series lands in the grid,
// and the information about the rows left out comes first.
TEST_F(ImportCommandUi, KeepTheLastRowsOfALongSeries)
{
    CGridDoc doc(settings, prompts);
    Answer("1", "1", true, true);
    path = QStringLiteral(ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_full.csv");
    prompts.openFiles = {path};
    RunImportCommand(doc);
    const CellStore& cells = doc.GetWorksheet().Store();
    EXPECT_EQ(cells.GetCellText(kCommentRow, 1), "Day");
    EXPECT_EQ(cells.GetCellText(cells.GetRowCount() - 1, 1), "1860");
    ASSERT_FALSE(prompts.log.empty());
    EXPECT_EQ(prompts.log[0].kind, "Information");
    EXPECT_EQ(prompts.log[0].text, "Info: 867 rows and 0 columns of eustockmarkets_full.csv did "
                                   "not fit the worksheet and were not imported");
}

TEST_F(ImportCommandUi, PlainImportAtAChosenCellLeavesRolesAlone)
{
    CGridDoc doc(settings, prompts);
    Answer("1", "3", false);
    RunImportCommand(doc);
    const Worksheet& sheet = doc.GetWorksheet();
    EXPECT_EQ(sheet.Store().GetCellText(sheet.firstDataRow, 3), "a");
    EXPECT_EQ(sheet.Store().GetCellText(sheet.firstDataRow, 4), "b");
    EXPECT_EQ(sheet.Store().GetCellText(kRoleRow, 3), "No Data");
    EXPECT_EQ(sheet.counts.numTraining, 0);
    EXPECT_TRUE(prompts.log.empty());
}

TEST_F(ImportCommandUi, CancellingEitherDialogChangesNothing)
{
    CGridDoc doc(settings, prompts);
    RunImportCommand(doc);  // file chooser cancelled
    prompts.openFiles = {path};
    RunImportCommand(doc);  // import dialog cancelled
    EXPECT_EQ(doc.GetWorksheet().Store().GetCellText(doc.GetWorksheet().firstDataRow, 1), "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(prompts.filtersSeen.size(), 2);
}

TEST_F(ImportCommandUi, CapitalExtensionIsRefused)
{
    const QString upper = dir.filePath(QStringLiteral("PRICES.CSV"));
    ASSERT_TRUE(QFile::copy(path, upper));
    CGridDoc doc(settings, prompts);
    Answer("1", "1", false);
    prompts.openFiles = {upper};
    RunImportCommand(doc);
    ASSERT_EQ(prompts.log.size(), 1u);
    EXPECT_EQ(prompts.log[0].text, "Error: Import File Type not Supported");
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
} // namespace orvalis::test
