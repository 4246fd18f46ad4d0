// Replays the paste fuzzer's corpus (seeds and every input kept after a finding) under
// the ordinary build, from every start cell of a small store.
#include "grid/core/GridTextTransfer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

using namespace orvalis;

TEST(PasteFuzzReplay, CorpusPastesOnceAndSecondPasteChangesNothing)
{
    const std::filesystem::path corpus =
        std::filesystem::path(ORVALIS_TEST_DATA_DIR) / ".." / ".." / "fuzz" / "corpus" / "paste";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        const std::string text = s.str().substr(1);  // the fuzzer's first byte picks the cell
        ++files;
        for (int row = 0; row < 12; ++row)
            for (int col = 0; col < 6; ++col) {
                CellStore cells(12, 6, 1, 1);
                GridViewOptions options;
                GridSelection selection(cells, options);
                cells.SetCellState(9, 4, CellReadOnly);
                selection.SetSelected(CellId{9, 4}, true);
                const PasteOutcome first =
                    PasteTextToCells(cells, CellId{row, col}, text, &selection);
                const bool readOnlyStart = row == 9 && col == 4;
                EXPECT_EQ(first.accepted, !readOnlyStart) << entry.path();
                EXPECT_EQ(PasteTextToCells(cells, CellId{row, col}, text).changedCells, 0)
                    << entry.path() << " at " << row << "," << col;
                EXPECT_TRUE(cells.CheckConsistency()) << entry.path();
                EXPECT_TRUE(selection.CheckConsistency()) << entry.path();
                EXPECT_TRUE(selection.IsSelected(9, 4)) << "a read-only cell is never reached";
            }
    }
    EXPECT_GE(files, 5);
}
