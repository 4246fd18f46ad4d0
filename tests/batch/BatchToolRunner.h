#pragma once

#include "batch/BatchTool.h"
#include "worksheet/AppSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace orvalis::test {

// A scratch folder for one test, which is also the tool's settings folder
// (XDG_CONFIG_HOME), so no test ever reads or writes the user's real settings.
class BatchSandbox {
public:
    BatchSandbox()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvalis-batch-XXXXXX").string();
        m_dir = mkdtemp(pattern.data());
    }
    ~BatchSandbox() { std::filesystem::remove_all(m_dir); }
    BatchSandbox(const BatchSandbox&) = delete;
    BatchSandbox& operator=(const BatchSandbox&) = delete;

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    std::filesystem::path ConfigDir() const { return m_dir / "config"; }

    // Stores a setting as the GUI would, in the sandbox's settings file.
    void StoreSettings(const std::string& iniText) const
    {
        const auto dir = ConfigDir() / "Brennix Devices";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "Brennix - Tavelle Orvalis.conf") << iniText;
    }

    struct Result {
        int status = -1;
        std::string out;
        std::string err;
    };

    // Runs the batch tool with args; stdout and stderr are captured whole. A prefix
    // (a program and its arguments, setpriv say) runs the tool through that program.
    Result Run(const std::vector<std::string>& args, const std::vector<std::string>& prefix = {}) const
    {
        return Wait(Start(args, prefix));
    }

    // Runs the tool's commands in this process on the given settings (by default what an
    // empty settings file gives), for tests of what the commands do rather than of the
    // program around them: no process start, the same streams, the same exit status.
    static Result RunInProcess(const std::vector<std::string>& args,
                               const AppSettings& settings = AppSettings{})
    {
        std::ostringstream out;
        std::ostringstream err;
        Result result;
        result.status = RunBatchTool(args, settings, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    // Starts the tool as Run does, without waiting for it.
    pid_t Start(const std::vector<std::string>& args, const std::vector<std::string>& prefix = {}) const
    {
        const std::string outPath = Path(".stdout");
        const std::string errPath = Path(".stderr");
        const pid_t pid = fork();
        if (pid == 0) {
            const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, 1);
            dup2(err, 2);
            setenv("XDG_CONFIG_HOME", ConfigDir().c_str(), 1);
            setenv("HOME", m_dir.c_str(), 1);
            std::vector<char*> argv;
            for (const std::string& p : prefix)
                argv.push_back(const_cast<char*>(p.c_str()));
            argv.push_back(const_cast<char*>(ORVALIS_BATCH_TOOL));
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        return pid;
    }

    // Waits for a tool started with Start; a tool ended by a signal has status 128 + it.
    Result Wait(pid_t pid) const
    {
        Result result;
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
        result.out = ReadFile(Path(".stdout"));
        result.err = ReadFile(Path(".stderr"));
        return result;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::filesystem::path m_dir;
};

// Runs the tool with args, one of which names fifo, a FIFO made here whose reader (a
// thread) collects every byte written into it. Returns the result and those bytes.
inline std::pair<BatchSandbox::Result, std::string> RunIntoFifo(const BatchSandbox& box,
                                                                const std::vector<std::string>& args,
                                                                const std::string& fifo)
{
    mkfifo(fifo.c_str(), 0600);
    std::string bytes;
    std::thread reader([&] {
        const int fd = open(fifo.c_str(), O_RDONLY);
        char buffer[65536];
        for (ssize_t n; fd >= 0 && (n = read(fd, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, static_cast<std::size_t>(n));
        if (fd >= 0)
            close(fd);
    });
    BatchSandbox::Result result = box.Run(args);
    // A tool that never opened the FIFO leaves the reader waiting in its open.
    if (const int w = open(fifo.c_str(), O_WRONLY | O_NONBLOCK); w >= 0)
        close(w);
    reader.join();
    return {result, bytes};
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace orvalis::test
