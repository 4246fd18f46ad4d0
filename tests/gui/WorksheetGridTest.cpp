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

#include <QLineEdit>
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
