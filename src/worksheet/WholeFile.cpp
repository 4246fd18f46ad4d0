#include "worksheet/WholeFile.h"

#include "worksheet/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvalis {

namespace {

constexpr std::size_t kReadChunk = std::size_t{1} << 20;

} // namespace

ReadOutcome ReadWholeFile(const std::string& path, std::size_t limit,
                          std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
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

} // namespace orvalis
