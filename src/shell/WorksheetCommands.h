#pragma once

#include "shell/CommandTarget.h"

namespace orvalis {

class CChildFrame;
class CGridDoc;
class CGridView;
class CWorksheetApp;
class CWorksheetGrid;

// The commands of one worksheet window, one target per level of the route.
struct WorksheetCommandTargets {
    CommandTarget grid{CommandHandler::Grid};
    CommandTarget view{CommandHandler::View};
    CommandTarget document{CommandHandler::Document};
    CommandTarget frame{CommandHandler::ChildFrame};
};

// What a worksheet window's binders may reach. Callables capture the objects, not this.
struct WorksheetCommandContext {
    CWorksheetApp& app;
    CChildFrame& frame;
    CGridView& view;
    CWorksheetGrid& grid;
    CGridDoc& doc;
};

// Registers every command of a new worksheet window (called once per window).
void BindWorksheetCommands(CChildFrame& frame, CWorksheetApp& app);

// The binders of the four levels, each in its own file.
void BindGridCommands(CommandTarget& target, const WorksheetCommandContext& context);
void BindViewCommands(CommandTarget& target, const WorksheetCommandContext& context);
void BindDocumentCommands(CommandTarget& target, const WorksheetCommandContext& context);
void BindChildFrameCommands(CommandTarget& target, const WorksheetCommandContext& context);

// The application's and the main frame's commands.
class CMainFrame;
void BindApplicationCommands(CommandTarget& target, CWorksheetApp& app);
void BindFrameCommands(CommandTarget& target, CMainFrame& frame, CWorksheetApp& app);

}  // namespace orvalis
