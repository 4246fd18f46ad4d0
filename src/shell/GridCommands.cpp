#include "shell/WorksheetApp.h"
#include "shell/WorksheetCommands.h"
#include "worksheet/ui/GridView.h"
#include "worksheet/ui/WorksheetGrid.h"

namespace orvalis {

// The clipboard commands follow the grid's own enable rules, as its context menu does.
void BindGridCommands(CommandTarget& target, const WorksheetCommandContext& context)
{
    CWorksheetGrid& grid = context.grid;
    target.On(CmdEditCut, [&grid] { grid.OnEditCut(); }).EnabledWhen([&grid] {
        return grid.CanCut();
    });
    target.On(CmdEditCopy, [&grid] { grid.OnEditCopy(); }).EnabledWhen([&grid] {
        return grid.CanCopy();
    });
    target.On(CmdEditPaste, [&grid] { grid.OnEditPaste(); }).EnabledWhen([&grid] {
        return grid.CanPaste();
    });
    target.On(CmdEditSelectAll, [&grid] { grid.OnEditSelectAll(); }).EnabledWhen([&grid] {
        return grid.CanSelectAll();
    });
}

// Printing starts from the page set up with Print Setup, when there was one.
void BindViewCommands(CommandTarget& target, const WorksheetCommandContext& context)
{
    CWorksheetGrid& grid = context.grid;
    CWorksheetApp& app = context.app;
    target.On(CmdFilePrint, [&grid, &app] { grid.Print(app.PrintPageLayout()); });
    target.On(CmdFilePrintPreview, [&grid, &app] { grid.PrintPreview(app.PrintPageLayout()); });
    CGridView& view = context.view;
    target.On(CmdViewChart, [&view] { view.ShowChart(!view.ChartShown()); }).CheckedWhen([&view] {
        return view.ChartShown();
    });
}

}  // namespace orvalis
