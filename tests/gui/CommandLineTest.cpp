#include "ShellTestSupport.h"
#include "worksheet/RecordingMessages.h"

#include "grid/GridCtrl.h"
#include "shell/ChildFrame.h"
#include "shell/CommandLine.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/WorksheetFile.h"
#include "worksheet/ui/GridDoc.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace orvalis;
using orvalis::test::ShellFixture;

namespace {

// A new worksheet with one typed cell, saved as name in dir; returns its path.
QString SavedWorksheet(const QTemporaryDir& dir, const QString& name, const std::string& text)
{
    AppSettings settings;
    RecordingMessages messages;
    Worksheet sheet(settings, messages);
    sheet.Store().SetCellText(kRoleRow, 1, "Comment");  // a column that is saved
    sheet.Store().SetCellText(sheet.firstDataRow, 1, text);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(SaveWorksheetFile(sheet, path.toStdString()));
    return path;
}

QStringList Titles(CWorksheetApp& app)
{
    QStringList titles;
    for (CGridDoc* doc : app.Docs().Documents())
        titles.append(doc->Title());
    titles.sort();
    return titles;
}

} // namespace

TEST(CommandLine, ArgumentsAfterTheProgramName)
{
    const StartupRequest plain = ParseCommandLine({});
    EXPECT_TRUE(plain.files.isEmpty());
    EXPECT_FALSE(plain.noSplash) << "a plain start shows the splash";

    const StartupRequest files = ParseCommandLine({"a.ows", "--", "--version", "-"});
    EXPECT_EQ(files.files, (QStringList{"a.ows", "--version", "-"}));
    EXPECT_FALSE(files.version) << "after -- everything is a file";
    EXPECT_TRUE(files.noSplash) << "files open without the splash";

    EXPECT_TRUE(ParseCommandLine({"--no-splash"}).noSplash);
    EXPECT_TRUE(ParseCommandLine({"-h"}).help);
    EXPECT_TRUE(ParseCommandLine({"x.ows", "--version"}).version);
    const StartupRequest wrong = ParseCommandLine({"--frobnicate", "a.ows"});
    EXPECT_EQ(wrong.problem, "orvalis: unknown option --frobnicate\n");
    EXPECT_TRUE(VersionText().startsWith("Tavelle Orvalis "));
    EXPECT_TRUE(HelpText().startsWith("usage: orvalis"));
}

// The help names every option of the program, those of the documentation picture too.
TEST(CommandLine, HelpListsEveryOption)
{
    for (const char* option : {"--no-splash", "--version", "--help", "--screenshot", "--import",
                               "--role", "--train", "--chart", "--size"})
        EXPECT_TRUE(HelpText().contains(QLatin1String(option) + QLatin1Char(' '))) << option;
}

// Files on the command line open as worksheets in place of the new one; one that
// cannot be read is reported and the others still open.
TEST(CommandLine, StartOpensTheFilesAndReportsAMissingOne)
{
    QTemporaryDir files;
    const QString first = SavedWorksheet(files, "first.ows", "12.5");
    const QString second = SavedWorksheet(files, "second.ows", "7");
    const QString missing = files.filePath("missing.ows");
    {
        ShellFixture shell({}, {first, missing, second});
        EXPECT_EQ(Titles(shell.App()), (QStringList{"first.ows", "second.ows"}));
        // Loading a worksheet without a target column also says so; only one file failed.
        int cannotOpen = 0;
        for (const auto& e : shell.prompts.log)
            cannotOpen += e.text.find("Cannot open file") != std::string::npos;
        EXPECT_EQ(cannotOpen, 1);
        EXPECT_EQ(shell.prompts.log[1].text, "Error: Cannot open file missing.ows");
        EXPECT_EQ(shell.App().Docs().ActiveDocument()->Title(), "second.ows");
        const Worksheet& opened = shell.App().Docs().ActiveDocument()->GetWorksheet();
        EXPECT_EQ(opened.Store().GetCellText(opened.firstDataRow, 1), "7");
    }
    {
        // Nothing readable: the usual start with a new worksheet after the message.
        ShellFixture shell({}, {missing});
        EXPECT_EQ(Titles(shell.App()), (QStringList{"Worksheet1"}));
        ASSERT_EQ(shell.prompts.log.size(), 1u);
        EXPECT_EQ(shell.prompts.log[0].text, "Error: Cannot open file missing.ows");
    }
}

// Several files at once: each refusal names its file; a file that is no worksheet at
// all is called that (and a text file is sent to File > Import) instead of quoting its
// first bytes as a version.
TEST(CommandLine, EveryOpenFailureNamesItsFile)
{
    QTemporaryDir files;
    auto write = [&files](const QString& name, const QByteArray& bytes) {
        QFile file(files.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString csv = write("flow.csv", "Year,Flow\n1871,1120\n1872,1160\n");
    const QString tiny = write("tiny.txt", "z");
    const QString data = write("numbers.dat", QByteArray("\x03"
                                                         "abc",
                                                         4) +
                                                  QByteArray(40, 'x'));
    const QString other = write("older.ows", QByteArray("\x06"
                                                        "082705",
                                                        7) +
                                                 QByteArray(40, '\0'));
    const QString good = SavedWorksheet(files, "good.ows", "7");

    ShellFixture shell({}, {csv, tiny, data, other, good});
    EXPECT_EQ(Titles(shell.App()), (QStringList{"good.ows"}));
    std::vector<std::string> errors;
    for (const auto& e : shell.prompts.log)
        if (e.kind == "Error" && e.text.find("Target") == std::string::npos)
            errors.push_back(e.text);
    const std::string importHint = "File > Import reads";
    ASSERT_EQ(errors.size(), 4u);
    struct Case {
        const char* name;
        QString path;
        const char* start;
        bool hint;
    };
    const Case cases[] = {
        {"csv text", csv, "Error: Not a Worksheet File", true},
        {"one byte of text", tiny, "Error: Not a Worksheet File", true},
        {"other data", data, "Error: Not a Worksheet File", false},
        {"another version", other,
         "Error: Non-Compatible Data File Version, Expect:082704, Got:082705\n\n", false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const std::string& text = errors[i];
        EXPECT_EQ(text.rfind(c.start, 0), 0u) << c.name << ": " << text;
        EXPECT_NE(text.find(c.path.toStdString()), std::string::npos) << c.name << ": " << text;
        EXPECT_EQ(text.find(importHint) != std::string::npos, c.hint) << c.name << ": " << text;
        EXPECT_EQ(text.find("Got:ear"), std::string::npos) << c.name;
    }
}

// A worksheet file dropped from a file manager onto the main window opens; the same
// drop onto a grid is not pasted as text there.
TEST(CommandLine, DroppedWorksheetFileOpensAndIsNotPasted)
{
    QTemporaryDir files;
    const QString path = SavedWorksheet(files, "dropped.OWS", "3");
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(files.filePath("notes.txt"))});
    mime.setText(path);  // file managers offer the name as text as well
    EXPECT_EQ(WorksheetFilesIn(&mime), QStringList{path});

    // Dropped over a grid: the grid leaves files alone, the window opens them.
    CGridCtrl* grid = shell.App().Docs().ActiveFrame()->findChild<CGridCtrl*>();
    ASSERT_NE(grid, nullptr);
    grid->Options().dragAndDropEnabled = true;
    QRect cell;
    ASSERT_TRUE(grid->GetCellRect(kRoleRow + 2, 1, cell));
    QDragEnterEvent enter(cell.center(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(cell.center()), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(grid->Store().GetCellText(kRoleRow + 2, 1), "") << "no file name pasted";
    EXPECT_EQ(Titles(shell.App()), (QStringList{"Worksheet1", "dropped.OWS"}));

    QMimeData text;
    text.setText("1\t2");
    QDragEnterEvent plain(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &plain);
    EXPECT_FALSE(plain.isAccepted()) << "plain text is not a file to open";
}
