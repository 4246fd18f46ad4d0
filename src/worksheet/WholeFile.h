#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvalis {

// Reading whole files: worksheets and imports. Never throws; reports what went wrong.
// Writing goes through OutputFile.h.

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

} // namespace orvalis
