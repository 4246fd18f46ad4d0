// Replays the chart fuzzer's corpus (seeds and every input kept after a finding) under
// the ordinary build, with the fuzzer's own checks: drawable axes, every value inside
// them, finite figures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#define ORVALIS_FUZZ_CHECK_FAILED() throw std::logic_error("a check of the chart fuzzer failed")
#include "../../fuzz/fuzz_chart_data.cpp"

TEST(ChartFuzzReplay, CorpusGivesDrawableAxesAndFiniteFigures)
{
    const std::filesystem::path corpus =
        std::filesystem::path(ORVALIS_TEST_DATA_DIR) / ".." / ".." / "fuzz" / "corpus" / "chart_data";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ++files;
        EXPECT_NO_THROW(LLVMFuzzerTestOneInput(bytes.data(), bytes.size())) << entry.path();
    }
    EXPECT_GE(files, 8);
}
