#include "ShellTestSupport.h"

#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/RecentFileList.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(GridDoc, SaveAsNamesTheWorksheetAfterItsFileAndOpenReadsItBack)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    CGridDoc& doc = *shell.App().Docs().ActiveDocument();
    Worksheet& sheet = doc.GetWorksheet();
    sheet.ApplyCellEdit(kRoleRow, 1, "Trg/In");
    sheet.ApplyCellEdit(sheet.firstDataRow, 1, "101.5");
    ASSERT_TRUE(doc.IsModified());

    // Typed without an extension: the worksheet extension is added.
    const QString path = shell.dir.filePath(QStringLiteral("prices"));
    shell.prompts.saveFiles = {path};
    frame.RouteCommand(CmdFileSave);
    const QString saved = path + QStringLiteral(".ows");
    EXPECT_EQ(shell.prompts.filtersSeen.value(0), CGridDoc::FileFilter());
    EXPECT_TRUE(shell.prompts.filtersSeen.value(0).startsWith(QStringLiteral("Worsheets (*.ows)")));
    EXPECT_TRUE(QFileInfo::exists(saved));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Title(), QStringLiteral("prices.ows"));
    EXPECT_EQ(shell.App().RecentFiles().Files().value(0), QFileInfo(saved).absoluteFilePath());

    // Opening the file that is already open shows its window again.
    EXPECT_EQ(shell.App().Docs().OpenDocumentFile(saved), shell.App().Docs().ActiveFrame());
    EXPECT_EQ(shell.App().Docs().Documents().size(), 1u);

    frame.RouteCommand(CmdFileClose);
    ShellFixture::Settle();
    shell.prompts.openFiles = {saved};
    frame.RouteCommand(CmdFileOpen);
    CGridDoc* reopened = shell.App().Docs().ActiveDocument();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->Title(), QStringLiteral("prices.ows"));
    EXPECT_FALSE(reopened->IsModified());
    const Worksheet& back = reopened->GetWorksheet();
    EXPECT_EQ(back.Store().GetCellText(kRoleRow, 1), "Trg/In");
    EXPECT_EQ(back.Store().GetCellText(back.firstDataRow, 1), "101.5");
    // Loading sizes the sections automatically: one data row is too few to train on.
    ASSERT_EQ(shell.prompts.log.size(), 1u);
    EXPECT_EQ(shell.prompts.log[0].text, "Suggest Training Set > 20 Elements");
}

// A refused file opens nothing and leaves every open worksheet as it was.
TEST(GridDoc, RefusedFilesOpenNothing)
{
    struct Case {
        const char* name;
        QByteArray bytes;  // empty: the file does not exist
        const char* message;
    };
    ShellFixture probe;
    const QString good = probe.dir.filePath(QStringLiteral("good.ows"));
    probe.prompts.saveFiles = {good};
    ASSERT_TRUE(probe.App().Docs().ActiveDocument()->DoSaveAs());
    const QByteArray valid = ReadAll(good);
    ASSERT_GT(valid.size(), 100);
    QByteArray otherVersion = valid;
    otherVersion[2] = '9';  // "092704", after the length byte

    const Case cases[] = {
        {"missing file", QByteArray(), "Error: Cannot open file absent.ows"},
        {"other version", otherVersion,
         "Error: Non-Compatible Data File Version, Expect:082704, Got:092704"},
        {"truncated", valid.left(valid.size() / 2),
         "Error: Unexpected End Of Worksheet File (open failed)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShellFixture shell;
        Worksheet& first = shell.App().Docs().ActiveDocument()->GetWorksheet();
        first.ApplyCellEdit(first.firstDataRow, 1, "kept");
        const QString path = shell.dir.filePath(
            c.bytes.isEmpty() ? QStringLiteral("absent.ows") : QStringLiteral("bad.ows"));
        if (!c.bytes.isEmpty())
            WriteAll(path, c.bytes);
        shell.prompts.openFiles = {path};
        shell.App().MainFrame()->RouteCommand(CmdFileOpen);
        ShellFixture::Settle();
        EXPECT_EQ(shell.App().Docs().Documents().size(), 1u);
        EXPECT_EQ(shell.App().Docs().Frames().size(), 1u);
        EXPECT_EQ(shell.App().Docs().ActiveDocument()->Title(), QStringLiteral("Worksheet1"));
        EXPECT_EQ(first.Store().GetCellText(first.firstDataRow, 1), "kept");
        ASSERT_FALSE(shell.prompts.log.empty());
        EXPECT_EQ(shell.prompts.log.back().kind, "Error");
        // A message that does not name the file is followed by its path.
        const std::string named = c.bytes.isEmpty() ? std::string() : "\n\nFile: " + path.toStdString();
        EXPECT_EQ(shell.prompts.log.back().text, c.message + named);
        EXPECT_TRUE(shell.App().RecentFiles().Files().isEmpty());
    }
}

TEST(GridDoc, YesToTheCloseQuestionSavesAndCancelledSaveKeepsTheWindow)
{
    ShellFixture shell;
    CGridDoc& doc = *shell.App().Docs().ActiveDocument();
    doc.GetWorksheet().ApplyCellEdit(kRoleRow, 1, "Input");
    doc.GetWorksheet().ApplyCellEdit(9, 1, "7");

    // Yes, then the file chooser is cancelled: nothing is saved and nothing closes.
    shell.prompts.saveAnswers = {UiPrompts::SaveAnswer::Yes};
    shell.App().MainFrame()->RouteCommand(CmdFileClose);
    ShellFixture::Settle();
    ASSERT_EQ(shell.App().Docs().Documents().size(), 1u);

    const QString path = shell.dir.filePath(QStringLiteral("kept.ows"));
    shell.prompts.saveAnswers = {UiPrompts::SaveAnswer::Yes};
    shell.prompts.saveFiles = {path};
    shell.App().MainFrame()->RouteCommand(CmdFileClose);
    ShellFixture::Settle();
    EXPECT_TRUE(shell.App().Docs().Documents().empty());
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST(GridDoc, SaveThatWouldDropTextAsksAndNoKeepsTheOldFile)
{
    ShellFixture shell;
    CGridDoc& doc = *shell.App().Docs().ActiveDocument();
    Worksheet& sheet = doc.GetWorksheet();
    const QString path = shell.dir.filePath(QStringLiteral("w.ows"));
    shell.prompts.saveFiles = {path};
    ASSERT_TRUE(doc.DoFileSave());
    const QByteArray before = ReadAll(path);

    // Column 1 is still "No Data": text in column 3 cannot be kept by the file.
    sheet.ApplyCellEdit(sheet.firstDataRow, 3, "lost?");
    shell.prompts.askAnswers = {false};
    EXPECT_FALSE(doc.DoFileSave());
    ASSERT_EQ(shell.prompts.log.size(), 1u);
    EXPECT_EQ(shell.prompts.log[0].text, "Proceed With Save? Data From Column 1 On Will Not Be Saved");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadAll(path), before);
}

// Open works with no worksheet open; a recent file that has gone leaves the list.
TEST(GridDoc, OpenWithoutAWorksheetAndFromTheRecentList)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    const QString kept = shell.dir.filePath(QStringLiteral("kept.ows"));
    const QString gone = shell.dir.filePath(QStringLiteral("gone.ows"));
    for (const QString& path : {gone, kept}) {
        shell.prompts.saveFiles = {path};
        ASSERT_TRUE(shell.App().Docs().ActiveDocument()->DoSaveAs());
    }
    frame.RouteCommand(CmdFileClose);
    ShellFixture::Settle();
    ASSERT_TRUE(shell.App().Docs().Documents().empty());

    shell.prompts.openFiles = {kept};
    frame.RouteCommand(CmdFileOpen);
    ASSERT_EQ(shell.App().Docs().Documents().size(), 1u);
    EXPECT_EQ(shell.App().Docs().ActiveDocument()->Title(), QStringLiteral("kept.ows"));

    ASSERT_TRUE(QFile::remove(gone));
    ASSERT_EQ(shell.App().RecentFiles().Files().size(), 2);
    ASSERT_EQ(shell.App().RecentFiles().Files().value(1), QFileInfo(gone).absoluteFilePath());
    frame.RouteCommand(CmdFileMru1 + 1);
    EXPECT_EQ(shell.App().Docs().Documents().size(), 1u);
    EXPECT_EQ(shell.App().RecentFiles().Files(), QStringList{QFileInfo(kept).absoluteFilePath()});
    EXPECT_EQ(shell.prompts.log.back().text, "Error: Cannot open file gone.ows");
}

} // namespace
} // namespace orvalis::test
