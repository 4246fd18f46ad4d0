#include "shell/TrainingCommands.h"

#include "shell/CommandIds.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/TrainingController.h"

namespace orvalis {

bool RouteTrainingCommand(CTrainingController& training, int id, CGridDoc* active)
{
    switch (id) {
    case CmdTrain:
    case CmdToolbarTrain:
        if (active)
            training.Train(*active);
        return true;
    case CmdEvaluate:
    case CmdToolbarEvaluate:
        if (active)
            training.Evaluate(*active);
        return true;
    case CmdClearTraining:
        if (active)
            training.ClearTraining(*active);
        return true;
    case CmdAutoConfigVectors:
        if (active)
            training.AutoConfigVectors(*active);
        return true;
    case CmdNetworkParameters:
        if (active)
            training.ConfigureNetwork(*active);
        return true;
    case CmdTrainingParameters:
        if (active)
            training.ConfigureTraining(*active);
        return true;
    case CmdResultParameters:
        if (active)
            training.ConfigureResults(*active);
        return true;
    default:
        return false;
    }
}

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
