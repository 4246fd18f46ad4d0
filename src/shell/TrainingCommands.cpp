#include "shell/TrainingCommands.h"

#include "shell/CommandIds.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/TrainingController.h"

namespace orvalis {

bool RefusedDuringRun(const CTrainingController& training, int id, const CGridDoc* active)
{
    if (!training.IsRunning())
        return false;
    switch (id) {
    case CmdTrain:
    case CmdToolbarTrain:
    case CmdEvaluate:
    case CmdToolbarEvaluate:
    case CmdClearTraining:
    case CmdAutoConfigVectors:
    case CmdNetworkParameters:
    case CmdTrainingParameters:
    case CmdResultParameters:
    case CmdForecastingOptions:
    case CmdFileImport:
    case CmdFileOpen:
        return true;
    case CmdFileClose:
    case CmdFileSave:
    case CmdFileSaveAs:
    case CmdWindowNew:
    case CmdEditCut:
    case CmdEditPaste:
        return active && active->IsRunLocked();
    default:
        return id >= CmdFileMru1 && id < CmdFileMru1 + RecentFileCount;
    }
}

} // namespace orvalis
