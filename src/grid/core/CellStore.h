#pragma once

#include "grid/core/CellColumn.h"
#include "grid/core/GridTypes.h"
#include "grid/core/RowSizes.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvalis {

// A copy of one cell of the store, as Cell() hands it out. The font is an index into
// the store's font table.
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
    // A user's edit of the cell ended (typing, Delete, paste, cut, a drop, an edit taken
    // back or done again), whether or not its text changed; heard also while drawing is
    // off. The worksheet reads its header values back here.
    virtual void EditEnded(int /*row*/, int /*col*/) {}
};

// The worksheet's store of truth: text cells kept column by column in blocks that exist
// only where cells differ from their neighbours (see CellColumn), with a band of fixed
// rows and columns, per-row heights with running sums and per-column widths. Focus and
// selection belong to each view (GridSelection), not to the cells. Plain C++: usable
// without any window. Every cell
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
    void SetTextMeasurer(TextMeasurer* measurer) { m_measurer = measurer; }
    TextMeasurer* GetTextMeasurer() const { return m_measurer; }

    // Counts --------------------------------------------------------------------------
    int GetRowCount() const { return m_rowCount; }
    int GetColumnCount() const { return m_columnCount; }
    int GetFixedRowCount() const { return m_fixedRowCount; }
    int GetFixedColumnCount() const { return m_fixedColumnCount; }
    // Columns are limited to kMaxCount, rows to kMaxRowCount: room for a worksheet of
    // 1,048,576 data rows below its header rows. Larger counts and negative ones are
    // refused (false).
    static constexpr int kMaxCount = 0x10000;
    static constexpr int kMaxRowCount = 0x200000;
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
    // The stored text without a copy; empty for a cell out of range. The reference stays
    // valid until that cell's text changes or the counts change or rows are sorted.
    const std::string& CellTextRef(int row, int col) const;
    bool SetCellText(int row, int col, const std::string& text);
    // Copies the masked fields.
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
    // A copy of the cell (its text included), nullptr out of range. The record is the
    // store's one scratch copy: it holds until the next call of Cell(). The per-field
    // getters above read a cell without copying it.
    const GridCell* Cell(int row, int col) const;

    // Empties a cell before it is freed or cut: state 0, no text.
    virtual void EmptyCell(int row, int col);

    // Marks one cell (row > 0 and col > 0) or the whole grid modified.
    void SetModified(bool modified = true, int row = -1, int col = -1);
    bool GetModified() const { return m_modified; }

    // True when the cell columns, the sizes and the fixed bands match the counts.
    bool CheckConsistency() const;
    // Heap bytes held for the cells (texts and attribute records), for tests and
    // benchmarks.
    std::size_t CellHeapBytes() const;

    // Sizes ---------------------------------------------------------------------------
    int GetRowHeight(int row) const;
    int GetColumnWidth(int col) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    int GetVirtualHeight() const;
    int GetVirtualWidth() const;
    // Pixels above row (0 .. the row count) in the whole grid, fixed rows included;
    // O(log rows).
    std::int64_t GetRowOffset(int row) const { return m_rowHeights.Offset(row); }
    // The row whose extent holds the pixel offset from the top of the grid; the row
    // count when the offset is past the last row, 0 when negative. O(log rows).
    int GetRowAtOffset(std::int64_t offset) const { return m_rowHeights.IndexAt(offset); }
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

    // Tells every listener that a user's edit of the cell ended (see EditEnded).
    void NotifyEditEnded(int row, int col) const;

    // Sorts rows fixedRowCount.. by the text of col (a list view's title click).
    bool SortTextRows(int col, bool ascending);

    // Switches of the store itself; how a window shows the cells is the window's own
    // (GridViewOptions).
    // False while the cells are locked against the user (a training run): no cell is
    // editable then, whichever window shows it.
    bool editable = true;
    // False: listeners hear no cell or layout change (bulk writes); they repaint whole
    // afterwards. Text changes are still heard, so an edit history misses none.
    bool allowDraw = true;

protected:
    void NotifyCell(int row, int col) const;
    void NotifyTextChanging(int row, int col, const std::string& oldText) const;
    void NotifyLayout() const;

private:
    const CellAttributes& Attributes(int row, int col) const
    {
        return m_columns[static_cast<std::size_t>(col)].Attributes(row);
    }
    // Stores changed attributes of a valid cell; false when they equal the old ones.
    bool ChangeAttributes(int row, int col, const CellAttributes& attributes);
    template <typename Visit>
    void ForEachUsedCell(int firstRow, int endRow, int firstCol, int endCol, Visit visit) const;
    void EmptyUsedCells(int firstRow, int endRow, int firstCol, int endCol);
    // Extents of empty cells measured so far, by font index and fixedness.
    using EmptyExtents = std::vector<std::pair<unsigned, TextMeasurer::Size>>;
    TextMeasurer::Size AutoSizeExtent(int row, int col, EmptyExtents& empty) const;
    std::uint16_t InternFont(const LogFont& font);
    bool SortRange(int col, bool ascending, int lo0, int hi0);
    void SwapRows(int a, int b);

    int m_rowCount = 0;
    int m_columnCount = 0;
    int m_fixedRowCount = 0;
    int m_fixedColumnCount = 0;
    std::vector<CellColumn> m_columns; // one per column, each of m_rowCount rows
    RowSizes m_rowHeights;             // pixels, one per row
    std::vector<int> m_columnWidths;   // pixels, one per column
    mutable GridCell m_cellCopy;       // what Cell() last handed out
    int m_defaultRowHeight = 10;
    int m_defaultColumnWidth = 30;
    int m_margin = 0;
    LogFont m_gridFont;
    std::vector<LogFont> m_fonts;  // font table; entry 0 is the grid font
    bool m_modified = false;
    std::vector<CellStoreListener*> m_listeners;
    TextMeasurer* m_measurer = nullptr;
    mutable std::uint64_t m_layoutGeneration = 0;  // see LayoutGeneration()
};

} // namespace orvalis
