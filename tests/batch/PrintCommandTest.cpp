// orvalis-batch print, run as the program: the PDF read back with poppler's tools.
#include "BatchToolRunner.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace orvalis::test;

namespace {

std::string Capture(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

std::string PageText(const std::string& pdf, int page)
{
    const std::string p = std::to_string(page);
    return Capture("pdftotext -f " + p + " -l " + p + " '" + pdf + "' -");
}

std::string PdfInfo(const std::string& pdf)
{
    return Capture("pdfinfo '" + pdf + "'");
}

} // namespace

// The used part of the worksheet only: its five imported columns and the header block,
// down to the last data row; a page of it holds about forty rows.
TEST(PrintCommand, FilledWorksheetPrintsItsUsedPartWithTitlesAndFooters)
{
    BatchSandbox box;
    const std::string ows = box.Path("stocks.ows");
    ASSERT_EQ(box.Run({"import", std::string(ORVALIS_SAMPLE_DATA_DIR) + "/eustockmarkets_990.csv",
                       "-o", ows, "--header"})
                  .status,
              0);
    const std::string pdf = box.Path("stocks.pdf");
    const auto result = box.Run({"print", ows, "-o", pdf});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "pages: 25\n");
    const std::string info = PdfInfo(pdf);
    EXPECT_NE(info.find("Pages:           25"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    for (int page = 1; page <= 25; ++page) {
        const std::string text = PageText(pdf, page);
        EXPECT_NE(text.find("stocks.ows"), std::string::npos) << page;
        EXPECT_NE(text.find("Brennix - Tavelle Orvalis"), std::string::npos) << page;
        EXPECT_NE(text.find("Page " + std::to_string(page) + " of 25"), std::string::npos) << page;
        EXPECT_NE(text.find("Column 6"), std::string::npos) << page << ": the fixed row, as far as it is used";
        EXPECT_EQ(text.find("Column 7"), std::string::npos) << page << ": no empty columns";
    }
    // The imported closes run on from page to page: the first and the last data rows,
    // the last one on the last page.
    EXPECT_NE(PageText(pdf, 1).find("1628.75"), std::string::npos);
    EXPECT_NE(PageText(pdf, 25).find("Data 990"), std::string::npos);
    EXPECT_EQ(PageText(pdf, 1).find("Data 990"), std::string::npos);

    const std::string letter = box.Path("letter.pdf");
    const auto wide = box.Run({"print", ows, "-o", letter, "--paper", "Letter", "--landscape"});
    ASSERT_EQ(wide.status, 0) << wide.err;
    EXPECT_NE(PdfInfo(letter).find("792 x 612"), std::string::npos) << PdfInfo(letter);

    // With a column to chart, --chart adds one page after the grid's (the role scan's
    // result columns widen the used part, so its grid pages are fewer).
    ASSERT_EQ(box.Run({"set", ows, "-o", ows, "--role", "2=Trg/In"}).status, 0);
    const auto plain = box.Run({"print", ows, "-o", pdf});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const int gridPages = std::stoi(plain.out.substr(7));
    const auto charted = box.Run({"print", ows, "-o", pdf, "--chart"});
    ASSERT_EQ(charted.status, 0) << charted.err;
    EXPECT_EQ(charted.out, "pages: " + std::to_string(gridPages + 1) + "\n");
    const std::string last = std::to_string(gridPages + 1);
    EXPECT_NE(PageText(pdf, gridPages + 1).find("Page " + last + " of " + last), std::string::npos);
}

TEST(PrintCommand, WrongPaperMissingFilesAndUnwritableOutput)
{
    BatchSandbox box;
    const std::string ows = box.Path("new.ows");
    ASSERT_EQ(box.Run({"new", "-o", ows}).status, 0);
    EXPECT_EQ(box.Run({"print", ows, "-o", box.Path("a.pdf"), "--paper", "A5"}).status, 2);
    EXPECT_EQ(box.Run({"print", ows}).status, 2) << "no -o";
    EXPECT_EQ(box.Run({"print", box.Path("missing.ows"), "-o", box.Path("b.pdf")}).status, 3);
    const auto unwritable = box.Run({"print", ows, "-o", box.Path("no/such/dir/c.pdf")});
    EXPECT_EQ(unwritable.status, 3);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
    const auto empty = box.Run({"print", ows, "-o", box.Path("d.pdf")});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "pages: 1\n") << "a new worksheet prints its header block only";
}

// A PDF that cannot be written whole is not written: the tool exits 3 with the message,
// prints no page count, and an older PDF stays as it was. Devices and pipes are written
// in place and stay what they were.
TEST(PrintCommand, FailedWritesExitThreeAndDevicesStayDevices)
{
    BatchSandbox box;
    const std::string ows = box.Path("new.ows");
    ASSERT_EQ(box.Run({"new", "-o", ows}).status, 0);
    const std::string pdf = box.Path("old.pdf");
    ASSERT_EQ(box.Run({"print", ows, "-o", pdf}).status, 0);
    const std::string old = BatchSandbox::ReadFile(pdf);
    ASSERT_GT(old.size(), 12000u);

    std::vector<std::string> nobody;
    if (geteuid() == 0) {
        if (system("setpriv --reuid=65534 --regid=65534 --clear-groups true") == 0)
            nobody = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        chmod(box.Path("").c_str(), 0777);
    }
    const std::string locked = box.Path("locked.pdf");
    std::ofstream(locked) << old;
    chmod(locked.c_str(), 0444);
    struct Case {
        const char* name;
        std::string output;
        std::vector<std::string> prefix;
    };
    const Case cases[] = {
        {"disk full", "/dev/full", {}},
        {"file size limit", pdf, {"prlimit", "--fsize=8000"}},
        {"read-only file", locked, nobody},
    };
    for (const Case& c : cases) {
        if (c.output == locked && geteuid() == 0 && nobody.empty())
            continue; // root may write anything, and there is no other user here
        const auto result = box.Run({"print", ows, "-o", c.output, "--chart"}, c.prefix);
        EXPECT_EQ(result.status, 3) << c.name << ": " << result.err;
        EXPECT_EQ(result.out, "") << c.name;
        const std::string name = std::filesystem::path(c.output).filename().string();
        EXPECT_NE(result.err.find("Error: Cannot write file " + name + "\n"), std::string::npos)
            << c.name << ": " << result.err;
    }
    EXPECT_TRUE(BatchSandbox::ReadFile(pdf) == old);
    EXPECT_TRUE(BatchSandbox::ReadFile(locked) == old);

    // As root a replaced /dev/null would be a regular file now.
    const auto null = box.Run({"print", ows, "-o", "/dev/null"});
    EXPECT_EQ(null.status, 0) << null.err;
    struct stat info {};
    ASSERT_EQ(stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    const auto [piped, bytes] = RunIntoFifo(box, {"print", ows, "-o", box.Path("pipe.pdf")}, box.Path("pipe.pdf"));
    EXPECT_EQ(piped.status, 0) << piped.err;
    // The whole PDF came through: it starts and ends as one does.
    EXPECT_EQ(bytes.compare(0, 5, "%PDF-"), 0);
    EXPECT_NE(bytes.find("%%EOF", bytes.size() > 8 ? bytes.size() - 8 : 0), std::string::npos);
    EXPECT_GT(bytes.size(), 12000u);
    ASSERT_EQ(stat(box.Path("pipe.pdf").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    for (const auto& entry : std::filesystem::directory_iterator(box.Path("")))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}
