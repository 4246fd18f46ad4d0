// Replays the worksheet reader's fuzz corpus (seeds and every input kept after a
// finding) under the ordinary build: each file is refused cleanly or loads, and a loaded
// worksheet written again loads to the same cells.
#include "worksheet/AppSettings.h"
#include "worksheet/UserMessages.h"
#include "worksheet/Worksheet.h"
#include "worksheet/WorksheetFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace orvalis;

TEST(WorksheetFuzzReplay, CorpusFilesAreRefusedOrRoundTrip)
{
    const std::filesystem::path corpus =
        std::filesystem::path(ORVALIS_TEST_DATA_DIR) / ".." / ".." / "fuzz" / "corpus" / "worksheet";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    AppSettings settings;
    settings.autoVectorSizing = false;  // loading then changes no cell of its own
    SilentMessages messages;
    int files = 0, loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        ++files;
        Worksheet ws(settings, messages);
        if (!LoadWorksheetBytes(ws, bytes.data(), bytes.size()))
            continue;
        ++loaded;
        const auto written = WorksheetFileBytes(ws);
        Worksheet back(settings, messages);
        ASSERT_TRUE(LoadWorksheetBytes(back, written.data(), written.size()));
        for (int r = 1; r < 1001; ++r)
            for (int c = 1; c < 69; ++c)
                ASSERT_EQ(back.Store().GetCellText(r, c), ws.Store().GetCellText(r, c))
                    << "cell " << r << "," << c;
        EXPECT_EQ(back.state, ws.state);
        EXPECT_EQ(back.storedWeights, ws.storedWeights);
    }
    EXPECT_GE(files, 4);
    EXPECT_GE(loaded, 3);
}
