#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

namespace orvalis {

class Worksheet;

// Paper for a PDF written without a window.
struct PdfPaper {
    QPageSize::PageSizeId size = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// Draws the worksheet's printed pages, exactly as File Print lays them out, as the bytes
// of a PDF file, with title in the centre of every page header. Builds no window, but
// needs a QApplication (the offscreen platform will do). The worksheet's grid is
// measured with the screen fonts first, as opening its window does. With chartPage, a
// worksheet whose chart has something to draw ends with a page of its chart, as
// printing it with that option does. Returns the number of pages; 0 when nothing could
// be drawn.
int DrawWorksheetPdf(Worksheet& worksheet, const QString& title, const PdfPaper& paper,
                     bool chartPage, QByteArray& bytes);

// The same written into the PDF file path through WriteOutputFile. Returns the number
// of pages written; 0 when the file could not be written.
int WriteWorksheetPdf(Worksheet& worksheet, const QString& title, const QString& path,
                      const PdfPaper& paper, bool chartPage = false);

} // namespace orvalis
