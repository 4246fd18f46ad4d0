#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvalis {

// The one way the program writes a file it was asked to write: worksheets, the batch
// tool's listings, charts, printed pages, exports. Writers render into memory and hand
// the bytes here. Never throws.

// What a write came to. `if (!result)` means it failed; detail says what failed, naming
// the path, and is empty after a success.
struct OutputResult {
    std::string detail;
    explicit operator bool() const { return detail.empty(); }
};

// Writes the bytes to path, so that a regular file either keeps its old contents or
// holds all the new ones, also after a crash, a full disk or a signal:
// - the bytes go to a temporary file beside the target, flushed to disk, which is then
//   renamed over the target, and the folder is flushed so the rename lasts. Where the
//   file system allows, the temporary file has no name until it is complete, so a
//   process killed while writing leaves nothing behind; elsewhere it is named
//   NAME.tmp-XXXXXX and RemovePartialOutputs() removes it;
// - a symbolic link is followed (the file it names is replaced, the link stays);
// - an existing file keeps its permission bits and, where allowed, its owner and group;
//   one the caller may not write to is refused, as an editor would refuse it;
// - a target that is not a regular file (a device, a pipe, a descriptor link such as
//   /dev/stdout) is written in place, since it cannot be replaced by a rename: it stays
//   the device or pipe it was.
// Every write and the close are checked. Hard links to the old file keep the old
// contents: the rename gives the path a new file. Two processes writing one path at once
// leave one of the two complete files. After a failure the target is as it was, unless
// only the final flush of the folder failed (the new contents are in place but may not
// survive a crash) or an in-place target took part of the bytes.
OutputResult WriteOutputFile(const std::string& path, std::string_view bytes);

// Removes the named temporary files of writes under way in this process. Safe to call
// from a signal handler, which then ends the process.
void RemovePartialOutputs() noexcept;

// Test support: whether writes may use a temporary file without a name (true by
// default). Off, every write takes the named temporary file of file systems that have
// no unnamed ones.
void AllowUnnamedTemporaryFiles(bool allow);

} // namespace orvalis
