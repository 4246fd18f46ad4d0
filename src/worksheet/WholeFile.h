#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvalis {

// Reading and replacing whole files: the worksheet files and the batch tool's listings.
// Neither throws; each reports what went wrong.

// The most a file read may hold. A worksheet file of a full grid is a few MiB; the limit
// keeps a device or an endless file from exhausting memory.
inline constexpr std::size_t kMaxFileReadBytes = std::size_t{256} << 20;

enum class ReadOutcome {
    Done,
    Failed,    // the file cannot be opened, is a folder, or a read failed
    TooLarge,  // more than the limit: reading stopped one byte past it
};

// Reads all of path into bytes, at most limit bytes.
ReadOutcome ReadWholeFile(const std::string& path, std::size_t limit,
                          std::vector<std::uint8_t>& bytes);

// The same for a descriptor the caller opened (and closes): for callers that tell a
// file that cannot be opened from one that cannot be read. After Failed, bytes hold
// what was read before the failure; after TooLarge they are empty.
ReadOutcome ReadWholeDescriptor(int fd, std::size_t limit, std::vector<std::uint8_t>& bytes);

// Replaces the contents of path with size bytes, so that the file either keeps its old
// contents or holds all the new ones, also after a crash or a full disk:
// - the bytes go to a temporary file beside the target, flushed to disk, which is then
//   renamed over the target, and the folder is flushed so the rename lasts;
// - a symbolic link is followed (the file it names is replaced, the link stays);
// - an existing file keeps its permission bits and, where allowed, its owner and group;
//   one the caller may not write to is refused, as an editor would refuse it;
// - a target that is not a regular file (a device, a pipe, a descriptor link such as
//   /dev/stdout) is written in place, since it cannot be replaced by a rename.
// Hard links to the old file keep the old contents: the rename gives the path a new file.
// Returns false with what failed in detail. The target is then as it was, unless only
// the final flush of the folder failed: the new contents are in place but may not
// survive a crash.
bool ReplaceWholeFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                      std::string& detail);

} // namespace orvalis
