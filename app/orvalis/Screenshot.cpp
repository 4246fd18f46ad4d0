#include "Screenshot.h"

#include "shell/CommandIds.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/MessageBoxPrompts.h"
#include "shell/WorksheetApp.h"
#include "worksheet/ImportCommand.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/TrainingController.h"
#include "worksheet/ui/TrainingProgressDialog.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace orvalis {

namespace {

// Messages of the picture run go to stderr: nobody is there to close a box.
class StderrPrompts final : public UiPrompts {
public:
    void Error(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void Information(const std::string& text) override { Error(text); }
    void Plain(const std::string& text) override { Error(text); }
    bool Ask(const std::string& text) override
    {
        Error(text);
        return true;
    }
    SaveAnswer AskSaveChanges(const QString&) override { return SaveAnswer::No; }
    QString ChooseOpenFile(const QString&) override { return {}; }
    QString ChooseSaveFile(const QString&, const QString&) override { return {}; }
    bool RunDialog(QDialog&) override { return false; }
};

} // namespace

int RunScreenshot(const QStringList& arguments)
{
    const int at = arguments.indexOf(QStringLiteral("--screenshot"));
    if (at < 0)
        return -1;
    const QString output = arguments.value(at + 1);
    if (output.isEmpty()) {
        std::fprintf(stderr, "--screenshot needs a file name\n");
        return 2;
    }

    QTemporaryDir dir;
    MemorySettingsStore store;
    QSettings recentStore(dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    StderrPrompts prompts;
    CWorksheetApp app(store, recentStore, prompts);
    if (!app.StartUp())
        return 1;
    CMainFrame& frame = *app.MainFrame();
    const int sizeAt = arguments.indexOf(QStringLiteral("--size"));
    const QStringList size = arguments.value(sizeAt + 1).split(QLatin1Char('x'));
    if (sizeAt >= 0 && size.size() == 2)
        frame.resize(size[0].toInt(), size[1].toInt());
    else
        frame.resize(1100, 640);
    Worksheet& sheet = app.Docs().ActiveDocument()->GetWorksheet();

    const int importAt = arguments.indexOf(QStringLiteral("--import"));
    if (importAt >= 0) {
        ImportRequest request;
        request.path = QFile::encodeName(arguments.value(importAt + 1)).toStdString();
        request.commentHeader = true;
        if (!ImportFile(sheet, request).imported)
            return 3;
    }
    for (int i = 0; i < arguments.size() - 1; ++i) {
        if (arguments[i] != QStringLiteral("--role"))
            continue;
        const QStringList parts = arguments[i + 1].split(QLatin1Char('='));
        if (parts.size() == 2)
            sheet.ApplyCellEdit(kRoleRow, parts[0].toInt(), parts[1].toStdString());
    }
    if (importAt >= 0)
        sheet.AutoConfigureSections(app.Settings().resultsMode);
    // Train as Actions > Train does; the Training Operation window is a window of its
    // own and not part of the picture.
    if (arguments.contains(QStringLiteral("--train"))) {
        frame.RouteCommand(CmdTrain);
        if (QWidget* progress = frame.Training().ProgressDialog())
            progress->close();
    }
    if (arguments.contains(QStringLiteral("--chart")))
        frame.RouteCommand(CmdViewChart);

    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    if (!frame.grab().save(output, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 3;
    }
    app.Docs().ActiveDocument()->SetModifiedFlag(false);
    return 0;
}

} // namespace orvalis
