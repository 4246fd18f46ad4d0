#include "shell/ChildFrame.h"
#include "shell/ColorConfigDialog.h"
#include "shell/DocManager.h"
#include "shell/HelpPages.h"
#include "shell/MainFrame.h"
#include "shell/WorksheetApp.h"
#include "shell/WorksheetCommands.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/ConfigureForecastingDialog.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/TrainingController.h"
#include "worksheet/ui/UiPrompts.h"

namespace orvalis {

// The worksheet-level commands: closing the window, the runs, the Configure dialogs,
// the colours and the help pages.
void BindChildFrameCommands(CommandTarget& target, const WorksheetCommandContext& context)
{
    CChildFrame& frame = context.frame;
    target.On(CmdFileClose, [&frame] { frame.close(); });

    UiPrompts& prompts = context.app.Prompts();
    target.On(CmdChildHelpTopics, [&prompts] { OpenHelpPage(kHelpPage, prompts); });
    target.On(CmdChildFaq, [&prompts] { OpenHelpPage(kFaqPage, prompts); });
    CWorksheetApp& app = context.app;
    target.On(CmdDisplayColors, [&app] {
        ColorConfigDialog dialog(app.Settings(), app.MainFrame());
        app.Prompts().RunDialog(dialog);
        // The colours are the program's: every open worksheet's legend and row labels
        // take them at once.
        for (CGridDoc* doc : app.Docs().Documents())
            doc->GetWorksheet().UpdateRowLabels();
    });

    CTrainingController& training = context.app.MainFrame()->Training();
    CGridDoc& doc = context.doc;
    target.On(CmdTrain, [&training, &doc] { training.Train(doc); });
    target.On(CmdEvaluate, [&training, &doc] { training.Evaluate(doc); });
    target.On(CmdClearTraining, [&training, &doc] { training.ClearTraining(doc); });
    target.On(CmdAutoConfigVectors, [&training, &doc] { training.AutoConfigVectors(doc); });
    target.On(CmdNetworkParameters, [&training, &doc] { training.ConfigureNetwork(doc); });
    target.On(CmdTrainingParameters, [&training, &doc] { training.ConfigureTraining(doc); });
    target.On(CmdResultParameters, [&training, &doc] { training.ConfigureResults(doc); });
    // The options are the program's, not the worksheet's: they act from the next run.
    target.On(CmdForecastingOptions, [&training, &app] {
        if (training.IsRunning())
            return;
        CConfigureForecastingDialog dialog(app.Settings().forecast, app.Prompts(), app.MainFrame());
        app.Prompts().RunDialog(dialog);
    });
}

}  // namespace orvalis
