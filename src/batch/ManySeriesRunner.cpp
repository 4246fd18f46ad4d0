#include "batch/ManySeriesRunner.h"

#include "batch/BatchContext.h"
#include "batch/InterruptAbort.h"
#include "batch/ManySeriesPlan.h"

#include "worksheet/OutputFile.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <ostream>
#include <sstream>
#include <vector>

namespace orvalis {

namespace {

using Clock = std::chrono::steady_clock;

// What one worker left behind.
struct WorkerResult {
    int status = -1;     // exit status; 128 + signal when a signal ended it
    bool started = false;
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

// The signals that ask the tool to stop, but for those it was started ignoring: a
// tool under nohup goes on after SIGHUP, in the background of a script after SIGINT.
sigset_t StopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        sigaction(signal, nullptr, &current);
        if (current.sa_handler != SIG_IGN)
            sigaddset(&set, signal);
    }
    return set;
}

// Starts one worker with its streams in fresh unnamed files; pid 0 when it could not
// start, with the reason in result.err. The worker gets the signal mask the tool was
// started with, and a process group of its own, so that a signal for the tool (Ctrl+C
// at the terminal included) reaches the workers only through the tool, once. Should the
// tool itself end without passing it on (SIGKILL), the worker is sent SIGTERM.
pid_t Start(const std::string& program, const std::vector<std::string>& args,
            const sigset_t& workerMask, RunningWorker& worker, WorkerResult& result)
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
    // Whether the program could be started comes back through a pipe closed by exec.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        result.err = std::string("cannot start ") + program + ": " + std::strerror(errno) + "\n";
        return 0;
    }
    const pid_t parent = getpid();
    const int outFd = fileno(worker.out);
    const int errFd = fileno(worker.err);
    const pid_t pid = fork();
    const int forkError = errno;
    if (pid == 0) {
        // Only async-signal-safe calls from here to exec.
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127); // the tool ended before the line above took effect
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        sigprocmask(SIG_SETMASK, &workerMask, nullptr);
        execv(program.c_str(), argv.data());
        const int error = errno;
        (void)!write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    int error = pid < 0 ? forkError : 0;
    if (pid > 0) {
        ssize_t n;
        while ((n = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
        }
        if (n != ssize_t(sizeof error))
            error = 0;
        else
            waitpid(pid, nullptr, 0);
    }
    close(report[0]);
    if (error != 0) {
        result.err = "cannot start " + program + ": " + std::strerror(error) + "\n";
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
    if (!r.started && r.status == BatchAborted)
        return "not started";
    // An earlier message of a worker a signal ended is not what became of it.
    if (r.status > 128)
        return "ended by signal " + std::to_string(r.status - 128);
    if (std::string last = LastLine(r.err); !last.empty())
        return last;
    switch (r.status) {
    case BatchRefused: return "refused";
    case BatchUsage: return "usage error";
    case BatchFileError: return "a file could not be read or written";
    case BatchAborted: return "aborted";
    default: return "failed";
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

namespace {

// The workers of one many-series run, the signals that stop it, and what each input
// came to.
class WorkerPool {
public:
    WorkerPool(const ManySeriesPlan& plan, const std::string& program, std::ostream& err,
               bool progress)
        : m_plan(plan), m_program(program), m_err(err), m_progress(progress),
          m_results(plan.inputs.size()), m_start(Clock::now())
    {
    }

    // Runs every input; returns when all workers have ended. Signals to stop are taken
    // here, in order, never by a handler: the first is passed on to the running workers
    // (a training worker aborts its run and saves) and starts no further ones, each later
    // one is passed on again (which ends the workers at once).
    void Run()
    {
        // Blocked signals wait for sigwaitinfo below, so none slips in between a check
        // and the wait. The workers start with the mask the tool started with.
        const sigset_t stops = StopSignals();
        sigset_t waitFor = stops;
        sigaddset(&waitFor, SIGCHLD);
        sigset_t previousMask;
        sigprocmask(SIG_BLOCK, &waitFor, &previousMask);
        // Ended workers must stay to be waited for, even if the tool was started with
        // SIGCHLD ignored.
        struct sigaction childDefault {};
        childDefault.sa_handler = SIG_DFL;
        struct sigaction previousChild {};
        sigaction(SIGCHLD, &childDefault, &previousChild);

        if (m_progress)
            ShowProgress(m_err, m_done, Total(), m_start);
        for (;;) {
            // Reaped first, so that an ended worker's place is filled at once.
            ReapEnded();
            StartWorkers(previousMask);
            if (m_running.empty() && (m_next == Total() || m_stopSignal != 0))
                break;
            if (m_running.empty())
                continue;
            // Woken by a worker's end (SIGCHLD stays pending until taken here) or a stop.
            siginfo_t info{};
            if (sigwaitinfo(&waitFor, &info) > 0 && info.si_signo != SIGCHLD)
                Stop(info.si_signo);
        }
        for (; m_next < Total(); ++m_next) {
            m_results[m_next].status = BatchAborted;
            m_results[m_next].err.clear();
        }

        sigaction(SIGCHLD, &previousChild, nullptr);
        // A stop signal that came after the last worker ended is taken here, not left
        // pending to end the tool when unblocked.
        timespec now{};
        while (sigtimedwait(&stops, nullptr, &now) > 0) {
        }
        sigprocmask(SIG_SETMASK, &previousMask, nullptr);
        if (m_progress)
            m_err << "\r" << std::string(60, ' ') << "\r";
    }

    std::vector<WorkerResult>& Results() { return m_results; }
    int StopSignal() const { return m_stopSignal; }

private:
    std::size_t Total() const { return m_plan.inputs.size(); }

    void StartWorkers(const sigset_t& workerMask)
    {
        while (m_running.size() < std::size_t(m_plan.jobs) && m_next < Total() && m_stopSignal == 0) {
            RunningWorker worker{m_next, nullptr, nullptr};
            WorkerResult& result = m_results[m_next];
            const pid_t pid = Start(m_program, m_plan.WorkerArguments(m_plan.inputs[m_next]),
                                    workerMask, worker, result);
            result.started = true;
            if (pid > 0) {
                m_running.emplace(pid, worker);
            } else {
                result.status = BatchFileError;
                for (std::FILE* f : {worker.out, worker.err})
                    if (f)
                        std::fclose(f);
                Count();
            }
            ++m_next;
        }
    }

    void ReapEnded()
    {
        for (auto it = m_running.begin(); it != m_running.end();) {
            int wstatus = 0;
            if (waitpid(it->first, &wstatus, WNOHANG) != it->first) {
                ++it;
                continue;
            }
            WorkerResult& r = m_results[it->second.input];
            r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
            r.out = ReadAll(it->second.out);
            r.err = ReadAll(it->second.err);
            if (m_plan.ResultOnStdout())
                KeepReport(m_plan, m_plan.inputs[it->second.input], r);
            it = m_running.erase(it);
            Count();
        }
    }

    void Stop(int signal)
    {
        if (m_progress)
            m_err << "\r" << std::string(60, ' ') << "\r";
        m_err << "orvalis-batch: " << StopSignalName(signal)
              << (m_stopSignal == 0 ? ": stopping the running workers, starting no more"
                                    : ": ending the running workers at once")
              << "\n"
              << std::flush;
        if (m_stopSignal == 0)
            m_stopSignal = signal;
        for (const auto& [pid, worker] : m_running)
            kill(pid, signal);
    }

    void Count()
    {
        ++m_done;
        if (m_progress)
            ShowProgress(m_err, m_done, Total(), m_start);
    }

    const ManySeriesPlan& m_plan;
    const std::string& m_program;
    std::ostream& m_err;
    bool m_progress;
    std::vector<WorkerResult> m_results;
    std::map<pid_t, RunningWorker> m_running;
    std::size_t m_next = 0; // the next input to start
    std::size_t m_done = 0; // workers ended (or never started)
    int m_stopSignal = 0;   // the first signal to stop, 0 before any
    Clock::time_point m_start;
};

} // namespace

int RunManySeries(const ManySeriesPlan& plan, const std::string& program, std::ostream& out,
                  std::ostream& err, bool progress)
{
    WorkerPool pool(plan, program, err, progress);
    pool.Run();
    const std::vector<WorkerResult>& results = pool.Results();
    const std::size_t total = results.size();

    int worst = BatchDone;
    std::size_t done = 0;
    std::size_t aborted = 0;
    std::size_t notStarted = 0;
    for (std::size_t i = 0; i < total; ++i) {
        std::istringstream lines(results[i].out);
        for (std::string line; std::getline(lines, line);)
            out << plan.inputs[i] << ": " << line << '\n';
        worst = std::max(worst, results[i].status);
        done += results[i].status == BatchDone;
        aborted += results[i].started && results[i].status == BatchAborted;
        notStarted += !results[i].started;
    }
    out.flush();
    err << "orvalis-batch: " << total << " files, " << done << " done, ";
    if (aborted > 0)
        err << aborted << " aborted, ";
    if (notStarted > 0)
        err << notStarted << " not started, ";
    err << total - done - aborted - notStarted << " failed\n";
    for (std::size_t i = 0; i < total; ++i)
        err << "  " << plan.inputs[i] << ": " << results[i].status << " "
            << Describe(results[i]) << '\n';
    err.flush();
    return worst;
}

} // namespace orvalis
