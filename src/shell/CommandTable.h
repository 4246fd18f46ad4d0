#pragma once

#include "shell/CommandIds.h"

#include <span>
#include <vector>

namespace orvalis {

// The level that answers a command. A command travels from the active worksheet's grid
// to its view, document, child frame, the application and finally the main frame; the
// first that registered a callable for it takes it (CommandTarget.h). Commands of the
// first four levels exist only while a worksheet is open.
enum class CommandHandler {
    Grid,
    View,
    Document,
    ChildFrame,
    Application,
    MainFrame,
    None,  // no handler anywhere: shown disabled
};

// What a command may do while a training run dispatches events. Refused: it could
// start a second run, replace the worksheet or change its sections. Refused while
// locked: it would close, save or rewrite the worksheet that is being trained, so it
// is refused only when the active worksheet is that one.
enum class RunRule {
    Allowed,
    Refused,
    RefusedWhileLocked,
};

// One row of the command table.
struct CommandInfo {
    CommandId id;
    const char* menuText;  // with '&' mnemonic; nullptr for toolbar- or key-only commands
    const char* keys;      // key sequences separated by ", " (portable text); may be empty
    CommandHandler handler;
    const char* prompt;     // status-bar prompt "text\ntooltip"; nullptr for none
    const char* image;      // toolbar image ":/toolbar/<image>.svg"; nullptr for none
    const char* themeIcon;  // the desktop theme's icon for it, preferred when present
    const char* toolTip;    // tooltip when the prompt gives none
    RunRule duringRun;      // refused or not while a training run is going on
};

// The whole command vocabulary in menu order.
std::span<const CommandInfo> CommandTable();

// The row of id, or nullptr.
const CommandInfo* FindCommand(int id);

// The level's name, for messages and tests.
const char* HandlerName(CommandHandler handler);

// Menu layouts. CmdNone stands for a separator; CmdFileMru1 for the recent-file list
// (entries and the line after them); CmdWindowList for the list of open windows.
struct MenuLayout {
    const char* title;
    std::vector<int> items;
};

// Stands in a menu layout for the Window menu's list of open worksheet windows.
constexpr int CmdWindowList = -1;

// The menus while a worksheet is open.
const std::vector<MenuLayout>& WorksheetMenus();
// The menus while no worksheet is open.
const std::vector<MenuLayout>& NoWorksheetMenus();
// The toolbar's buttons in order; CmdNone is a gap.
const std::vector<int>& ToolbarLayout();

}  // namespace orvalis
