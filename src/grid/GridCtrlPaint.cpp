// Painting of CGridCtrl: background bands, fixed cells with their 3D borders, normal
// cells with focus frame and selection, and the grid lines.

#include "grid/CellTextPainting.h"
#include "grid/FontMapping.h"
#include "grid/GridCtrl.h"

#include <QPaintEvent>
#include <QPainter>

namespace orvalis {

namespace {

// Fills the area from (left, top) up to, not including, (right, bottom).
void FillArea(QPainter& p, int left, int top, int right, int bottom, const QColor& colour)
{
    if (right > left && bottom > top)
        p.fillRect(QRect(left, top, right - left, bottom - top), colour);
}

// A one-pixel outline whose right and bottom lines lie one pixel inside the rectangle,
// as the cell's focus frame is drawn.
void Outline(QPainter& p, const QRect& r, const QColor& colour)
{
    if (r.width() < 2 || r.height() < 2)
        return;
    p.setPen(QPen(colour, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(r.left(), r.top(), r.width() - 2, r.height() - 2));
}

QColor Resolve(GridColour cell, GridColour fallback)
{
    return ColorFromGrid(cell == DefaultColor ? fallback : cell);
}

} // namespace

void CGridCtrl::paintEvent(QPaintEvent* event)
{
    const QRect clip = event->rect();
    if (clip.isEmpty())
        return;
    // The sizing band is shown inverted over whatever lies beneath it.
    const auto drawBand = [this](QPainter& painter) {
        if (m_bandPos < 0)
            return;
        const QRect band = m_mouseMode == MouseSizingColumn
                               ? QRect(m_bandPos, 0, 2, viewport()->height())
                               : QRect(0, m_bandPos, viewport()->width(), 2);
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(band, Qt::white);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    };
    if (!m_options.doubleBuffer) {
        QPainter painter(viewport());
        OnDraw(painter, clip);
        drawBand(painter);
        return;
    }
    // Paint the exposed area off screen and copy it in one go, so nothing flickers.
    const qreal dpr = viewport()->devicePixelRatioF();
    const QSize pixels = clip.size() * dpr;
    if (m_buffer.width() < pixels.width() || m_buffer.height() < pixels.height() ||
        m_buffer.devicePixelRatio() != dpr) {
        m_buffer = QImage(pixels.expandedTo(m_buffer.size()), QImage::Format_RGB32);
        m_buffer.setDevicePixelRatio(dpr);
    }
    {
        QPainter painter(&m_buffer);
        painter.translate(-clip.topLeft());
        painter.setClipRect(clip);
        OnDraw(painter, clip);
        drawBand(painter);
    }
    QPainter window(viewport());
    window.drawImage(clip.topLeft(), m_buffer, QRect(QPoint(0, 0), pixels));
}

void CGridCtrl::OnDraw(QPainter& painter, const QRect& clip)
{
    if (clip.isEmpty())
        return;
    const GridGeometry& g = Geometry();
    GridRect v;
    const CellRange vis = g.VisibleNonFixedCellRange(&v);
    const int fw = g.FixedColumnWidth();
    const int fh = g.FixedRowHeight();
    const int cl = clip.left();
    const int ct = clip.top();
    const int cr = clip.right() + 1;
    const int cb = clip.bottom() + 1;

    // Background bands; the cells paint over the first three.
    if (cl < fw && ct < v.bottom)
        FillArea(painter, cl, ct, fw, v.bottom, ColorFromGrid(m_options.fixedBackColor));
    if (ct < fh && cr > fw && cl < v.right)
        FillArea(painter, fw - 1, ct, v.right, fh, ColorFromGrid(m_options.fixedBackColor));
    FillArea(painter, std::max({cl, v.left, fw}), std::max({ct, v.top, fh}), std::min(cr, v.right),
             std::min(cb, v.bottom), ColorFromGrid(m_options.textBackColor));
    if (v.right < cr)
        FillArea(painter, v.right, ct, cr, cb, ColorFromGrid(m_options.backColor));
    if (v.bottom < cb && cl < v.right)
        FillArea(painter, cl, v.bottom, v.right, cb, ColorFromGrid(m_options.backColor));

    const int fixedRows = m_store.GetFixedRowCount();
    const int fixedCols = m_store.GetFixedColumnCount();
    const GridRect area{clip.left(), clip.top(), clip.right(), clip.bottom()};
    const auto fixedCell = [&](int row, int col, const GridRect& rect) {
        DrawFixedCell(painter, row, col, ToQRect(rect));
    };
    const auto cell = [&](int row, int col, const GridRect& rect) {
        DrawCell(painter, row, col, ToQRect(rect));
    };
    // The top-left corner, the fixed columns of the visible rows, the fixed rows over
    // the visible columns, then the non-fixed cells.
    g.ForEachCellRect({0, 0, fixedRows - 1, fixedCols - 1}, {0, 0}, area, fixedCell);
    g.ForEachCellRect({vis.minRow, 0, vis.maxRow, fixedCols - 1}, {0, fh}, area, fixedCell);
    g.ForEachCellRect({0, vis.minCol, fixedRows - 1, vis.maxCol}, {fw, 0}, area, fixedCell);
    g.ForEachCellRect(vis, {fw, fh}, area, cell);
    DrawGridLines(painter, v);
}

void CGridCtrl::DrawGridLines(QPainter& painter, const GridRect& v)
{
    const GridGeometry& g = Geometry();
    const CellRange vis = g.VisibleNonFixedCellRange();
    const int fw = g.FixedColumnWidth();
    const int fh = g.FixedRowHeight();
    painter.setPen(QPen(ColorFromGrid(m_options.gridLineColor), 0));
    if (m_options.gridLines == GridLinesVertical || m_options.gridLines == GridLinesBoth) {
        int x = fw;
        for (int col = vis.minCol; col <= vis.maxCol; ++col) {
            x += m_store.GetColumnWidth(col);
            if (v.bottom > fh)
                painter.drawLine(x - 1, fh, x - 1, v.bottom - 1);
        }
    }
    if (m_options.gridLines == GridLinesHorizontal || m_options.gridLines == GridLinesBoth) {
        int y = fh;
        for (int row = vis.minRow; row <= vis.maxRow; ++row) {
            y += m_store.GetRowHeight(row);
            if (v.right > fw)
                painter.drawLine(fw, y - 1, v.right - 1, y - 1);
        }
    }
    painter.setPen(Qt::NoPen);
}

const QFont& CGridCtrl::CellQFont(int row, int col, bool semiBold)
{
    const LogFont& record = m_store.CellFontRef(row, col);
    if (!semiBold)
        return m_measurer.Fonts().Font(record);
    LogFont heavy = record;
    heavy.weight = 600;
    return m_measurer.Fonts().Font(heavy);
}

bool CGridCtrl::DrawFixedCell(QPainter& painter, int row, int col, QRect rect, bool)
{
    if (!m_store.allowDraw)
        return false;
    if (!m_store.IsValidCell(row, col))
        return false;
    const QPalette& pal = palette();
    painter.fillRect(rect, Resolve(m_store.GetCellBackColor(row, col), m_options.fixedBackColor));
    const QColor textColour = Resolve(m_store.GetCellTextColor(row, col), m_options.fixedTextColor);

    // The headers of the focus cell's row and column look pressed and carry semi-bold text.
    const CellId focus = m_selection.GetFocusCell();
    const bool focusLine = m_store.IsValidCell(focus.row, focus.col) &&
                           (focus.row == row || focus.col == col);
    const QFont& font = CellQFont(row, col, focusLine);
    if (rect.width() > 1 && rect.height() > 1) {
        const int l = rect.left();
        const int t = rect.top();
        const int r = rect.right();
        const int b = rect.bottom();
        const QColor upper = focusLine ? pal.color(QPalette::Active, QPalette::Dark)
                                       : pal.color(QPalette::Active, QPalette::Light);
        const QColor lower = focusLine ? pal.color(QPalette::Active, QPalette::Midlight)
                                       : pal.color(QPalette::Active, QPalette::Shadow);
        painter.setPen(QPen(upper, 0));
        painter.drawLine(l, t, r - 1, t);
        painter.drawLine(l, t, l, b - 1);
        painter.setPen(QPen(lower, 0));
        painter.drawLine(r, t, r, b);
        painter.drawLine(focusLine ? l : l + 1, b, r, b);
    }
    rect.adjust(1, 1, -1, -1);
    rect.adjust(m_store.GetMargin(), 0, -m_store.GetMargin(), 0);
    painter.setPen(textColour);
    DrawCellText(painter, rect, m_store.GetCellFormat(row, col), m_store.CellTextRef(row, col), font);
    return true;
}

bool CGridCtrl::DrawCell(QPainter& painter, int row, int col, QRect rect, bool)
{
    if (!m_store.allowDraw)
        return false;
    if (!m_store.IsValidCell(row, col))
        return false;
    const QPalette& pal = palette();
    const QColor back = Resolve(m_store.GetCellBackColor(row, col), m_options.textBackColor);
    QColor textColour = Resolve(m_store.GetCellTextColor(row, col), m_options.textColor);
    if (m_selection.IsFocused(row, col)) {
        // The focus cell keeps its own colours even when selected, inside a black frame.
        painter.fillRect(rect, back);
        Outline(painter, rect, Qt::black);
        rect.adjust(1, 1, -1, -1);
    } else if (m_selection.IsSelected(row, col)) {
        painter.fillRect(rect, pal.color(QPalette::Active, QPalette::Highlight));
        textColour = pal.color(QPalette::Active, QPalette::HighlightedText);
    } else {
        painter.fillRect(rect, back);
    }
    if (m_lastDragOverCell == CellId{row, col})
        Outline(painter, rect, Qt::black);
    rect.adjust(m_store.GetMargin(), 0, -m_store.GetMargin(), 0);
    painter.setPen(textColour);
    DrawCellText(painter, rect, m_store.GetCellFormat(row, col), m_store.CellTextRef(row, col),
                 CellQFont(row, col, false));
    return true;
}

} // namespace orvalis
