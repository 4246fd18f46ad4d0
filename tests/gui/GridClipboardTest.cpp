#include "GridTestSupport.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvalis;
using namespace orvalis::gridtest;

namespace {

// A grid whose clipboard can be made to refuse the text, as a busy clipboard would.
class RefusingGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    bool refuse = false;
    bool PlaceOnClipboard(std::unique_ptr<QMimeData> mime) override
    {
        return !refuse && CGridCtrl::PlaceOnClipboard(std::move(mime));
    }
};

struct ClipboardFixture : ::testing::Test {
    WorksheetLikeGrid w{640, 480};
    CGridCtrl& grid = *w.grid;
    QClipboard* clipboard = QGuiApplication::clipboard();
    void SetUp() override { clipboard->clear(); }
    void FillBlock()  // rows 3-4, columns 1-3: a, "", c / d, e, f; selected, focus on (3,1)
    {
        const char* texts[2][3] = {{"a", "", "c"}, {"d", "e", "f"}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                w.store.SetCellText(3 + r, 1 + c, texts[r][c]);
        grid.SetFocusCell(3, 1);
        grid.SetSelectedRange(3, 1, 4, 3);
        w.store.SetModified(false);
    }
};

} // namespace

TEST_F(ClipboardFixture, CopyPutsTheBlockOnTheClipboardAsPlainText)
{
    EXPECT_FALSE(grid.CanCopy()) << "nothing selected yet";
    FillBlock();
    ASSERT_TRUE(grid.CanCopy());
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = clipboard->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat(QStringLiteral("text/plain")));
    EXPECT_EQ(mime->text(), QStringLiteral("a\t \tc\nd\te\tf"));
    EXPECT_FALSE(w.store.GetModified());
}

TEST_F(ClipboardFixture, PasteOfASpreadsheetBlockLandsCellForCellAndMarksOnlyRealChanges)
{
    w.store.SetCellText(6, 3, "keep");
    grid.SetFocusCell(5, 2);
    w.store.SetModified(false);
    EXPECT_FALSE(grid.CanPaste()) << "empty clipboard";
    clipboard->setText(QStringLiteral("1\t\t2\r\n3\tkeep\r\n"));
    ASSERT_TRUE(grid.CanPaste());
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.store.GetCellText(5, 2), "1");
    EXPECT_EQ(w.store.GetCellText(5, 3), "");
    EXPECT_EQ(w.store.GetCellText(5, 4), "2");
    EXPECT_EQ(w.store.GetCellText(6, 2), "3");
    EXPECT_EQ(w.store.GetCellText(7, 2), "") << "the final line end adds no row";
    EXPECT_TRUE(w.store.GetModified());
    EXPECT_EQ(w.EditsEnded(), 3) << "(6,3) already held its text";

    w.store.SetModified(false);
    grid.OnEditPaste();
    EXPECT_FALSE(w.store.GetModified()) << "the same paste again changes nothing";

    // A read-only focus cell takes nothing, and the command says so beforehand.
    w.store.SetCellState(5, 2, w.store.GetCellState(5, 2) | CellReadOnly);
    clipboard->setText(QStringLiteral("9"));
    EXPECT_FALSE(grid.CanPaste());
    grid.OnEditPaste();
    EXPECT_EQ(w.store.GetCellText(5, 2), "1");
}

TEST_F(ClipboardFixture, CharactersCellsCannotHoldBecomeQuestionMarksAndAreCounted)
{
    // What the clipboard offers, what lands in (5,2) and (5,3), and what the grid says:
    // how many characters became "?" and the first one's cell.
    struct Case {
        const char* name;
        QByteArray utf8;
        std::string first;
        std::string second;
        int replaced;
        CellId firstReplaced;
    };
    const std::vector<Case> cases = {
        {"Latin-1 letters stay as they are", "caf\xc3\xa9\t\xc2\xb5", "caf\xe9", "\xb5", 0, {}},
        {"a euro sign and a surrogate pair, one \"?\" each", "1\t\xe2\x82\xac \xf0\x9f\x98\x80", "1", "? ?", 2, {5, 3}},
        {"invalid UTF-8 becomes one \"?\" a byte", "\xff\xfe\t2", "??", "2", 2, {5, 2}},
        {"the text ends at a NUL, nothing after it counts", QByteArray("7\t8\0\xe2\x82\xac", 8), "7", "8", 0, {}},
        {"past the last column the character is counted without a cell",
         "a\tb" + QByteArray(80, '\t') + "\xe2\x82\xac",
         "a",
         "b",
         1,
         {-1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("text/plain"), c.utf8);
        clipboard->setMimeData(mime);
        QSignalSpy said(&grid, &CGridCtrl::charactersReplaced);
        grid.SetFocusCell(5, 2);
        grid.OnEditPaste();
        EXPECT_EQ(w.store.GetCellText(5, 2), c.first);
        EXPECT_EQ(w.store.GetCellText(5, 3), c.second);
        if (c.replaced == 0) {
            EXPECT_EQ(said.count(), 0);
            continue;
        }
        ASSERT_EQ(said.count(), 1);
        EXPECT_EQ(said[0][0].toInt(), c.replaced);
        EXPECT_EQ(CellId(said[0][1].toInt(), said[0][2].toInt()), c.firstReplaced);
    }
}

TEST_F(ClipboardFixture, CutEmptiesTheBlockOnlyOnceTheClipboardHoldsIt)
{
    CellStore store(10, 5, 1, 1);
    RefusingGrid refusing(store);
    refusing.resize(400, 300);
    store.SetCellText(2, 2, "x");
    store.SetCellText(2, 3, "y");
    refusing.SetFocusCell(2, 2);
    refusing.SetSelectedRange(2, 2, 2, 3);
    refusing.refuse = true;
    ASSERT_TRUE(refusing.CanCut());
    refusing.OnEditCut();
    EXPECT_EQ(store.GetCellText(2, 2), "x") << "refused clipboard: nothing is cleared";
    EXPECT_EQ(store.GetCellText(2, 3), "y");
    EXPECT_FALSE(store.GetModified());

    refusing.refuse = false;
    refusing.OnEditCut();
    EXPECT_EQ(clipboard->text(), QStringLiteral("x\ty"));
    EXPECT_EQ(store.GetCellText(2, 2), "");
    EXPECT_EQ(store.GetCellText(2, 3), "");
    EXPECT_EQ(refusing.GetFocusCell(), (CellId{2, 2})) << "the keys still act where they did";

    store.editable = false;
    refusing.SetSelectedRange(3, 1, 3, 1);
    EXPECT_FALSE(refusing.CanCut());
    EXPECT_TRUE(refusing.CanCopy());
}

TEST_F(ClipboardFixture, ContextMenuFollowsTheEnableRulesAndActsOnTheGrid)
{
    FillBlock();
    clipboard->setText(QStringLiteral("5"));
    const std::unique_ptr<QMenu> menu = grid.CreateContextMenu();
    QStringList shown;
    QAction* del = nullptr;
    for (QAction* a : menu->actions()) {
        shown << (a->isSeparator() ? QStringLiteral("-")
                                   : a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (off)")));
        if (a->text() == QStringLiteral("Delete"))
            del = a;
    }
    EXPECT_EQ(shown.join(QLatin1Char('|')),
              QStringLiteral("Undo (off)|-|Cut|Copy|Paste|Delete|-|Select All"));
    ASSERT_NE(del, nullptr);
    del->trigger();
    EXPECT_EQ(w.store.GetCellText(4, 3), "") << "Delete cuts the block";
    EXPECT_EQ(clipboard->text(), QStringLiteral("a\t \tc\nd\te\tf"));
}
