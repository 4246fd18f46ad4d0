#include "shell/CommandTable.h"

#include <array>

namespace orvalis {

namespace {

using H = CommandHandler;
using R = RunRule;

// Prompts exist only for the standard document and window commands; the program's
// own commands show none in the status bar.
constexpr std::array kCommands = {
    CommandInfo{CmdFileNew, "&New", "Ctrl+N", H::Application, "Create a new document\nNew", "new",
                "document-new", nullptr, R::Allowed},
    CommandInfo{CmdFileOpen, "&Open...", "Ctrl+O", H::Application,
                "Open an existing document\nOpen", "open", "document-open", nullptr, R::Refused},
    CommandInfo{CmdFileClose, "&Close", "", H::ChildFrame, "Close the active document\nClose",
                nullptr, nullptr, nullptr, R::RefusedWhileLocked},
    CommandInfo{CmdFileSave, "&Save", "Ctrl+S", H::Document, "Save the active document\nSave",
                "save", "document-save", nullptr, R::RefusedWhileLocked},
    CommandInfo{CmdFileSaveAs, "Save &As...", "", H::Document,
                "Save the active document with a new name\nSave As", nullptr, nullptr, nullptr, R::RefusedWhileLocked},
    CommandInfo{CmdFileImport, "Import", "", H::MainFrame, nullptr, nullptr, nullptr, nullptr, R::Refused},
    CommandInfo{CmdFileExport, "&Export...", "", H::Document,
                "Write the used part of the worksheet as a CSV file\nExport", nullptr, nullptr,
                nullptr, R::Allowed},
    CommandInfo{CmdFilePrint, "&Print...", "Ctrl+P", H::View, "Print the active document\nPrint",
                "print", "document-print", nullptr, R::Allowed},
    CommandInfo{CmdFilePrintPreview, "Print Pre&view", "", H::View,
                "Display full pages\nPrint Preview", nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdFilePrintSetup, "P&rint Setup...", "", H::Application,
                "Change the printer and printing options\nPrint Setup", nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdFileMru1, "<None>", "", H::Application, "Open this document", nullptr, nullptr,
                nullptr, R::Refused},
    CommandInfo{CmdFileMru2, nullptr, "", H::Application, "Open this document", nullptr, nullptr,
                nullptr, R::Refused},
    CommandInfo{CmdFileMru3, nullptr, "", H::Application, "Open this document", nullptr, nullptr,
                nullptr, R::Refused},
    CommandInfo{CmdFileMru4, nullptr, "", H::Application, "Open this document", nullptr, nullptr,
                nullptr, R::Refused},
    CommandInfo{CmdAppExit, "E&xit", "", H::Application,
                "Quit the application; prompts to save documents\nExit", nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdEditUndo, "&Undo", "Ctrl+Z, Alt+Backspace", H::Document,
                "Undo the last action\nUndo", nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdEditRedo, "&Redo", "Ctrl+Shift+Z, Ctrl+Y", H::Document,
                "Redo the previously undone action\nRedo", nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdEditCut, "Cu&t", "Ctrl+X, Shift+Del", H::Grid,
                "Cut the selection and put it on the Clipboard\nCut", "cut", "edit-cut", nullptr, R::RefusedWhileLocked},
    CommandInfo{CmdEditCopy, "&Copy", "Ctrl+C, Ctrl+Ins", H::Grid,
                "Copy the selection and put it on the Clipboard\nCopy", "copy", "edit-copy",
                nullptr, R::Allowed},
    CommandInfo{CmdEditPaste, "&Paste", "Ctrl+V, Shift+Ins", H::Grid,
                "Insert Clipboard contents\nPaste", "paste", "edit-paste", nullptr, R::RefusedWhileLocked},
    CommandInfo{CmdEditSelectAll, "Select All", "Ctrl+A", H::Grid,
                "Select the entire document\nSelect All", nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdViewToolbar, "&Toolbar", "", H::MainFrame,
                "Show or hide the toolbar\nToggle ToolBar", nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdViewStatusBar, "&Status Bar", "", H::MainFrame,
                "Show or hide the status bar\nToggle StatusBar", nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdViewChart, "&Chart", "Ctrl+Shift+C", H::View,
                "Show or hide the chart of the worksheet and its results\nChart", "chart",
                nullptr, nullptr, R::Allowed},
    CommandInfo{CmdTrain, "Train Orvalis", "", H::ChildFrame, nullptr, nullptr, nullptr, nullptr, R::Refused},
    CommandInfo{CmdEvaluate, "Evaluate Orvalis", "", H::ChildFrame, nullptr, nullptr, nullptr,
                nullptr, R::Refused},
    CommandInfo{CmdClearTraining, "Clear Training", "", H::ChildFrame, nullptr, nullptr, nullptr,
                nullptr, R::Refused},
    CommandInfo{CmdAutoConfigVectors, "Auto-Config Vectors", "", H::ChildFrame, nullptr, nullptr,
                nullptr, nullptr, R::Refused},
    CommandInfo{CmdNetworkParameters, "Orvalis Parameters", "", H::ChildFrame, nullptr, nullptr,
                nullptr, nullptr, R::Refused},
    CommandInfo{CmdTrainingParameters, "Training Parameters", "", H::ChildFrame, nullptr, nullptr,
                nullptr, nullptr, R::Refused},
    CommandInfo{CmdResultParameters, "Result Parameters", "", H::ChildFrame, nullptr, nullptr,
                nullptr, nullptr, R::Refused},
    CommandInfo{CmdDisplayColors, "Display Colors", "", H::ChildFrame, nullptr, nullptr, nullptr,
                nullptr, R::Allowed},
    CommandInfo{CmdForecastingOptions, "Forecasting...", "", H::ChildFrame, nullptr, nullptr,
                nullptr, nullptr, R::Refused},
    CommandInfo{CmdWindowNew, "&New Window", "", H::MainFrame,
                "Open another window for the active document\nNew Window", nullptr, nullptr,
                nullptr, R::RefusedWhileLocked},
    CommandInfo{CmdWindowCascade, "&Cascade", "", H::MainFrame,
                "Arrange windows so they overlap\nCascade Windows", nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdWindowTile, "&Tile", "", H::MainFrame,
                "Arrange windows as non-overlapping tiles\nTile Windows", nullptr, nullptr,
                nullptr, R::Allowed},
    CommandInfo{CmdWindowArrange, "&Arrange Icons", "", H::MainFrame,
                "Arrange icons at the bottom of the window\nArrange Icons", nullptr, nullptr,
                nullptr, R::Allowed},
    CommandInfo{CmdChildHelpTopics, "Help Topics", "", H::ChildFrame, nullptr, nullptr, nullptr,
                nullptr, R::Allowed},
    CommandInfo{CmdChildFaq, "Tavelle FAQ", "", H::ChildFrame, nullptr, nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdFrameHelpTopics, "Help Topics", "", H::MainFrame, nullptr, nullptr, nullptr,
                nullptr, R::Allowed},
    CommandInfo{CmdFrameFaq, "Tavelle FAQ", "", H::MainFrame, nullptr, nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdAppAbout, "&About Tavelle...", "", H::Application,
                "Display program information, version number and copyright\nAbout", "about",
                "help-about", nullptr, R::Allowed},
    CommandInfo{CmdToolbarTrain, nullptr, "", H::MainFrame, nullptr, "train", nullptr,
                "Train Orvalis", R::Refused},
    CommandInfo{CmdToolbarEvaluate, nullptr, "", H::MainFrame, nullptr, "evaluate", nullptr,
                "Evaluate Orvalis", R::Refused},
    CommandInfo{CmdNextPane, nullptr, "F6", H::None, nullptr, nullptr, nullptr, nullptr, R::Allowed},
    CommandInfo{CmdPrevPane, nullptr, "Shift+F6", H::None, nullptr, nullptr, nullptr, nullptr, R::Allowed},
};

}  // namespace

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

const char* HandlerName(CommandHandler handler)
{
    switch (handler) {
    case H::Grid:
        return "grid";
    case H::View:
        return "view";
    case H::Document:
        return "document";
    case H::ChildFrame:
        return "child frame";
    case H::Application:
        return "application";
    case H::MainFrame:
        return "main frame";
    case H::None:
        break;
    }
    return "none";
}

const std::vector<MenuLayout>& WorksheetMenus()
{
    static const std::vector<MenuLayout> menus = {
        {"&File",
         {CmdFileNew, CmdFileOpen, CmdFileClose, CmdFileSave, CmdFileSaveAs, CmdNone, CmdFileImport,
          CmdFileExport, CmdNone, CmdFilePrint, CmdFilePrintPreview, CmdFilePrintSetup, CmdNone, CmdFileMru1,
          CmdAppExit}},
        {"&Edit",
         {CmdEditUndo, CmdEditRedo, CmdNone, CmdEditCut, CmdEditCopy, CmdEditPaste, CmdEditSelectAll, CmdNone}},
        {"&View", {CmdViewToolbar, CmdViewStatusBar, CmdNone, CmdViewChart}},
        {"Actions", {CmdTrain, CmdEvaluate, CmdClearTraining, CmdAutoConfigVectors}},
        {"Configure",
         {CmdNetworkParameters, CmdTrainingParameters, CmdResultParameters, CmdForecastingOptions,
          CmdDisplayColors}},
        {"&Window",
         {CmdWindowNew, CmdWindowCascade, CmdWindowTile, CmdWindowArrange, CmdWindowList}},
        {"&Help", {CmdChildHelpTopics, CmdChildFaq, CmdAppAbout}},
    };
    return menus;
}

const std::vector<MenuLayout>& NoWorksheetMenus()
{
    static const std::vector<MenuLayout> menus = {
        {"&File", {CmdFileNew, CmdFileOpen, CmdNone, CmdFilePrintSetup, CmdNone, CmdAppExit}},
        {"&View", {CmdViewToolbar, CmdViewStatusBar}},
        {"&Help", {CmdFrameHelpTopics, CmdFrameFaq, CmdAppAbout}},
    };
    return menus;
}

const std::vector<int>& ToolbarLayout()
{
    static const std::vector<int> buttons = {
        CmdFileNew,         CmdFileOpen, CmdFileSave,  CmdNone,     CmdEditCut, CmdEditCopy,
        CmdEditPaste,       CmdNone,     CmdFilePrint, CmdAppAbout, CmdNone,    CmdToolbarTrain,
        CmdToolbarEvaluate, CmdViewChart,
    };
    return buttons;
}

}  // namespace orvalis
