// Ctrl+C during a training run of the batch tool, sent as SIGINT to a real process.
#include "BatchToolRunner.h"
#include "worksheet/WorksheetFileBuilder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
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
// 1, a window of taps. With a small maxCycles, one whose training ends at once.
void WriteEndlessWorksheet(const std::string& path, int rows, int taps, int maxCycles = 100000)
{
    WorksheetFileBuilder b;
    b.autoTrainingConfigure = 0;
    b.errorRatioGoal = 1e300;
    b.Network({taps, taps / 2, 1}, {}, maxCycles < 100000 ? 10 : 1000, maxCycles);
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
    ASSERT_EQ(result.status, 4) << "aborted, not done: " << result.err;
    EXPECT_NE(result.err.find("orvalis-batch: SIGINT: training aborted after "), std::string::npos)
        << result.err;
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

// SIGTERM (a job controller, a shutdown) and SIGHUP (the terminal gone) stop a run as
// Ctrl+C does; the steps after the stopped training are left undone and named.
TEST(Interrupt, TermAndHangUpAbortTheRunAndSkipTheStepsAfterIt)
{
    for (const int signal : {SIGTERM, SIGHUP}) {
        const std::string name = signal == SIGTERM ? "SIGTERM" : "SIGHUP";
        SCOPED_TRACE(name);
        BatchSandbox box;
        WriteEndlessWorksheet(box.Path("in.ows"), 60, 4);
        const pid_t pid = box.Start({"run", box.Path("in.ows"), "-o", box.Path("out.ows"), "train",
                                     "evaluate", "--auto-sizing", "off", "--mode", "evaluate"});
        ASSERT_TRUE(WaitUntilTraining(pid));
        kill(pid, signal);
        const auto result = box.Wait(pid);
        EXPECT_EQ(result.status, 4) << result.err;
        EXPECT_EQ(Lines(result.out).at(0), "state: Trained") << "evaluate was not done";
        const auto lines = Lines(result.err);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back().rfind("orvalis-batch: " + name + ": training aborted after ", 0), 0u)
            << result.err;
        EXPECT_NE(lines.back().find("; not done: evaluate"), std::string::npos) << result.err;
        const auto saved = box.Run({"show", box.Path("out.ows")});
        EXPECT_EQ(saved.status, 0) << "the output is whole: " << saved.err;
    }
}

namespace {

// The processes pid has started and not yet waited for.
std::vector<pid_t> Children(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
    std::vector<pid_t> children;
    for (pid_t child; in >> child;)
        children.push_back(child);
    return children;
}

bool Exists(pid_t pid)
{
    return kill(pid, 0) == 0;
}

} // namespace

// A signal to a many-series run: the running workers abort their trainings and save,
// the waiting ones are not started, the figures of every worker that ended are printed,
// the summary tells each file's outcome, and no worker is left running. A second signal
// ends the workers at once, still with the summary.
TEST(Interrupt, SignalsStopManySeriesRunsAndLeaveNoWorkerBehind)
{
    struct Case {
        const char* name;
        int signal;
        bool twice;
    };
    const Case cases[] = {
        {"Ctrl+C", SIGINT, false},
        {"SIGTERM", SIGTERM, false},
        {"SIGTERM twice", SIGTERM, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BatchSandbox box;
        // One worksheet is done before the signal comes: its output stays as it is.
        WriteEndlessWorksheet(box.Path("quick.ows"), 60, 4, 20);
        std::vector<std::string> args = {"run", box.Path("quick.ows")};
        for (const char* name : {"a.ows", "b.ows", "c.ows"}) {
            // Twice: cycles far longer than the pause between the signals, so that the
            // second one finds the workers still training.
            if (c.twice)
                WriteEndlessWorksheet(box.Path(name), 900, 200);
            else
                WriteEndlessWorksheet(box.Path(name), 60, 4);
            args.push_back(box.Path(name));
        }
        for (const char* a : {"--out-dir", "", "-j", "2", "train", "evaluate", "--auto-sizing",
                              "off", "--mode", "evaluate"})
            args.push_back(a);
        args[6] = box.Path("out");
        const pid_t pid = box.Start(args);
        std::vector<pid_t> workers;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        // Until the quick one is done and two workers have spent a while training.
        const auto training = [&] {
            workers = Children(pid);
            return workers.size() == 2 && std::filesystem::exists(box.Path("out/quick.ows")) &&
                   std::all_of(workers.begin(), workers.end(), [](pid_t worker) {
                       return CpuTicks(worker) >= sysconf(_SC_CLK_TCK) / 2;
                   });
        };
        while (!training() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(training());
        kill(pid, c.signal);
        if (c.twice) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            kill(pid, c.signal);
        }
        const auto result = box.Wait(pid);
        for (const pid_t worker : workers)
            EXPECT_FALSE(Exists(worker)) << "worker " << worker << " left running";

        const auto err = Lines(result.err);
        ASSERT_GE(err.size(), 5u) << result.err;
        const std::vector<std::string> summary(err.end() - 5, err.end());
        EXPECT_EQ(summary[1], "  " + box.Path("quick.ows") + ": 0 done");
        EXPECT_EQ(summary[4], "  " + box.Path("c.ows") + ": 4 not started");
        const auto single = box.Run({"run", box.Path("quick.ows"), "-o", box.Path("single.ows"),
                                     "train", "evaluate", "--auto-sizing", "off", "--mode", "evaluate"});
        EXPECT_TRUE(BatchSandbox::ReadFile(box.Path("out/quick.ows")) ==
                    BatchSandbox::ReadFile(box.Path("single.ows")))
            << "the file done before the signal is whole";
        std::vector<std::string> outputs;
        for (const auto& entry : std::filesystem::directory_iterator(box.Path("out")))
            outputs.push_back(entry.path().filename().string());
        std::sort(outputs.begin(), outputs.end());
        if (c.twice) {
            // Ended at once, in training: nothing written, and no piece of a file.
            EXPECT_EQ(result.status, 128 + c.signal) << result.err;
            EXPECT_EQ(summary[0], "orvalis-batch: 4 files, 1 done, 1 not started, 2 failed");
            EXPECT_EQ(outputs, std::vector<std::string>{"quick.ows"});
            continue;
        }
        EXPECT_EQ(result.status, 4) << result.err;
        EXPECT_EQ(summary[0], "orvalis-batch: 4 files, 1 done, 2 aborted, 1 not started, 0 failed");
        EXPECT_EQ(outputs, (std::vector<std::string>{"a.ows", "b.ows", "quick.ows"}));
        for (const char* name : {"a.ows", "b.ows"}) {
            const auto& line = summary[name[0] == 'a' ? 2 : 3];
            EXPECT_EQ(line.rfind("  " + box.Path(name) + ": 4 orvalis-batch: ", 0), 0u) << line;
            EXPECT_NE(line.find("training aborted after"), std::string::npos) << line;
            EXPECT_NE(result.out.find(box.Path(name) + ": state: Trained\n"), std::string::npos)
                << result.out;
            EXPECT_EQ(box.Run({"show", box.Path("out/" + std::string(name))}).status, 0);
        }
    }
}
