// Ctrl+C during a training run of the batch tool, sent as SIGINT to a real process.
#include "BatchToolRunner.h"
#include "worksheet/WorksheetFileBuilder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using orvalis::test::BatchSandbox;
using orvalis::test::Lines;
using orvalis::test::WorksheetFileBuilder;

namespace {

// A worksheet whose training would run for hours: the largest cycle limit and
// iteration count, and an error ratio goal no run can reach. rows data rows in column
// 1, a window of taps.
void WriteEndlessWorksheet(const std::string& path, int rows, int taps)
{
    WorksheetFileBuilder b;
    b.autoTrainingConfigure = 0;
    b.errorRatioGoal = 1e300;
    b.Network({taps, taps / 2, 1}, {}, 1000, 100000);
    const int training = rows * 2 / 3;
    b.Header({"0", std::to_string(training), std::to_string(rows - training), "0",
              std::to_string(taps), "Init"});
    b.I32(69);
    b.I32(1001);
    b.Str("Trg/In");
    for (int j = 2; j <= 68; ++j)
        b.Str("No Data");
    b.Str("series");
    for (int r = 0; r < 993; ++r)
        b.Str(r < rows ? std::to_string(50.0 + 20.0 * std::sin(0.3 * r) + 0.1 * r) : "");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.bytes.data()), static_cast<std::streamsize>(b.bytes.size()));
}

// Processor time the process has used, in clock ticks; -1 once it has ended (also
// while it waits to be reaped).
long CpuTicks(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t paren = text.rfind(')');
    if (paren == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(paren + 2));
    std::string field;
    long utime = 0;
    long stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 3 && (field == "Z" || field == "X"))
            return -1;
        if (i == 14)
            utime = std::stol(field);
        if (i == 15)
            stime = std::stol(field);
    }
    return utime + stime;
}

// Waits until the tool has spent a while computing: loading is over and it trains.
bool WaitUntilTraining(pid_t pid)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        const long ticks = CpuTicks(pid);
        if (ticks < 0)
            return false;
        if (ticks >= sysconf(_SC_CLK_TCK) / 2)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace

TEST(Interrupt, CtrlCEndsTheRunWithItsBestWeightsAndWritesTheOutput)
{
    BatchSandbox box;
    WriteEndlessWorksheet(box.Path("in.ows"), 60, 4);
    const pid_t pid = box.Start({"train", box.Path("in.ows"), "-o", box.Path("out.ows"),
                                 "--auto-sizing", "off", "--mode", "evaluate"});
    ASSERT_TRUE(WaitUntilTraining(pid));
    kill(pid, SIGINT);
    const auto result = box.Wait(pid);
    ASSERT_EQ(result.status, 0) << result.err;
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 10u) << result.out;
    EXPECT_EQ(lines[0], "state: Trained");
    const int cycles = std::stoi(lines[8].substr(lines[8].find(' ') + 1));
    EXPECT_GT(cycles, 0);
    EXPECT_LT(cycles, 100000);
    EXPECT_TRUE(std::filesystem::exists(box.Path("out.ows")));
}

TEST(Interrupt, SecondCtrlCEndsTheToolAtOnce)
{
    BatchSandbox box;
    // Cycles of a 200-input network over 900 rows take far longer than the pause
    // between the two presses: only the second press can end this run.
    WriteEndlessWorksheet(box.Path("in.ows"), 900, 200);
    const pid_t pid = box.Start({"train", box.Path("in.ows"), "-o", box.Path("out.ows"),
                                 "--auto-sizing", "off", "--mode", "evaluate"});
    ASSERT_TRUE(WaitUntilTraining(pid));
    kill(pid, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_GE(CpuTicks(pid), 0) << "the first Ctrl+C must not end the tool";
    kill(pid, SIGINT);
    const auto result = box.Wait(pid);
    EXPECT_EQ(result.status, 128 + SIGINT);
    EXPECT_FALSE(std::filesystem::exists(box.Path("out.ows")));
}
