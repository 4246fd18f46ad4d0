#include "grid/core/CellColumn.h"

#include <algorithm>

namespace orvalis {

namespace {
const std::string kNoText;
constexpr int kRowMask = CellColumn::kBlockRows - 1;

std::size_t BlockOf(int row)
{
    return static_cast<std::size_t>(row) >> CellColumn::kBlockShift;
}
} // namespace

int CellColumn::RowsInUse(std::size_t block) const
{
    const long long first = static_cast<long long>(block) * kBlockRows;
    return static_cast<int>(std::clamp<long long>(m_rows - first, 0, kBlockRows));
}

void CellColumn::MaterialiseBlocks(std::size_t count)
{
    if (m_blocks.size() < count)
        m_blocks.resize(count);
    for (std::size_t block = 0; block < count; ++block) {
        if (!m_blocks[block]) {
            m_blocks[block] = std::make_unique<Block>();
            m_blocks[block]->common = m_fill;
        }
    }
}

CellColumn::Block& CellColumn::BlockFor(int row)
{
    const std::size_t block = BlockOf(row);
    if (m_blocks.size() <= block)
        m_blocks.resize(block + 1);
    if (!m_blocks[block]) {
        m_blocks[block] = std::make_unique<Block>();
        m_blocks[block]->common = m_fill;
    }
    return *m_blocks[block];
}

void CellColumn::ReleaseIfFill(std::size_t block)
{
    // A block that no longer differs from the fill cells goes, so that a cell set and
    // emptied again costs nothing.
    const Block& b = *m_blocks[block];
    if (!b.cells && !b.text && b.common == m_fill)
        m_blocks[block].reset();
}

void CellColumn::Resize(int rows)
{
    const int old = m_rows;
    if (rows < old) {
        const std::size_t keep = BlockOf(rows + kRowMask);
        if (m_blocks.size() > keep)
            m_blocks.erase(m_blocks.begin() + static_cast<std::ptrdiff_t>(keep), m_blocks.end());
        // The slots of the last block past the new count return to the block's record,
        // so that rows added later start from it.
        const int covered = static_cast<int>(m_blocks.size()) * kBlockRows;
        for (int r = rows; r < std::min(old, covered); ++r) {
            if (!m_blocks[BlockOf(r)])
                break;
            SetText(r, std::string());
            SetAttributes(r, m_blocks[BlockOf(r)]->common);
        }
        m_rows = rows;
        return;
    }
    if (rows == old)
        return;
    // A new row inherits the format of the cell above it, so a format set on the last
    // row carries down into the rows added.
    CellAttributes fresh;
    if (old > 0)
        fresh.format = Attributes(old - 1).format;
    // Rows in use without a block read the fill record: before it changes for the new
    // rows, they get blocks that keep what they read.
    if (old > 0 && !(m_fill == fresh))
        MaterialiseBlocks(BlockOf(old - 1) + 1);
    m_rows = rows;
    const int covered = static_cast<int>(std::min<long long>(
        static_cast<long long>(m_blocks.size()) * kBlockRows, rows));
    for (int r = old; r < covered; ++r)
        SetAttributes(r, fresh);
    if (covered < rows)
        m_fill = fresh;
}

const std::string& CellColumn::Text(int row) const
{
    const std::size_t block = BlockOf(row);
    if (block >= m_blocks.size() || !m_blocks[block] || !m_blocks[block]->text)
        return kNoText;
    const std::string& text = m_blocks[block]->text[row & kRowMask];
    // An empty cell answers the shared empty string: a reference to it survives the
    // block's texts being freed when its last text goes.
    return text.empty() ? kNoText : text;
}

void CellColumn::SetText(int row, std::string text)
{
    if (text.empty()) {
        const std::size_t block = BlockOf(row);
        if (block >= m_blocks.size() || !m_blocks[block] || !m_blocks[block]->text)
            return;
        Block& b = *m_blocks[block];
        std::string& slot = b.text[row & kRowMask];
        if (slot.empty())
            return;
        std::string().swap(slot); // gives a long text's buffer back now
        if (--b.texts == 0) {
            b.text.reset();
            ReleaseIfFill(block);
        }
        return;
    }
    Block& b = BlockFor(row);
    if (!b.text)
        b.text = std::make_unique<std::string[]>(kBlockRows);
    std::string& slot = b.text[row & kRowMask];
    if (slot.empty())
        ++b.texts;
    slot = std::move(text);
}

const CellAttributes& CellColumn::Attributes(int row) const
{
    const std::size_t block = BlockOf(row);
    if (block >= m_blocks.size() || !m_blocks[block])
        return m_fill;
    const Block& b = *m_blocks[block];
    return b.cells ? b.cells[row & kRowMask] : b.common;
}

void CellColumn::SetAttributes(int row, CellAttributes attributes)
{
    const std::size_t block = BlockOf(row);
    if ((block >= m_blocks.size() || !m_blocks[block]) && attributes == m_fill)
        return;
    Block& b = BlockFor(row);
    if (!b.cells) {
        if (attributes == b.common)
            return;
        b.cells = std::make_unique<CellAttributes[]>(kBlockRows);
        std::fill_n(b.cells.get(), kBlockRows, b.common);
    }
    CellAttributes& cell = b.cells[row & kRowMask];
    const bool wasDifferent = !(cell == b.common);
    const bool isDifferent = !(attributes == b.common);
    cell = attributes;
    b.differing = static_cast<std::uint16_t>(b.differing + isDifferent - wasDifferent);
    if (b.differing == RowsInUse(block))
        AdoptCommonIfUniform(b, block);
    if (b.differing == 0) {
        b.cells.reset();
        ReleaseIfFill(block);
    }
}

void CellColumn::AdoptCommonIfUniform(Block& b, std::size_t block)
{
    // Every cell in use now differs from the block's record: when they all agree (a
    // block filled in full with one format, say), their record becomes the block's.
    const int inUse = RowsInUse(block);
    for (int i = 1; i < inUse; ++i)
        if (!(b.cells[i] == b.cells[0]))
            return;
    b.common = b.cells[0];
    b.cells.reset();
    b.differing = 0;
}

void CellColumn::Recount(Block& b)
{
    if (!b.cells)
        return;
    int differing = 0;
    for (int i = 0; i < kBlockRows; ++i)
        differing += !(b.cells[i] == b.common);
    b.differing = static_cast<std::uint16_t>(differing);
    if (differing == 0)
        b.cells.reset();
}

bool CellColumn::BlockMayBeUsed(int block) const
{
    if (block < 0 || static_cast<std::size_t>(block) >= m_blocks.size() ||
        !m_blocks[static_cast<std::size_t>(block)])
        return false; // fill cells never hold text or state
    const Block& b = *m_blocks[static_cast<std::size_t>(block)];
    return b.text || b.cells || b.common.state != 0;
}

void CellColumn::SwapRows(int a, int b)
{
    const CellAttributes attributesA = Attributes(a);
    const CellAttributes attributesB = Attributes(b);
    SetAttributes(a, attributesB);
    SetAttributes(b, attributesA);
    if (Text(a).empty() && Text(b).empty())
        return;
    std::string textA = Text(a);
    SetText(a, Text(b));
    SetText(b, std::move(textA));
}

std::size_t CellColumn::HeapBytes() const
{
    std::size_t bytes = m_blocks.capacity() * sizeof(m_blocks[0]);
    for (const auto& block : m_blocks) {
        if (!block)
            continue;
        const Block& b = *block;
        bytes += sizeof(Block);
        if (b.cells)
            bytes += kBlockRows * sizeof(CellAttributes);
        if (b.text) {
            bytes += kBlockRows * sizeof(std::string);
            for (int i = 0; i < kBlockRows; ++i)
                if (b.text[i].capacity() > 15)
                    bytes += b.text[i].capacity() + 1;
        }
    }
    return bytes;
}

bool CellColumn::CheckConsistency() const
{
    if (m_blocks.size() > BlockOf(m_rows + kRowMask))
        return false; // a block wholly past the count
    for (std::size_t block = 0; block < m_blocks.size(); ++block) {
        if (!m_blocks[block])
            continue;
        const Block& b = *m_blocks[block];
        const int inUse = RowsInUse(block);
        if (b.text) {
            int texts = 0;
            for (int i = 0; i < kBlockRows; ++i) {
                texts += !b.text[i].empty();
                if (i >= inUse && !b.text[i].empty())
                    return false;
            }
            if (texts == 0 || texts != b.texts)
                return false;
        } else if (b.texts != 0) {
            return false;
        }
        if (b.cells) {
            int differing = 0;
            for (int i = 0; i < kBlockRows; ++i) {
                differing += !(b.cells[i] == b.common);
                if (i >= inUse && !(b.cells[i] == b.common))
                    return false;
            }
            if (differing == 0 || differing != b.differing)
                return false;
        } else if (b.differing != 0) {
            return false;
        }
    }
    return m_fill.state == 0;
}

} // namespace orvalis
