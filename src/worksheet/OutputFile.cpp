#include "worksheet/OutputFile.h"

#include "worksheet/FileDescriptor.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvalis {

namespace {

constexpr int kMaxLinkHops = 40;
constexpr int kNameAttempts = 100;

std::atomic<bool> g_unnamedAllowed{true};

// The named temporary files of writes under way, for RemovePartialOutputs(). A fixed
// table of lock-free states and plain buffers, so a signal handler can read it: a slot
// is claimed, filled, and only then marked ready.
constexpr int kPendingSlots = 8;
constexpr std::size_t kPendingPathBytes = 4096;
enum SlotState : int { kSlotFree,
                       kSlotClaimed,
                       kSlotReady };
struct PendingSlot {
    std::atomic<int> state{kSlotFree};
    char path[kPendingPathBytes] = {};
};
PendingSlot g_pending[kPendingSlots];

// Registers path while it exists; a path too long for the table, or a full table, goes
// unregistered (it is still removed on every way out but a signal).
class PendingName {
public:
    explicit PendingName(const std::string& path)
    {
        if (path.size() >= kPendingPathBytes)
            return;
        for (PendingSlot& slot : g_pending) {
            int expected = kSlotFree;
            if (slot.state.compare_exchange_strong(expected, kSlotClaimed)) {
                std::memcpy(slot.path, path.c_str(), path.size() + 1);
                slot.state.store(kSlotReady);
                m_slot = &slot;
                return;
            }
        }
    }
    ~PendingName()
    {
        if (m_slot)
            m_slot->state.store(kSlotFree);
    }
    PendingName(const PendingName&) = delete;
    PendingName& operator=(const PendingName&) = delete;

private:
    PendingSlot* m_slot = nullptr;
};

// Holds back the signals that end a process while a named temporary file is briefly
// on disk, so it is renamed or removed before the process goes.
class EndSignalsHeld {
public:
    EndSignalsHeld()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&set, sig);
        pthread_sigmask(SIG_BLOCK, &set, &m_old);
    }
    ~EndSignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }
    EndSignalsHeld(const EndSignalsHeld&) = delete;
    EndSignalsHeld& operator=(const EndSignalsHeld&) = delete;

private:
    sigset_t m_old;
};

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Where the bytes go. A symbolic link is followed hop by hop, so a link to a file that
// does not exist yet creates that file. Links inside /proc name open descriptors
// (/dev/stdout leads there): they are written through as they are.
struct Target {
    std::string path;
    bool exists = false;
    bool inPlace = false;
    struct stat info {};
};

bool ResolveTarget(const std::string& path, Target& target, std::string& detail)
{
    std::string p = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (lstat(p.c_str(), &info) != 0) {
            if (errno != ENOENT) {
                detail = "cannot look at " + p;
                return false;
            }
            target.path = p;
            return true;
        }
        if (S_ISLNK(info.st_mode) && p.rfind("/proc/", 0) == 0) {
            target.path = p;
            target.exists = true;
            target.inPlace = true;
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            if (S_ISDIR(info.st_mode)) {
                detail = p + " is a folder";
                return false;
            }
            target.path = p;
            target.exists = true;
            target.inPlace = !S_ISREG(info.st_mode);
            target.info = info;
            return true;
        }
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t n = readlink(p.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) {
            detail = "cannot read the link " + p;
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        p = link.front() == '/' ? link : FolderOf(p) + "/" + link;
    }
    detail = "too many symbolic links at " + path;
    return false;
}

OutputResult WriteInPlace(const Target& target, std::string_view bytes)
{
    FileDescriptor fd(open(target.path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.Get() < 0 || !WriteAll(fd.Get(), bytes.data(), bytes.size()) || !fd.Close())
        return {"cannot write to " + target.path + ": " + std::strerror(errno)};
    return {};
}

// Makes the rename in folder last: without this a crash soon after saving may bring
// back the old file, or no file at all.
bool SyncFolder(const std::string& folder)
{
    FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() < 0)
        return false;
    // Some file systems cannot flush a folder at all; nothing more can be done there.
    return fsync(fd.Get()) == 0 || errno == EINVAL;
}

// A name beside the target that nothing else uses, for linking a finished unnamed file.
std::string FreshName(const std::string& target)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::string name = target + ".tmp-";
    for (int i = 0; i < 6; ++i)
        name += letters[random() % (sizeof letters - 1)];
    return name;
}

// The permission bits the new file gets: the old file's, or what the umask leaves of
// 0666 for a new file, as a file created in the ordinary way would have.
mode_t ModeFor(const Target& target)
{
    if (target.exists)
        return target.info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Gives the new file the old one's owner and group where that is allowed: only root or
// a member of the group may hand the file back; otherwise it stays the writer's.
void TakeOwner(int fd, const Target& target)
{
    if (!target.exists)
        return;
    if (fchown(fd, target.info.st_uid, target.info.st_gid) != 0 &&
        fchown(fd, static_cast<uid_t>(-1), target.info.st_gid) != 0) {
        // Neither is allowed: the file stays the writer's.
    }
}

bool FillAndFlush(int fd, const Target& target, std::string_view bytes)
{
    TakeOwner(fd, target);
    return fchmod(fd, ModeFor(target)) == 0 && WriteAll(fd, bytes.data(), bytes.size()) &&
           fsync(fd) == 0;
}

// The file is written without a name (O_TMPFILE), given a fresh name beside the target
// only when complete, and renamed over the target at once. False with unnamed set false
// when the file system has no unnamed files.
bool ReplaceThroughUnnamed(const Target& target, std::string_view bytes, bool& unnamed,
                           std::string& detail)
{
    FileDescriptor fd(open(FolderOf(target.path).c_str(), O_WRONLY | O_TMPFILE | O_CLOEXEC, 0600));
    if (fd.Get() < 0) {
        unnamed = errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL;
        detail = "cannot create a temporary file beside " + target.path + ": " + std::strerror(errno);
        return false;
    }
    unnamed = true;
    if (!FillAndFlush(fd.Get(), target, bytes)) {
        detail = "cannot write " + target.path + ": " + std::strerror(errno);
        return false;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd.Get());
    const EndSignalsHeld held;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string temp = FreshName(target.path);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            // Without /proc the finished file cannot be named: a named one will do.
            unnamed = errno != ENOENT;
            detail = "cannot name the temporary file " + temp + ": " + std::strerror(errno);
            return false;
        }
        const PendingName pending(temp);
        if (!fd.Close() || std::rename(temp.c_str(), target.path.c_str()) != 0) {
            detail = "close or rename of " + temp + " failed: " + std::strerror(errno);
            unlink(temp.c_str());
            return false;
        }
        return true;
    }
    detail = "no free temporary name beside " + target.path;
    return false;
}

// The same with a named temporary file, for file systems without unnamed ones. The
// name is registered before a signal can end the process, so RemovePartialOutputs()
// finds it.
bool ReplaceThroughNamed(const Target& target, std::string_view bytes, std::string& detail)
{
    std::string temp = target.path + ".tmp-XXXXXX";
    std::optional<EndSignalsHeld> held(std::in_place);
    FileDescriptor fd(mkstemp(temp.data()));
    if (fd.Get() < 0) {
        detail = "cannot create a temporary file beside " + target.path + ": " + std::strerror(errno);
        return false;
    }
    const PendingName pending(temp);
    held.reset();
    bool ok = FillAndFlush(fd.Get(), target, bytes);
    ok = fd.Close() && ok;
    if (!ok || std::rename(temp.c_str(), target.path.c_str()) != 0) {
        detail = "write, flush or rename of " + temp + " failed: " + std::strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

OutputResult WriteOutputFile(const std::string& path, std::string_view bytes)
{
    Target target;
    std::string detail;
    if (!ResolveTarget(path, target, detail))
        return {detail};
    if (target.inPlace)
        return WriteInPlace(target, bytes);
    if (target.exists && faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0)
        return {"no permission to write " + target.path};

    bool unnamed = false;
    const bool replaced = g_unnamedAllowed.load() && ReplaceThroughUnnamed(target, bytes, unnamed, detail);
    if (!replaced && unnamed)
        return {detail};
    if (!replaced && !ReplaceThroughNamed(target, bytes, detail))
        return {detail};
    if (!SyncFolder(FolderOf(target.path)))
        return {"the folder of " + target.path + " could not be flushed"};
    return {};
}

void RemovePartialOutputs() noexcept
{
    for (PendingSlot& slot : g_pending) {
        if (slot.state.load() == kSlotReady)
            unlink(slot.path);
    }
}

void AllowUnnamedTemporaryFiles(bool allow)
{
    g_unnamedAllowed.store(allow);
}

} // namespace orvalis
