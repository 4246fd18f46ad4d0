#include "grid/GridPrinter.h"

#include "grid/CellTextPainting.h"
#include "grid/FontMapping.h"
#include "grid/PrintFont.h"
#include "shell/core/AppTitle.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <climits>
#include <ctime>

namespace orvalis {

namespace {

// Measures the average character width: the first 52 characters, divided by 52.
constexpr char kWidthSample[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";

constexpr int kTextFlags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;

// Paper clips nothing of a band of cells: the body's clip is the painter's.
constexpr GridRect kNoClip{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

QString LocalDateTime()
{
    // The locale's own date-and-time representation, as the user's clock shows it.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128] = {};
    const std::size_t n = std::strftime(text, sizeof text, "%c", &local);
    return QString::fromLocal8Bit(text, static_cast<qsizetype>(n));
}

QColor Resolve(GridColour cell, GridColour fallback)
{
    return ColorFromGrid(cell == DefaultColor ? fallback : cell);
}

// The logical page mapped onto the painter's paper: the left margin lies left of x = 0.
QTransform PageToPaper(const QPainter& painter, const PrintPageLayout& page)
{
    const double sx = double(painter.device()->width()) / page.pageWidth;
    const double sy = double(painter.device()->height()) / page.pageHeight;
    return QTransform::fromScale(sx, sy).translate(4 * page.charWidth, 0);
}

} // namespace

GridPrinter::GridPrinter(const CellStore& store, const GridViewOptions& look)
    : appTitle(AppTitle()), m_store(store), m_look(look)
{
}

bool GridPrinter::Begin(QPaintDevice& device)
{
    m_pageStarts.clear();
    m_layout = PrintPageLayout{};
    const CellId wanted = extent.value_or(CellId{m_store.GetRowCount(), m_store.GetColumnCount()});
    m_printExtent = {std::min(wanted.row, m_store.GetRowCount()),
                     std::min(wanted.col, m_store.GetColumnCount())};
    if (m_printExtent.row <= m_store.GetFixedRowCount() || m_printExtent.col <= 0)
        return false;
    m_cells.emplace(m_store, GridViewport{});
    m_printerFont = PrintFont(9);
    const QFontMetrics metrics(m_printerFont, &device);
    const int charWidth = metrics.horizontalAdvance(QString::fromLatin1(kWidthSample, 52)) / 52;
    int width = 0;
    for (int col = 0; col < m_printExtent.col; ++col)
        width += m_cells->ColumnWidth(col);
    m_layout = ComputePrintPageLayout(width, m_store.GetFixedRowHeight(), charWidth,
                                      metrics.height(), device.width(), device.height());
    if (m_layout.pageWidth <= 0)
        return false;
    std::vector<int> heights(static_cast<std::size_t>(m_printExtent.row));
    for (int row = 0; row < m_printExtent.row; ++row)
        heights[static_cast<std::size_t>(row)] = m_cells->RowHeight(row);
    m_pageStarts = PageStartRows(heights, m_store.GetFixedRowCount(), m_layout.bodyHeight);
    // One time on every page: the job is one printout.
    m_clock = printedAt.isEmpty() ? LocalDateTime() : printedAt;
    return !m_pageStarts.empty();
}

int GridPrinter::PageCount() const
{
    if (m_pageStarts.empty())
        return 0;
    return GridPageCount() + (closingPage ? 1 : 0);
}

int GridPrinter::CountPages(QPaintDevice& device)
{
    return Begin(device) ? PageCount() : 0;
}

void GridPrinter::PrintPage(QPainter& painter, int page)
{
    const PrintPageLayout& layout = m_layout;
    if (!painter.isActive() || layout.pageWidth <= 0 || page < 1 || page > PageCount())
        return;
    const bool closing = page > GridPageCount();
    painter.save();
    // The grid pages write in the print font; the closing page brings its own fonts.
    if (!closing)
        painter.setFont(m_printerFont);
    const QTransform base = PageToPaper(painter, layout);
    const int contentWidth = ContentWidth();
    painter.setTransform(base);
    PrintHeader(painter, QRect(0, 0, contentWidth, 2 * layout.charHeight));

    if (closing) {
        closingPage(painter, QRect(0, 3 * layout.charHeight, contentWidth,
                                   layout.pageHeight - 6 * layout.charHeight));
    } else {
        painter.setTransform(QTransform(base).translate(0, 3 * layout.charHeight));
        const QPen pen = painter.pen();
        PrintRows(painter, 0, m_store.GetFixedRowCount(), true);
        painter.setPen(pen);
        PrintGridLines(painter, 0, m_store.GetFixedRowCount());

        painter.setTransform(
            QTransform(base).translate(0, 3 * layout.charHeight + m_store.GetFixedRowHeight()));
        const int first = m_pageStarts[static_cast<std::size_t>(page - 1)];
        const int end = page < GridPageCount() ? m_pageStarts[static_cast<std::size_t>(page)]
                                               : m_printExtent.row;
        // A row taller than the whole body is cut off at the body's bottom.
        painter.setClipRect(QRect(-1, -1, contentWidth + 2, layout.bodyHeight + 2));
        PrintRows(painter, first, end, false);
        painter.setPen(pen);
        PrintGridLines(painter, first, end);
        painter.setClipping(false);
    }

    painter.setTransform(QTransform(base).translate(0, layout.pageHeight - 2 * layout.charHeight));
    PrintFooter(painter, QRect(0, 0, contentWidth, 2 * layout.charHeight), page);
    painter.restore();
}

void GridPrinter::PrintHeader(QPainter& painter, const QRect& band)
{
    painter.save();
    painter.setFont(PrintFont(m_printerFont.pixelSize(), 700));
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(band, Qt::AlignRight | kTextFlags, appTitle);
    painter.drawText(band, Qt::AlignHCenter | kTextFlags, title);
    painter.restore();
    // Black from here on: the rule, the grid lines and the footer's rule.
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(band.left(), band.bottom(), band.right(), band.bottom());
}

void GridPrinter::PrintFooter(QPainter& painter, QRect band, int page)
{
    painter.drawLine(band.left(), band.top(), band.right(), band.top());
    painter.save();
    painter.setFont(PrintFont(m_printerFont.pixelSize(), 700));
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    band.translate(0, m_layout.charHeight / 2);
    painter.drawText(band, Qt::AlignLeft | kTextFlags,
                     QStringLiteral("Page %1 of %2").arg(page).arg(PageCount()));
    painter.drawText(band, Qt::AlignRight | kTextFlags, m_clock);
    painter.restore();
}

void GridPrinter::PrintRows(QPainter& painter, int firstRow, int endRow, bool fixed)
{
    const CellRange cells{firstRow, 0, endRow - 1, m_printExtent.col - 1};
    m_cells->ForEachCellRect(cells, GridPoint{0, 0}, kNoClip,
                             [&](int row, int col, const GridRect& rect) {
                                 if (fixed)
                                     DrawFixedCell(painter, row, col, ToQRect(rect));
                                 else
                                     DrawCell(painter, row, col, ToQRect(rect));
                             });
}

void GridPrinter::PrintGridLines(QPainter& painter, int firstRow, int endRow)
{
    // The lines of a band of rows are drawn after its cells, each as one stroke across
    // the band: the same picture as a line along every cell's edges, with a fraction of
    // the drawing operations for the preview to keep and replay.
    const int mode = m_look.gridLines;
    int right = -1;
    for (int col = 0; col < m_printExtent.col; ++col)
        right += m_cells->ColumnWidth(col);
    int bottom = -1;
    for (int row = firstRow; row < endRow; ++row)
        bottom += m_cells->RowHeight(row);
    if (bottom < 0 || right < 0)
        return;
    if (mode == GridLinesHorizontal || mode == GridLinesBoth) {
        if (firstRow == 0)
            painter.drawLine(0, 0, right, 0);
        int y = -1;
        for (int row = firstRow; row < endRow; ++row) {
            y += m_cells->RowHeight(row);
            painter.drawLine(0, y, right, y);
        }
    }
    if (mode == GridLinesVertical || mode == GridLinesBoth) {
        painter.drawLine(0, 0, 0, bottom);
        int x = -1;
        for (int col = 0; col < m_printExtent.col; ++col) {
            x += m_cells->ColumnWidth(col);
            painter.drawLine(x, 0, x, bottom);
        }
    }
}

void GridPrinter::DrawFixedCell(QPainter& painter, int row, int col, QRect rect)
{
    // Paper shows the titles on white between the grid lines: no screen fill, no raised
    // edges, no focus marks.
    if (!m_store.allowDraw || !m_store.IsValidCell(row, col))
        return;
    rect.adjust(1, 1, -1, -1);
    rect.adjust(m_store.GetMargin(), 0, -m_store.GetMargin(), 0);
    painter.setPen(Resolve(m_store.GetCellTextColor(row, col), m_look.fixedTextColor));
    DrawCellText(painter, rect, m_store.GetCellFormat(row, col), m_store.CellTextRef(row, col),
                 m_fonts.Font(m_store.CellFontRef(row, col)));
}

void GridPrinter::DrawCell(QPainter& painter, int row, int col, QRect rect)
{
    if (!m_store.allowDraw || !m_store.IsValidCell(row, col))
        return;
    painter.fillRect(rect, Resolve(m_store.GetCellBackColor(row, col), m_look.textBackColor));
    rect.adjust(m_store.GetMargin(), 0, -m_store.GetMargin(), 0);
    painter.setPen(Resolve(m_store.GetCellTextColor(row, col), m_look.textColor));
    DrawCellText(painter, rect, m_store.GetCellFormat(row, col), m_store.CellTextRef(row, col),
                 m_fonts.Font(m_store.CellFontRef(row, col)));
}

int GridPrinter::PrintPages(QPagedPaintDevice& device, int firstPage, int lastPage)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    if (!Begin(device)) {
        painter.end();
        return 0;
    }
    const int pages = PageCount();
    const int from = std::max(1, firstPage);
    const int to = std::min(pages, lastPage > 0 ? lastPage : pages);
    for (int page = from; page <= to; ++page) {
        if (page != from)
            device.newPage();
        PrintPage(painter, page);
    }
    return painter.end() ? std::max(0, to - from + 1) : 0;
}

int GridPrinter::PrintTo(QPrinter& printer)
{
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        return PrintPages(printer, printer.fromPage(), printer.toPage());
    return PrintPages(printer, 1, 0);
}

int GridPrinter::PrintToPdf(const QPrinter& printer, QByteArray& bytes)
{
    bytes.clear();
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return 0;
    // The writer takes the printer's paper, margins and resolution, so the pages are
    // laid out exactly as the printer would lay them out.
    QPdfWriter writer(&buffer);
    writer.setPdfVersion(printer.pdfVersion());
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    writer.setCreator(printer.creator());
    writer.setTitle(printer.docName());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        return PrintPages(writer, printer.fromPage(), printer.toPage());
    return PrintPages(writer, 1, 0);
}

} // namespace orvalis
