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
const std::string kEmpty;
}

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

GridCell CellStore::MakeCell(int row, int col) const
{
    GridCell cell;
    // A new cell inherits the format of the cell above it, so a format set on the last
    // row carries down into rows added later.
    if (row > 0 && row - 1 < static_cast<int>(m_rows.size()) &&
        col < static_cast<int>(m_rows[row - 1].size()))
        cell.format = m_rows[row - 1][col].format;
    cell.fontIndex = 0;
    return cell;
}

// Counts ------------------------------------------------------------------------------

bool CellStore::SetRowCount(int n)
{
    if (n < 0 || n > kMaxCount)
        return false;
    if (n == m_rowCount)
        return true;
    if (n < m_fixedRowCount)
        m_fixedRowCount = n;
    for (int r = n; r < m_rowCount; ++r)
        for (int c = 0; c < m_columnCount; ++c)
            EmptyCell(r, c);
    const int old = m_rowCount;
    m_rows.resize(n);
    m_rowHeights.resize(n, m_defaultRowHeight);
    m_rowCount = n;
    for (int r = old; r < n; ++r) {
        m_rows[r].reserve(m_columnCount);
        for (int c = 0; c < m_columnCount; ++c)
            m_rows[r].push_back(MakeCell(r, c));
    }
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
    for (int r = 0; r < m_rowCount; ++r)
        for (int c = n; c < m_columnCount; ++c)
            EmptyCell(r, c);
    const int old = m_columnCount;
    m_columnWidths.resize(n, m_defaultColumnWidth);
    m_columnCount = n;
    for (int r = 0; r < m_rowCount; ++r) {
        if (n < old) {
            m_rows[r].resize(n);
        } else {
            m_rows[r].reserve(n);
            for (int c = old; c < n; ++c)
                m_rows[r].push_back(MakeCell(r, c));
        }
    }
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
    for (int r = 0; r < m_rowCount; ++r)
        for (int c = 0; c < m_columnCount; ++c)
            EmptyCell(r, c);
    m_rows.clear();
    m_rowHeights.clear();
    m_columnWidths.clear();
    m_rowCount = m_columnCount = m_fixedRowCount = m_fixedColumnCount = 0;
    NotifyLayout();
}

// Cells -------------------------------------------------------------------------------

const GridCell* CellStore::Cell(int row, int col) const
{
    return IsValidCell(row, col) ? &m_rows[row][col] : nullptr;
}

GridCell* CellStore::MutableCell(int row, int col)
{
    return IsValidCell(row, col) ? &m_rows[row][col] : nullptr;
}

std::string CellStore::GetCellText(int row, int col) const
{
    return CellTextRef(row, col);
}

const std::string& CellStore::CellTextRef(int row, int col) const
{
    const GridCell* cell = Cell(row, col);
    return cell ? cell->text : kEmpty;
}

bool CellStore::SetCellText(int row, int col, const std::string& text)
{
    GridCell* cell = MutableCell(row, col);
    if (!cell)
        return false;
    if (cell->text != text) {
        NotifyTextChanging(row, col, cell->text);
        cell->text = text;
        NotifyCell(row, col);
    }
    return true;
}

bool CellStore::SetCell(const GridItem& item)
{
    GridCell* cell = MutableCell(item.row, item.col);
    if (!cell)
        return false;
    if ((item.mask & ItemText) && cell->text != item.text) {
        NotifyTextChanging(item.row, item.col, cell->text);
        cell->text = item.text;
    }
    if (item.mask & ItemParam)
        cell->param = item.param;
    if (item.mask & ItemImage)
        cell->image = item.image;
    if (item.mask & ItemState) {
        SetCellState(item.row, item.col, item.state);
        cell = MutableCell(item.row, item.col);
    }
    if (item.mask & ItemFormat)
        cell->format = item.format;
    if (item.mask & ItemBackColor)
        cell->backColor = item.backColor;
    if (item.mask & ItemTextColor)
        cell->textColor = item.textColor;
    if (item.mask & ItemFont)
        cell->fontIndex = InternFont(item.font);
    NotifyCell(item.row, item.col);
    return true;
}

bool CellStore::GetCell(GridItem& item) const
{
    const GridCell* cell = Cell(item.row, item.col);
    if (!cell)
        return false;
    if (item.mask & ItemText)
        item.text = GetCellText(item.row, item.col);
    if (item.mask & ItemParam)
        item.param = cell->param;
    if (item.mask & ItemImage)
        item.image = cell->image;
    if (item.mask & ItemState)
        item.state = cell->state;
    if (item.mask & ItemFormat)
        item.format = cell->format;
    if (item.mask & ItemBackColor)
        item.backColor = cell->backColor;
    if (item.mask & ItemTextColor)
        item.textColor = cell->textColor;
    if (item.mask & ItemFont)
        item.font = m_fonts[cell->fontIndex];
    return true;
}

bool CellStore::SetCellState(int row, int col, unsigned state)
{
    GridCell* cell = MutableCell(row, col);
    if (!cell)
        return false;
    if (cell->state != state) {
        cell->state = state;
        NotifyCell(row, col);
    }
    return true;
}

unsigned CellStore::GetCellState(int row, int col) const
{
    const GridCell* cell = Cell(row, col);
    return cell ? cell->state : 0;
}

bool CellStore::SetCellBackColor(int row, int col, GridColour colour)
{
    GridCell* cell = MutableCell(row, col);
    if (!cell)
        return false;
    if (cell->backColor != colour) {
        cell->backColor = colour;
        NotifyCell(row, col);
    }
    return true;
}

GridColour CellStore::GetCellBackColor(int row, int col) const
{
    const GridCell* cell = Cell(row, col);
    return cell ? cell->backColor : DefaultColor;
}

bool CellStore::SetCellTextColor(int row, int col, GridColour colour)
{
    GridCell* cell = MutableCell(row, col);
    if (!cell)
        return false;
    if (cell->textColor != colour) {
        cell->textColor = colour;
        NotifyCell(row, col);
    }
    return true;
}

GridColour CellStore::GetCellTextColor(int row, int col) const
{
    const GridCell* cell = Cell(row, col);
    return cell ? cell->textColor : DefaultColor;
}

bool CellStore::SetCellFormat(int row, int col, unsigned format)
{
    GridCell* cell = MutableCell(row, col);
    if (!cell)
        return false;
    if (cell->format != format) {
        cell->format = format;
        NotifyCell(row, col);
    }
    return true;
}

unsigned CellStore::GetCellFormat(int row, int col) const
{
    const GridCell* cell = Cell(row, col);
    return cell ? cell->format : 0;
}

int CellStore::GetCellImage(int row, int col) const
{
    const GridCell* cell = Cell(row, col);
    return cell ? cell->image : -1;
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
    GridCell* cell = MutableCell(row, col);
    if (!cell)
        return false;
    cell->fontIndex = InternFont(font);
    NotifyCell(row, col);
    return true;
}

LogFont CellStore::GetCellFont(int row, int col) const
{
    return CellFontRef(row, col);
}

const LogFont& CellStore::CellFontRef(int row, int col) const
{
    const GridCell* cell = Cell(row, col);
    return cell ? m_fonts[cell->fontIndex] : m_gridFont;
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
        if (GridCell* cell = MutableCell(row, col)) {
            if (modified) {
                cell->state |= CellModified;
                m_modified = true;
            } else {
                cell->state &= ~static_cast<unsigned>(CellModified);
            }
        }
    } else {
        m_modified = modified;
    }
    if (!m_modified)
        for (auto& r : m_rows)
            for (auto& cell : r)
                cell.state &= ~static_cast<unsigned>(CellModified);
}

bool CellStore::CheckConsistency() const
{
    for (int r = 0; r < m_rowCount; ++r)
        if (static_cast<int>(m_rows[r].size()) != m_columnCount)
            return false;
    return static_cast<int>(m_rowHeights.size()) == m_rowCount &&
           static_cast<int>(m_columnWidths.size()) == m_columnCount &&
           m_fixedRowCount <= m_rowCount && m_fixedColumnCount <= m_columnCount;
}

// Sizes -------------------------------------------------------------------------------

int CellStore::GetRowHeight(int row) const
{
    return row >= 0 && row < m_rowCount ? m_rowHeights[row] : -1;
}

int CellStore::GetColumnWidth(int col) const
{
    return col >= 0 && col < m_columnCount ? m_columnWidths[col] : -1;
}

bool CellStore::SetRowHeight(int row, int height)
{
    if (row < 0 || row >= m_rowCount || height < 0)
        return false;
    m_rowHeights[row] = height;
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
    return SumOfSizes(m_rowHeights.begin(), m_rowHeights.begin() + m_fixedRowCount);
}

int CellStore::GetFixedColumnWidth() const
{
    return SumOfSizes(m_columnWidths.begin(), m_columnWidths.begin() + m_fixedColumnCount);
}

int CellStore::GetVirtualHeight() const
{
    return SumOfSizes(m_rowHeights.begin(), m_rowHeights.end());
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

bool CellStore::AutoSizeColumn(int col)
{
    if (col < 0 || col >= m_columnCount || !m_measurer)
        return false;
    int width = 0;
    for (int r = 0; r < m_rowCount; ++r)
        width = std::max(width, GetCellExtent(r, col).width);
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
    m_rowHeights[row] = height;
    NotifyLayout();
    return true;
}

void CellStore::AutoSize()
{
    if (!m_measurer)
        return;
    std::fill(m_columnWidths.begin(), m_columnWidths.end(), 0);
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), 0);
    for (int r = 0; r < m_rowCount; ++r) {
        for (int c = 0; c < m_columnCount; ++c) {
            const TextMeasurer::Size size = GetCellExtent(r, c);
            m_columnWidths[c] = std::max(m_columnWidths[c], size.width);
            m_rowHeights[r] = std::max(m_rowHeights[r], size.height);
        }
    }
    NotifyLayout();
}

// Fonts -------------------------------------------------------------------------------

void CellStore::SetGridFont(const LogFont& font)
{
    m_gridFont = font;
    m_fonts.assign(1, font);
    for (auto& r : m_rows)
        for (auto& cell : r)
            cell.fontIndex = 0;
    if (m_measurer) {
        const TextMeasurer::Metrics m = m_measurer->FontMetrics(font);
        m_margin = m.blankWidth;
        m_defaultRowHeight = m.charHeight + m.externalLeading + 2 * m_margin;
        m_defaultColumnWidth = 12 * m.averageCharWidth + 2 * m_margin;
    }
    NotifyLayout();
}

void CellStore::NotifyEditEnded(int row, int col) const
{
    for (CellStoreListener* listener : m_listeners)
        listener->EditEnded(row, col);
}

// Sorting -----------------------------------------------------------------------------

void CellStore::SwapRows(int a, int b)
{
    std::swap(m_rows[a], m_rows[b]);
    std::swap(m_rowHeights[a], m_rowHeights[b]);
}

bool CellStore::SortRange(int col, bool ascending, int lo0, int hi0)
{
    if (col >= m_columnCount)
        return false;
    if (hi0 == -1)
        hi0 = m_rowCount - 1;
    if (hi0 <= lo0)
        return false;
    const auto text = [&](int r) -> const std::string& { return m_rows[r][col].text; };
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
