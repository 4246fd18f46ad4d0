// Printing from the grid window: the print dialog and the preview over the sheet's
// pages, which a GridPrinter draws from the cells alone.

#include "grid/GridCtrl.h"
#include "shell/core/AppTitle.h"
#include "shell/core/QtOutputFile.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace orvalis {

QString CGridCtrl::WindowTitleForPrint() const
{
    if (!printTitle.isEmpty())
        return printTitle;
    for (const QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        QString title = w->windowTitle();
        title.remove(QStringLiteral("[*]"));
        // The worksheet window marks unsaved changes with a trailing star; paper shows
        // the worksheet's name only.
        if (title.endsWith(QLatin1Char('*')))
            title.chop(1);
        if (!title.isEmpty())
            return title;
    }
    return QString();
}

GridPrinter CGridCtrl::MakePrinter() const
{
    GridPrinter printer(m_store, m_options);
    printer.title = WindowTitleForPrint();
    return printer;
}

int CGridCtrl::PrintTo(QPrinter& printer) const
{
    return MakePrinter().PrintTo(printer);
}

int CGridCtrl::PrintToPdf(const QPrinter& printer, QByteArray& bytes) const
{
    return MakePrinter().PrintToPdf(printer, bytes);
}

void CGridCtrl::Print(const QPageLayout* pageLayout)
{
    QPrinter printer(QPrinter::HighResolution);
    if (pageLayout)
        printer.setPageLayout(*pageLayout);
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    // The page range offers the pages there are; all of them stay chosen.
    if (const int pages = PrintPageCount(printer); pages > 0) {
        dialog.setMinMax(1, pages);
        printer.setFromTo(1, pages);
        printer.setPrintRange(QPrinter::AllPages);
    }
    AddPrintOptions(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A PDF file chosen in the dialog is written as every file of the program is: whole
    // or not at all, and a full disk is reported.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QByteArray bytes;
        const QString path = printer.outputFileName();
        if (PrintToPdf(printer, bytes) > 0 && !WriteOutputFile(path, bytes)) {
            // A folder has no file name to show: the path says what was asked for.
            const QString name = QFileInfo(path).fileName();
            QMessageBox::warning(this, AppTitle(),
                                 tr("Error: Cannot write file %1").arg(name.isEmpty() ? path : name));
        }
        return;
    }
    PrintTo(printer);
}

void CGridCtrl::PrintPreview(const QPageLayout* pageLayout)
{
    QPrinter printer(QPrinter::HighResolution);
    if (pageLayout)
        printer.setPageLayout(*pageLayout);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setAccessibleName(QStringLiteral("Print Preview"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { PrintTo(*target); });
    AddPreviewOptions(dialog);
    dialog.exec();
}

} // namespace orvalis
