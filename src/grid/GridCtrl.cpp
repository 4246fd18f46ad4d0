#include "grid/GridCtrl.h"

#include "grid/FontMapping.h"
#include "grid/GridAccessible.h"
#include "grid/TitleTip.h"

#include <QApplication>
#include <QEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace orvalis {

CGridCtrl::CGridCtrl(CellStore& store, QWidget* parent)
    : QAbstractScrollArea(parent), m_store(store), m_selection(store, m_options)
{
    m_selection.SetObserver(this);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel of the cell area is painted by OnDraw, so no background erase first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    // Drops are taken whenever the store allows dragging (see dragEnterEvent).
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    rowsPerWheelNotch = QApplication::wheelScrollLines();

    m_sysColours = ReadSystemColours();
    FollowPlatformColours(m_options, kViewStartColours, m_sysColours);

    // Screen readers see the grid as a table of its cells.
    InstallGridAccessibility();

    m_store.SetTextMeasurer(&m_measurer);
    m_store.AddListener(this);
    m_store.SetGridFont(LogFontFromFont(QApplication::font()));

    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnScrollBarAction(true, action); });
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnScrollBarAction(false, action); });
}

CGridCtrl::~CGridCtrl()
{
    // An open editor ends now, while the grid can still take its text.
    EndEditing();
    delete m_editor.data();
    StopTimer();
    // Qt drops the accessible table only after this part of the window is gone.
    if (m_accessible) {
        m_accessible->GridGone();
        m_accessible = nullptr;
    }
    // The store outlives the window; it must not call back into a dead one.
    m_store.RemoveListener(this);
    if (m_store.GetTextMeasurer() == &m_measurer)
        m_store.SetTextMeasurer(nullptr);
}

// Font ------------------------------------------------------------------------------------

void CGridCtrl::SetGridFont(const QFont& font)
{
    m_store.SetGridFont(LogFontFromFont(font));
    viewport()->update();
}

QFont CGridCtrl::GetGridFont() const
{
    return FontFromLogFont(m_store.GetGridFontRecord());
}

// Colours ---------------------------------------------------------------------------------

CGridCtrl::SystemColours CGridCtrl::ReadSystemColours() const
{
    return ReadPlatformColours(palette());
}

void CGridCtrl::SystemColoursChanged()
{
    const SystemColours now = ReadSystemColours();
    FollowPlatformColours(m_options, m_sysColours, now);
    m_sysColours = now;
    viewport()->update();
}

void CGridCtrl::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        SystemColoursChanged();
    // The tip goes when the program stops being the one the user works in.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        if (m_titleTip)
            m_titleTip->Hide();
        // A window that comes up while the button is held takes the mouse: the release
        // may never reach the grid, so selecting and sizing end here.
        StopTimer();
        if (m_mouseMode != MouseNothing) {
            InvertBand(-1);
            m_mouseMode = MouseNothing;
            viewport()->setCursor(Qt::ArrowCursor);
        }
    }
}

// Geometry --------------------------------------------------------------------------------

GridViewport CGridCtrl::CurrentViewport() const
{
    return GridViewport{viewport()->width(), viewport()->height(),
                        horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

const GridGeometry& CGridCtrl::Geometry() const
{
    const GridViewport vp = CurrentViewport();
    if (!m_geometry || m_geometry->Generation() != m_store.LayoutGeneration() ||
        m_geometry->Viewport().width != vp.width || m_geometry->Viewport().height != vp.height ||
        m_geometry->Viewport().hPos != vp.hPos || m_geometry->Viewport().vPos != vp.vPos)
        m_geometry.emplace(m_store, vp);
    return *m_geometry;
}

CellId CGridCtrl::GetTopLeftNonFixedCell() const
{
    return Geometry().TopLeftNonFixedCell();
}

bool CGridCtrl::GetCellOrigin(int row, int col, QPoint& origin) const
{
    GridPoint p;
    if (!Geometry().CellOrigin(row, col, p))
        return false;
    origin = QPoint(p.x, p.y);
    return true;
}

bool CGridCtrl::GetCellRect(int row, int col, QRect& rect) const
{
    GridRect r;
    if (!Geometry().CellRect(row, col, r))
        return false;
    rect = ToQRect(r);
    return true;
}

CellId CGridCtrl::GetCellFromPt(const QPoint& point, bool allowFixed) const
{
    return Geometry().CellFromPoint(GridPoint{point.x(), point.y()}, allowFixed);
}

CellRange CGridCtrl::GetVisibleNonFixedCellRange(QRect* area) const
{
    GridRect r;
    const CellRange range = Geometry().VisibleNonFixedCellRange(&r);
    if (area)
        *area = QRect(0, 0, r.right, r.bottom);
    return range;
}

CellRange CGridCtrl::GetUnobstructedNonFixedCellRange() const
{
    return Geometry().UnobstructedNonFixedCellRange();
}

bool CGridCtrl::IsCellVisible(int row, int col) const
{
    return Geometry().IsCellVisible(row, col);
}

void CGridCtrl::EnsureVisible(int row, int col)
{
    if (!m_store.IsValidCell(row, col))
        return;
    // Columns first: the row's position does not depend on the horizontal one.
    const int hPos = ScrollPosToShow(Geometry(), false, col);
    if (hPos != GetScrollPos(false))
        Scroll(false, ScrollAction::Track, hPos);
    const int vPos = ScrollPosToShow(Geometry(), true, row);
    if (vPos != GetScrollPos(true))
        Scroll(true, ScrollAction::Track, vPos);
}

void CGridCtrl::ResetScrollBars()
{
    if (!m_store.allowDraw)
        return;
    const ScrollBarSetup setup = ComputeScrollBars(m_store, Geometry());
    if (!setup.apply)
        return;
    m_hScrollMax = setup.hMax;
    m_vScrollMax = setup.vMax;
    horizontalScrollBar()->setPageStep(std::max(setup.hPage, 1));
    verticalScrollBar()->setPageStep(std::max(setup.vPage, 1));
    horizontalScrollBar()->setRange(0, ReachableScrollPos(setup.hMax, setup.hPage));
    verticalScrollBar()->setRange(0, ReachableScrollPos(setup.vMax, setup.vPage));
}

// Scrolling -------------------------------------------------------------------------------

int CGridCtrl::GetScrollPos(bool vertical) const
{
    return vertical ? verticalScrollBar()->value() : horizontalScrollBar()->value();
}

void CGridCtrl::Scroll(bool vertical, ScrollAction action, int trackPos)
{
    if (!hasFocus())
        setFocus();
    if (m_titleTip)
        m_titleTip->Hide();
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    const int target = ScrollTarget(Geometry(), vertical, bar->value(), GetScrollMax(vertical),
                                    action, trackPos);
    bar->setValue(std::clamp(target, bar->minimum(), bar->maximum()));
}

void CGridCtrl::OnScrollBarAction(bool vertical, int action)
{
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    ScrollAction a = ScrollAction::Track;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: a = ScrollAction::LineForward; break;
    case QAbstractSlider::SliderSingleStepSub: a = ScrollAction::LineBack; break;
    case QAbstractSlider::SliderPageStepAdd: a = ScrollAction::PageForward; break;
    case QAbstractSlider::SliderPageStepSub: a = ScrollAction::PageBack; break;
    case QAbstractSlider::SliderToMinimum: a = ScrollAction::ToStart; break;
    case QAbstractSlider::SliderToMaximum: a = ScrollAction::ToEnd; break;
    case QAbstractSlider::SliderMove: a = ScrollAction::Track; break;
    default: return;
    }
    if (!hasFocus())
        setFocus();
    if (m_titleTip)
        m_titleTip->Hide();
    // The bar has already moved its slider by its own step; the grid's step (one row, one
    // page of cells) replaces it before the value is taken.
    const int target = ScrollTarget(Geometry(), vertical, bar->value(), GetScrollMax(vertical), a,
                                    bar->sliderPosition());
    bar->setSliderPosition(std::clamp(target, bar->minimum(), bar->maximum()));
}

void CGridCtrl::scrollContentsBy(int dx, int dy)
{
    // An editor stays over its cell's old place: scrolling ends the edit first.
    if (IsEditing())
        setFocus();
    const GridViewport now = CurrentViewport();
    GridViewport before = now;
    before.hPos += dx;
    before.vPos += dy;
    const GridGeometry old(m_store, before);
    const GridGeometry& cur = Geometry();
    const int w = now.width;
    const int h = now.height;
    const bool vertical = dy != 0;
    const ScrollRepaint repaint = RepaintAfterScroll(old, cur, vertical);
    const QRect area = vertical ? QRect(0, cur.FixedRowHeight(), w, h - cur.FixedRowHeight())
                                : QRect(cur.FixedColumnWidth(), 0, w - cur.FixedColumnWidth(), h);
    const int extent = vertical ? area.height() : area.width();
    if (repaint.kind == ScrollRepaint::Shift && std::abs(repaint.shift) < extent) {
        // Move the pixels already painted; only the uncovered strip is painted anew.
        if (vertical)
            viewport()->scroll(0, -repaint.shift, area);
        else
            viewport()->scroll(-repaint.shift, 0, area);
    } else if (repaint.kind != ScrollRepaint::None) {
        viewport()->update(area);
    }
}

void CGridCtrl::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    int steps = 0;
    ScrollAction forward = ScrollAction::LineForward;
    ScrollAction back = ScrollAction::LineBack;
    if (rowsPerWheelNotch == -1) {
        steps = delta / 120;
        forward = ScrollAction::PageForward;
        back = ScrollAction::PageBack;
    } else {
        steps = rowsPerWheelNotch * delta / 120;
    }
    // Queued like posted scroll messages: they run after the wheel event returns.
    const ScrollAction action = steps > 0 ? back : forward;
    for (int i = 0; i < std::abs(steps); ++i)
        QMetaObject::invokeMethod(
            this, [this, action] { Scroll(true, action); }, Qt::QueuedConnection);
    event->accept();
}

void CGridCtrl::resizeEvent(QResizeEvent* event)
{
    // One flag for all grids: the scroll bars appearing or going resize the window again.
    static bool inResize = false;
    QAbstractScrollArea::resizeEvent(event);
    if (inResize)
        return;
    inResize = true;
    if (IsEditing())
        setFocus();  // ends the edit, as any change of the window's size does
    ResetScrollBars();
    inResize = false;
}

// Store listener --------------------------------------------------------------------------

bool CGridCtrl::InvalidateCell(int row, int col)
{
    if (!m_store.allowDraw || !m_store.IsValidCell(row, col))
        return false;
    const GridGeometry& g = Geometry();
    const CellRange v = g.VisibleNonFixedCellRange();
    // Cells past the visible range have a rectangle but nothing on screen to repaint;
    // checking first keeps a whole-grid selection change cheap.
    const bool rowShown = row < m_store.GetFixedRowCount() || (row >= v.minRow && row <= v.maxRow);
    const bool colShown =
        col < m_store.GetFixedColumnCount() || (col >= v.minCol && col <= v.maxCol);
    if (!rowShown || !colShown)
        return (row < m_store.GetFixedRowCount() || row >= v.minRow) &&
               (col < m_store.GetFixedColumnCount() || col >= v.minCol);
    GridRect r;
    if (!g.CellRect(row, col, r))
        return false;
    viewport()->update(QRect(r.left, r.top, r.right - r.left + 2, r.bottom - r.top + 2));
    return true;
}

bool CGridCtrl::RedrawCell(int row, int col)
{
    if (!m_store.allowDraw || !IsCellVisible(row, col))
        return false;
    // Qt paints only inside paint events: the cell is repainted by the next one.
    return InvalidateCell(row, col);
}

void CGridCtrl::CellChanged(int row, int col)
{
    InvalidateCell(row, col);
    emit cellChanged(row, col);
    if (m_accessible)
        m_accessible->CellChanged(row, col, false);
}

void CGridCtrl::SelectionCellChanged(int row, int col)
{
    InvalidateCell(row, col);
    // The headers' look follows the focus, however it moved.
    const CellId focus = m_selection.GetFocusCell();
    const bool focusMoved = focus != m_shownFocus;
    if (focusMoved) {
        const CellId old = m_shownFocus;
        m_shownFocus = focus;
        if (m_store.IsValidCell(old.row, old.col))
            RedrawHeaders(old, focus);
        if (m_store.IsValidCell(focus.row, focus.col))
            RedrawHeaders(focus, old);
    }
    if (m_accessible)
        m_accessible->CellChanged(row, col, focusMoved);
}

void CGridCtrl::LayoutChanged()
{
    ResetScrollBars();
    viewport()->update();
    if (m_accessible)
        m_accessible->LayoutChanged();
    emit cellChanged(-1, -1);
}

} // namespace orvalis
