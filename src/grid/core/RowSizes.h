#pragma once

#include <cstdint>
#include <vector>

namespace orvalis {

// The heights of a store's rows (pixels, each at least 0) with running sums, so that
// the total, a row's offset from the top and the row at an offset are answered in
// O(log rows) however many rows there are: the rows are summed in blocks of 64, and
// the block sums kept in a binary indexed tree. Sums are 64-bit and never wrap.
class RowSizes {
public:
    int Count() const { return static_cast<int>(m_sizes.size()); }
    int Get(int index) const { return m_sizes[static_cast<std::size_t>(index)]; }
    void Set(int index, int size);
    // Rows added get size; rows removed take their sizes out of the sums.
    void Resize(int count, int size);
    // The sizes of all rows at once (as many as there are rows).
    void Assign(const std::vector<int>& sizes);
    std::int64_t Total() const { return m_total; }
    // Sum of the sizes of the rows before index (0 .. Count()).
    std::int64_t Offset(int index) const;
    // The row whose extent holds offset (a row of size 0 holds none); Count() when the
    // offset is at or past the total, 0 when it is negative.
    int IndexAt(std::int64_t offset) const;

private:
    static constexpr int kBlockShift = 6;
    static constexpr int kBlockRows = 1 << kBlockShift;
    void AddToBlock(std::size_t block, std::int64_t delta);
    std::int64_t BlocksSum(std::size_t blocks) const; // sum of the first blocks
    void AppendBlock(std::int64_t sum);
    void Rebuild();

    std::vector<int> m_sizes;
    std::vector<std::int64_t> m_tree; // binary indexed tree over the block sums
    std::int64_t m_total = 0;
};

} // namespace orvalis
