#pragma once

#include "grid/FontCache.h"
#include "grid/core/CellStore.h"
#include "grid/core/GridGeometry.h"
#include "grid/core/GridPagination.h"
#include "grid/core/GridViewOptions.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QByteArray;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPrinter;

namespace orvalis {

// The printed pages of a cell store, drawn without any window: every page shows the
// whole width of the printed part of the sheet scaled to the paper, the fixed rows on
// top, as many whole rows as fit, a header with the titles and a footer with the page
// number and the time of printing. Paper shows the cells' texts and colours between
// plain grid lines: no selection, focus or raised title edges.
//
// Reads the store only, through its getters, and draws it with a view's colours and
// grid lines (the window's own, or those a window would have). The store must outlive
// the printer and stay unchanged from Begin to the last page printed.
class GridPrinter {
public:
    GridPrinter(const CellStore& store, const GridViewOptions& look);

    // The job, set before Begin ------------------------------------------------------
    QString title;    // centred in every page header
    QString appTitle; // right-aligned in every page header; the application's title
    // The part of the sheet that is printed: rows 0..row-1 and columns 0..col-1 (counts,
    // fixed rows and columns included), held to the store's counts. Unset: all of it.
    std::optional<CellId> extent;
    // The time in every footer; empty: the locale's date and time when Begin runs.
    QString printedAt;
    // Draws one more page after the grid's pages, between the same header and footer:
    // painter works in the page's units (as the grid pages do), body is the part between
    // header and footer with a line's gap either side. Unset: no such page. A sheet with
    // nothing to print gets no closing page either.
    std::function<void(QPainter& painter, const QRect& body)> closingPage;

    // One job -------------------------------------------------------------------------
    // Measures the print font on device and paginates. False (nothing to print) when the
    // printed part has only fixed rows or no column, or the paper has no size.
    bool Begin(QPaintDevice& device);
    // Pages of the job from Begin, the closing page included; 0 before Begin.
    int PageCount() const;
    // Prints page (from 1) of the job with painter, which draws on a device of the size
    // Begin measured. A page out of range draws nothing.
    void PrintPage(QPainter& painter, int page);

    // The job's page geometry and the first sheet row of each grid page, after Begin.
    const PrintPageLayout& Layout() const { return m_layout; }
    const std::vector<int>& PageStarts() const { return m_pageStarts; }

    // Whole jobs ----------------------------------------------------------------------
    // The number of pages printed on device (a printer as set up), without printing; 0
    // when there is nothing to print.
    int CountPages(QPaintDevice& device);
    // Prints pages firstPage to lastPage (0: to the last) on device. Returns the number
    // of pages printed; 0 when the device refused to start or there is nothing to print.
    int PrintPages(QPagedPaintDevice& device, int firstPage, int lastPage);
    // Every page, or the printer's page range, on printer; the number printed as above.
    int PrintTo(QPrinter& printer);
    // The pages PrintTo would print, as the bytes of a PDF file laid out as printer is
    // (paper, margins, resolution, page range, creator and title); the printer itself is
    // not used. Returns the number of pages, 0 as above.
    int PrintToPdf(const QPrinter& printer, QByteArray& bytes);

private:
    int GridPageCount() const { return static_cast<int>(m_pageStarts.size()); }
    int ContentWidth() const { return m_layout.pageWidth - 8 * m_layout.charWidth; }
    void PrintHeader(QPainter& painter, const QRect& band);
    void PrintFooter(QPainter& painter, QRect band, int page);
    void PrintRows(QPainter& painter, int firstRow, int endRow, bool fixed);
    void PrintGridLines(QPainter& painter, int firstRow, int endRow);
    void DrawFixedCell(QPainter& painter, int row, int col, QRect rect);
    void DrawCell(QPainter& painter, int row, int col, QRect rect);

    const CellStore& m_store;
    GridViewOptions m_look;
    FontCache m_fonts;                   // cell fonts, as the screen makes them
    QFont m_printerFont;                 // header, footer and page font of the job
    PrintPageLayout m_layout;            // page geometry of the job
    std::vector<int> m_pageStarts;       // first row of each grid page of the job
    CellId m_printExtent;                // rows and columns printed by the job (counts)
    std::optional<GridGeometry> m_cells; // the sheet's row and column sizes for the job
    QString m_clock;                     // the footer's time of the job
};

} // namespace orvalis
