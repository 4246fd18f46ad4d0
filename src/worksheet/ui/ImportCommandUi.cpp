#include "worksheet/ui/ImportCommandUi.h"

#include "worksheet/ImportCommand.h"
#include "worksheet/Worksheet.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/ImportDialog.h"

#include <QApplication>
#include <QFile>

namespace orvalis {

QString ImportFileFilter()
{
    return QStringLiteral("Comma Seperated Var Files (*.csv);;Text Tab Delimited Files (*.txt);;"
                          "All Files (*)");
}

void RunImportCommand(CGridDoc& doc)
{
    UiPrompts& prompts = doc.Prompts();
    const QString path = prompts.ChooseOpenFile(ImportFileFilter());
    if (path.isEmpty())
        return;
    CImportDialog dialog(prompts, QApplication::activeWindow());
    if (!prompts.RunDialog(dialog))
        return;
    const ImportParameters& parameters = dialog.Parameters();
    ImportRequest request;
    request.path = QFile::encodeName(path).toStdString();
    request.row = parameters.row;
    request.column = parameters.column;
    request.commentHeader = parameters.commentHeader;
    ImportFile(doc.GetWorksheet(), request);
}

} // namespace orvalis
