#include "GridTestSupport.h"

#include "grid/InPlaceEdit.h"
#include "grid/InPlaceList.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

const std::vector<std::string> kRoles = {"No Data", "Input", "Target", "Trg/In", "Err:Sign",
                                         "Err:Slope", "Err:Value", "Val:Est", "Val:Slope", "Comment"};

// A grid that edits row 6 with the role list, as the worksheet's grid does.
class RoleGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    void CreateInPlaceEditControl(const QRect& rect, Qt::Alignment alignment, int id, int row,
                                  int col, const std::string& text, EditStart start) override
    {
        if (row != 6) {
            CGridCtrl::CreateInPlaceEditControl(rect, alignment, id, row, col, text, start);
            return;
        }
        list = new CInPlaceList(this, viewport(), rect, true, id, row, col, kRoles, text, start);
    }
    QPointer<CInPlaceList> list;
};

struct EditorsFixture : ::testing::Test {
    WorksheetLikeGrid w{640, 480};
    CGridCtrl& grid = *w.grid;
    CInPlaceEdit* Open(int row, int col, EditStart start)
    {
        grid.SetFocusCell(row, col);
        grid.OnEditCell(row, col, start);
        return qobject_cast<CInPlaceEdit*>(grid.InPlaceEditor());
    }
};

} // namespace

TEST_F(EditorsFixture, FirstKeyRules)
{
    struct Case {
        const char* name;
        EditStart start;
        const char* text;
        int caret;
        bool selected;
    } cases[] = {
        {"typed character replaces", EditStart::Typed(u'7'), "7", 1, false},
        {"typed dollar replaces", EditStart::Typed(u'$'), "$", 1, false},
        {"typed bracket replaces", EditStart::Typed(u'('), "(", 1, false},
        {"typed Space only opens the cell", EditStart::Typed(u' '), "123", 3, true},
        {"Backspace deletes the last character", EditStart::Key(GridKey::Backspace), "12", 2, false},
        {"mouse puts the caret after the text", EditStart::Mouse(), "123", 3, false},
        {"Enter puts the caret after the text", EditStart::Key(GridKey::Enter), "123", 3, false},
        {"an arrow selects the text", EditStart::Key(GridKey::Down), "123", 3, true},
        {"Escape types nothing", EditStart::Key(GridKey::Escape), "123", 3, true},
    };
    for (const Case& c : cases) {
        w.store.SetCellText(3, 2, "123");
        CInPlaceEdit* edit = Open(3, 2, c.start);
        ASSERT_NE(edit, nullptr) << c.name;
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.text)) << c.name;
        EXPECT_EQ(edit->cursorPosition(), c.caret) << c.name;
        EXPECT_EQ(edit->hasSelectedText(), c.selected) << c.name;
        EXPECT_EQ(edit->ExitOnArrows(), c.start.by != EditStart::By::Mouse) << c.name;
        grid.setFocus();
        Settle();
    }
}

TEST_F(EditorsFixture, ArrowEndsATypedEditAndEditingContinuesBelow)
{
    w.store.SetCellText(4, 2, "old");
    CInPlaceEdit* edit = Open(3, 2, EditStart::Typed(u'5'));
    ASSERT_NE(edit, nullptr);
    QPointer<CInPlaceEdit> first = edit;
    QTest::keyClick(edit, Qt::Key_Down);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first->LastKey(), GridKey::Down);
    EXPECT_EQ(w.store.GetCellText(3, 2), "5");
    EXPECT_NE(w.store.GetCellState(3, 2) & CellModified, 0u);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{4, 2}));
    auto* next = qobject_cast<CInPlaceEdit*>(grid.InPlaceEditor());
    ASSERT_NE(next, nullptr) << "an editor opens in the next row";
    EXPECT_NE(next, first.data());
    EXPECT_EQ(next->text(), QStringLiteral("old"));
    EXPECT_TRUE(next->hasSelectedText()) << "the Down key selects the text";
    Settle();
    EXPECT_TRUE(first.isNull()) << "the ended editor deleted itself";
}

TEST_F(EditorsFixture, MouseStartedEditKeepsArrowsOnlyCtrlArrowEnds)
{
    w.store.SetCellText(3, 2, "abc");
    CInPlaceEdit* edit = Open(3, 2, EditStart::Mouse());
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_End);
    EXPECT_EQ(grid.InPlaceEditor(), edit) << "arrows, Home and End move the caret";
    // Up, Down and the page keys move the caret too; none of them reaches the grid.
    struct Case {
        const char* name;
        Qt::Key key;
        int caret;
    } cases[] = {
        {"Up goes to the start", Qt::Key_Up, 0},
        {"Down goes to the end", Qt::Key_Down, 3},
        {"Page Up goes to the start", Qt::Key_PageUp, 0},
        {"Page Down goes to the end", Qt::Key_PageDown, 3},
    };
    for (const Case& c : cases) {
        edit->setCursorPosition(1);
        QTest::keyClick(edit, c.key);
        EXPECT_EQ(edit->cursorPosition(), c.caret) << c.name;
        EXPECT_EQ(grid.InPlaceEditor(), edit) << c.name;
        EXPECT_EQ(grid.GetFocusCell(), (CellId{3, 2})) << c.name << ": the focus frame stays";
    }
    QTest::keyClick(edit, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(edit->LastKey(), GridKey::Right);
    EXPECT_EQ(grid.GetFocusCell(), (CellId{3, 3}));
}

TEST_F(EditorsFixture, EscapeRestoresAndUnchangedTextIsNotModified)
{
    w.store.SetCellText(3, 2, "abc");
    CInPlaceEdit* edit = Open(3, 2, EditStart::Typed(u'x'));
    ASSERT_NE(edit, nullptr);
    w.notes.ended.clear();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->LastKey(), GridKey::Escape);
    EXPECT_EQ(w.store.GetCellText(3, 2), "abc");
    EXPECT_EQ(w.store.GetCellState(3, 2) & CellModified, 0u);
    EXPECT_FALSE(w.store.GetModified());
    EXPECT_EQ(w.EditsEnded(), 1) << "the end is still reported";
    EXPECT_FALSE(grid.IsEditing()) << "Escape does not move on";
    EXPECT_EQ(grid.GetFocusCell(), (CellId{3, 2}));
}

TEST_F(EditorsFixture, TypingGrowsTheEditorToTheRightUpToTheGridEdge)
{
    CInPlaceEdit* edit = Open(3, 2, EditStart::Mouse());
    ASSERT_NE(edit, nullptr);
    const int left = edit->geometry().left();
    const int startWidth = edit->width();
    QTest::keyClicks(edit, QStringLiteral("12345678901234567890"));
    EXPECT_GT(edit->width(), startWidth);
    EXPECT_EQ(edit->geometry().left(), left);
    QTest::keyClicks(edit, QString(200, QLatin1Char('w')));
    EXPECT_EQ(edit->geometry().right(), grid.viewport()->width() - 1) << "never past the edge";
}

TEST(GridEditors, RoleListPreselectsTheMatchingRoleAndCtrlArrowEnds)
{
    App();
    CellStore store;
    RoleGrid grid(store);
    store.SetRowCount(20);
    store.SetColumnCount(6);
    store.SetFixedRowCount(1);
    store.SetFixedColumnCount(1);
    grid.resize(500, 400);
    grid.show();
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    store.SetCellText(6, 2, "targ");
    grid.SetFocusCell(6, 2);
    grid.OnEditCell(6, 2, EditStart::Key(GridKey::Enter));
    ASSERT_FALSE(grid.list.isNull());
    CInPlaceList* list = grid.list;
    EXPECT_EQ(list->count(), 10);
    EXPECT_EQ(list->currentText(), QStringLiteral("Target"));
    list->showPopup();
    grid.grab().save(QStringLiteral("grid_role_list.png"));
    list->window()->grab();
    list->hidePopup();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), QStringLiteral("Trg/In")) << "a plain arrow moves in the list";
    EXPECT_FALSE(grid.list.isNull());
    QTest::keyClick(list->lineEdit(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(list->LastKey(), GridKey::Down);
    EXPECT_EQ(store.GetCellText(6, 2), "Trg/In");
    EXPECT_EQ(grid.GetFocusCell(), (CellId{7, 2}));

    // Typed text is kept as typed, even where it begins a role.
    store.SetCellText(6, 4, "No Data");
    grid.SetFocusCell(6, 4);
    grid.OnEditCell(6, 4, EditStart::Typed(u't'));
    ASSERT_FALSE(grid.list.isNull());
    QTest::keyClicks(grid.list->lineEdit(), QStringLiteral("ar"));
    EXPECT_EQ(grid.list->currentText(), QStringLiteral("tar"));
    QTest::keyClick(grid.list->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(store.GetCellText(6, 4), "tar");

    // An unknown text stays in the edit field; Escape restores it.
    store.SetCellText(6, 3, "zzz");
    grid.SetFocusCell(6, 3);
    grid.OnEditCell(6, 3, EditStart::Typed(u'I'));
    ASSERT_FALSE(grid.list.isNull());
    EXPECT_EQ(grid.list->currentText(), QStringLiteral("I"));
    QTest::keyClick(grid.list->lineEdit(), Qt::Key_Escape);
    EXPECT_EQ(store.GetCellText(6, 3), "zzz");
}

TEST(GridEditors, ClosingTheGridWhileEditingKeepsTheTypedText)
{
    App();
    CellStore store;
    EditRecorder notes;
    store.AddListener(&notes);
    {
        CGridCtrl grid(store);
        store.SetRowCount(10);
        store.SetColumnCount(4);
        store.SetFixedRowCount(1);
        store.SetFixedColumnCount(1);
        grid.resize(400, 300);
        grid.show();
        grid.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
        grid.SetFocusCell(2, 2);
        grid.OnEditCell(2, 2, EditStart::Typed(u'4'));
        ASSERT_TRUE(grid.IsEditing());
        QTest::keyClicks(grid.InPlaceEditor(), QStringLiteral("2"));
    }
    EXPECT_EQ(store.GetCellText(2, 2), "42");
    EXPECT_TRUE(store.GetModified());
    EXPECT_EQ(notes.ended, (std::vector<CellId>{{2, 2}})) << "the closing ended the edit";
    store.RemoveListener(&notes);
}
