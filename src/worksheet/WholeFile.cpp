#include "worksheet/WholeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvalis {

namespace {

constexpr std::size_t kReadChunk = std::size_t{1} << 20;
constexpr int kMaxLinkHops = 40;

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    // Closes now and says whether the close succeeded (it can report a late write error).
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || close(fd) == 0;
    }

private:
    int m_fd;
};

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size)
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

bool WriteInPlace(const Target& target, const std::uint8_t* data, std::size_t size,
                  std::string& detail)
{
    Descriptor fd(open(target.path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (fd.Get() < 0 || !WriteAll(fd.Get(), data, size) || !fd.Close()) {
        detail = "cannot write to " + target.path;
        return false;
    }
    return true;
}

// Makes the rename in folder last: without this a crash soon after saving may bring
// back the old file, or no file at all.
bool SyncFolder(const std::string& folder)
{
    Descriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() < 0)
        return false;
    // Some file systems cannot flush a folder at all; nothing more can be done there.
    return fsync(fd.Get()) == 0 || errno == EINVAL;
}

} // namespace

ReadOutcome ReadWholeFile(const std::string& path, std::size_t limit,
                          std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return ReadOutcome::Failed;
    return ReadWholeDescriptor(fd.Get(), limit, bytes);
}

ReadOutcome ReadWholeDescriptor(int fd, std::size_t limit, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))
        return ReadOutcome::Failed;
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > limit)
        return ReadOutcome::TooLarge;
    try {
        // A regular file says how large it is; anything else grows chunk by chunk, and
        // never past one byte more than the limit.
        const std::size_t ceiling = limit + 1;
        if (S_ISREG(info.st_mode) && info.st_size > 0)
            bytes.reserve(std::min(static_cast<std::size_t>(info.st_size) + 1, ceiling));
        while (bytes.size() < ceiling) {
            const std::size_t old = bytes.size();
            const std::size_t room = std::min(kReadChunk, ceiling - old);
            if (bytes.capacity() < old + room)
                bytes.reserve(std::min(std::max(2 * bytes.capacity(), old + room), ceiling));
            bytes.resize(old + room);
            const ssize_t n = read(fd, bytes.data() + old, room);
            bytes.resize(old + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return ReadOutcome::Failed;
            if (n == 0)
                return ReadOutcome::Done;
        }
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return ReadOutcome::Failed;
    }
    bytes.clear();
    return ReadOutcome::TooLarge;
}

bool ReplaceWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                      std::string& detail)
{
    Target target;
    if (!ResolveTarget(path, target, detail))
        return false;
    if (target.inPlace)
        return WriteInPlace(target, data, size, detail);
    if (target.exists && faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
        detail = "no permission to write " + target.path;
        return false;
    }

    std::string temp = target.path + ".tmp-XXXXXX";
    Descriptor fd(mkstemp(temp.data()));
    if (fd.Get() < 0) {
        detail = "cannot create a temporary file beside " + target.path;
        return false;
    }
    mode_t mode = 0;
    if (target.exists) {
        // Only root or a member of the group may hand the file back; otherwise the new
        // file is the saver's own, as any newly written file would be.
        if (fchown(fd.Get(), target.info.st_uid, target.info.st_gid) != 0 &&
            fchown(fd.Get(), static_cast<uid_t>(-1), target.info.st_gid) != 0) {
            // Neither is allowed: the file stays the saver's.
        }
        mode = target.info.st_mode & 07777;
    } else {
        // mkstemp creates the file for its owner only; a new file gets the permissions
        // a file created in the ordinary way would have.
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), data, size) && fsync(fd.Get()) == 0;
    ok = fd.Close() && ok;
    if (!ok || std::rename(temp.c_str(), target.path.c_str()) != 0) {
        detail = "write, flush or rename of " + temp + " failed";
        unlink(temp.c_str());
        return false;
    }
    if (!SyncFolder(FolderOf(target.path))) {
        detail = "the folder of " + target.path + " could not be flushed";
        return false;
    }
    return true;
}

} // namespace orvalis
