#pragma once

namespace orvalis {

// Every command of the program under its fixed numeric id. Menus, keys, the toolbar
// and the routing are all built from the command table over these ids; the numbers
// are kept stable because the help pages and the status-bar prompts refer to them.
enum CommandId : int {
    CmdNone = 0,

    // File
    CmdFileNew = 57600,
    CmdFileOpen = 57601,
    CmdFileClose = 57602,
    CmdFileSave = 57603,
    CmdFileSaveAs = 57604,
    CmdFilePrintSetup = 57606,
    CmdFilePrint = 57607,
    CmdFilePrintPreview = 57609,
    CmdFileMru1 = 57616, // the entries of the recent-file list
    CmdFileMru2 = 57617,
    CmdFileMru3 = 57618,
    CmdFileMru4 = 57619,
    CmdFileImport = 32793,
    CmdFileExport = 32801,
    CmdAppExit = 57665,

    // Edit
    CmdEditCopy = 57634,
    CmdEditCut = 57635,
    CmdEditPaste = 57637,
    CmdEditSelectAll = 57642,
    CmdEditUndo = 57643,
    CmdEditRedo = 57644,

    // View
    CmdViewToolbar = 59392,
    CmdViewStatusBar = 59393,
    CmdViewChart = 32800,

    // Actions
    CmdTrain = 32772,
    CmdEvaluate = 32773,
    CmdClearTraining = 32782,
    CmdAutoConfigVectors = 32783,

    // Configure
    CmdNetworkParameters = 32774,
    CmdTrainingParameters = 32775,
    CmdResultParameters = 32776,
    CmdDisplayColors = 32784,
    CmdForecastingOptions = 32785,

    // Window
    CmdWindowNew = 57648,
    CmdWindowArrange = 57649,
    CmdWindowCascade = 57650,
    CmdWindowTile = 57651,

    // Help
    CmdChildHelpTopics = 32779,
    CmdChildFaq = 32781,
    CmdFrameHelpTopics = 32777,
    CmdFrameFaq = 32778,
    CmdAppAbout = 57664,

    // Toolbar only
    CmdToolbarTrain = 32791,
    CmdToolbarEvaluate = 32792,

    // Keys only, without effect
    CmdNextPane = 57680,
    CmdPrevPane = 57681,
};

// Number of entries in the recent-file list.
constexpr int RecentFileCount = 4;

} // namespace orvalis
