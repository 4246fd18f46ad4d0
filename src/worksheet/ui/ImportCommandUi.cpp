#include "worksheet/ui/ImportCommandUi.h"

#include "worksheet/ImportCommand.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetLayout.h"
#include "worksheet/ui/GridDoc.h"
#include "worksheet/ui/ImportDialog.h"
#include "worksheet/ui/WorksheetUndo.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdint>

namespace orvalis {

QString ImportFileDialogFilter()
{
    QStringList entries;
    for (const ImportFileFilter& filter : kImportFileFilters)
        entries.append(QString::fromLatin1(filter.label));
    return entries.join(QStringLiteral(";;"));
}

void RunImportCommand(CGridDoc& doc)
{
    UiPrompts& prompts = doc.Prompts();
    const QString path = prompts.ChooseImportFile(ImportFileDialogFilter());
    if (path.isEmpty())
        return;
    CImportDialog dialog(prompts, QApplication::activeWindow());
    const std::int64_t rows = doc.GetWorksheet().Store().GetRowCount();
    dialog.SetMaxRow(static_cast<int>(std::max<std::int64_t>(kWorksheetRows, rows)));
    if (!prompts.RunDialog(dialog))
        return;
    const ImportParameters& parameters = dialog.Parameters();
    ImportRequest request;
    request.path = QFile::encodeName(path).toStdString();
    request.row = parameters.row;
    request.column = parameters.column;
    request.commentHeader = parameters.commentHeader;
    request.keepLastRows = parameters.keepLastRows;
    request.growRows = parameters.growRows;
    // A file that did not fit is said as always, then the worksheet offers to grow.
    request.offerGrowth = true;
    const WorksheetUndo::ProgramChange change(doc.Undo(),
                                              QStringLiteral("the import replaces the cells"));
    ImportFile(doc.GetWorksheet(), request);
}

} // namespace orvalis
