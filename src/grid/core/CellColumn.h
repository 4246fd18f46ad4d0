#pragma once

#include "grid/core/GridTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvalis {

// Everything of a cell but its text: 28 bytes, shared by whole blocks of cells wherever
// they agree.
struct CellAttributes {
    unsigned state = 0;
    unsigned format = 0;
    int image = -1;
    GridColour backColor = DefaultColor;
    GridColour textColor = DefaultColor;
    std::uint32_t param = 0;
    std::uint16_t fontIndex = 0; // index into the store's font table
    bool operator==(const CellAttributes&) const = default;
};

// One column of the cell store, whose memory follows the cells in use. Rows are kept in
// blocks of 64: a block holds one attribute record for all its cells until one cell
// differs, and an array of texts only while one of its cells holds text. Rows without
// a block are fill cells: no text and the column's one fill record. A column of a
// million empty rows below a header therefore costs a few blocks and a pointer per 64
// rows; a million numbers cost one string each and about 60 bytes a block.
//
// A reference from Text() stays valid until that cell's text changes or the column is
// resized or its rows swapped; the text of an empty cell is one shared empty string.
class CellColumn {
public:
    static constexpr int kBlockShift = 6;
    static constexpr int kBlockRows = 1 << kBlockShift;

    int RowCount() const { return m_rows; }
    // New rows are empty and take the format of the old last row (none in an empty
    // column); rows removed are dropped with whatever they held.
    void Resize(int rows);

    const std::string& Text(int row) const;
    void SetText(int row, std::string text);
    const CellAttributes& Attributes(int row) const;
    void SetAttributes(int row, CellAttributes attributes);
    // A cell with text or a state bit: one that must be emptied before it is dropped.
    bool IsUsed(int row) const { return !Text(row).empty() || Attributes(row).state != 0; }
    // False when no cell of the block holds text or a state bit, so a walk over the
    // used cells can skip it whole.
    bool BlockMayBeUsed(int block) const;
    void SwapRows(int a, int b);

    // Applies change to every attribute record of the column (rows past the count
    // included), then drops the per-cell records that no longer differ.
    template <typename Change>
    void ChangeAllAttributes(Change change)
    {
        change(m_fill);
        for (std::size_t block = 0; block < m_blocks.size(); ++block) {
            if (!m_blocks[block])
                continue;
            Block& b = *m_blocks[block];
            change(b.common);
            if (b.cells)
                for (int i = 0; i < kBlockRows; ++i)
                    change(b.cells[i]);
            Recount(b);
            ReleaseIfFill(block);
        }
    }

    // Heap bytes of the column, for tests and benchmarks.
    std::size_t HeapBytes() const;
    // True when the block counts match the cells and rows past the count are empty.
    bool CheckConsistency() const;

private:
    struct Block {
        CellAttributes common;                   // of every cell while cells is empty
        std::uint16_t differing = 0;             // cells whose record differs from common
        std::uint16_t texts = 0;                 // cells with a non-empty text
        std::unique_ptr<CellAttributes[]> cells; // kBlockRows records, or none
        std::unique_ptr<std::string[]> text;     // kBlockRows texts, or none
    };
    Block& BlockFor(int row);
    // Gives every row before 64 * count a block of its own.
    void MaterialiseBlocks(std::size_t count);
    void ReleaseIfFill(std::size_t block);
    int RowsInUse(std::size_t block) const;
    void AdoptCommonIfUniform(Block& b, std::size_t block);
    void Recount(Block& b);

    int m_rows = 0;
    std::vector<std::unique_ptr<Block>> m_blocks; // rows 0 .. 64 * size - 1; none: fill
    CellAttributes m_fill;                        // rows without a block
};

} // namespace orvalis
