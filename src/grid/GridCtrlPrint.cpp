// Printing of CGridCtrl: every page shows the whole width of the printed part of the
// sheet scaled to the paper, the fixed rows on top, as many whole rows as fit, a header with the titles and
// a footer with the page number and the time of printing.

#include "grid/GridCtrl.h"
#include "grid/PrintFont.h"
#include "shell/core/QtOutputFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <ctime>

namespace orvalis {

namespace {

// Measures the average character width: the first 52 characters, divided by 52.
constexpr char kWidthSample[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ";

constexpr int kTextFlags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;

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

} // namespace

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

CellId CGridCtrl::PrintedExtent() const
{
    return {m_store.GetRowCount(), m_store.GetColumnCount()};
}

bool CGridCtrl::Paginate(QPaintDevice& device)
{
    const CellId extent = PrintedExtent();
    m_printExtent = {std::min(extent.row, m_store.GetRowCount()),
                     std::min(extent.col, m_store.GetColumnCount())};
    if (m_printExtent.row <= m_store.GetFixedRowCount() || m_printExtent.col <= 0)
        return false;
    m_printerFont = PrintFont(9);
    const QFontMetrics metrics(m_printerFont, &device);
    const int charWidth =
        metrics.horizontalAdvance(QString::fromLatin1(kWidthSample, 52)) / 52;
    const int charHeight = metrics.height();
    int width = 0;
    for (int col = 0; col < m_printExtent.col; ++col)
        width += m_store.GetColumnWidth(col);
    m_printLayout = ComputePrintPageLayout(width, m_store.GetFixedRowHeight(), charWidth,
                                           charHeight, device.width(), device.height());
    if (m_printLayout.pageWidth <= 0)
        return false;
    std::vector<int> heights = RowHeights(m_store);
    heights.resize(static_cast<std::size_t>(m_printExtent.row));
    m_pageStarts = PageStartRows(heights, m_store.GetFixedRowCount(), m_printLayout.bodyHeight);
    return !m_pageStarts.empty();
}

int CGridCtrl::PrintPageCount(QPaintDevice& device)
{
    const bool paginated = Paginate(device);
    const int pages = paginated ? static_cast<int>(m_pageStarts.size()) : 0;
    m_pageStarts.clear();
    m_printLayout = PrintPageLayout{};
    return pages;
}

bool CGridCtrl::OnBeginPrinting(QPainter& painter, PrintInfo& info)
{
    if (!painter.isActive() || !painter.device() || !Paginate(*painter.device()))
        return false;
    info.maxPage = static_cast<int>(m_pageStarts.size());
    info.currentPage = 1;
    return true;
}

void CGridCtrl::OnEndPrinting(QPainter&, PrintInfo&)
{
    m_pageStarts.clear();
    m_printExtent = CellId{};
    m_printLayout = PrintPageLayout{};
}

void CGridCtrl::PrintGridLines(QPainter& painter, int firstRow, int endRow, int top)
{
    // The lines of a band of rows are drawn after its cells, each as one stroke across
    // the band: the same picture as a line along every cell's edges, with a fraction of
    // the drawing operations for the preview to keep and replay.
    const int mode = m_options.gridLines;
    int right = -1;
    for (int col = 0; col < m_printExtent.col; ++col)
        right += m_store.GetColumnWidth(col);
    int bottom = top - 1;
    for (int row = firstRow; row < endRow; ++row)
        bottom += m_store.GetRowHeight(row);
    if (bottom < top || right < 0)
        return;
    if (mode == GridLinesHorizontal || mode == GridLinesBoth) {
        if (firstRow == 0)
            painter.drawLine(0, top, right, top);
        int y = top - 1;
        for (int row = firstRow; row < endRow; ++row) {
            y += m_store.GetRowHeight(row);
            painter.drawLine(0, y, right, y);
        }
    }
    if (mode == GridLinesVertical || mode == GridLinesBoth) {
        painter.drawLine(0, top, 0, bottom);
        int x = -1;
        for (int col = 0; col < m_printExtent.col; ++col) {
            x += m_store.GetColumnWidth(col);
            painter.drawLine(x, top, x, bottom);
        }
    }
}

void CGridCtrl::PrintHeader(QPainter& painter, PrintInfo& info)
{
    painter.save();
    painter.setFont(PrintFont(m_printerFont.pixelSize(), 700));
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(info.drawRect, Qt::AlignRight | kTextFlags, printAppTitle);
    painter.drawText(info.drawRect, Qt::AlignHCenter | kTextFlags, WindowTitleForPrint());
    painter.restore();
    // Black from here on: the rule, the grid lines and the footer's rule.
    painter.setPen(QPen(Qt::black, 0));
    const QRect& r = info.drawRect;
    painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
}

void CGridCtrl::PrintHeaderRows(QPainter& painter, PrintInfo&)
{
    const QPen pen = painter.pen();
    QRect rect;
    rect.setBottom(-1);
    // Paper shows the titles on white between the grid lines: no screen fill, no raised
    // edges, no focus marks.
    m_printing = true;
    for (int row = 0; row < m_store.GetFixedRowCount(); ++row) {
        rect.setTop(rect.bottom() + 1);
        rect.setBottom(rect.top() + m_store.GetRowHeight(row) - 1);
        rect.setRight(-1);
        for (int col = 0; col < m_printExtent.col; ++col) {
            rect.setLeft(rect.right() + 1);
            rect.setRight(rect.left() + m_store.GetColumnWidth(col) - 1);
            DrawFixedCell(painter, row, col, rect, false);
        }
    }
    m_printing = false;
    painter.setPen(pen);
    PrintGridLines(painter, 0, m_store.GetFixedRowCount(), 0);
}

void CGridCtrl::PrintFooter(QPainter& painter, PrintInfo& info)
{
    QRect r = info.drawRect;
    painter.drawLine(r.left(), r.top(), r.right(), r.top());
    painter.save();
    painter.setFont(PrintFont(m_printerFont.pixelSize(), 700));
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    r.translate(0, m_printLayout.charHeight / 2);
    painter.drawText(r, Qt::AlignLeft | kTextFlags,
                     QStringLiteral("Page %1 of %2").arg(info.currentPage).arg(info.maxPage));
    painter.drawText(r, Qt::AlignRight | kTextFlags, LocalDateTime());
    painter.restore();
}

QTransform CGridCtrl::PageToPaper(const QPainter& painter) const
{
    const PrintPageLayout& page = m_printLayout;
    const double sx = double(painter.device()->width()) / page.pageWidth;
    const double sy = double(painter.device()->height()) / page.pageHeight;
    return QTransform::fromScale(sx, sy).translate(4 * page.charWidth, 0);
}

void CGridCtrl::OnPrint(QPainter& painter, PrintInfo& info)
{
    const PrintPageLayout& page = m_printLayout;
    if (!painter.isActive() || page.pageWidth <= 0)
        return;
    painter.save();
    painter.setFont(m_printerFont);
    const QTransform base = PageToPaper(painter);
    const int contentWidth = PrintContentWidth();
    painter.setTransform(base);

    info.drawRect = QRect(0, 0, contentWidth, 2 * page.charHeight);
    PrintHeader(painter, info);
    painter.setTransform(QTransform(base).translate(0, 3 * page.charHeight));
    info.drawRect.setBottom(m_store.GetFixedRowHeight());
    PrintHeaderRows(painter, info);
    painter.setTransform(
        QTransform(base).translate(0, 3 * page.charHeight + m_store.GetFixedRowHeight()));

    const int p = info.currentPage;
    if (p >= 1 && p <= static_cast<int>(m_pageStarts.size())) {
        const int first = m_pageStarts[p - 1];
        const int end = p < static_cast<int>(m_pageStarts.size()) ? m_pageStarts[p]
                                                                  : m_printExtent.row;
        const QPen pen = painter.pen();
        // A row taller than the whole body is cut off at the body's bottom.
        painter.setClipRect(QRect(-1, -1, contentWidth + 2, page.bodyHeight + 2));
        m_printing = true;
        QRect rect;
        rect.setBottom(-1);
        for (int row = first; row < end; ++row) {
            rect.setTop(rect.bottom() + 1);
            rect.setBottom(rect.top() + m_store.GetRowHeight(row) - 1);
            rect.setRight(-1);
            for (int col = 0; col < m_printExtent.col; ++col) {
                rect.setLeft(rect.right() + 1);
                rect.setRight(rect.left() + m_store.GetColumnWidth(col) - 1);
                DrawCell(painter, row, col, rect, true);
            }
        }
        painter.setPen(pen);
        PrintGridLines(painter, first, end, 0);
        m_printing = false;
        painter.setClipping(false);
    }

    info.drawRect = QRect(0, 0, contentWidth, 2 * page.charHeight);
    painter.setTransform(
        QTransform(base).translate(0, page.pageHeight - 2 * page.charHeight));
    PrintFooter(painter, info);
    painter.restore();
}

int CGridCtrl::PrintTo(QPrinter& printer)
{
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        return PrintPages(printer, printer.fromPage(), printer.toPage());
    return PrintPages(printer, 1, 0);
}

int CGridCtrl::PrintPages(QPagedPaintDevice& device, int firstPage, int lastPage)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    PrintInfo info;
    if (!OnBeginPrinting(painter, info)) {
        painter.end();
        return 0;
    }
    const int from = std::max(1, firstPage);
    const int to = std::min(info.maxPage, lastPage > 0 ? lastPage : info.maxPage);
    for (int page = from; page <= to; ++page) {
        if (page != from)
            device.newPage();
        info.currentPage = page;
        OnPrint(painter, info);
    }
    OnEndPrinting(painter, info);
    return painter.end() ? std::max(0, to - from + 1) : 0;
}

int CGridCtrl::PrintToPdf(const QPrinter& printer, QByteArray& bytes)
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
    int pages = 0;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
        pages = PrintPages(writer, printer.fromPage(), printer.toPage());
    else
        pages = PrintPages(writer, 1, 0);
    return pages;
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
            QMessageBox::warning(this, printAppTitle, tr("Error: Cannot write file %1").arg(name.isEmpty() ? path : name));
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
