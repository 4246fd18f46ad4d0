#include "BatchToolRunner.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

using orvalis::test::BatchSandbox;

// A settings file the tool cannot or should not read (a FIFO would hold start-up
// forever) or one full of garbage: the tool starts at once with the default settings,
// names the file it left alone, and leaves it as it was.
TEST(BatchTool, UnreadableOrCorruptSettingsFilesGiveTheDefaults)
{
    BatchSandbox clean;
    ASSERT_EQ(clean.Run({"new", "-o", clean.Path("w.ows")}).status, 0);
    const std::string defaults = BatchSandbox::ReadFile(clean.Path("w.ows"));

    std::string garbage(64 << 10, '\0');
    std::mt19937 random(7);
    for (char& c : garbage)
        c = static_cast<char>(random());
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
        bool named; // the tool names the file it leaves alone
    };
    const std::vector<Case> cases = {
        {"a FIFO", [](const auto& conf) { ASSERT_EQ(mkfifo(conf.c_str(), 0600), 0); }, true},
        {"a folder", [](const auto& conf) { std::filesystem::create_directory(conf); }, true},
        {"a 64 MiB file",
         [](const auto& conf) {
             std::ofstream(conf) << "[Strings]\nUseCommentLine=FALSE\n";
             std::filesystem::resize_file(conf, std::uintmax_t{64} << 20);
         },
         true},
        {"binary garbage", [&](const auto& conf) { std::ofstream(conf, std::ios::binary) << garbage; }, false},
        {"values of the wrong type",
         [](const auto& conf) {
             std::ofstream(conf, std::ios::binary)
                 << "[Strings]\nUseCommentLine=@Variant(\\0\\0\\0\\v\\x7f\\xff\\xff\\xff)\n"
                    "ResultsMode=@ByteArray(\\xff)\nUse2PassEstimate=@Variant(\\0\\0\\0)\n"
                    "[Constants]\nExtrapolationLen=abc\nTrainColor=-1\nTestColor=1e400\n";
         },
         true},
        {"values of the wrong type, no serialised objects",
         [](const auto& conf) {
             std::ofstream(conf, std::ios::binary)
                 << "[Strings]\nResultsMode=@ByteArray(\\xff)\nUseCommentLine=@Rect(1 2 3 4)\n"
                    "[Constants]\nExtrapolationLen=abc\nTrainColor=-1\nTestColor=1e400\n";
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BatchSandbox box;
        const auto conf = box.ConfigDir() / "Brennix Devices" / "Brennix - Tavelle Orvalis.conf";
        std::filesystem::create_directories(conf.parent_path());
        c.make(conf);
        const auto type = std::filesystem::status(conf).type();
        const std::string before = std::filesystem::is_regular_file(conf) ? BatchSandbox::ReadFile(conf) : "";
        // timeout ends a tool that hangs on the file (status 124).
        const auto r = box.Run({"new", "-o", box.Path("w.ows")}, {"timeout", "60"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err.find("Warning: Settings file " + conf.string()) != std::string::npos, c.named)
            << r.err;
        EXPECT_EQ(std::filesystem::status(conf).type(), type);
        if (std::filesystem::is_regular_file(conf)) {
            EXPECT_TRUE(BatchSandbox::ReadFile(conf) == before) << "the file stays as it was";
        }
        if (c.named) {
            EXPECT_TRUE(BatchSandbox::ReadFile(box.Path("w.ows")) == defaults);
        }
    }
}
