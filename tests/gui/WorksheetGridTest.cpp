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
}

TEST_F(WorksheetGridFixture, RoleRowEditsWithTheRoleListAndMarksTheWorksheet)
{
    Grid().SetFocusCell(kRoleRow, 1);
    Grid().OnEditCell(kRoleRow, 1, KeyEnter);
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
    Grid().OnEditCell(kNumTapsRow, kValueColumn, '1');
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
