#include "worksheet/OutputFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace orvalis;
namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path;
    Folder()
    {
        std::string t = (fs::temp_directory_path() / "orvalis-out-XXXXXX").string();
        path = mkdtemp(t.data());
    }
    ~Folder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path))
            names.insert(entry.path().filename().string());
        return names;
    }
};

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    lstat(path.c_str(), &info);
    return info.st_mode;
}

// Runs body in a child process and returns its exit status (128 + the signal when a
// signal ended it). The child never returns into the test.
int InChild(const std::function<int()>& body)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Distinct contents of a given size, so a mix of two or a cut one is told from either.
std::string Contents(char mark, std::size_t size)
{
    std::string text(size, mark);
    for (std::size_t i = 0; i < size; i += 4096)
        text[i] = static_cast<char>('0' + (i / 4096) % 10);
    return text;
}

} // namespace

// A write that fails part-way, or may not start, reports the failure and leaves the old
// file whole, with no temporary file beside it.
TEST(OutputFile, FailedWritesLeaveTheOldFileWhole)
{
    const std::string old = Contents('o', 10000);
    const std::string big = Contents('n', 300000);
    struct Case {
        const char* name;
        std::function<int(const std::string& path)> write; // in a child: 0 written, 1 failed
    };
    const auto outcome = [&](const std::string& path) { return WriteOutputFile(path, big) ? 0 : 1; };
    const Case cases[] = {
        {"file size limit",
         [&](const std::string& path) {
             // Past the limit a write fails with EFBIG instead of ending the process.
             std::signal(SIGXFSZ, SIG_IGN);
             const rlimit limit{100000, 100000};
             setrlimit(RLIMIT_FSIZE, &limit);
             return outcome(path);
         }},
        {"read-only file",
         [&](const std::string& path) {
             // Root may write anything: the write is made as nobody.
             if (geteuid() == 0 && setuid(65534) != 0)
                 return 2;
             return outcome(path);
         }},
    };
    for (const Case& c : cases) {
        Folder dir;
        chmod(dir.path.c_str(), 0777);
        const std::string path = dir / "out.pdf";
        Write(path, old);
        chmod(path.c_str(), 0444);
        EXPECT_EQ(InChild([&] { return c.write(path); }), 1) << c.name;
        EXPECT_TRUE(Read(path) == old) << c.name;
        EXPECT_EQ(dir.Names(), std::set<std::string>{"out.pdf"}) << c.name;
    }
    // A device that takes nothing.
    const OutputResult full = WriteOutputFile("/dev/full", "x");
    EXPECT_FALSE(full);
    EXPECT_NE(full.detail.find("/dev/full"), std::string::npos) << full.detail;
}

// Devices and pipes are written in place and stay what they were; every byte reaches
// the reader of a pipe, also more than the pipe holds at once.
TEST(OutputFile, DevicesAndPipesAreWrittenInPlace)
{
    ASSERT_TRUE(S_ISCHR(ModeOf("/dev/null")));
    const std::string text = Contents('p', 1 << 20);
    EXPECT_TRUE(WriteOutputFile("/dev/null", text));
    EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null")));

    Folder dir;
    const std::string fifo = dir / "out.svg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Read(fifo); });
    const OutputResult written = WriteOutputFile(fifo, text);
    reader.join();
    EXPECT_TRUE(written) << written.detail;
    EXPECT_EQ(received.size(), text.size());
    EXPECT_TRUE(received == text);
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
    EXPECT_EQ(dir.Names(), std::set<std::string>{"out.svg"});
}

// A signal that ends the process during a save leaves the old file or the new one, and
// no temporary file, with unnamed temporary files and with named ones removed by the
// handler.
TEST(OutputFile, SignalDuringSaveLeavesNoTemporaryFile)
{
    const std::string old = Contents('o', 1000);
    const std::string fresh = Contents('n', 16 << 20);
    struct Case {
        const char* name;
        bool unnamed;
        int signal;
    };
    const Case cases[] = {
        {"unnamed, SIGTERM", true, SIGTERM},
        {"unnamed, SIGINT", true, SIGINT},
        {"named, SIGTERM", false, SIGTERM},
        {"named, SIGINT", false, SIGINT},
        {"named, SIGHUP", false, SIGHUP},
    };
    for (const Case& c : cases) {
        for (int delayMs : {3, 40}) {
            Folder dir;
            const std::string path = dir / "big.ows";
            Write(path, old);
            const pid_t pid = fork();
            if (pid == 0) {
                AllowUnnamedTemporaryFiles(c.unnamed);
                for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
                    std::signal(sig, [](int s) {
                        RemovePartialOutputs();
                        std::signal(s, SIG_DFL);
                        std::raise(s);
                    });
                }
                for (;;)
                    WriteOutputFile(path, fresh);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            kill(pid, c.signal);
            int status = 0;
            waitpid(pid, &status, 0);
            EXPECT_EQ(dir.Names(), std::set<std::string>{"big.ows"}) << c.name << " after " << delayMs << " ms";
            const std::string left = Read(path);
            EXPECT_TRUE(left == old || left == fresh) << c.name << ": " << left.size() << " bytes";
        }
    }
}

// Two processes saving one file at once: every state a reader sees, and the end, is one
// of the two whole files.
TEST(OutputFile, ConcurrentSavesLeaveOneWholeFile)
{
    Folder dir;
    const std::string path = dir / "shared.ows";
    const std::string first = Contents('a', 3 << 20);
    const std::string second = Contents('b', (3 << 20) + 777);
    Write(path, first);
    std::vector<pid_t> writers;
    for (const std::string* text : {&first, &second}) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0; i < 15; ++i) {
                if (!WriteOutputFile(path, *text))
                    _exit(1);
            }
            _exit(0);
        }
        writers.push_back(pid);
    }
    int mixed = 0;
    int reads = 0;
    std::vector<int> statuses(writers.size(), -1);
    for (bool running = true; running;) {
        const std::string seen = Read(path);
        ++reads;
        if (seen != first && seen != second)
            ++mixed;
        running = false;
        for (std::size_t i = 0; i < writers.size(); ++i) {
            if (statuses[i] < 0 && waitpid(writers[i], &statuses[i], WNOHANG) == 0) {
                statuses[i] = -1;
                running = true;
            }
        }
    }
    for (int status : statuses)
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
    const std::string last = Read(path);
    EXPECT_TRUE(last == first || last == second);
    EXPECT_EQ(dir.Names(), std::set<std::string>{"shared.ows"});
}
