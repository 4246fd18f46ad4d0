#include "ShellTestSupport.h"

#include "grid/InPlaceKeys.h"
#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/ImportDialog.h"
#include "worksheet/ui/WorksheetGrid.h"
#include "worksheet/ui/WorksheetUndo.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <random>

namespace orvalis::test {
namespace {

struct WorksheetUndoFixture : ::testing::Test {
    void SetUp() override
    {
        QMainWindow& main = *shell.App().MainFrame();
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        Grid().setFocus();
    }
    CMainFrame& Main() { return *shell.App().MainFrame(); }
    CGridDoc& Doc() { return *shell.App().Docs().ActiveDocument(); }
    CWorksheetGrid& Grid() { return shell.App().Docs().ActiveFrame()->View().Grid(); }
    Worksheet& Sheet() { return Doc().GetWorksheet(); }
    std::string Text(int row, int col) { return Sheet().Store().GetCellText(row, col); }
    int Row(int i) { return Sheet().firstDataRow + i; }

    // Types text into the cell and ends the edit with Enter.
    void Type(int row, int col, const QString& text)
    {
        Grid().SetFocusCell(row, col);
        Grid().OnEditCell(row, col, EditStart::Key(GridKey::Enter));
        // The plain editor, or the line of the role row's list.
        QWidget* editor = Grid().InPlaceEditor();
        ASSERT_NE(editor, nullptr);
        auto* edit = qobject_cast<QLineEdit*>(editor);
        if (!edit)
            edit = editor->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void Paste(int row, int col, const char* text)
    {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
        Grid().SetFocusCell(row, col);
        Main().RouteCommand(CmdEditPaste);
    }
    QString MenuText(int id)
    {
        Main().UpdateCommandStates();
        return Main().Action(id)->text();
    }
    bool Enabled(int id)
    {
        Main().UpdateCommandStates();
        return Main().Action(id)->isEnabled();
    }

    ShellFixture shell;
};

TEST_F(WorksheetUndoFixture, EachKindOfEditIsOneStepBackAndForth)
{
    // What the user does, the step's menu name, and the cells it changes.
    struct Case {
        const char* name;
        std::function<void()> edit;
        QString step;
        std::vector<std::pair<int, int>> cells;
    };
    Type(Row(0), 1, QStringLiteral("7"));
    Type(Row(0), 2, QStringLiteral("8"));
    const std::vector<Case> cases = {
        {"typing", [&] { Type(Row(1), 1, QStringLiteral("12")); }, "Typing", {{Row(1), 1}}},
        {"paste over text and empty cells",
         [&] { Paste(Row(0), 1, "1\t2\n3\t4\n"); },
         "Paste",
         {{Row(0), 1}, {Row(0), 2}, {Row(1), 1}, {Row(1), 2}}},
        {"Delete key",
         [&] {
             Grid().SetFocusCell(Row(0), 2);
             QTest::keyClick(&Grid(), Qt::Key_Delete);
         },
         "Delete",
         {{Row(0), 2}}},
        {"cut of a block",
         [&] {
             Grid().SetFocusCell(Row(0), 1);
             Grid().SetSelectedRange(Row(0), 1, Row(0), 2);
             Main().RouteCommand(CmdEditCut);
         },
         "Cut",
         {{Row(0), 1}, {Row(0), 2}}},
        {"role chosen", [&] { Type(kRoleRow, 3, QStringLiteral("Target")); }, "Role Choice", {{kRoleRow, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> before;
        for (auto [r, col] : c.cells)
            before.push_back(Text(r, col));
        c.edit();
        std::vector<std::string> after;
        for (auto [r, col] : c.cells)
            after.push_back(Text(r, col));
        ASSERT_NE(before, after);
        EXPECT_EQ(MenuText(CmdEditUndo), QStringLiteral("&Undo ") + c.step);

        ASSERT_TRUE(Main().RouteCommand(CmdEditUndo));
        std::vector<std::string> undone;
        for (auto [r, col] : c.cells)
            undone.push_back(Text(r, col));
        EXPECT_EQ(undone, before) << "one step takes the whole edit back";
        const CellRange shown = Grid().GetSelectedCellRange();
        EXPECT_EQ(CellId(shown.minRow, shown.minCol), CellId(c.cells.front().first, c.cells.front().second))
            << "the window shows what was taken back";
        EXPECT_EQ(MenuText(CmdEditRedo), QStringLiteral("&Redo ") + c.step);

        ASSERT_TRUE(Main().RouteCommand(CmdEditRedo));
        std::vector<std::string> redone;
        for (auto [r, col] : c.cells)
            redone.push_back(Text(r, col));
        EXPECT_EQ(redone, after);
    }
}

TEST_F(WorksheetUndoFixture, HeaderValuesAndLabelsFollowUndoAndRedo)
{
    Type(kNumTestingRow, kValueColumn, QStringLiteral("10"));
    Type(kNumTrainingRow, kValueColumn, QStringLiteral("40"));
    ASSERT_EQ(Sheet().counts.numTraining, 40);
    const GridColour trained = Sheet().Store().GetCellBackColor(Row(30), 0);

    Main().RouteCommand(CmdEditUndo);
    EXPECT_EQ(Sheet().counts.numTraining, 0) << "the value is read back as when typed";
    EXPECT_EQ(Sheet().counts.totalRows, 10);
    EXPECT_NE(Sheet().Store().GetCellBackColor(Row(30), 0), trained) << "labels recoloured";

    Main().RouteCommand(CmdEditRedo);
    EXPECT_EQ(Sheet().counts.numTraining, 40);
    EXPECT_EQ(Sheet().Store().GetCellBackColor(Row(30), 0), trained);

    // The grid's own menu takes the same step back.
    std::unique_ptr<QMenu> menu = Grid().CreateContextMenu();
    QAction* undo = menu->actions().value(0);
    ASSERT_TRUE(undo && undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(Sheet().counts.numTraining, 0);
}

TEST_F(WorksheetUndoFixture, ModifiedMarkFollowsTheSavedStep)
{
    EXPECT_FALSE(Enabled(CmdEditUndo));
    EXPECT_EQ(MenuText(CmdEditUndo), QStringLiteral("&Undo"));

    // An edit that ends with the text it began with is no step and no change.
    Type(Row(0), 1, QString());
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_FALSE(Enabled(CmdEditUndo));

    Type(Row(0), 1, QStringLiteral("5"));
    ASSERT_TRUE(Doc().IsModified());
    Main().RouteCommand(CmdEditUndo);
    EXPECT_FALSE(Doc().IsModified()) << "back at the new worksheet";
    Main().RouteCommand(CmdEditRedo);
    EXPECT_TRUE(Doc().IsModified());

    shell.prompts.saveFiles.push_back(shell.dir.filePath(QStringLiteral("saved.ows")));
    shell.prompts.askAnswers = {true}; // the typed column is no role's: saved without it
    ASSERT_TRUE(Doc().DoFileSave());
    ASSERT_FALSE(Doc().IsModified());
    Main().RouteCommand(CmdEditUndo);
    EXPECT_TRUE(Doc().IsModified()) << "undone past the saved step";
    Main().RouteCommand(CmdEditRedo);
    EXPECT_FALSE(Doc().IsModified());

    // A new edit after an undo drops the saved step from the history for good.
    Main().RouteCommand(CmdEditUndo);
    Type(Row(0), 2, QStringLiteral("6"));
    Main().RouteCommand(CmdEditUndo);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(WorksheetUndoFixture, RunsAndImportsClearTheHistoryOnceTheyChangedSomething)
{
    Type(Row(0), 1, QStringLiteral("5"));
    shell.prompts.askAnswers = {false};
    Main().RouteCommand(CmdClearTraining);
    EXPECT_TRUE(Enabled(CmdEditUndo)) << "answered No: nothing happened";

    shell.prompts.askAnswers = {true};
    Main().RouteCommand(CmdClearTraining);
    EXPECT_FALSE(Enabled(CmdEditUndo));
    EXPECT_EQ(Main().statusBar()->currentMessage(),
              QStringLiteral("Undo history cleared: Clear Training resets the results"));
    EXPECT_TRUE(Doc().IsModified()) << "no step can take the mark away now";

    // An import writes cells: a step taken back afterwards would put a typed value
    // under cells the import rewrote.
    Main().statusBar()->clearMessage();
    Type(Row(0), 1, QStringLiteral("6"));
    const QString csv = shell.dir.filePath(QStringLiteral("prices.csv"));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1,2\n3,4\n");
    file.close();
    shell.prompts.openFiles = {csv};
    shell.prompts.dialogScript = [](QDialog& dialog) {
        auto& import = dynamic_cast<CImportDialog&>(dialog);
        import.RowEdit().setText(QStringLiteral("1"));
        import.ColumnEdit().setText(QStringLiteral("1"));
        import.HeaderCheck().setChecked(false);
        import.accept();
        return dialog.result() == QDialog::Accepted;
    };
    Main().RouteCommand(CmdFileImport);
    ASSERT_EQ(Text(Row(1), 2), "4");
    EXPECT_FALSE(Enabled(CmdEditUndo));
    EXPECT_EQ(Main().statusBar()->currentMessage(),
              QStringLiteral("Undo history cleared: the import replaces the cells"));
}

TEST_F(WorksheetUndoFixture, PasteThatEmptiesCellsIsTakenBackWhole)
{
    Type(Row(0), 1, QStringLiteral("7"));
    Type(Row(0), 2, QStringLiteral("8"));
    Type(Row(0), 3, QStringLiteral("9"));
    Type(Row(1), 1, QStringLiteral("6"));
    // A spreadsheet's block with an empty middle cell and an empty last one.
    Paste(Row(0), 1, "1\t\t3\r\n\t5\t\r\n");
    EXPECT_EQ(Text(Row(0), 2), "");
    EXPECT_EQ(Text(Row(0), 3), "3");
    EXPECT_EQ(Text(Row(1), 1), "") << "an empty field empties its cell";
    EXPECT_EQ(Text(Row(1), 2), "5");
    Main().RouteCommand(CmdEditUndo);
    EXPECT_EQ(Text(Row(0), 1), "7");
    EXPECT_EQ(Text(Row(0), 2), "8") << "what the paste emptied comes back";
    EXPECT_EQ(Text(Row(0), 3), "9");
    EXPECT_EQ(Text(Row(1), 1), "6");
    EXPECT_EQ(Text(Row(1), 2), "");
}

TEST_F(WorksheetUndoFixture, PastedCharactersCellsCannotHoldAreNamed)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("1\t2 \u20ac\t\U0001F600"));
    Grid().SetFocusCell(Row(0), 1);
    Main().RouteCommand(CmdEditPaste);
    EXPECT_EQ(Text(Row(0), 2), "2 ?");
    QCoreApplication::processEvents();
    ASSERT_FALSE(shell.prompts.log.empty());
    EXPECT_EQ(shell.prompts.log.back().kind, "Information");
    EXPECT_EQ(shell.prompts.log.back().text,
              "Info: 2 pasted characters are outside the worksheet's 8-bit (Latin-1) character "
              "set and became \"?\", the first in grid row " +
                  std::to_string(Row(0)) + ", column 2");
}

// Random edits, pastes, undos and redos after a save: undoing every step since the save
// gives back the saved file byte for byte, and redoing them all gives back the cells as
// the edits left them.
TEST_F(WorksheetUndoFixture, RandomEditsUndoneAllGiveBackTheSavedFile)
{
    for (int col = 1; col <= 3; ++col)
        Type(kRoleRow, col, QStringLiteral("Input"));
    Type(Row(0), 1, QStringLiteral("1.5"));
    const QString saved = shell.dir.filePath(QStringLiteral("saved.ows"));
    ASSERT_TRUE(Doc().DoSave(saved));
    const auto bytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray original = bytes(saved);
    ASSERT_FALSE(original.isEmpty());
    QUndoStack& stack = Doc().Undo().Stack();
    const int savedIndex = stack.index();

    std::mt19937 random(20261208);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const char* const texts[] = {"1", "2.5", "-3e2", "x y", "1e309", "", "0,5"};
    const char* const lineEnds[] = {"\n", "\r\n", "\r"};
    const auto cells = [&] {
        std::vector<std::string> all;
        for (int r = 0; r < 8; ++r)
            for (int c = 1; c <= 5; ++c)
                all.push_back(Text(Row(r), c));
        return all;
    };
    shell.prompts.askAnswers = std::deque<bool>(100, true);
    for (int step = 0; step < 60; ++step) {
        const int row = Row(pick(5));
        const int col = 1 + pick(3);
        switch (pick(6)) {
        case 0:
            Type(row, col, QString::fromLatin1(texts[pick(7)]));
            break;
        case 1: {
            std::string block;
            const int rows = 1 + pick(3);
            const char separator = pick(2) ? '\t' : ',';
            for (int r = 0; r < rows; ++r) {
                const int fields = 1 + pick(3);
                for (int f = 0; f < fields; ++f)
                    block += std::string(f ? 1 : 0, separator) + texts[pick(7)];
                block += lineEnds[pick(3)];
            }
            QGuiApplication::clipboard()->setText(QString::fromLatin1(block));
            Grid().SetFocusCell(row, col);
            Main().RouteCommand(CmdEditPaste);
            break;
        }
        case 2:
            Grid().SetFocusCell(row, col);
            QTest::keyClick(&Grid(), Qt::Key_Delete);
            break;
        case 3:
            Grid().SetFocusCell(row, col);
            Grid().SetSelectedRange(row, col, row + 1, col + 1);
            Main().RouteCommand(CmdEditCut);
            break;
        case 4:
            // Never below the saved step: a new edit there would drop it for good.
            if (stack.index() > savedIndex)
                Main().RouteCommand(CmdEditUndo);
            break;
        default:
            Main().RouteCommand(CmdEditRedo);
        }
    }
    ASSERT_LT(stack.count(), 100) << "every step since the save is still kept";
    while (stack.canRedo())
        Main().RouteCommand(CmdEditRedo);
    const std::vector<std::string> edited = cells();

    while (stack.index() > savedIndex)
        Main().RouteCommand(CmdEditUndo);
    EXPECT_FALSE(Doc().IsModified());
    const QString again = shell.dir.filePath(QStringLiteral("again.ows"));
    ASSERT_TRUE(Doc().DoSave(again));
    EXPECT_TRUE(bytes(again) == original) << "undoing every step gives back the saved file";

    while (stack.canRedo())
        Main().RouteCommand(CmdEditRedo);
    EXPECT_EQ(cells(), edited);
}

// A grid whose drag loop drops the block on one of its own cells.
class MovingGrid final : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    CellId dropCell;
    Qt::DropAction ExecDrag(std::unique_ptr<QMimeData> mime) override
    {
        QRect rect;
        GetCellRect(dropCell.row, dropCell.col, rect);
        const QPoint point = rect.center();
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(point, offered, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport(), &enter);
        QDropEvent drop(QPointF(point), offered, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
};

TEST(WorksheetUndo, BlockMovedByDragIsOneStep)
{
    GuiApp();
    AppSettings settings;
    ScriptedPrompts prompts;
    CGridDoc doc(settings, prompts);
    CellStore& cells = doc.GetWorksheet().Store();
    MovingGrid grid(cells);
    grid.Options().dragAndDropEnabled = true;
    QObject::connect(&grid, &CGridCtrl::userEditBegun, &doc.Undo(), &WorksheetUndo::BeginUserEdit);
    QObject::connect(&grid, &CGridCtrl::userEditEnded, &doc.Undo(), &WorksheetUndo::EndUserEdit);
    grid.resize(600, 500);
    grid.show();
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    grid.setFocus();
    const int row = doc.GetWorksheet().firstDataRow;
    cells.SetCellText(row, 1, "a");
    cells.SetCellText(row, 2, "b");
    grid.SetFocusCell(row, 1);
    grid.SetSelectedRange(row, 1, row, 2);
    grid.dropCell = {row + 2, 3};
    QRect from;
    grid.GetCellRect(row, 2, from);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, from.center());
    const QPoint to = from.center() + QPoint(20, 20);
    QMouseEvent move(QEvent::MouseMove, to, grid.viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &move);
    ASSERT_EQ(cells.GetCellText(row + 2, 4), "b");
    ASSERT_EQ(cells.GetCellText(row, 1), "");

    EXPECT_EQ(doc.Undo().Stack().count(), 1);
    EXPECT_EQ(doc.Undo().UndoMenuText(), QStringLiteral("&Undo Drop"));
    doc.Undo().Undo();
    EXPECT_EQ(cells.GetCellText(row, 1), "a");
    EXPECT_EQ(cells.GetCellText(row, 2), "b");
    EXPECT_EQ(cells.GetCellText(row + 2, 3), "");
    EXPECT_EQ(cells.GetCellText(row + 2, 4), "");
}

} // namespace
} // namespace orvalis::test
