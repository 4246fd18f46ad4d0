#include "shell/WorksheetCommands.h"

#include "shell/ChildFrame.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"

namespace orvalis {

void BindWorksheetCommands(CChildFrame& frame, CWorksheetApp& app)
{
    WorksheetCommandTargets& targets = frame.Commands();
    const WorksheetCommandContext context{app, frame, frame.View(), frame.View().Grid(),
                                          frame.Document()};
    BindGridCommands(targets.grid, context);
    BindViewCommands(targets.view, context);
    BindDocumentCommands(targets.document, context);
    BindChildFrameCommands(targets.frame, context);
}

void BindDocumentCommands(CommandTarget& target, const WorksheetCommandContext& context)
{
    CGridDoc& doc = context.doc;
    target.On(CmdFileSave, [&doc] { doc.DoFileSave(); });
    target.On(CmdFileSaveAs, [&doc] { doc.DoSaveAs(); });
}

}  // namespace orvalis
