#include "shell/ChildFrame.h"
#include "shell/WorksheetCommands.h"

namespace orvalis {

// The worksheet-level commands: closing the window, the runs, the Configure dialogs,
// the colours and the help pages.
void BindChildFrameCommands(CommandTarget& target, const WorksheetCommandContext& context) {
    CChildFrame& frame = context.frame;
    target.On(CmdFileClose, [&frame] { frame.close(); });
}

} // namespace orvalis
