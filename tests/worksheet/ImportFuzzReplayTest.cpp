// Replays the import fuzzer's corpus (seeds and every input kept after a finding) under
// the ordinary build, and checks what the fuzzer cannot: any split of the input gives
// the same cells as one piece.
#include "worksheet/ImportLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace orvalis;

namespace {

std::vector<std::string> CellTexts(const CellStore& cells)
{
    std::vector<std::string> out;
    for (int r = 0; r < cells.GetRowCount(); ++r)
        for (int c = 0; c < cells.GetColumnCount(); ++c)
            out.push_back(cells.GetCellText(r, c));
    return out;
}

std::vector<std::string> Load(std::string_view text, char separator, std::size_t split, int& last)
{
    CellStore cells(40, 12, 1, 1);
    ImportLoader loader(cells, 7, 1, separator);
    loader.Feed(text.substr(0, split));
    loader.Feed(text.substr(split));
    loader.Finish();
    EXPECT_TRUE(cells.CheckConsistency());
    last = loader.LastColumn();
    return CellTexts(cells);
}

} // namespace

TEST(ImportFuzzReplay, CorpusLoadsTheSameWhateverTheSplit)
{
    const std::filesystem::path corpus =
        std::filesystem::path(ORVALIS_TEST_DATA_DIR) / ".." / ".." / "fuzz" / "corpus" / "import";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        const std::string text = s.str();
        ++files;
        for (char separator : {kCommaSeparator, kTabSeparator}) {
            int wholeLast = 0;
            const auto whole = Load(text, separator, text.size(), wholeLast);
            const std::size_t step = text.size() / 50 + 1;
            for (std::size_t split = 0; split < text.size(); split += step) {
                int last = 0;
                EXPECT_EQ(Load(text, separator, split, last), whole)
                    << entry.path() << " split at " << split;
                EXPECT_EQ(last, wholeLast) << entry.path();
            }
        }
    }
    EXPECT_GE(files, 1);
}
