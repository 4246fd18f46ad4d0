#include "batch/ManySeriesRunner.h"

#include "batch/BatchContext.h"
#include "batch/ManySeriesPlan.h"

#include "worksheet/OutputFile.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <ostream>
#include <sstream>
#include <vector>

extern char** environ;

namespace orvalis {

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int)
{
    g_interrupted = true;
}

// What one worker left behind.
struct WorkerResult {
    int status = -1;     // exit status; 128 + signal when a signal ended it
    std::string out;
    std::string err;
};

// A started worker: its process and the unnamed files holding its two streams.
struct RunningWorker {
    std::size_t input = 0;
    std::FILE* out = nullptr;
    std::FILE* err = nullptr;
};

std::string ReadAll(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

// Starts one worker with its streams in fresh unnamed files; pid 0 when it could not
// start, with the reason in result.err.
pid_t Start(const std::string& program, const std::vector<std::string>& args,
            RunningWorker& worker, WorkerResult& result)
{
    worker.out = std::tmpfile();
    worker.err = std::tmpfile();
    if (!worker.out || !worker.err) {
        result.err = std::string("cannot make a file for a worker's output: ") +
                     std::strerror(errno) + "\n";
        return 0;
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fileno(worker.out), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fileno(worker.err), STDERR_FILENO);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        result.err = "cannot start " + program + ": " + std::strerror(failed) + "\n";
        return 0;
    }
    return pid;
}

std::string LastLine(const std::string& text)
{
    std::istringstream in(text);
    std::string last;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line.find_first_not_of(" \r") != std::string::npos)
            last = line;
    return last;
}

std::string Describe(const WorkerResult& r)
{
    if (r.status == BatchDone)
        return "done";
    if (std::string last = LastLine(r.err); !last.empty())
        return last;
    switch (r.status) {
    case BatchRefused: return "refused";
    case BatchUsage: return "usage error";
    case BatchFileError: return "a file could not be read or written";
    default: return r.status > 128 ? "ended by signal " + std::to_string(r.status - 128)
                                   : "failed";
    }
}

void ShowProgress(std::ostream& err, std::size_t done, std::size_t total, Clock::time_point start)
{
    std::string left = "time left unknown";
    if (done > 0) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        const long seconds = long(elapsed / double(done) * double(total - done) + 0.5);
        char text[32];
        std::snprintf(text, sizeof text, "%ld:%02ld left", seconds / 60, seconds % 60);
        left = text;
    }
    err << "\r" << done << "/" << total << " files done, " << left << "   " << std::flush;
}

// A report is its worker's stdout: written whole to its file when the worker is done,
// else not written at all, so that a cut report cannot pass for a whole one.
void KeepReport(const ManySeriesPlan& plan, const std::string& input, WorkerResult& r)
{
    std::string text;
    text.swap(r.out);
    if (r.status != BatchDone)
        return;
    const std::string path = plan.OutputOf(input);
    const OutputResult written = WriteOutputFile(path, text);
    if (!written) {
        r.status = BatchFileError;
        r.err += "orvalis-batch: cannot write " + path + ": " + written.detail + "\n";
    }
}

} // namespace

int RunManySeries(const ManySeriesPlan& plan, const std::string& program, std::ostream& out,
                  std::ostream& err, bool progress)
{
    const std::size_t total = plan.inputs.size();
    std::vector<WorkerResult> results(total);
    std::map<pid_t, RunningWorker> running;
    std::size_t next = 0;
    std::size_t done = 0;
    const Clock::time_point start = Clock::now();

    g_interrupted = false;
    struct sigaction action{};
    action.sa_handler = OnInterrupt;  // no SA_RESTART: a Ctrl+C wakes the wait below
    struct sigaction previous{};
    sigaction(SIGINT, &action, &previous);

    if (progress)
        ShowProgress(err, done, total, start);
    while (done < total) {
        while (running.size() < std::size_t(plan.jobs) && next < total && !g_interrupted) {
            RunningWorker worker{next, nullptr, nullptr};
            const pid_t pid = Start(program, plan.WorkerArguments(plan.inputs[next]), worker,
                                    results[next]);
            if (pid > 0) {
                running.emplace(pid, worker);
            } else {
                results[next].status = BatchFileError;
                for (std::FILE* f : {worker.out, worker.err})
                    if (f)
                        std::fclose(f);
                ++done;
            }
            ++next;
        }
        if (running.empty()) {
            // Interrupted before these could start.
            for (; next < total; ++next, ++done) {
                results[next].status = BatchRefused;
                results[next].err = "not started: interrupted\n";
            }
            break;
        }
        int wstatus = 0;
        const pid_t pid = waitpid(-1, &wstatus, 0);
        if (pid < 0) {
            if (errno == EINTR)
                continue;
            break;  // no children left to wait for: cannot happen while some run
        }
        auto it = running.find(pid);
        if (it == running.end())
            continue;
        WorkerResult& r = results[it->second.input];
        r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
        r.out = ReadAll(it->second.out);
        r.err = ReadAll(it->second.err);
        if (plan.ResultOnStdout())
            KeepReport(plan, plan.inputs[it->second.input], r);
        running.erase(it);
        ++done;
        if (progress)
            ShowProgress(err, done, total, start);
    }
    sigaction(SIGINT, &previous, nullptr);
    if (progress)
        err << "\r" << std::string(60, ' ') << "\r";

    int worst = BatchDone;
    std::size_t failed = 0;
    for (std::size_t i = 0; i < total; ++i) {
        std::istringstream lines(results[i].out);
        for (std::string line; std::getline(lines, line);)
            out << plan.inputs[i] << ": " << line << '\n';
        worst = std::max(worst, results[i].status);
        failed += results[i].status != BatchDone;
    }
    out.flush();
    err << "orvalis-batch: " << total << " files, " << total - failed << " done, " << failed
        << " failed\n";
    for (std::size_t i = 0; i < total; ++i)
        err << "  " << plan.inputs[i] << ": " << results[i].status << " "
            << Describe(results[i]) << '\n';
    err.flush();
    return worst;
}

} // namespace orvalis
