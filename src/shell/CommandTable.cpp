#include "shell/CommandTable.h"

#include <array>

namespace orvalis {

namespace {

using H = CommandHandler;

// Prompts exist only for the standard document and window commands; the program's
// own commands show none.
constexpr std::array kCommands = {
    CommandInfo{CmdFileNew, "&New", "Ctrl+N", H::Application, "Create a new document\nNew"},
    CommandInfo{CmdFileOpen, "&Open...", "Ctrl+O", H::Application,
                "Open an existing document\nOpen"},
    CommandInfo{CmdFileClose, "&Close", "", H::ChildFrame, "Close the active document\nClose"},
    CommandInfo{CmdFileSave, "&Save", "Ctrl+S", H::Document, "Save the active document\nSave"},
    CommandInfo{CmdFileSaveAs, "Save &As...", "", H::Document,
                "Save the active document with a new name\nSave As"},
    CommandInfo{CmdFileImport, "Import", "", H::MainFrame, nullptr},
    CommandInfo{CmdFilePrint, "&Print...", "Ctrl+P", H::View, "Print the active document\nPrint"},
    CommandInfo{CmdFilePrintPreview, "Print Pre&view", "", H::View,
                "Display full pages\nPrint Preview"},
    CommandInfo{CmdFilePrintSetup, "P&rint Setup...", "", H::Application,
                "Change the printer and printing options\nPrint Setup"},
    CommandInfo{CmdFileMru1, "<None>", "", H::Application, "Open this document"},
    CommandInfo{CmdAppExit, "E&xit", "", H::Application,
                "Quit the application; prompts to save documents\nExit"},
    CommandInfo{CmdEditUndo, "&Undo", "Ctrl+Z, Alt+Backspace", H::None, "Undo the last action\nUndo"},
    CommandInfo{CmdEditCut, "Cu&t", "Ctrl+X, Shift+Del", H::Grid,
                "Cut the selection and put it on the Clipboard\nCut"},
    CommandInfo{CmdEditCopy, "&Copy", "Ctrl+C, Ctrl+Ins", H::Grid,
                "Copy the selection and put it on the Clipboard\nCopy"},
    CommandInfo{CmdEditPaste, "&Paste", "Ctrl+V, Shift+Ins", H::Grid,
                "Insert Clipboard contents\nPaste"},
    CommandInfo{CmdEditSelectAll, "Select All", "Ctrl+A", H::Grid,
                "Select the entire document\nSelect All"},
    CommandInfo{CmdViewToolbar, "&Toolbar", "", H::MainFrame,
                "Show or hide the toolbar\nToggle ToolBar"},
    CommandInfo{CmdViewStatusBar, "&Status Bar", "", H::MainFrame,
                "Show or hide the status bar\nToggle StatusBar"},
    CommandInfo{CmdTrain, "Train Orvalis", "", H::ChildFrame, nullptr},
    CommandInfo{CmdEvaluate, "Evaluate Orvalis", "", H::ChildFrame, nullptr},
    CommandInfo{CmdClearTraining, "Clear Training", "", H::ChildFrame, nullptr},
    CommandInfo{CmdAutoConfigVectors, "Auto-Config Vectors", "", H::ChildFrame, nullptr},
    CommandInfo{CmdNetworkParameters, "Orvalis Parameters", "", H::ChildFrame, nullptr},
    CommandInfo{CmdTrainingParameters, "Training Parameters", "", H::ChildFrame, nullptr},
    CommandInfo{CmdResultParameters, "Result Parameters", "", H::ChildFrame, nullptr},
    CommandInfo{CmdDisplayColors, "Display Colors", "", H::ChildFrame, nullptr},
    CommandInfo{CmdWindowNew, "&New Window", "", H::MainFrame,
                "Open another window for the active document\nNew Window"},
    CommandInfo{CmdWindowCascade, "&Cascade", "", H::MainFrame,
                "Arrange windows so they overlap\nCascade Windows"},
    CommandInfo{CmdWindowTile, "&Tile", "", H::MainFrame,
                "Arrange windows as non-overlapping tiles\nTile Windows"},
    CommandInfo{CmdWindowArrange, "&Arrange Icons", "", H::MainFrame,
                "Arrange icons at the bottom of the window\nArrange Icons"},
    CommandInfo{CmdChildHelpTopics, "Help Topics", "", H::ChildFrame, nullptr},
    CommandInfo{CmdChildFaq, "Tavelle FAQ", "", H::ChildFrame, nullptr},
    CommandInfo{CmdFrameHelpTopics, "Help Topics", "", H::MainFrame, nullptr},
    CommandInfo{CmdFrameFaq, "Tavelle FAQ", "", H::MainFrame, nullptr},
    CommandInfo{CmdAppAbout, "&About Tavelle...", "", H::Application,
                "Display program information, version number and copyright\nAbout"},
    CommandInfo{CmdToolbarTrain, nullptr, "", H::MainFrame, nullptr},
    CommandInfo{CmdToolbarEvaluate, nullptr, "", H::MainFrame, nullptr},
    CommandInfo{CmdNextPane, nullptr, "F6", H::None, nullptr},
    CommandInfo{CmdPrevPane, nullptr, "Shift+F6", H::None, nullptr},
};

} // namespace

std::span<const CommandInfo> CommandTable()
{
    return kCommands;
}

const CommandInfo* FindCommand(int id)
{
    for (const CommandInfo& c : kCommands) {
        if (c.id == id)
            return &c;
    }
    return nullptr;
}

bool NeedsWorksheet(const CommandInfo& info)
{
    switch (info.handler) {
    case H::Grid:
    case H::View:
    case H::Document:
    case H::ChildFrame:
        return true;
    default:
        return info.id == CmdFileImport;  // imports into the active worksheet
    }
}

// The File menu carries what the document machinery offers today; the remaining menus
// join as their commands get handlers.
const std::vector<MenuLayout>& WorksheetMenus()
{
    static const std::vector<MenuLayout> menus = {
        {"&File",
         {CmdFileNew, CmdFileOpen, CmdFileClose, CmdFileSave, CmdFileSaveAs, CmdNone,
          CmdFileImport, CmdNone, CmdFileMru1, CmdAppExit}},
    };
    return menus;
}

const std::vector<MenuLayout>& NoWorksheetMenus()
{
    static const std::vector<MenuLayout> menus = {
        {"&File", {CmdFileNew, CmdFileOpen, CmdNone, CmdAppExit}},
    };
    return menus;
}

} // namespace orvalis
