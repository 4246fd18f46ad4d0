#pragma once

#include "grid/QtTextMeasurer.h"
#include "grid/core/CellStore.h"
#include "grid/core/GridGeometry.h"
#include "grid/core/GridScroll.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <optional>
#include <string>

namespace orvalis {

// The spreadsheet window over a cell store: paints the visible cells, scrolls by whole
// rows and columns, and maps keyboard and mouse input onto the store's focus and
// selection. The store belongs to the worksheet document and must outlive the window;
// the window becomes the store's listener and text measurer while it exists, so it
// must be created before the worksheet sizes its rows and builds its header block
// (applying the screen font resets every cell's font, as a font change does).
class CGridCtrl : public QAbstractScrollArea, public CellStoreListener {
    Q_OBJECT

public:
    explicit CGridCtrl(CellStore& store, QWidget* parent = nullptr);
    ~CGridCtrl() override;

    CellStore& Store() { return m_store; }
    const CellStore& Store() const { return m_store; }

    // Font --------------------------------------------------------------------------------
    // Gives every cell the font and recomputes the margin and default sizes; repaints.
    void SetGridFont(const QFont& font);
    QFont GetGridFont() const;

    // Geometry (client coordinates of the cell area, the viewport) -------------------------
    CellId GetTopLeftNonFixedCell() const;
    bool GetCellOrigin(int row, int col, QPoint& origin) const;
    // Inclusive: right() is the cell's last pixel column, as QRect counts it.
    bool GetCellRect(int row, int col, QRect& rect) const;
    bool GetTextRect(int row, int col, QRect& rect) const { return GetCellRect(row, col, rect); }
    CellId GetCellFromPt(const QPoint& point, bool allowFixed = true) const;
    CellRange GetVisibleNonFixedCellRange(QRect* area = nullptr) const;
    CellRange GetUnobstructedNonFixedCellRange() const;
    bool IsCellVisible(int row, int col) const;
    void EnsureVisible(int row, int col);
    // Page sizes and ranges of the scroll bars from the counts, sizes and client size.
    void ResetScrollBars();
    const GridGeometry& Geometry() const;

    // Scrolling ---------------------------------------------------------------------------
    // One scroll step as the scroll bar sends it; takes the focus and hides the tip.
    void Scroll(bool vertical, ScrollAction action, int trackPos = 0);
    int GetScrollPos(bool vertical) const;
    int GetScrollMax(bool vertical) const { return vertical ? m_vScrollMax : m_hScrollMax; }
    // Rows scrolled per wheel notch; -1 scrolls a page.
    int rowsPerWheelNotch = 3;

    // Repaint -----------------------------------------------------------------------------
    // Marks the cell's rectangle (one pixel larger right and down) for repaint; false when
    // drawing is off or the cell is not on screen.
    bool InvalidateCell(int row, int col);
    // Repaints the cell at the next paint; false when drawing is off or it is not visible.
    bool RedrawCell(int row, int col);

    // Painting hooks ------------------------------------------------------------------------
    // Paints everything of the grid that lies in clip (client coordinates).
    virtual void OnDraw(QPainter& painter, const QRect& clip);
    virtual bool DrawFixedCell(QPainter& painter, int row, int col, QRect rect,
                               bool eraseBackground = true);
    virtual bool DrawCell(QPainter& painter, int row, int col, QRect rect,
                          bool eraseBackground = true);

    // Colours of the platform that the grid's own colours were taken from.
    struct SystemColours {
        GridColour windowText = 0;
        GridColour window = 0;
        GridColour shadow = 0;
        GridColour face = 0;
    };
    // Takes new platform colours: every grid colour that still equals the remembered
    // platform colour follows it; colours set by the program stay.
    void SystemColoursChanged();

protected:
    // CellStoreListener
    void CellChanged(int row, int col) override;
    void LayoutChanged() override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

    // The cell font's Qt font, semi-bold when asked.
    const QFont& CellQFont(int row, int col, bool semiBold);
    void DrawCellText(QPainter& painter, const QRect& rect, unsigned format,
                      const std::string& text, const QFont& font);

    bool m_printing = false;  // set while the print path draws cells

private:
    GridViewport CurrentViewport() const;
    void OnScrollBarAction(bool vertical, int action);
    SystemColours ReadSystemColours() const;
    void DrawGridLines(QPainter& painter, const GridRect& visibleArea);

    CellStore& m_store;
    QtTextMeasurer m_measurer;
    mutable std::optional<GridGeometry> m_geometry;  // cache, see Geometry()
    int m_hScrollMax = 0;
    int m_vScrollMax = 0;
    SystemColours m_sysColours;
    QImage m_buffer;  // off-screen surface, reused between paints
};

} // namespace orvalis
