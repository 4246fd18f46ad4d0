#include "worksheet/WholeFile.h"
#include "worksheet/OutputFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace orvalis;
namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path;
    Folder()
    {
        std::string t = (fs::temp_directory_path() / "orvalis-file-XXXXXX").string();
        path = mkdtemp(t.data());
    }
    ~Folder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    std::size_t Entries() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(path), fs::directory_iterator()));
    }
};

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& path, const std::string& text, mode_t mode = 0644)
{
    std::ofstream(path, std::ios::binary) << text;
    chmod(path.c_str(), mode);
}

bool Replace(const std::string& path, const std::string& text, std::string* detailOut = nullptr)
{
    const OutputResult result = WriteOutputFile(path, text);
    if (detailOut)
        *detailOut = result.detail;
    return static_cast<bool>(result);
}

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    lstat(path.c_str(), &info);
    return info.st_mode;
}

} // namespace

TEST(WholeFile, ReplacingKeepsThePermissionsOfTheFile)
{
    for (mode_t mode : {0600, 0640, 0604, 0444}) {
        Folder dir;
        const std::string file = dir / "w.ows";
        Write(file, "old", mode);
        ASSERT_TRUE(Replace(file, "new contents")) << std::oct << mode;
        EXPECT_EQ(Read(file), "new contents");
        EXPECT_EQ(ModeOf(file) & 07777, mode) << std::oct << mode;
        EXPECT_EQ(dir.Entries(), 1u);  // no temporary file stays behind
    }
    // A new file gets what the umask leaves of 0666, as any new file would.
    Folder dir;
    const mode_t mask = umask(027);
    const bool ok = Replace(dir / "fresh.ows", "x");
    umask(mask);
    ASSERT_TRUE(ok);
    EXPECT_EQ(ModeOf(dir / "fresh.ows") & 07777, 0640u);
}

TEST(WholeFile, SymbolicLinksAreWrittenThrough)
{
    Folder dir;
    fs::create_directory(dir.path / "data");
    Write(dir / "data/real.ows", "old", 0600);
    // A relative link, and an absolute link to that link.
    fs::create_symlink("data/real.ows", dir.path / "near.ows");
    fs::create_symlink(dir.path / "near.ows", dir.path / "far.ows");
    for (const char* name : {"near.ows", "far.ows"}) {
        ASSERT_TRUE(Replace(dir / name, name)) << name;
        EXPECT_EQ(Read(dir / "data/real.ows"), name);
        EXPECT_TRUE(S_ISLNK(ModeOf(dir / "near.ows")));
        EXPECT_TRUE(S_ISLNK(ModeOf(dir / "far.ows")));
        EXPECT_EQ(ModeOf(dir / "data/real.ows") & 07777, 0600u);
    }
    // A link to a file not there yet creates that file.
    fs::create_symlink("data/later.ows", dir.path / "later.ows");
    ASSERT_TRUE(Replace(dir / "later.ows", "made"));
    EXPECT_EQ(Read(dir / "data/later.ows"), "made");
    EXPECT_TRUE(S_ISLNK(ModeOf(dir / "later.ows")));
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.path / "data"),
                                                     fs::directory_iterator())), 2u);
}

TEST(WholeFile, TargetsThatCannotBeReplacedStayAsTheyWere)
{
    Folder dir;
    // A folder of that name, and links that lead round in a circle.
    fs::create_directory(dir.path / "taken.ows");
    fs::create_symlink("b.ows", dir.path / "a.ows");
    fs::create_symlink("a.ows", dir.path / "b.ows");
    for (const char* name : {"taken.ows", "a.ows"}) {
        std::string detail;
        EXPECT_FALSE(Replace(dir / name, "x", &detail)) << name;
        EXPECT_FALSE(detail.empty()) << name;
    }
    EXPECT_EQ(dir.Entries(), 3u);
    EXPECT_TRUE(fs::is_directory(dir.path / "taken.ows"));
}

// A pipe (or a device, or /dev/stdout) cannot be renamed over: it is written as it is
// and stays what it was.
TEST(WholeFile, SpecialFilesAreWrittenInPlace)
{
    Folder dir;
    const std::string fifo = dir / "listing";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(Replace(fifo, "through the pipe"));
    char buffer[64] = {};
    const ssize_t n = read(reader, buffer, sizeof buffer);
    close(reader);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0))), "through the pipe");
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
    EXPECT_EQ(dir.Entries(), 1u);
}

TEST(WholeFile, ReadingStopsAtTheLimit)
{
    Folder dir;
    Write(dir / "ten", "0123456789");
    std::ofstream(dir / "sparse").close();
    fs::resize_file(dir.path / "sparse", kMaxFileReadBytes + 1);  // holes: no disk used
    struct Case {
        std::string path;
        std::size_t limit;
        ReadOutcome outcome;
        std::size_t size;
    };
    const Case cases[] = {
        {dir / "ten", 10, ReadOutcome::Done, 10},
        {dir / "ten", 9, ReadOutcome::TooLarge, 0},
        {dir / "sparse", kMaxFileReadBytes, ReadOutcome::TooLarge, 0},
        {"/dev/zero", 3u << 20, ReadOutcome::TooLarge, 0},  // endless
        {"/dev/null", 10, ReadOutcome::Done, 0},
        {dir.path.string(), 10, ReadOutcome::Failed, 0},    // a folder
        {"/proc/self/mem", 10, ReadOutcome::Failed, 0},     // a read that fails
        {dir / "missing", 10, ReadOutcome::Failed, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(5, 1);
        EXPECT_EQ(ReadWholeFile(c.path, c.limit, bytes), c.outcome) << c.path << " " << c.limit;
        EXPECT_EQ(bytes.size(), c.size) << c.path;
    }
}
