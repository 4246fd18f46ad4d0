#pragma once

#include "grid/core/GridTypes.h"

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace orvalis {

// One cell of the store. The font is kept as an index into the store's font table:
// almost every cell shares the grid font, so a 60-byte record per cell is not needed.
struct GridCell {
    unsigned state = 0;
    unsigned format = 0;
    std::string text;
    int image = -1;
    GridColour backColor = DefaultColor;
    GridColour textColor = DefaultColor;
    std::uint32_t param = 0;
    std::uint16_t fontIndex = 0;
};

// Measures text for auto-sizing and font metrics. The grid widget supplies one backed
// by the screen's fonts; without one, auto-size fails as it does without a drawing
// surface.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    struct Size {
        int width = 0;
        int height = 0;
    };
    // Extent of text drawn as one line in font.
    virtual Size MeasureText(const LogFont& font, const std::string& text) = 0;
    struct Metrics {
        int blankWidth = 0;       // width of one " "
        int charHeight = 0;       // ascent + descent
        int externalLeading = 0;
        int averageCharWidth = 0;
    };
    virtual Metrics FontMetrics(const LogFont& font) = 0;
};

// What the store tells its listener (the grid widget): which cell changed, or that the
// layout (counts, sizes, fonts) changed. Every visible write is so redrawn.
class CellStoreListener {
public:
    virtual ~CellStoreListener() = default;
    virtual void CellChanged(int row, int col) = 0;
    virtual void LayoutChanged() = 0;
    // A cell's text is about to be replaced; oldText is the text it holds until then.
    // Told whether or not drawing is allowed, so a recorder of edits misses none.
    virtual void CellTextChanging(int /*row*/, int /*col*/, const std::string& /*oldText*/) {}
    // The focus cell is about to move (clearing it because a count shrank, say).
    virtual void FocusCleared() {}
};

// The grid's parent: receives the grid notifications synchronously.
class GridNotifyHandler {
public:
    virtual ~GridNotifyHandler() = default;
    virtual long OnGridNotify(int row, int col, int code) = 0;
};

// The worksheet's store of truth: a dense, eagerly created array of text cells with a
// band of fixed rows and columns, per-row heights and per-column widths, the focus cell
// and the set of selected cells. Plain C++: usable without any window. Every cell
// operation out of range answers its neutral value (false, -1, 0, empty text) and never
// fails loudly.
class CellStore {
public:
    CellStore(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0);
    virtual ~CellStore();
    CellStore(const CellStore&) = delete;
    CellStore& operator=(const CellStore&) = delete;

    // Every window showing the store listens; SetListener replaces them all with one
    // (or none).
    void SetListener(CellStoreListener* listener)
    {
        m_listeners.clear();
        if (listener)
            m_listeners.push_back(listener);
    }
    void AddListener(CellStoreListener* listener) { m_listeners.push_back(listener); }
    void RemoveListener(CellStoreListener* listener) { std::erase(m_listeners, listener); }
    void SetNotifyHandler(GridNotifyHandler* handler) { m_notifyHandler = handler; }
    void SetTextMeasurer(TextMeasurer* measurer) { m_measurer = measurer; }
    TextMeasurer* GetTextMeasurer() const { return m_measurer; }

    // Counts --------------------------------------------------------------------------
    int GetRowCount() const { return m_rowCount; }
    int GetColumnCount() const { return m_columnCount; }
    int GetFixedRowCount() const { return m_fixedRowCount; }
    int GetFixedColumnCount() const { return m_fixedColumnCount; }
    // Counts are limited to kMaxCount: the selection sets pack row and column into 16 bits
    // each, so a larger count would make two cells share one key. Larger counts and
    // negative ones are refused (false).
    static constexpr int kMaxCount = 0x100000;
    bool SetRowCount(int n);
    bool SetColumnCount(int n);
    bool SetFixedRowCount(int n);
    bool SetFixedColumnCount(int n);
    void DeleteAllCells();

    // Cells ---------------------------------------------------------------------------
    bool IsValidCell(int row, int col) const
    {
        return row >= 0 && row < m_rowCount && col >= 0 && col < m_columnCount;
    }
    bool IsFixed(int row, int col) const { return row < m_fixedRowCount || col < m_fixedColumnCount; }
    virtual std::string GetCellText(int row, int col) const;
    // The stored text without a copy; empty for a cell out of range.
    const std::string& CellTextRef(int row, int col) const;
    bool SetCellText(int row, int col, const std::string& text);
    // Copies the masked fields. A state goes through SetCellState, so the selected-cell
    // set stays in step with the CellSelected bits.
    bool SetCell(const GridItem& item);
    bool GetCell(GridItem& item) const;
    bool SetCellState(int row, int col, unsigned state);
    unsigned GetCellState(int row, int col) const;
    bool SetCellBackColor(int row, int col, GridColour colour);
    GridColour GetCellBackColor(int row, int col) const;
    bool SetCellTextColor(int row, int col, GridColour colour);
    GridColour GetCellTextColor(int row, int col) const;
    bool SetCellFormat(int row, int col, unsigned format);
    unsigned GetCellFormat(int row, int col) const;
    int GetCellImage(int row, int col) const;
    bool SetCellFont(int row, int col, const LogFont& font);
    LogFont GetCellFont(int row, int col) const;
    // The cell's font record without a copy; the grid font out of range.
    const LogFont& CellFontRef(int row, int col) const;
    bool IsCellEditable(int row, int col) const;
    // The cell's record, nullptr out of range.
    const GridCell* Cell(int row, int col) const;

    // Empties a cell before it is freed or cut: state 0 (it leaves the selection), no text.
    virtual void EmptyCell(int row, int col);

    // Marks one cell (row > 0 and col > 0) or the whole grid modified.
    void SetModified(bool modified = true, int row = -1, int col = -1);
    bool GetModified() const { return m_modified; }

    // Selection set ---------------------------------------------------------------------
    const std::unordered_set<std::uint32_t>& SelectedCells() const { return m_selectedCells; }
    std::unordered_set<std::uint32_t>& PreviousSelectedCells() { return m_previousSelectedCells; }
    static CellId CellFromKey(std::uint32_t key)
    {
        return CellId{static_cast<int>(key & 0xFFFF), static_cast<int>(key >> 16)};
    }
    CellId GetFocusCell() const { return m_focusCell; }
    // Moves the focus bit; no notification (the widget adds those and the repaint).
    void SetFocusCellRaw(CellId cell);
    CellId GetSelectionStartCell() const { return m_selectionStartCell; }
    void SetSelectionStartCell(CellId cell) { m_selectionStartCell = cell; }
    // Clears CellSelected on every selected cell.
    void ClearSelectedCells();
    // True when the selected-cell set equals the cells with the selected bit.
    bool CheckConsistency() const;

    // Sizes ---------------------------------------------------------------------------
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetVirtualHeight() const;
    int GetVirtualWidth() const;
    int GetDefaultRowHeight() const { return m_defaultRowHeight; }
    int GetDefaultColumnWidth() const { return m_defaultColumnWidth; }
    int GetMargin() const { return m_margin; }
    // Extent of a cell's text as one line (semi-bold when fixed) plus the margins.
    virtual TextMeasurer::Size GetCellExtent(int row, int col) const;
    bool AutoSizeColumn(int col);
    bool AutoSizeRow(int row);
    void AutoSize();

    // Bumped by every change of counts, sizes or fonts, so views can cache positions and
    // notice when the cache is stale even after a size setter that notifies nobody.
    std::uint64_t LayoutGeneration() const { return m_layoutGeneration; }

    // Fonts ---------------------------------------------------------------------------
    // Stores the font as the grid font, gives it to every cell, and, when text can be
    // measured, recomputes margin, default row height and default column width.
    void SetGridFont(const LogFont& font);
    const LogFont& GetGridFontRecord() const { return m_gridFont; }

    // Notification to the parent; 0 when there is none.
    long SendNotifyToParent(int row, int col, int code) const;

    // List mode sort of rows fixedRowCount.. by the text of col.
    bool SortTextRows(int col, bool ascending);

    // Properties ----------------------------------------------------------------------
    bool editable = true;
    bool dragAndDropEnabled = false;
    bool listMode = false;
    bool singleRowSelection = false;
    bool allowDraw = true;
    bool selectionEnabled = true;
    bool sortOnClick = true;
    bool handleTabKey = true;
    bool doubleBuffer = true;
    bool titleTips = true;
    bool allowRowResize = true;
    bool allowColumnResize = true;
    int gridLines = GridLinesBoth;
    GridColour textColor = Rgb(0, 0, 0);
    GridColour textBackColor = Rgb(255, 255, 255);
    GridColour backColor = Rgb(128, 128, 128);
    GridColour fixedTextColor = Rgb(0, 0, 0);
    GridColour fixedBackColor = Rgb(240, 240, 240);
    GridColour gridLineColor = Rgb(192, 192, 192);
    bool sortAscending = true;
    int sortColumn = -1;

protected:
    void NotifyCell(int row, int col) const;
    void NotifyTextChanging(int row, int col, const std::string& oldText) const;
    void NotifyLayout() const;

private:
    GridCell* MutableCell(int row, int col);
    GridCell MakeCell(int row, int col) const;
    std::uint16_t InternFont(const LogFont& font);
    bool SortRange(int col, bool ascending, int lo0, int hi0);
    void SwapRows(int a, int b);
    void ForgetPreviousSelection(int rows, int cols);

    int m_rowCount = 0;
    int m_columnCount = 0;
    int m_fixedRowCount = 0;
    int m_fixedColumnCount = 0;
    std::vector<std::vector<GridCell>> m_rows;  // m_rows[row][col]
    std::vector<int> m_rowHeights;              // pixels, one per row
    std::vector<int> m_columnWidths;            // pixels, one per column
    int m_defaultRowHeight = 10;
    int m_defaultColumnWidth = 30;
    int m_margin = 0;
    LogFont m_gridFont;
    std::vector<LogFont> m_fonts;  // font table; entry 0 is the grid font
    bool m_modified = false;
    CellId m_focusCell;
    CellId m_selectionStartCell;
    std::unordered_set<std::uint32_t> m_selectedCells;
    std::unordered_set<std::uint32_t> m_previousSelectedCells;
    std::vector<CellStoreListener*> m_listeners;
    GridNotifyHandler* m_notifyHandler = nullptr;
    TextMeasurer* m_measurer = nullptr;
    mutable std::uint64_t m_layoutGeneration = 0;  // see LayoutGeneration()
};

} // namespace orvalis
