#include "shell/AboutBox.h"
#include "shell/DocManager.h"
#include "shell/MainFrame.h"
#include "shell/WorksheetApp.h"
#include "shell/WorksheetCommands.h"
#include "worksheet/ui/UiPrompts.h"

namespace orvalis {

void BindApplicationCommands(CommandTarget& target, CWorksheetApp& app)
{
    target.On(CmdFileNew, [&app] { app.Docs().NewDocument(); });
    target.On(CmdFileOpen, [&app] { app.Docs().PromptAndOpen(); });
    for (int i = 0; i < RecentFileCount; ++i)
        target.On(CmdFileMru1 + i, [&app, i] { app.OpenRecentFile(i); });
    target.On(CmdFilePrintSetup, [&app] { app.PrintSetup(); });
    target.On(CmdAppAbout, [&app] {
        AboutBox box(app.MainFrame());
        app.Prompts().RunDialog(box);
    });
    target.On(CmdAppExit, [&app] { app.MainFrame()->close(); });
}

}  // namespace orvalis
