// File > Export: the used part of the worksheet as CSV, the same text the batch tool's
// `show` prints for the worksheet.

#include "ShellTestSupport.h"

#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvalis::test {
namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WorksheetExport, WritesTheUsedPartAsTheBatchToolShowsIt)
{
    ShellFixture shell;
    CMainFrame& frame = *shell.App().MainFrame();
    CGridDoc* doc = shell.App().Docs().ActiveDocument();
    ASSERT_NE(doc, nullptr);
    Worksheet& ws = doc->GetWorksheet();
    CellStore& store = ws.Store();
    store.SetCellText(kRoleRow, 1, "Comment");
    store.SetCellText(kRoleRow, 2, "Trg/In");
    for (int row = 0; row < 12; ++row) {
        store.SetCellText(ws.firstDataRow + row, 1, "1949-" + std::to_string(row + 1));
        store.SetCellText(ws.firstDataRow + row, 2, std::to_string(112 + 3 * row));
    }
    store.SetCellText(kRoleRow, 3, "Comment");
    store.SetCellText(ws.firstDataRow + 20, 3, "a note"); // further down

    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("air")); // ".csv" is added
    shell.prompts.saveFiles.push_back(csv);
    ASSERT_TRUE(frame.RouteCommand(CmdFileExport));
    const QByteArray written = FileBytes(csv + QStringLiteral(".csv"));
    ASSERT_FALSE(written.isEmpty());
    EXPECT_FALSE(doc->IsModified() && doc->PathName().endsWith(QStringLiteral(".csv")))
        << "the worksheet does not become the CSV file";
    EXPECT_TRUE(doc->PathName().isEmpty());

    // The batch tool's listing of the same worksheet saved to a file.
    const QString ows = dir.filePath(QStringLiteral("air.ows"));
    ASSERT_TRUE(doc->DoSave(ows));
    QProcess show;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    show.setProcessEnvironment(env);
    show.start(QStringLiteral(ORVALIS_BATCH_TOOL), {QStringLiteral("show"), ows, QStringLiteral("--auto-sizing"), QStringLiteral("off")});
    ASSERT_TRUE(show.waitForFinished(60000));
    EXPECT_EQ(written.toStdString(), show.readAllStandardOutput().toStdString());
    const QList<QByteArray> lines = written.split('\n');
    EXPECT_EQ(lines.size(), ws.firstDataRow + 21 + 1) << "rows to the last one used, then the end";
    EXPECT_EQ(lines[0].count(','), 6) << "columns to the header block's last one";

    // A file that cannot be written is reported, naming it.
    shell.prompts.saveFiles.push_back(dir.filePath(QStringLiteral("no/such/dir/x.csv")));
    shell.prompts.log.clear();
    frame.RouteCommand(CmdFileExport);
    ASSERT_EQ(shell.prompts.log.size(), 1u);
    EXPECT_EQ(shell.prompts.log[0].text, "Error: Cannot write file x.csv");
}

} // namespace
} // namespace orvalis::test
