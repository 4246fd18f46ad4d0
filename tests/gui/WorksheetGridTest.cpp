#include "ShellTestSupport.h"

#include "grid/InPlaceEdit.h"
#include "grid/InPlaceKeys.h"
#include "grid/InPlaceList.h"
#include "shell/ChildFrame.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

struct WorksheetGridFixture : ::testing::Test {
    void SetUp() override
    {
        QMainWindow& main = *shell.App().MainFrame();
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    }
    CChildFrame& Frame() { return *shell.App().Docs().ActiveFrame(); }
    CWorksheetGrid& Grid() { return Frame().View().Grid(); }
    Worksheet& Sheet() { return Frame().Document().GetWorksheet(); }

    ShellFixture shell;
};

TEST_F(WorksheetGridFixture, AWorksheetOpensWithItsFirstDataCellFocusedAndSelected)
{
    const int first = Sheet().firstDataRow;
    EXPECT_EQ(Grid().GetFocusCell(), (CellId{first, 1}));
    EXPECT_TRUE(Grid().CanCopy()) << "Copy works on the first cell at once";
    QTest::keyClick(&Grid(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Grid().GetSelectedCellRange(), (CellRange{first, 1, first + 1, 1}))
        << "Shift+Down extends from the first cell";
    EXPECT_FALSE(Frame().Document().IsModified());
    // The worksheet window's own look and handling, set where the window is made.
    const GridViewOptions& options = Grid().Options();
    EXPECT_TRUE(options.dragAndDropEnabled);
    EXPECT_FALSE(options.listMode);
    EXPECT_EQ(options.textBackColor, Rgb(255, 255, 224));
}

TEST_F(WorksheetGridFixture, ANewWindowStartsWhereItsOriginalStandsThenGoesItsOwnWay)
{
    const int first = Sheet().firstDataRow;
    Grid().SetFocusCell(first + 2, 3);
    Grid().SetSelectedRange(first + 2, 3, first + 4, 3);
    CChildFrame& original = Frame();
    CChildFrame* copy = shell.App().Docs().NewWindow(original);
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, &original);
    CWorksheetGrid& second = copy->View().Grid();
    EXPECT_EQ(second.GetFocusCell(), (CellId{first + 2, 3}));
    EXPECT_EQ(second.GetSelectedCellRange(), (CellRange{first + 2, 3, first + 4, 3}));

    QTest::keyClick(&second, Qt::Key_Right);
    EXPECT_EQ(second.GetFocusCell(), (CellId{first + 2, 4}));
    EXPECT_EQ(original.View().Grid().GetFocusCell(), (CellId{first + 2, 3}))
        << "a key in one window leaves the other's focus";
    EXPECT_EQ(original.View().Grid().GetSelectedCellRange(), (CellRange{first + 2, 3, first + 4, 3}));

    // Copy acts on the window it is given in.
    original.View().Grid().Store().SetCellText(first + 2, 4, "mine");
    const std::unique_ptr<QMimeData> fromSecond = second.CopyTextFromGrid();
    ASSERT_NE(fromSecond, nullptr);
    EXPECT_EQ(fromSecond->text(), QStringLiteral("mine"));
}

TEST_F(WorksheetGridFixture, RoleRowEditsWithTheRoleListAndMarksTheWorksheet)
{
    Grid().SetFocusCell(kRoleRow, 1);
    Grid().OnEditCell(kRoleRow, 1, EditStart::Key(GridKey::Enter));
    auto* list = qobject_cast<CInPlaceList*>(Grid().InPlaceEditor());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 10);
    EXPECT_EQ(list->itemText(0), QStringLiteral("No Data"));
    EXPECT_EQ(list->itemText(9), QStringLiteral("Err:Sign"));
    EXPECT_EQ(list->currentText(), QStringLiteral("No Data"));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Sheet().Store().GetCellText(kRoleRow, 1), "Trg/In");
    EXPECT_TRUE(Frame().Document().IsModified());
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Worksheet1*"));
}

TEST_F(WorksheetGridFixture, AltDownAndAltUpDropTheRoleListWhileMnemonicsStillReachTheMenus)
{
    // Without an editor the grid lets Alt+letter through to the menu bar.
    Grid().SetFocusCell(kRoleRow, 2);
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_F, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "Alt+F opens the File menu";
    EXPECT_EQ(menu->title(), QStringLiteral("&File"));
    menu->close();
    Grid().setFocus();

    QTest::keyClick(&Grid(), Qt::Key_Down, Qt::AltModifier);
    auto* list = qobject_cast<CInPlaceList*>(Grid().InPlaceEditor());
    ASSERT_NE(list, nullptr) << "Alt+Down on a role cell starts the list";
    EXPECT_TRUE(list->view()->isVisible());
    EXPECT_EQ(Grid().GetFocusCell(), (CellId{kRoleRow, 2}));
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(list->view()->isVisible());
    EXPECT_EQ(list->currentText(), QStringLiteral("Comment")) << "folding up takes the highlighted role";
    ASSERT_EQ(Grid().InPlaceEditor(), list) << "editing goes on";
    QTest::keyClick(list->lineEdit(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_TRUE(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_F4);
    EXPECT_FALSE(list->view()->isVisible());
    EXPECT_EQ(list->currentText(), QStringLiteral("Trg/In")) << "F4 folds up as Alt+Up does";
    QTest::keyClick(list->lineEdit(), Qt::Key_F4);
    EXPECT_TRUE(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(list->view()->isVisible());
    QTest::keyClick(list->lineEdit(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu while editing";
    QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Sheet().Store().GetCellText(kRoleRow, 2), "Trg/In");
}

TEST_F(WorksheetGridFixture, OtherCellsUseThePlainEditorAndHeaderValuesAreReadBack)
{
    Grid().SetFocusCell(kNumTapsRow, kValueColumn);
    Grid().OnEditCell(kNumTapsRow, kValueColumn, EditStart::Typed(u'1'));
    auto* edit = qobject_cast<CInPlaceEdit*>(Grid().InPlaceEditor());
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, QStringLiteral("1"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(Sheet().Store().GetCellText(kNumTapsRow, kValueColumn), "11");
    EXPECT_EQ(Sheet().counts.numTaps, 11);
    EXPECT_TRUE(Frame().Document().IsModified());
}

} // namespace
} // namespace orvalis::test
