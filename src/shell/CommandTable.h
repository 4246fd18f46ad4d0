#pragma once

#include "shell/CommandIds.h"

#include <span>
#include <vector>

namespace orvalis {

// Who answers a command. A command travels from the active worksheet's grid to its
// view, document, child frame, the application and finally the main frame; the first
// that has a handler takes it. Commands of the first four need an open worksheet and
// are disabled without one.
enum class CommandHandler {
    Grid,
    View,
    Document,
    ChildFrame,
    Application,
    MainFrame,
    None,  // no handler anywhere: shown disabled
};

// One row of the command table.
struct CommandInfo {
    CommandId id;
    const char* menuText;  // with '&' mnemonic; nullptr for toolbar- or key-only commands
    const char* keys;      // key sequences separated by ", " (portable text); may be empty
    CommandHandler handler;
    const char* prompt;    // status-bar prompt "text\ntooltip"; nullptr for none
};

// The whole command vocabulary in menu order.
std::span<const CommandInfo> CommandTable();

// The row of id, or nullptr.
const CommandInfo* FindCommand(int id);

// True when the command needs an open worksheet to be handled.
bool NeedsWorksheet(const CommandInfo& info);

// Menu layouts. CmdNone stands for a separator; CmdFileMru1 for the recent-file list
// (entries and the line after them appear only when the list is not empty).
struct MenuLayout {
    const char* title;
    std::vector<int> items;
};

// The menus while a worksheet is open.
const std::vector<MenuLayout>& WorksheetMenus();
// The menus while no worksheet is open.
const std::vector<MenuLayout>& NoWorksheetMenus();

} // namespace orvalis
