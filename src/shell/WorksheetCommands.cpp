#include "shell/WorksheetCommands.h"

#include "shell/ChildFrame.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/WorksheetGrid.h"
#include "worksheet/ui/WorksheetUndo.h"

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
    CWorksheetGrid& editing = context.grid;
    target.On(CmdFileExport, [&doc, &editing] {
        editing.EndEditing(); // the file holds what the window shows
        doc.DoExport();
    });

    // An edit still open in the window is stored first: it is the step the user sees
    // as the last one. Storing it would end the steps to redo, so Redo waits until the
    // edit is over.
    WorksheetUndo& undo = doc.Undo();
    CWorksheetGrid& grid = context.grid;
    target
        .On(CmdEditUndo,
            [&grid, &undo] {
                grid.EndEditing();
                undo.Undo();
            })
        .EnabledWhen([&grid, &undo] { return grid.IsEditing() || undo.CanUndo(); })
        .TextWhen([&undo] { return undo.UndoMenuText().toStdString(); });
    target
        .On(CmdEditRedo, [&undo] { undo.Redo(); })
        .EnabledWhen([&grid, &undo] { return !grid.IsEditing() && undo.CanRedo(); })
        .TextWhen([&undo] { return undo.RedoMenuText().toStdString(); });
}

}  // namespace orvalis
