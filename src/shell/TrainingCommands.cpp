#include "shell/TrainingCommands.h"

#include "shell/CommandTable.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/TrainingController.h"

namespace orvalis {

bool RefusedDuringRun(const CTrainingController& training, int id, const CGridDoc* active)
{
    if (!training.IsRunning())
        return false;
    const CommandInfo* command = FindCommand(id);
    if (!command)
        return false;
    switch (command->duringRun) {
    case RunRule::Refused:
        return true;
    case RunRule::RefusedWhileLocked:
        return active && active->IsRunLocked();
    case RunRule::Allowed:
        break;
    }
    return false;
}

} // namespace orvalis
