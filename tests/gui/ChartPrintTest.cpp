#include "ShellTestSupport.h"

#include "shell/core/AppTitle.h"
#include "shell/core/QtSettingsStore.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/WorksheetGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orvalis::test {
namespace {

// The remembered chart switch lives in the user's settings, which Qt's test mode puts in
// one folder for every test process: two of these tests running at once would change
// each other's switch. Each test keeps its settings in a folder of its own.
void OwnSettingsFolder()
{
    static QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}

struct PreviewSeen {
    int pages = -1;         // pages shown when the preview opened
    int pagesToggled = -1;  // after the chart page switch was turned
    bool switchOn = false;  // the switch as the preview opened
};

// Opens the worksheet's print preview, reads its page count, turns the chart page
// switch once, reads the count again and closes the preview.
PreviewSeen PreviewAndToggle(CWorksheetGrid& grid)
{
    PreviewSeen seen;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        QAction* chartPage = nullptr;
        for (QAction* action : dialog->findChild<QToolBar*>()->actions())
            if (action->text() == ChartPageOptionText())
                chartPage = action;
        if (preview && chartPage) {
            preview->updatePreview();
            seen.pages = preview->pageCount();
            seen.switchOn = chartPage->isChecked();
            chartPage->trigger();
            seen.pagesToggled = preview->pageCount();
        }
        dialog->reject();
    });
    grid.PrintPreview();
    return seen;
}

// The preview's tool bar switch adds or takes away the chart page at once and is
// remembered for the next preview; a worksheet without anything to chart never gets
// the page.
TEST(ChartPrint, PreviewSwitchAddsTheChartPageAndIsRemembered)
{
    GuiApp();
    OwnSettingsFolder();
    AppSettings settings;
    ScriptedPrompts prompts;
    CGridDoc doc{settings, prompts};
    CGridView view{doc};
    Worksheet& ws = doc.GetWorksheet();
    CWorksheetGrid& grid = view.Grid();

    const PreviewSeen nothingToDraw = PreviewAndToggle(grid);
    ASSERT_GT(nothingToDraw.pages, 0);
    EXPECT_EQ(nothingToDraw.pagesToggled, nothingToDraw.pages);

    ws.Store().SetCellText(kRoleRow, 1, "Trg/In");
    for (int row = 0; row < 40; ++row)
        ws.Store().SetCellText(ws.firstDataRow + row, 1, std::to_string(100 + row % 7));
    const PreviewSeen first = PreviewAndToggle(grid);
    const bool wasOn = !nothingToDraw.switchOn;  // toggled once in the preview before
    EXPECT_EQ(first.switchOn, wasOn);
    EXPECT_EQ(first.pagesToggled, first.pages + (wasOn ? -1 : 1));
    EXPECT_EQ(StoredPrintChartPage(), !wasOn);

    const PreviewSeen second = PreviewAndToggle(grid);
    EXPECT_EQ(second.switchOn, !wasOn);
    EXPECT_EQ(second.pages, first.pagesToggled);
    EXPECT_EQ(second.pagesToggled, first.pages);
}

// The print dialog's "Chart" tab: a cancelled dialog leaves the remembered switch as it
// was, an accepted one takes the box as ticked before the pages are printed.
TEST(ChartPrint, PrintDialogTakesTheChartBoxOnlyWhenAccepted)
{
    GuiApp();
    OwnSettingsFolder();
    AppSettings settings;
    ScriptedPrompts prompts;
    CGridDoc doc{settings, prompts};
    CGridView view{doc};
    CWorksheetGrid& grid = view.Grid();
    QTemporaryDir dir; // where printing to a file lands
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(dir.path());

    const bool before = StoredPrintChartPage();
    for (const bool accept : {false, true}) {
        bool boxFound = false;
        QTimer::singleShot(0, [&boxFound, accept, &dir] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            // Without a file name this platform's dialog prints to the home folder
            // itself, which cannot be written: a message box would wait for an answer.
            if (auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
                file->setText(dir.filePath(QStringLiteral("print.pdf")));
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
                if (box->text() == ChartPageOptionText()) {
                    boxFound = true;
                    box->setChecked(!box->isChecked());
                }
            accept ? dialog->accept() : dialog->reject();
        });
        grid.Print();
        ASSERT_TRUE(boxFound);
        EXPECT_EQ(StoredPrintChartPage(), accept ? !before : before) << accept;
        if (accept) {
            EXPECT_EQ(grid.printChartPage, !before);
        }
    }
    QDir::setCurrent(oldDir);
}

// The switch and the chart pane's splitter are kept in the settings store as the
// program always kept them: a switch stored as a setting of its own type by an earlier
// version reads back, and the splitter's layout comes back as the bytes it was.
TEST(ChartPrint, WindowSettingsReadWhatEarlierVersionsStored)
{
    GuiApp();
    OwnSettingsFolder();
    for (const bool on : {true, false}) {
        QSettings(CompanyName(), AppTitle()).setValue(QStringLiteral("Window/PrintChartPage"), on);
        EXPECT_EQ(StoredPrintChartPage(), on) << on;
    }
    const QByteArray layout("\x00\xff splitter\n", 12);
    QtSettingsStore().WriteBytes("Window", "ChartSplitter", layout);
    EXPECT_EQ(QSettings(CompanyName(), AppTitle()).value(QStringLiteral("Window/ChartSplitter")).toByteArray(),
              layout);
    EXPECT_EQ(QtSettingsStore().ReadBytes("Window", "ChartSplitter"), layout);
}

} // namespace
} // namespace orvalis::test
