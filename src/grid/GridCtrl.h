#pragma once

#include "grid/GridPrinter.h"
#include "grid/PlatformColours.h"
#include "grid/QtTextMeasurer.h"
#include "grid/core/CellStore.h"
#include "grid/core/GridGeometry.h"
#include "grid/core/GridNavigation.h"
#include "grid/core/GridPagination.h"
#include "grid/core/GridScroll.h"
#include "grid/core/GridSelection.h"
#include "grid/core/GridViewOptions.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QTransform>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QDropEvent;
class QMimeData;
class QPageLayout;
class QPrintDialog;
class QPrintPreviewDialog;
class QPrinter;

namespace orvalis {

class CTitleTip;
class GridAccessible;

// The spreadsheet window over a cell store: paints the visible cells, scrolls by whole
// rows and columns, and maps keyboard and mouse input onto its own focus and selection
// (each window on a store has its own) under its own options. The store belongs to the worksheet document and must outlive the window;
// the window becomes the store's listener and text measurer while it exists, so it
// must be created before the worksheet sizes its rows and builds its header block
// (applying the screen font resets every cell's font, as a font change does).
class CGridCtrl : public QAbstractScrollArea, public CellStoreListener, public GridSelectionObserver {
    Q_OBJECT

public:
    explicit CGridCtrl(CellStore& store, QWidget* parent = nullptr);
    ~CGridCtrl() override;

    CellStore& Store() { return m_store; }
    const CellStore& Store() const { return m_store; }
    // How this window shows and handles the cells; set by whoever creates the window.
    GridViewOptions& Options() { return m_options; }
    const GridViewOptions& Options() const { return m_options; }

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
    // Scrolls the least that brings the whole cell into view (its start when it is larger
    // than the view); a cell already whole in view scrolls nothing.
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

    // Selection ---------------------------------------------------------------------------
    // Moves this window's focus (an invalid cell clears it); both cells and the headers
    // of their rows and columns are repainted. Returns the previous focus cell.
    CellId SetFocusCell(CellId cell);
    CellId SetFocusCell(int row, int col) { return SetFocusCell(CellId{row, col}); }
    CellId GetFocusCell() const { return m_selection.GetFocusCell(); }
    // This window's focus, anchor and selected cells.
    GridSelection& Selection() { return m_selection; }
    const GridSelection& Selection() const { return m_selection; }
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol)
    {
        m_selection.SetSelectedRange(minRow, minCol, maxRow, maxCol);
    }
    CellRange GetSelectedCellRange() const { return m_selection.GetSelectedCellRange(); }
    // Clears the selection, then the focus.
    void ResetSelectedRange();
    void SelectAllCells() { m_selection.SelectAllCells(); }
    MouseMode GetMouseMode() const { return m_mouseMode; }
    CTitleTip* TitleTip() { return m_titleTip.get(); }

    int resizeCaptureRange = 3;  // pixels either side of a divider that grab it
    int timerInterval = 25;      // auto-scroll period while drag-selecting, milliseconds

    // Editing -----------------------------------------------------------------------------
    // Starts an in-place edit of the cell when it is editable and on screen, begun as
    // start says (a typed character, the mouse, or the key that ended the edit of the
    // previous cell).
    virtual void OnEditCell(int row, int col, EditStart start);
    // Makes the editor over rect (the cell rectangle); it deletes itself when editing
    // ends. The worksheet's grid offers its role list here.
    virtual void CreateInPlaceEditControl(const QRect& rect, Qt::Alignment alignment, int id,
                                          int row, int col, const std::string& text,
                                          EditStart start);
    // True for a cell whose editor is a drop-down list: Alt+Down or Alt+Up there starts
    // the edit with the list dropped down. None by default.
    virtual bool HasDropDownList(int row, int col) const;
    // An editor's end of edit: stores the text, tells the parent, and continues editing
    // in the next cell when lastKey was Tab or a navigation key. shift: Shift was held.
    // replaced: characters the typed text had that the cell cannot hold, now "?".
    void OnEndInPlaceEdit(int row, int col, const std::string& text, GridKey lastKey,
                          bool shift, int replaced = 0);
    // Stores an edited text; a text equal to the cell's does not mark it modified.
    virtual void OnEndEditCell(int row, int col, const std::string& text);
    // Ends an open edit, storing its text, as a click elsewhere would; for closing a
    // worksheet while a cell is being edited.
    void EndEditing();
    // True while an in-place editor is open over a cell.
    bool IsEditing() const { return !m_editor.isNull(); }
    QWidget* InPlaceEditor() const { return m_editor.data(); }

    // User edits --------------------------------------------------------------------------
    // Every change the user makes to cells by hand (an edit, Delete, Cut, Paste, a drop,
    // and the cut when a drag moved the block away) runs between userEditBegun and
    // userEditEnded, so that a history can keep it as one step under the name given.
    // A drag that moves the block within the grid is one edit, its drop included.
    // The name of an edit typed into a cell: "Typing".
    virtual QString TypedEditName(int row, int col) const;
    // The history whose last step the context menu's "Undo" takes back; without one the
    // item stays disabled. Not owned.
    void SetUndoStack(QUndoStack* stack) { m_undoStack = stack; }

    // Edit commands ---------------------------------------------------------------------
    // Cut, Copy and Paste exchange the selected block with the system clipboard as plain
    // text (the format of GridTextTransfer.h); Select All selects every non-fixed cell.
    // Each does nothing when its enable query says no.
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual void OnEditSelectAll();
    // Copy: some cell is selected. Cut: that, and the grid is editable. Paste: the focus
    // cell is editable and the clipboard holds text. Select All: selecting is allowed.
    bool CanCopy() const;
    bool CanCut() const;
    bool CanPaste() const;
    bool CanSelectAll() const { return m_options.selectionEnabled; }
    // The selected block as plain text; nullptr when nothing is selected. The caller owns
    // it.
    virtual std::unique_ptr<QMimeData> CopyTextFromGrid() const;
    // Pastes the plain text of mime from cell on; false when the cell is invalid or
    // read-only or the data hold no text. Read-only targets and targets past the edges
    // are skipped; the window is repainted. The cells reached leave the selection
    // `leaving` (a moving drag's source), this window's own when none is given.
    virtual bool PasteTextToGrid(CellId cell, const QMimeData* mime,
                                 GridSelection* leaving = nullptr);
    // When set, the owner's way to add rows at the end (up to the count given, as far as
    // it allows): a paste whose lines run past the last row, and a typed cell of the last
    // row left with the Down key, ask for the rows they need. Unset, the grid keeps its
    // size.
    std::function<void(int rowCount)> growRows;
    // Empties every selected editable cell, as an edit of each (grid editable only).
    virtual void CutSelectedText();
    // Puts mime on the system clipboard; false when the clipboard did not take it.
    virtual bool PlaceOnClipboard(std::unique_ptr<QMimeData> mime);
    // The right-click menu: "Undo", "Cut", "Copy", "Paste", "Delete", "Select All", with
    // separators after Undo and after Delete; its items act on this grid and follow the
    // enable queries above ("Delete" is Cut).
    virtual std::unique_ptr<QMenu> CreateContextMenu();

    // Drag and drop -----------------------------------------------------------------------
    // Starts dragging the selected block as plain text, offering copy and move; when the
    // drop moved it, the cells still selected are cut. A drag that ends without a drop
    // leaves selection and focus as they were.
    virtual void OnBeginDrag();
    // Runs the drag loop for mime; returns the action the drop took (IgnoreAction when
    // the drag ended without a drop).
    virtual Qt::DropAction ExecDrag(std::unique_ptr<QMimeData> mime);
    // The cell under the current drag, (-1, -1) when none.
    CellId LastDragOverCell() const { return m_lastDragOverCell; }
    // Pixels from an edge of the cell area within which a drag scrolls the sheet.
    int dragScrollMargin = 16;

    // Printing ----------------------------------------------------------------------------
    // The pages are drawn from the cells alone by a GridPrinter (GridPrinter.h); the
    // window names them and brings up the print dialog and the preview.
    // A printer of the whole sheet as it stands, titled printTitle or else the title of
    // the first window up the parent chain that has one. A sheet that prints only part
    // of its cells, or pages of its own, says so here.
    virtual GridPrinter MakePrinter() const;
    // The number of pages the sheet prints on device (a printer as set up), without
    // printing; 0 when there is nothing to print.
    int PrintPageCount(QPaintDevice& device) const { return MakePrinter().CountPages(device); }
    // Prints every page (or the printer's page range) of the sheet on printer. Returns
    // the number of pages printed; 0 when nothing could be (the printer refused to
    // start, or the sheet has only fixed rows).
    int PrintTo(QPrinter& printer) const;
    // Prints as PrintTo does into the bytes of a PDF file laid out as printer is; the
    // printer itself is not used. Returns the number of pages, 0 as above.
    int PrintToPdf(const QPrinter& printer, QByteArray& bytes) const;
    // The print dialog, then printing; the print preview window. The printer starts from
    // pageLayout when one is given (the program's Print Setup).
    void Print(const QPageLayout* pageLayout = nullptr);
    void PrintPreview(const QPageLayout* pageLayout = nullptr);
    // The title in the centre of every page header; empty: the window's title.
    QString printTitle;

    // Header presses: start selecting whole columns or rows (or none, in the corner).
    virtual void OnFixedRowClick(CellId& cell);
    virtual void OnFixedColumnClick(CellId& cell);

    // Colours of the platform that the grid's own colours were taken from.
    using SystemColours = PlatformColours;
    // Takes new platform colours: every grid colour that still equals the remembered
    // platform colour follows it; colours set by the program stay.
    void SystemColoursChanged();

signals:
    // Posted (queued) after every completed left click whose press was on a cell.
    void Clicked();
    // Sent at once for every change of a cell the store reports (text, colour, state),
    // and with row and column -1 when counts or sizes changed: for views of the same
    // cells (the worksheet's chart) that redraw when the worksheet changes.
    void cellChanged(int row, int col);
    // A user edit begins (name: "Typing", "Delete", "Cut", "Paste", "Drop", ...) and
    // ends; the cells change in between. Edits may nest (a drop inside a drag-move).
    void userEditBegun(const QString& name);
    void userEditEnded();
    // A paste or drop turned count characters that cells cannot hold (above U+00FF) into
    // "?"; the first landed in cell (row, col), or (-1, -1) when it fell outside the grid.
    void charactersReplaced(int count, int row, int col);
    // The same for a text typed into cell (row, col).
    void typedCharactersReplaced(int count, int row, int col);

protected:
    // Called with the print dialog and the print preview before they are shown, so that
    // a sheet can offer options of its own; the plain grid offers none.
    virtual void AddPrintOptions(QPrintDialog& dialog) { (void)dialog; }
    virtual void AddPreviewOptions(QPrintPreviewDialog& dialog) { (void)dialog; }

    // Brackets one user edit with userEditBegun and userEditEnded.
    class UserEdit {
    public:
        UserEdit(CGridCtrl& grid, const QString& name);
        ~UserEdit();
        UserEdit(const UserEdit&) = delete;
        UserEdit& operator=(const UserEdit&) = delete;

    private:
        CGridCtrl& m_grid;
    };

    // For a CreateInPlaceEditControl override that makes its own editor.
    void SetInPlaceEditor(QWidget* editor) { m_editor = editor; }

    // CellStoreListener
    void CellChanged(int row, int col) override;
    void LayoutChanged() override;
    // GridSelectionObserver
    void SelectionCellChanged(int row, int col) override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    // The key-down step of the key table; false when the key goes to the default
    // handling.
    bool OnKeyDown(GridKey key, bool shift);
    // Ctrl+A, Ctrl+C, Ctrl+V and Ctrl+X on the grid (qtKey: the letter).
    void OnCtrlLetter(int qtKey);

    // The cell font's Qt font, semi-bold when asked.
    const QFont& CellQFont(int row, int col, bool semiBold);

private:
    GridViewport CurrentViewport() const;
    void OnScrollBarAction(bool vertical, int action);
    SystemColours ReadSystemColours() const;
    void DrawGridLines(QPainter& painter, const GridRect& visibleArea);
    void RedrawHeaders(CellId cell, CellId other);
    bool MouseOverColumnResizeArea(const QPoint& point) const;
    bool MouseOverRowResizeArea(const QPoint& point) const;
    void StartSizing(const QPoint& point);
    void FinishSizing(const QPoint& point);
    void InvertBand(int pos);
    void DeleteFocusCellText();
    void StopTimer();
    void ShowTitleTip(const QPoint& point);
    void SetDragOverCell(CellId cell);
    // The selection a drop's cells leave: the source window's when the drag came from a
    // window on this store (its move then cuts only what is still selected there), else
    // this window's.
    GridSelection* DragSourceSelection(const QDropEvent* event);
    void DragAutoScroll();
    QString WindowTitleForPrint() const;

    CellStore& m_store;
    QtTextMeasurer m_measurer;
    mutable std::optional<GridGeometry> m_geometry;  // cache, see Geometry()
    int m_hScrollMax = 0;
    int m_vScrollMax = 0;
    SystemColours m_sysColours;
    QImage m_buffer;  // off-screen surface, reused between paints

    GridViewOptions m_options;
    GridSelection m_selection; // reads m_options, so declared after it
    MouseMode m_mouseMode = MouseNothing;
    CellId m_leftClickDownCell;
    QPoint m_leftClickDownPoint;
    QPoint m_lastMousePoint;
    QPoint m_cursorPoint;         // latest pointer position, also outside the window
    int m_timerId = 0;            // auto-scroll timer, 0 = none
    int m_sizingStart = 0;        // origin (x or y) of the row or column being sized
    int m_sizingIndex = -1;       // the row or column being sized
    int m_bandPos = -1;           // position of the inverted sizing band, -1 = none
    bool m_hadFocusAtPress = false;
    CellId m_shownFocus;          // focus cell whose headers were last repainted
    QPointer<QWidget> m_editor;   // the open in-place editor, if any
    QPointer<QUndoStack> m_undoStack; // the worksheet's history, for the context menu
    std::unique_ptr<CTitleTip> m_titleTip;
    CellId m_lastDragOverCell;     // drop target under a drag, (-1, -1) when none
    QPoint m_dragPoint;            // latest drag position over the cell area
    QBasicTimer m_dragScrollTimer; // scrolls while a drag rests near an edge
    // The table a screen reader asked for, told of every cell change; null until then.
    GridAccessible* m_accessible = nullptr;
    friend class GridAccessible;
};

} // namespace orvalis
