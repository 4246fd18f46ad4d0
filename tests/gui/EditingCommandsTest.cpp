// Commands given while a cell is being edited: each stores the edit first, as Enter
// does, and then runs; the editor keeps only the keys it uses itself.

#include "ShellTestSupport.h"

#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

struct EditingCommands : ::testing::Test {
    void SetUp() override
    {
        QMainWindow& main = *shell.App().MainFrame();
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        // Columns with a role: saving them drops nothing and asks nothing.
        for (int col = 1; col <= 3; ++col)
            Doc().GetWorksheet().Store().SetCellText(kRoleRow, col, "Input");
        Doc().SetModifiedFlag(false);
        Grid().setFocus();
    }
    CMainFrame& Main() { return *shell.App().MainFrame(); }
    CGridDoc& Doc() { return *shell.App().Docs().ActiveDocument(); }
    CWorksheetGrid& Grid() { return shell.App().Docs().ActiveFrame()->View().Grid(); }
    int Row() { return Doc().GetWorksheet().firstDataRow; }
    QLineEdit* Editor() { return qobject_cast<QLineEdit*>(Grid().InPlaceEditor()); }

    // Types 999 into the first data cell and presses Tab: the cell is stored and the
    // next one opens for editing, as a user enters a row.
    CWorksheetGrid& TypeAndTab()
    {
        CWorksheetGrid& grid = Grid();
        grid.SetFocusCell(Row(), 1);
        QTest::keyClick(&grid, Qt::Key_9);
        EXPECT_NE(Editor(), nullptr);
        if (Editor()) {
            QTest::keyClicks(Editor(), QStringLiteral("99"));
            QTest::keyClick(Editor(), Qt::Key_Tab);
        }
        EXPECT_EQ(Doc().GetWorksheet().Store().GetCellText(Row(), 1), "999");
        EXPECT_TRUE(grid.IsEditing()) << "the next cell is open for editing";
        return grid;
    }

    ShellFixture shell;
};

TEST_F(EditingCommands, SaveWhileEditingStoresTheEditAndSavesIt)
{
    struct Case {
        const char* name;
        std::function<void(EditingCommands&)> save;
    };
    const std::vector<Case> cases = {
        {"Ctrl+S", [](EditingCommands& t) { QTest::keyClick(t.Editor(), Qt::Key_S, Qt::ControlModifier); }},
        {"toolbar button",
         [](EditingCommands& t) {
             auto* button = qobject_cast<QToolButton*>(
                 t.Main().ToolBar().widgetForAction(t.Main().Action(CmdFileSave)));
             ASSERT_NE(button, nullptr);
             QTest::mouseClick(button, Qt::LeftButton);
         }},
        {"menu item", [](EditingCommands& t) { t.Main().Action(CmdFileSave)->trigger(); }},
    };
    // The first save asks for the name, the others save under it.
    const QString path = shell.dir.filePath(QStringLiteral("typed.ows"));
    shell.prompts.saveFiles.push_back(path);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path);
        CWorksheetGrid& grid = TypeAndTab();
        // A second edit still open: its text must reach the file too.
        QTest::keyClicks(Editor(), QStringLiteral("42"));
        c.save(*this);
        ShellFixture::Settle();
        EXPECT_FALSE(grid.IsEditing()) << "the edit was stored";
        EXPECT_TRUE(grid.hasFocus()) << "the grid has the keyboard again";
        EXPECT_EQ(Doc().GetWorksheet().Store().GetCellText(Row(), 2), "42");
        EXPECT_TRUE(QFile::exists(path)) << "the worksheet was saved";
        EXPECT_FALSE(Doc().IsModified()) << "the edit's end came before the save";
        EXPECT_FALSE(shell.App().Docs().ActiveFrame()->windowTitle().endsWith(QLatin1Char('*')));
        Doc().GetWorksheet().Store().SetCellText(Row(), 2, "");
    }
    EXPECT_TRUE(shell.prompts.log.empty());
}

// A typed character the cell cannot hold becomes "?" as in a paste, and the window says
// so instead of changing the text unseen.
TEST_F(EditingCommands, TypedCharactersCellsCannotHoldAreNamed)
{
    Grid().SetFocusCell(Row(), 1);
    QTest::keyClick(&Grid(), Qt::Key_A);
    ASSERT_NE(Editor(), nullptr);
    Editor()->insert(QStringLiteral("\u20ac\U0001F600b"));
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(Doc().GetWorksheet().Store().GetCellText(Row(), 1), "a??b");
    ShellFixture::Settle();
    ASSERT_EQ(shell.prompts.log.size(), 1u);
    EXPECT_EQ(shell.prompts.log[0].kind, "Information");
    EXPECT_EQ(shell.prompts.log[0].text,
              "Info: 2 typed characters are outside the worksheet's 8-bit (Latin-1) character "
              "set and became \"?\", the first in grid row " +
                  std::to_string(Row()) + ", column 1");

    // Latin-1 text is stored as typed, and nothing is said.
    shell.prompts.log.clear();
    Grid().SetFocusCell(Row(), 2);
    QTest::keyClick(&Grid(), Qt::Key_B);
    ASSERT_NE(Editor(), nullptr);
    Editor()->insert(QStringLiteral("\u00e9"));
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_EQ(Doc().GetWorksheet().Store().GetCellText(Row(), 2), "b\xe9");
    ShellFixture::Settle();
    EXPECT_TRUE(shell.prompts.log.empty());
}

TEST_F(EditingCommands, OtherCommandKeysRunAfterStoringTheEdit)
{
    CWorksheetGrid& grid = TypeAndTab();
    QTest::keyClicks(Editor(), QStringLiteral("7"));
    CGridDoc& first = Doc();
    QTest::keyClick(Editor(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(shell.App().Docs().Documents().size(), 2u) << "Ctrl+N made a new worksheet";
    EXPECT_EQ(first.GetWorksheet().Store().GetCellText(Row(), 2), "7");
    EXPECT_FALSE(grid.IsEditing());

    Grid().SetFocusCell(Row(), 1);
    QTest::keyClicks(&Grid(), QStringLiteral("5"));
    ASSERT_NE(Editor(), nullptr);
    QTest::keyClick(Editor(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(shell.prompts.filtersSeen.size(), 1) << "Ctrl+O asked for a file";
    EXPECT_EQ(Doc().GetWorksheet().Store().GetCellText(Row(), 1), "5");

    // The role row's list passes command keys on in the same way.
    Grid().SetFocusCell(kRoleRow, 4);
    QTest::keyClick(&Grid(), Qt::Key_X);
    ASSERT_TRUE(Grid().IsEditing());
    QWidget* line = Grid().InPlaceEditor()->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    shell.prompts.saveFiles.push_back(shell.dir.filePath(QStringLiteral("roles.ows")));
    shell.prompts.askAnswers.push_back(true); // the new worksheet's column 1 has no role
    QTest::keyClick(line, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(Grid().IsEditing());
    EXPECT_TRUE(QFile::exists(shell.dir.filePath(QStringLiteral("roles.ows"))));
    EXPECT_EQ(Doc().GetWorksheet().Store().GetCellText(kRoleRow, 4), "x");
}

TEST_F(EditingCommands, TheEditorKeepsItsOwnKeys)
{
    TypeAndTab();
    QLineEdit* edit = Editor();
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, QStringLiteral("abc"));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc")) << "Ctrl+C copies the characters";
    QTest::keyClick(edit, Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(Grid().InPlaceEditor(), edit) << "Ctrl+C and Alt+F leave the editor open";
    EXPECT_EQ(Main().Menus().front()->isVisible(), false) << "no menu opened";
}

} // namespace
} // namespace orvalis::test
