// A worksheet window grows its worksheet: paste and typing past the last row, and the
// import dialog's "Grow the worksheet to fit" or the question after an import that did
// not fit.
#include "ShellTestSupport.h"

#include "grid/InPlaceEdit.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/ImportCommandUi.h"
#include "worksheet/ui/ImportDialog.h"
#include "worksheet/ui/WorksheetGrid.h"
#include "worksheet/ui/WorksheetUndo.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

struct GrowthWindow : ::testing::Test {
    struct AppFirst {
        AppFirst() { GuiApp(); }
    } app;
    AppSettings settings;
    ScriptedPrompts prompts;
    CGridDoc doc{settings, prompts};
    CGridView view{doc};
    CWorksheetGrid& grid = view.Grid();
    CellStore& cells = doc.GetWorksheet().Store();

    GrowthWindow()
    {
        view.resize(800, 500);
        view.show();
    }
};

TEST_F(GrowthWindow, PastePastTheLastRowAddsTheRowsItNeeds)
{
    struct Case {
        const char* name;
        int row; // start row of the paste
        const char* text;
        int rows; // grid rows afterwards
    };
    const Case cases[] = {
        {"fits: no growing", 998, "1\n2\n3\n", 1001},
        {"three lines from the last row", 1000, "1\t2\n3\t4\n5\t6\n", 1003},
        {"a trailing line end adds no row", 1002, "7\n8\n", 1004},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.text));
        grid.SetFocusCell(c.row, 1);
        grid.OnEditPaste();
        EXPECT_EQ(cells.GetRowCount(), c.rows);
    }
    EXPECT_EQ(cells.GetCellText(1002, 2), "6");
    EXPECT_EQ(cells.GetCellText(1003, 1), "8");
    EXPECT_EQ(cells.GetCellText(1003, 0), "Data " + std::to_string(1003 - doc.GetWorksheet().firstDataRow + 1));
    EXPECT_TRUE(doc.IsModified());

    // A worksheet at its limit takes what fits and no more.
    doc.GetWorksheet().maxRows = 1005;
    QGuiApplication::clipboard()->setText(QStringLiteral("a\nb\nc\nd\n"));
    grid.SetFocusCell(1003, 1);
    grid.OnEditPaste();
    EXPECT_EQ(cells.GetRowCount(), 1005);
    EXPECT_EQ(cells.GetCellText(1004, 1), "b");
}

// Undo takes a growing paste back rows and all, and Redo grows the worksheet again; the
// modified mark follows.
TEST_F(GrowthWindow, UndoOfAGrowingPasteTakesTheRowsBack)
{
    WorksheetUndo& undo = doc.Undo();
    QGuiApplication::clipboard()->setText(QStringLiteral("1\t2\n3\t4\n5\t6\n"));
    grid.SetFocusCell(999, 1);
    grid.OnEditPaste();
    ASSERT_EQ(cells.GetRowCount(), 1002);
    ASSERT_TRUE(undo.CanUndo());

    undo.Undo();
    EXPECT_EQ(cells.GetRowCount(), 1001);
    EXPECT_EQ(cells.GetCellText(999, 1), "");
    EXPECT_EQ(cells.GetCellText(1000, 2), "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(grid.GetFocusCell().row < 1001);

    undo.Redo();
    EXPECT_EQ(cells.GetRowCount(), 1002);
    EXPECT_EQ(cells.GetCellText(1001, 2), "6");
    EXPECT_EQ(cells.GetCellText(1001, 0), "Data " + std::to_string(1001 - doc.GetWorksheet().firstDataRow + 1));
    EXPECT_TRUE(doc.IsModified());

    // A paste that fits keeps the rows the worksheet has on Undo.
    QGuiApplication::clipboard()->setText(QStringLiteral("9\n"));
    grid.SetFocusCell(doc.GetWorksheet().firstDataRow + 2, 1);
    grid.OnEditPaste();
    ASSERT_EQ(cells.GetCellText(doc.GetWorksheet().firstDataRow + 2, 1), "9");
    undo.Undo();
    EXPECT_EQ(cells.GetCellText(doc.GetWorksheet().firstDataRow + 2, 1), "");
    EXPECT_EQ(cells.GetRowCount(), 1002);
    EXPECT_EQ(cells.GetCellText(1001, 2), "6");
}

// The end of a typed edit left with Down, as the in-place editor reports it.
TEST_F(GrowthWindow, TypingDownFromTheLastRowOpensANewRow)
{
    grid.SetFocusCell(1000, 1);
    grid.OnEndInPlaceEdit(1000, 1, "7", GridKey::Down, false);
    EXPECT_EQ(cells.GetCellText(1000, 1), "7");
    EXPECT_EQ(cells.GetRowCount(), 1002);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{1001, 1}));
    EXPECT_NE(grid.InPlaceEditor(), nullptr) << "editing goes on in the new row";
    grid.EndEditing();

    // One step: Undo takes back the value and the row, Redo brings both.
    WorksheetUndo& undo = doc.Undo();
    ASSERT_TRUE(undo.CanUndo());
    undo.Undo();
    EXPECT_EQ(cells.GetRowCount(), 1001);
    EXPECT_EQ(cells.GetCellText(1000, 1), "");
    undo.Redo();
    EXPECT_EQ(cells.GetRowCount(), 1002);
    EXPECT_EQ(cells.GetCellText(1000, 1), "7");

    // Leaving the new row empty adds nothing more.
    grid.OnEndInPlaceEdit(1001, 1, "", GridKey::Down, false);
    EXPECT_EQ(cells.GetRowCount(), 1002);
}

// The dialog's check box grows the worksheet at once; without it the window says what
// did not fit and then offers to grow, and Yes brings in the rest.
TEST_F(GrowthWindow, ImportGrowsByTheCheckBoxOrByTheQuestion)
{
    struct Case {
        const char* name;
        bool tick;
        std::deque<bool> answers;
        bool all;
        std::vector<std::string> kinds;
    };
    const Case cases[] = {
        {"ticked", true, {}, true, {}},
        {"asked, Yes", false, {true}, true, {"Information", "Ask"}},
        {"asked, No", false, {false}, false, {"Information", "Ask"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGridDoc fresh(settings, prompts);
        prompts.log.clear();
        prompts.askAnswers = c.answers;
        prompts.openFiles = {QStringLiteral(ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_full.csv")};
        prompts.dialogScript = [&](QDialog& dialog) {
            auto& import = dynamic_cast<CImportDialog&>(dialog);
            EXPECT_EQ(import.GrowCheck().text(), QStringLiteral("Grow the worksheet to fit"));
            import.HeaderCheck().setChecked(true);
            import.GrowCheck().setChecked(c.tick);
            import.accept();
            return dialog.result() == QDialog::Accepted;
        };
        RunImportCommand(fresh);
        const Worksheet& ws = fresh.GetWorksheet();
        std::vector<std::string> kinds;
        for (const auto& e : prompts.log)
            if (e.text != "Suggest Training Set > 20 Elements")
                kinds.push_back(e.kind);
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_EQ(ws.Store().GetRowCount(), c.all ? ws.firstDataRow + 1861 : 1001);
        EXPECT_EQ(ws.Store().GetCellText(ws.firstDataRow + (c.all ? 1859 : 992), 1), c.all ? "1860" : "993");
        EXPECT_EQ(ws.counts.totalRows, c.all ? 1860 : 0);
    }
}

// A grown worksheet takes a file at any Grid Row it has; past its last row the usual
// refusal stands.
TEST_F(GrowthWindow, ImportIntoAGrownWorksheetReachesItsLastRows)
{
    const auto import = [&](const QString& file, const char* row, bool grow) {
        prompts.log.clear();
        prompts.openFiles = {file};
        prompts.dialogScript = [=](QDialog& dialog) {
            auto& box = dynamic_cast<CImportDialog&>(dialog);
            box.RowEdit().setText(QString::fromLatin1(row));
            box.HeaderCheck().setChecked(grow);
            box.GrowCheck().setChecked(grow);
            box.accept();
            return dialog.result() == QDialog::Accepted;
        };
        RunImportCommand(doc);
    };
    import(QStringLiteral(ORVALIS_SAMPLE_DATA_DIR "/eustockmarkets_full.csv"), "1", true);
    const Worksheet& ws = doc.GetWorksheet();
    const std::int64_t rows = ws.Store().GetRowCount();
    ASSERT_EQ(rows, ws.firstDataRow + 1861);

    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("late.csv"));
    QFile file(small);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("7,8\n");
    file.close();
    import(small, "1500", false);
    EXPECT_EQ(ws.Store().GetCellText(ws.firstDataRow + 1499, 1), "7");
    EXPECT_EQ(ws.Store().GetCellText(ws.firstDataRow + 1499, 2), "8");

    const std::string past = std::to_string(rows + 1);
    import(small, past.c_str(), false);
    ASSERT_FALSE(prompts.log.empty());
    EXPECT_EQ(prompts.log[0].text, "Error: Grid Row Value Out of Range");
    EXPECT_EQ(ws.Store().GetRowCount(), rows);
}

} // namespace
} // namespace orvalis::test
