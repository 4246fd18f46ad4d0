#include "grid/core/CellStore.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace orvalis {

namespace {

// The sum of sizes (each at least 0), held at the largest int: a grid of huge rows or
// columns reports a size it can hold instead of a wrapped, negative one.
int SumOfSizes(std::vector<int>::const_iterator begin, std::vector<int>::const_iterator end)
{
    long long sum = 0;
    for (auto it = begin; it != end; ++it)
        sum = std::min<long long>(sum + *it, std::numeric_limits<int>::max());
    return static_cast<int>(sum);
}
int HeldAtIntMax(std::int64_t sum)
{
    return static_cast<int>(std::min<std::int64_t>(sum, std::numeric_limits<int>::max()));
}
const std::string kEmpty;
} // namespace

CellStore::CellStore(int rows, int cols, int fixedRows, int fixedCols)
{
    std::strncpy(m_gridFont.faceName, "Sans Serif", sizeof m_gridFont.faceName - 1);
    m_gridFont.height = -12;
    m_fonts.push_back(m_gridFont);
    SetRowCount(rows);
    SetColumnCount(cols);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedCols);
}

CellStore::~CellStore() = default;

void CellStore::NotifyCell(int row, int col) const
{
    if (allowDraw)
        for (CellStoreListener* listener : m_listeners)
            listener->CellChanged(row, col);
}

void CellStore::NotifyTextChanging(int row, int col, const std::string& oldText) const
{
    for (CellStoreListener* listener : m_listeners)
        listener->CellTextChanging(row, col, oldText);
}

void CellStore::NotifyLayout() const
{
    ++m_layoutGeneration;
    if (allowDraw)
        for (CellStoreListener* listener : m_listeners)
            listener->LayoutChanged();
}

// Visits the cells of the rectangle that hold text or a state bit, row by row, as a walk
// over every cell would meet them, skipping the blocks of rows that hold neither.
template <typename Visit>
void CellStore::ForEachUsedCell(int firstRow, int endRow, int firstCol, int endCol,
                                Visit visit) const
{
    std::vector<int> columns;
    for (int block = firstRow >> CellColumn::kBlockShift;
         firstRow < endRow && (block << CellColumn::kBlockShift) < endRow; ++block) {
        columns.clear();
        for (int c = firstCol; c < endCol; ++c)
            if (m_columns[static_cast<std::size_t>(c)].BlockMayBeUsed(block))
                columns.push_back(c);
        if (columns.empty())
            continue;
        const int from = std::max(firstRow, block << CellColumn::kBlockShift);
        const int to = std::min(endRow, (block + 1) << CellColumn::kBlockShift);
        for (int r = from; r < to; ++r)
            for (int c : columns)
                if (m_columns[static_cast<std::size_t>(c)].IsUsed(r))
                    visit(r, c);
    }
}

void CellStore::EmptyUsedCells(int firstRow, int endRow, int firstCol, int endCol)
{
    // Only cells with text or state have anything to empty or report, so the others
    // are passed over, which keeps dropping a million empty rows cheap.
    ForEachUsedCell(firstRow, endRow, firstCol, endCol, [this](int r, int c) { EmptyCell(r, c); });
}

// Counts ------------------------------------------------------------------------------

bool CellStore::SetRowCount(int n)
{
    if (n < 0 || n > kMaxRowCount)
        return false;
    if (n == m_rowCount)
        return true;
    if (n < m_fixedRowCount)
        m_fixedRowCount = n;
    EmptyUsedCells(n, m_rowCount, 0, m_columnCount);
    for (CellColumn& column : m_columns)
        column.Resize(n);
    m_rowHeights.Resize(n, m_defaultRowHeight);
    m_rowCount = n;
    NotifyLayout();
    return true;
}

bool CellStore::SetColumnCount(int n)
{
    if (n < 0 || n > kMaxCount)
        return false;
    if (n == m_columnCount)
        return true;
    if (n < m_fixedColumnCount)
        m_fixedColumnCount = n;
    EmptyUsedCells(0, m_rowCount, n, m_columnCount);
    m_columnWidths.resize(n, m_defaultColumnWidth);
    // New columns have nothing above their cells to take a format from.
    m_columns.resize(static_cast<std::size_t>(n));
    for (CellColumn& column : m_columns)
        column.Resize(m_rowCount);
    m_columnCount = n;
    NotifyLayout();
    return true;
}

bool CellStore::SetFixedRowCount(int n)
{
    if (n < 0)
        return false;
    if (n > m_rowCount && !SetRowCount(n))
        return false;
    m_fixedRowCount = n;
    NotifyLayout();
    return true;
}

bool CellStore::SetFixedColumnCount(int n)
{
    if (n < 0)
        return false;
    if (n > m_columnCount && !SetColumnCount(n))
        return false;
    m_fixedColumnCount = n;
    NotifyLayout();
    return true;
}

void CellStore::DeleteAllCells()
{
    EmptyUsedCells(0, m_rowCount, 0, m_columnCount);
    m_columns.clear();
    m_rowHeights.Resize(0, 0);
    m_columnWidths.clear();
    m_rowCount = m_columnCount = m_fixedRowCount = m_fixedColumnCount = 0;
    NotifyLayout();
}

// Cells -------------------------------------------------------------------------------

const GridCell* CellStore::Cell(int row, int col) const
{
    if (!IsValidCell(row, col))
        return nullptr;
    const CellAttributes& a = Attributes(row, col);
    m_cellCopy.state = a.state;
    m_cellCopy.format = a.format;
    m_cellCopy.text = CellTextRef(row, col);
    m_cellCopy.image = a.image;
    m_cellCopy.backColor = a.backColor;
    m_cellCopy.textColor = a.textColor;
    m_cellCopy.param = a.param;
    m_cellCopy.fontIndex = a.fontIndex;
    return &m_cellCopy;
}

bool CellStore::ChangeAttributes(int row, int col, const CellAttributes& attributes)
{
    CellColumn& column = m_columns[static_cast<std::size_t>(col)];
    if (column.Attributes(row) == attributes)
        return false;
    column.SetAttributes(row, attributes);
    return true;
}

std::string CellStore::GetCellText(int row, int col) const
{
    return CellTextRef(row, col);
}

const std::string& CellStore::CellTextRef(int row, int col) const
{
    return IsValidCell(row, col) ? m_columns[static_cast<std::size_t>(col)].Text(row) : kEmpty;
}

bool CellStore::SetCellText(int row, int col, const std::string& text)
{
    if (!IsValidCell(row, col))
        return false;
    CellColumn& column = m_columns[static_cast<std::size_t>(col)];
    if (column.Text(row) != text) {
        NotifyTextChanging(row, col, column.Text(row));
        column.SetText(row, text);
        NotifyCell(row, col);
    }
    return true;
}

bool CellStore::SetCell(const GridItem& item)
{
    if (!IsValidCell(item.row, item.col))
        return false;
    CellColumn& column = m_columns[static_cast<std::size_t>(item.col)];
    if ((item.mask & ItemText) && column.Text(item.row) != item.text) {
        NotifyTextChanging(item.row, item.col, column.Text(item.row));
        column.SetText(item.row, item.text);
    }
    if (item.mask & ItemState)
        SetCellState(item.row, item.col, item.state);
    CellAttributes a = column.Attributes(item.row);
    if (item.mask & ItemParam)
        a.param = item.param;
    if (item.mask & ItemImage)
        a.image = item.image;
    if (item.mask & ItemFormat)
        a.format = item.format;
    if (item.mask & ItemBackColor)
        a.backColor = item.backColor;
    if (item.mask & ItemTextColor)
        a.textColor = item.textColor;
    if (item.mask & ItemFont)
        a.fontIndex = InternFont(item.font);
    ChangeAttributes(item.row, item.col, a);
    NotifyCell(item.row, item.col);
    return true;
}

bool CellStore::GetCell(GridItem& item) const
{
    if (!IsValidCell(item.row, item.col))
        return false;
    const CellAttributes& a = Attributes(item.row, item.col);
    if (item.mask & ItemText)
        item.text = GetCellText(item.row, item.col);
    if (item.mask & ItemParam)
        item.param = a.param;
    if (item.mask & ItemImage)
        item.image = a.image;
    if (item.mask & ItemState)
        item.state = a.state;
    if (item.mask & ItemFormat)
        item.format = a.format;
    if (item.mask & ItemBackColor)
        item.backColor = a.backColor;
    if (item.mask & ItemTextColor)
        item.textColor = a.textColor;
    if (item.mask & ItemFont)
        item.font = m_fonts[a.fontIndex];
    return true;
}

bool CellStore::SetCellState(int row, int col, unsigned state)
{
    if (!IsValidCell(row, col))
        return false;
    CellAttributes a = Attributes(row, col);
    if (a.state != state) {
        a.state = state;
        ChangeAttributes(row, col, a);
        NotifyCell(row, col);
    }
    return true;
}

unsigned CellStore::GetCellState(int row, int col) const
{
    return IsValidCell(row, col) ? Attributes(row, col).state : 0;
}

bool CellStore::SetCellBackColor(int row, int col, GridColour colour)
{
    if (!IsValidCell(row, col))
        return false;
    CellAttributes a = Attributes(row, col);
    a.backColor = colour;
    if (ChangeAttributes(row, col, a))
        NotifyCell(row, col);
    return true;
}

GridColour CellStore::GetCellBackColor(int row, int col) const
{
    return IsValidCell(row, col) ? Attributes(row, col).backColor : DefaultColor;
}

bool CellStore::SetCellTextColor(int row, int col, GridColour colour)
{
    if (!IsValidCell(row, col))
        return false;
    CellAttributes a = Attributes(row, col);
    a.textColor = colour;
    if (ChangeAttributes(row, col, a))
        NotifyCell(row, col);
    return true;
}

GridColour CellStore::GetCellTextColor(int row, int col) const
{
    return IsValidCell(row, col) ? Attributes(row, col).textColor : DefaultColor;
}

bool CellStore::SetCellFormat(int row, int col, unsigned format)
{
    if (!IsValidCell(row, col))
        return false;
    CellAttributes a = Attributes(row, col);
    a.format = format;
    if (ChangeAttributes(row, col, a))
        NotifyCell(row, col);
    return true;
}

unsigned CellStore::GetCellFormat(int row, int col) const
{
    return IsValidCell(row, col) ? Attributes(row, col).format : 0;
}

int CellStore::GetCellImage(int row, int col) const
{
    return IsValidCell(row, col) ? Attributes(row, col).image : -1;
}

std::uint16_t CellStore::InternFont(const LogFont& font)
{
    for (std::size_t i = 0; i < m_fonts.size(); ++i)
        if (m_fonts[i] == font)
            return static_cast<std::uint16_t>(i);
    if (m_fonts.size() >= 0xFFFF)
        return 0;  // table full: the grid font stands in
    m_fonts.push_back(font);
    return static_cast<std::uint16_t>(m_fonts.size() - 1);
}

bool CellStore::SetCellFont(int row, int col, const LogFont& font)
{
    if (!IsValidCell(row, col))
        return false;
    CellAttributes a = Attributes(row, col);
    a.fontIndex = InternFont(font);
    ChangeAttributes(row, col, a);
    NotifyCell(row, col);
    return true;
}

LogFont CellStore::GetCellFont(int row, int col) const
{
    return CellFontRef(row, col);
}

const LogFont& CellStore::CellFontRef(int row, int col) const
{
    return IsValidCell(row, col) ? m_fonts[Attributes(row, col).fontIndex] : m_gridFont;
}

bool CellStore::IsCellEditable(int row, int col) const
{
    return editable && !(GetCellState(row, col) & CellReadOnly);
}

void CellStore::EmptyCell(int row, int col)
{
    if (!IsValidCell(row, col))
        return;
    SetCellState(row, col, 0);
    SetCellText(row, col, std::string());
}

void CellStore::SetModified(bool modified, int row, int col)
{
    if (row > 0 && col > 0) {
        if (IsValidCell(row, col)) {
            CellAttributes a = Attributes(row, col);
            if (modified) {
                a.state |= CellModified;
                m_modified = true;
            } else {
                a.state &= ~static_cast<unsigned>(CellModified);
            }
            ChangeAttributes(row, col, a);
        }
    } else {
        m_modified = modified;
    }
    if (!m_modified)
        for (CellColumn& column : m_columns)
            column.ChangeAllAttributes(
                [](CellAttributes& a) { a.state &= ~static_cast<unsigned>(CellModified); });
}

bool CellStore::CheckConsistency() const
{
    if (static_cast<int>(m_columns.size()) != m_columnCount)
        return false;
    for (const CellColumn& column : m_columns)
        if (column.RowCount() != m_rowCount || !column.CheckConsistency())
            return false;
    return m_rowHeights.Count() == m_rowCount &&
           static_cast<int>(m_columnWidths.size()) == m_columnCount &&
           m_fixedRowCount <= m_rowCount && m_fixedColumnCount <= m_columnCount;
}

// Sizes -------------------------------------------------------------------------------

int CellStore::GetRowHeight(int row) const
{
    return row >= 0 && row < m_rowCount ? m_rowHeights.Get(row) : -1;
}

int CellStore::GetColumnWidth(int col) const
{
    return col >= 0 && col < m_columnCount ? m_columnWidths[col] : -1;
}

bool CellStore::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_rowCount || height < 0)
        return false;
    m_rowHeights.Set(row, height);
    ++m_layoutGeneration;  // callers repaint and reset the scroll bars themselves
    return true;
}

bool CellStore::SetColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_columnCount || width < 0)
        return false;
    m_columnWidths[col] = width;
    ++m_layoutGeneration;
    return true;
}

int CellStore::GetFixedRowHeight() const
{
    return HeldAtIntMax(m_rowHeights.Offset(m_fixedRowCount));
}

int CellStore::GetFixedColumnWidth() const
{
    return SumOfSizes(m_columnWidths.begin(), m_columnWidths.begin() + m_fixedColumnCount);
}

int CellStore::GetVirtualHeight() const
{
    return HeldAtIntMax(m_rowHeights.Total());
}

int CellStore::GetVirtualWidth() const
{
    return SumOfSizes(m_columnWidths.begin(), m_columnWidths.end());
}

TextMeasurer::Size CellStore::GetCellExtent(int row, int col) const
{
    if (!m_measurer || !IsValidCell(row, col))
        return {};
    LogFont font = GetCellFont(row, col);
    if (IsFixed(row, col))
        font.weight = 600;
    TextMeasurer::Size size = m_measurer->MeasureText(font, CellTextRef(row, col));
    size.width += 4 * m_margin;
    size.height += 2 * m_margin;
    return size;
}

TextMeasurer::Size CellStore::AutoSizeExtent(int row, int col, EmptyExtents& empty) const
{
    if (!CellTextRef(row, col).empty())
        return GetCellExtent(row, col);
    // An empty cell's extent depends only on its font and on whether it is fixed, so one
    // measurement serves all empty cells alike: most cells of a worksheet.
    const unsigned key = 2u * Attributes(row, col).fontIndex + (IsFixed(row, col) ? 1u : 0u);
    for (const auto& [known, size] : empty)
        if (known == key)
            return size;
    empty.emplace_back(key, GetCellExtent(row, col));
    return empty.back().second;
}

bool CellStore::AutoSizeColumn(int col)
{
    if (col < 0 || col >= m_columnCount || !m_measurer)
        return false;
    int width = 0;
    EmptyExtents empty;
    for (int r = 0; r < m_rowCount; ++r)
        width = std::max(width, AutoSizeExtent(r, col, empty).width);
    m_columnWidths[col] = width;
    NotifyLayout();
    return true;
}

bool CellStore::AutoSizeRow(int row)
{
    if (row < 0 || row >= m_rowCount || !m_measurer)
        return false;
    int height = 0;
    for (int c = 0; c < m_columnCount; ++c)
        height = std::max(height, GetCellExtent(row, c).height);
    m_rowHeights.Set(row, height);
    NotifyLayout();
    return true;
}

void CellStore::AutoSize()
{
    if (!m_measurer)
        return;
    std::fill(m_columnWidths.begin(), m_columnWidths.end(), 0);
    std::vector<int> heights(static_cast<std::size_t>(m_rowCount), 0);
    EmptyExtents empty;
    for (int c = 0; c < m_columnCount; ++c) {
        for (int r = 0; r < m_rowCount; ++r) {
            const TextMeasurer::Size size = AutoSizeExtent(r, c, empty);
            m_columnWidths[c] = std::max(m_columnWidths[c], size.width);
            heights[r] = std::max(heights[r], size.height);
        }
    }
    m_rowHeights.Assign(heights);
    NotifyLayout();
}

// Fonts -------------------------------------------------------------------------------

void CellStore::SetGridFont(const LogFont& font)
{
    m_gridFont = font;
    m_fonts.assign(1, font);
    for (CellColumn& column : m_columns)
        column.ChangeAllAttributes([](CellAttributes& a) { a.fontIndex = 0; });
    if (m_measurer) {
        const TextMeasurer::Metrics m = m_measurer->FontMetrics(font);
        m_margin = m.blankWidth;
        m_defaultRowHeight = m.charHeight + m.externalLeading + 2 * m_margin;
        m_defaultColumnWidth = 12 * m.averageCharWidth + 2 * m_margin;
    }
    NotifyLayout();
}

std::size_t CellStore::CellHeapBytes() const
{
    std::size_t bytes = m_columns.capacity() * sizeof(CellColumn);
    for (const CellColumn& column : m_columns)
        bytes += column.HeapBytes();
    return bytes;
}

void CellStore::NotifyEditEnded(int row, int col) const
{
    for (CellStoreListener* listener : m_listeners)
        listener->EditEnded(row, col);
}

// Sorting -----------------------------------------------------------------------------

void CellStore::SwapRows(int a, int b)
{
    for (CellColumn& column : m_columns)
        column.SwapRows(a, b);
    const int height = m_rowHeights.Get(a);
    m_rowHeights.Set(a, m_rowHeights.Get(b));
    m_rowHeights.Set(b, height);
}

bool CellStore::SortRange(int col, bool ascending, int lo0, int hi0)
{
    if (col >= m_columnCount)
        return false;
    if (hi0 == -1)
        hi0 = m_rowCount - 1;
    if (hi0 <= lo0)
        return false;
    const CellColumn& column = m_columns[static_cast<std::size_t>(col)];
    const auto text = [&](int r) -> const std::string& { return column.Text(r); };
    // Byte-wise unsigned comparison: case-sensitive, numbers compare as text.
    const auto less = [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
    };
    const std::string pivot = text((lo0 + hi0) / 2);
    int lo = lo0;
    int hi = hi0;
    while (lo <= hi) {
        if (ascending) {
            while (lo < hi0 && less(text(lo), pivot))
                ++lo;
            while (hi > lo0 && less(pivot, text(hi)))
                --hi;
        } else {
            while (lo < hi0 && less(pivot, text(lo)))
                ++lo;
            while (hi > lo0 && less(text(hi), pivot))
                --hi;
        }
        if (lo <= hi) {
            if (text(lo) != text(hi))
                SwapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (lo0 < hi)
        SortRange(col, ascending, lo0, hi);
    if (lo < hi0)
        SortRange(col, ascending, lo, hi0);
    return true;
}

bool CellStore::SortTextRows(int col, bool ascending)
{
    if (col < 0 || col >= m_columnCount)
        return false;
    const bool sorted = SortRange(col, ascending, m_fixedRowCount, -1);
    NotifyLayout();
    return sorted;
}

} // namespace orvalis
