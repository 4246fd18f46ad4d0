#include "shell/DocManager.h"
#include "shell/HelpPages.h"
#include "shell/MainFrame.h"
#include "shell/WindowArrangement.h"
#include "shell/WorksheetApp.h"
#include "shell/WorksheetCommands.h"
#include "worksheet/ui/ImportCommandUi.h"

#include <QMdiArea>
#include <QStatusBar>
#include <QToolBar>

namespace orvalis {

void BindFrameCommands(CommandTarget& target, CMainFrame& frame, CWorksheetApp& app)
{
    DocManager& docs = app.Docs();
    target
        .On(CmdFileImport,
            [&docs] {
                if (CGridDoc* doc = docs.ActiveDocument())
                    RunImportCommand(*doc);
            })
        .EnabledWhen([&docs] { return docs.ActiveDocument() != nullptr; });

    target
        .On(CmdViewToolbar, [&frame] { frame.ToolBar().setVisible(!frame.ToolBar().isVisible()); })
        .CheckedWhen([&frame] { return frame.ToolBar().isVisible(); });
    target
        .On(CmdViewStatusBar,
            [&frame] { frame.statusBar()->setVisible(!frame.statusBar()->isVisible()); })
        .CheckedWhen([&frame] { return frame.statusBar()->isVisible(); });

    UiPrompts& prompts = app.Prompts();
    target.On(CmdFrameHelpTopics, [&prompts] { OpenHelpPage(kHelpPage, prompts); });
    target.On(CmdFrameFaq, [&prompts] { OpenHelpPage(kFaqPage, prompts); });

    const auto anyWindow = [&docs] { return docs.ActiveFrame() != nullptr; };
    target
        .On(CmdWindowNew,
            [&docs] {
                if (CChildFrame* active = docs.ActiveFrame())
                    docs.NewWindow(*active);
            })
        .EnabledWhen(anyWindow);
    QMdiArea& area = frame.MdiArea();
    target.On(CmdWindowCascade, [&area] { CascadeWindows(area); }).EnabledWhen(anyWindow);
    target.On(CmdWindowTile, [&area] { area.tileSubWindows(); }).EnabledWhen(anyWindow);
    target.On(CmdWindowArrange, [&area] { ArrangeIcons(area); }).EnabledWhen(anyWindow);

    // The toolbar's Train and Evaluate buttons run the active worksheet's commands and
    // share their enabled state; without a worksheet there is nothing to run them on.
    for (const auto& [button, command] :
         {std::pair{CmdToolbarTrain, CmdTrain}, std::pair{CmdToolbarEvaluate, CmdEvaluate}}) {
        target.On(button, [&frame, command] { frame.RouteCommand(command); })
            .EnabledWhen([&frame, &docs, command] {
                return docs.ActiveFrame() != nullptr && frame.CommandStateOf(command).enabled;
            });
    }
}

}  // namespace orvalis
