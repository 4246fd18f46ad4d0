#include "grid/core/RowSizes.h"

#include <algorithm>

namespace orvalis {

namespace {
std::size_t LowestBit(std::size_t i)
{
    return i & (~i + 1);
}
} // namespace

void RowSizes::AddToBlock(std::size_t block, std::int64_t delta)
{
    for (std::size_t i = block + 1; i <= m_tree.size(); i += LowestBit(i))
        m_tree[i - 1] += delta;
}

std::int64_t RowSizes::BlocksSum(std::size_t blocks) const
{
    std::int64_t sum = 0;
    for (std::size_t i = blocks; i > 0; i -= LowestBit(i))
        sum += m_tree[i - 1];
    return sum;
}

void RowSizes::AppendBlock(std::int64_t sum)
{
    // Node n of the tree sums the blocks n - lowbit(n) + 1 .. n.
    const std::size_t n = m_tree.size() + 1;
    m_tree.push_back(sum + BlocksSum(n - 1) - BlocksSum(n - LowestBit(n)));
}

void RowSizes::Rebuild()
{
    m_tree.clear();
    m_total = 0;
    for (std::size_t first = 0; first < m_sizes.size(); first += kBlockRows) {
        std::int64_t sum = 0;
        for (std::size_t i = first; i < std::min(first + kBlockRows, m_sizes.size()); ++i)
            sum += m_sizes[i];
        AppendBlock(sum);
        m_total += sum;
    }
}

void RowSizes::Set(int index, int size)
{
    const std::size_t i = static_cast<std::size_t>(index);
    const std::int64_t delta = static_cast<std::int64_t>(size) - m_sizes[i];
    m_sizes[i] = size;
    AddToBlock(i >> kBlockShift, delta);
    m_total += delta;
}

void RowSizes::Resize(int count, int size)
{
    const std::size_t old = m_sizes.size();
    const std::size_t n = static_cast<std::size_t>(count);
    const std::size_t blocks = (n + kBlockRows - 1) >> kBlockShift;
    if (n < old) {
        std::int64_t removed = 0;
        for (std::size_t i = n; i < old; ++i)
            removed += m_sizes[i];
        // Only the last kept block loses rows; the blocks past it go whole.
        std::int64_t fromKept = 0;
        for (std::size_t i = n; i < std::min(old, blocks << kBlockShift); ++i)
            fromKept += m_sizes[i];
        if (fromKept != 0)
            AddToBlock(blocks - 1, -fromKept);
        m_tree.resize(blocks);
        m_sizes.resize(n);
        m_total -= removed;
        return;
    }
    m_sizes.resize(n, size);
    // Rows added to the old last block, then whole new blocks.
    const std::size_t oldBlocks = m_tree.size();
    const std::size_t intoLast = std::min(n, oldBlocks << kBlockShift) - std::min(old, oldBlocks << kBlockShift);
    if (intoLast != 0)
        AddToBlock(oldBlocks - 1, static_cast<std::int64_t>(intoLast) * size);
    for (std::size_t block = oldBlocks; block < blocks; ++block) {
        const std::size_t rows = std::min(n - (block << kBlockShift), std::size_t{kBlockRows});
        AppendBlock(static_cast<std::int64_t>(rows) * size);
    }
    m_total += static_cast<std::int64_t>(n - old) * size;
}

void RowSizes::Assign(const std::vector<int>& sizes)
{
    m_sizes = sizes;
    Rebuild();
}

std::int64_t RowSizes::Offset(int index) const
{
    const std::size_t i = static_cast<std::size_t>(std::clamp(index, 0, Count()));
    const std::size_t block = i >> kBlockShift;
    std::int64_t sum = BlocksSum(block);
    for (std::size_t r = block << kBlockShift; r < i; ++r)
        sum += m_sizes[r];
    return sum;
}

int RowSizes::IndexAt(std::int64_t offset) const
{
    if (offset < 0)
        return 0;
    if (offset >= m_total)
        return Count();
    // Down the tree to the last whole count of blocks whose sum is at most offset.
    std::size_t blocks = 0;
    std::int64_t before = 0;
    std::size_t step = 1;
    while (step * 2 <= m_tree.size())
        step *= 2;
    for (; step > 0; step /= 2) {
        const std::size_t next = blocks + step;
        if (next <= m_tree.size() && before + m_tree[next - 1] <= offset) {
            blocks = next;
            before += m_tree[next - 1];
        }
    }
    for (std::size_t r = blocks << kBlockShift; r < m_sizes.size(); ++r) {
        before += m_sizes[r];
        if (before > offset)
            return static_cast<int>(r);
    }
    return Count();
}

} // namespace orvalis
