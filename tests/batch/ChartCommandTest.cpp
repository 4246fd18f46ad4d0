// orvalis-batch chart, run as the program: the PNG's size read from its header, the SVG
// parsed as XML.
#include "BatchToolRunner.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using namespace orvalis::test;

namespace {

// Width and height from a PNG's IHDR chunk; {0, 0} when text is not a PNG.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    const auto word = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {word(16), word(20)};
}

// The texts of every <text> element of a well-formed SVG, separated by newlines; the
// parser's error when it is not well-formed XML.
std::string SvgTexts(const std::string& bytes, QString& error)
{
    QXmlStreamReader xml(QByteArray::fromStdString(bytes));
    std::string texts;
    bool root = true;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && root) {
            root = false;
            if (xml.name() != QLatin1String("svg"))
                error = "root element " + xml.name().toString();
        }
        if (xml.isStartElement() && xml.name() == QLatin1String("text"))
            texts += xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString() + "\n";
    }
    if (xml.hasError())
        error = xml.errorString();
    return texts;
}

class ChartCommand : public ::testing::Test {
protected:
    // The Nile series trained once for every test of the suite.
    static void SetUpTestSuite()
    {
        box = new BatchSandbox;
        const std::string sample = std::string(ORVALIS_SAMPLE_DATA_DIR) + "/nile_full.csv";
        ASSERT_EQ(box->RunInProcess({"import", sample, "-o", box->Path("nile.ows"), "--header"}).status, 0);
        ASSERT_EQ(box->RunInProcess({"set", box->Path("nile.ows"), "-o", box->Path("nile.ows"),
                                     "--role", "2=Trg/In"}).status, 0);
        ASSERT_EQ(box->RunInProcess({"train", box->Path("nile.ows"), "-o", box->Path("trained.ows")}).status, 0);
    }
    static void TearDownTestSuite() { delete box; }
    static BatchSandbox* box;
};
BatchSandbox* ChartCommand::box = nullptr;

} // namespace

// The default and a given size of PNG, and an SVG that holds the chart's series names,
// the section names and the axis title taken from the comment row.
TEST_F(ChartCommand, TrainedWorksheetGivesPngOfItsSizeAndWellFormedSvg)
{
    const std::string trained = box->Path("trained.ows");
    const auto png = box->Run({"chart", trained, "-o", box->Path("default.png")});
    ASSERT_EQ(png.status, 0) << png.err;
    EXPECT_EQ(png.out, "");
    EXPECT_EQ(PngSize(BatchSandbox::ReadFile(box->Path("default.png"))), std::make_pair(1200u, 700u));

    ASSERT_EQ(box->Run({"chart", trained, "-o", box->Path("small.PNG"), "--size", "640x480"}).status, 0);
    EXPECT_EQ(PngSize(BatchSandbox::ReadFile(box->Path("small.PNG"))), std::make_pair(640u, 480u));

    const auto svg = box->Run({"chart", trained, "-o", box->Path("chart.svg"), "--size", "800x500"});
    ASSERT_EQ(svg.status, 0) << svg.err;
    const std::string bytes = BatchSandbox::ReadFile(box->Path("chart.svg"));
    EXPECT_EQ(PngSize(bytes).first, 0u) << "an .svg name gives an SVG picture";
    QString error;
    const std::string texts = SvgTexts(bytes, error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    for (const char* shown : {"Flow", "Val:Est", "Training", "Testing", "Forecast start"})
        EXPECT_NE(texts.find(shown), std::string::npos) << shown << " in\n" << texts;
    EXPECT_NE(bytes.find("viewBox=\"0 0 800 500\""), std::string::npos);
}

TEST_F(ChartCommand, BadSizeEmptyWorksheetAndUnwritablePicture)
{
    const std::string trained = box->Path("trained.ows");
    for (const char* size : {"1200", "x700", "1200x", "99x700", "1200x8001", "0x0", "-5x100",
                             "1200x700x3", "12OOx700", "1200X700"}) {
        const auto result = box->RunInProcess({"chart", trained, "-o", box->Path("bad.png"), "--size", size});
        EXPECT_EQ(result.status, 2) << size;
        EXPECT_NE(result.err.find("--size takes WIDTHxHEIGHT"), std::string::npos) << size << ": " << result.err;
    }
    const auto noOutput = box->RunInProcess({"chart", trained});
    EXPECT_EQ(noOutput.status, 2);
    EXPECT_NE(noOutput.err.find("chart needs -o OUT.png|OUT.svg"), std::string::npos) << noOutput.err;

    const auto unwritable = box->Run({"chart", trained, "-o", box->Path("no/such/dir/c.png")});
    EXPECT_EQ(unwritable.status, 3);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos) << unwritable.err;
    EXPECT_EQ(box->Run({"chart", trained, "-o", box->Path("no/such/dir/c.svg")}).status, 3);
    EXPECT_EQ(box->Run({"chart", box->Path("missing.ows"), "-o", box->Path("m.png")}).status, 3);

    // A worksheet without a target column has nothing to draw: no picture, and a status
    // a script can tell from success.
    ASSERT_EQ(box->Run({"new", "-o", box->Path("new.ows")}).status, 0);
    const auto empty = box->Run({"chart", box->Path("new.ows"), "-o", box->Path("empty.png")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("nothing to chart"), std::string::npos) << empty.err;
    EXPECT_FALSE(std::filesystem::exists(box->Path("empty.png")));
}

// Target series whose range overflows a double, whose values differ only past a
// double's resolution, or that are subnormal: chart (PNG and SVG) and print --chart
// finish, within a time limit, with a complete picture whose value axis says the power
// of ten it shows the values in.
TEST_F(ChartCommand, ExtremeAndNearEqualValuesChartAndPrint)
{
    struct Case {
        const char* name;
        std::vector<std::string> values;
        const char* axisTitle;
    };
    const std::vector<Case> cases = {
        {"range_overflows", {"9e307", "-9e307"}, "Column 1 (\u00d71e307)"},
        {"largest", {"1e308", "-1e308", "1.7976931348623157e308"}, "Column 1 (\u00d71e308)"},
        {"near_equal", {"0.3", "0.30000000000000004"}, "Column 1"},
        {"near_equal_1e16", {"1e16", "1.0000000000000002e16"}, "Column 1 (\u00d71e16)"},
        {"subnormal", {"1e-308", "4e-320", "-2e-310"}, "Column 1 (\u00d71e-308)"},
    };
    ASSERT_EQ(box->Run({"new", "-o", box->Path("blank.ows")}).status, 0);
    // A hang fails the case through the time limit's status (124) instead of stalling.
    const std::vector<std::string> limit = {"timeout", "60"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string sheet = box->Path(std::string(c.name) + ".ows");
        std::vector<std::string> set = {"set", box->Path("blank.ows"), "-o", sheet, "--role", "1=Target"};
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            set.push_back("--cell");
            set.push_back(std::to_string(8 + i) + ",1=" + c.values[i]);
        }
        ASSERT_EQ(box->RunInProcess(set).status, 0);

        const auto png = box->Run({"chart", sheet, "-o", box->Path("x.png"), "--size", "640x400"}, limit);
        ASSERT_EQ(png.status, 0) << png.err;
        EXPECT_EQ(PngSize(BatchSandbox::ReadFile(box->Path("x.png"))), std::make_pair(640u, 400u));
        const auto svg = box->Run({"chart", sheet, "-o", box->Path("x.svg")}, limit);
        ASSERT_EQ(svg.status, 0) << svg.err;
        EXPECT_EQ(svg.err.find("invalid range"), std::string::npos) << svg.err;
        QString error;
        const std::string texts = SvgTexts(BatchSandbox::ReadFile(box->Path("x.svg")), error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_NE(texts.find(c.axisTitle), std::string::npos) << texts;
        for (const char* broken : {"inf", "nan"})
            EXPECT_EQ(texts.find(broken), std::string::npos) << broken << " in\n"
                                                             << texts;
        const auto print = box->Run({"print", sheet, "-o", box->Path("x.pdf"), "--chart"}, limit);
        ASSERT_EQ(print.status, 0) << print.err;
        EXPECT_EQ(BatchSandbox::ReadFile(box->Path("x.pdf")).compare(0, 5, "%PDF-"), 0);
    }
}

// The picture is in the format its name asks for, and a name asking for a format the
// tool does not write is refused before anything is drawn. stderr carries the tool's own
// messages only, never Qt's remarks (here: no runtime folder set), for chart and print.
TEST_F(ChartCommand, NameChoosesTheFormatAndStderrHoldsOnlyTheToolsMessages)
{
    const std::string trained = box->Path("trained.ows");
    const std::vector<std::string> withoutRuntimeDir = {"env", "-u", "XDG_RUNTIME_DIR"};
    struct Case {
        const char* name;
        std::string magic; // the first bytes of the picture; "" none written
    };
    const Case cases[] = {
        {"c.jpg", "\xFF\xD8\xFF"},
        {"c.JPEG", "\xFF\xD8\xFF"},
        {"c.png", "\x89PNG"},
        {"c.svg", "<?xml"},
        {"c.gif", ""},
        {"c.png.txt", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = box->Run({"chart", trained, "-o", box->Path(c.name)}, withoutRuntimeDir);
        const std::string bytes = BatchSandbox::ReadFile(box->Path(c.name));
        if (c.magic.empty()) {
            EXPECT_EQ(result.status, 2);
            EXPECT_EQ(result.err, "orvalis-batch: chart writes .png, .svg or .jpg (.jpeg) pictures, not " +
                                      box->Path(c.name) + "\n");
            EXPECT_FALSE(std::filesystem::exists(box->Path(c.name)));
            continue;
        }
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(bytes.substr(0, c.magic.size()), c.magic);
    }
    const auto print = box->Run({"print", trained, "-o", box->Path("p.pdf"), "--chart"}, withoutRuntimeDir);
    EXPECT_EQ(print.status, 0);
    EXPECT_EQ(print.err, "");
}

// A picture that cannot be written whole is not written: exit 3 with the message, and an
// older picture stays as it was. Devices and pipes are written in place and stay what
// they were.
TEST_F(ChartCommand, FailedWritesExitThreeAndDevicesStayDevices)
{
    const std::string trained = box->Path("trained.ows");
    const std::string svg = box->Path("kept.svg");
    ASSERT_EQ(box->Run({"chart", trained, "-o", svg}).status, 0);
    const std::string old = BatchSandbox::ReadFile(svg);
    ASSERT_GT(old.size(), 40000u);
    struct Case {
        const char* name;
        std::string output;
        std::vector<std::string> prefix;
    };
    const Case cases[] = {
        {"disk full, SVG", "/dev/full", {}},
        {"disk full, PNG", "/dev/full.png", {}},
        {"file size limit, SVG", svg, {"prlimit", "--fsize=30000"}},
    };
    for (const Case& c : cases) {
        // /dev/full.png does not exist: it is /dev/full reached through a link.
        std::string output = c.output;
        if (output == "/dev/full.png") {
            output = box->Path("full.png");
            std::filesystem::create_symlink("/dev/full", output);
        }
        const auto result = box->Run({"chart", trained, "-o", output, "--size", "800x500"}, c.prefix);
        EXPECT_EQ(result.status, 3) << c.name << ": " << result.err;
        const std::string name = std::filesystem::path(output).filename().string();
        EXPECT_NE(result.err.find("Error: Cannot write file " + name + "\n"), std::string::npos)
            << c.name << ": " << result.err;
    }
    EXPECT_TRUE(BatchSandbox::ReadFile(svg) == old);

    EXPECT_EQ(box->Run({"chart", trained, "-o", "/dev/null"}).status, 0);
    struct stat info {};
    ASSERT_EQ(stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    const std::string fifo = box->Path("pipe.svg");
    const auto [piped, bytes] = RunIntoFifo(*box, {"chart", trained, "-o", fifo}, fifo);
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_TRUE(bytes == old) << bytes.size() << " bytes through the pipe";
    ASSERT_EQ(stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    for (const auto& entry : std::filesystem::directory_iterator(box->Path("")))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}

// The airline's year and month columns date the chart's rows: its row axis shows months,
// continued over the five extrapolated rows to January 1961; the Nile's year column gives
// a year axis, and a worksheet whose year column is no comment keeps row numbers.
TEST_F(ChartCommand, CommentColumnsDateTheRowAxisPastTheDataRows)
{
    const std::string sample = std::string(ORVALIS_SAMPLE_DATA_DIR) + "/airpassengers_full.csv";
    const std::string air = box->Path("air.ows");
    ASSERT_EQ(box->RunInProcess({"import", sample, "-o", air, "--header"}).status, 0);
    ASSERT_EQ(box->RunInProcess({"set", air, "-o", air, "--role", "3=Trg/In", "--auto-sizing", "off"}).status, 0);
    const std::string extrapolated = box->Path("air-ext.ows");
    ASSERT_EQ(box->RunInProcess({"run", air, "-o", extrapolated, "mode=extrapolate", "train", "evaluate"}).status, 0);
    ASSERT_EQ(box->Run({"chart", extrapolated, "-o", box->Path("air.svg")}).status, 0);
    QString error;
    const std::string texts = SvgTexts(BatchSandbox::ReadFile(box->Path("air.svg")), error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    for (const char* shown : {"Month\n", "1949-01\n", "1960-01\n", "1961-01\n"})
        EXPECT_NE(texts.find(shown), std::string::npos) << shown << " in\n"
                                                        << texts;
    EXPECT_EQ(texts.find("Data row"), std::string::npos) << texts;

    ASSERT_EQ(box->Run({"chart", box->Path("trained.ows"), "-o", box->Path("nile.svg")}).status, 0);
    const std::string nile = SvgTexts(BatchSandbox::ReadFile(box->Path("nile.svg")), error);
    for (const char* shown : {"Year\n", "1880\n", "1960\n"})
        EXPECT_NE(nile.find(shown), std::string::npos) << shown << " in\n"
                                                       << nile;

    // Without the year column's role the rows are numbered again.
    ASSERT_EQ(box->RunInProcess({"set", air, "-o", box->Path("plain.ows"), "--role", "1=Input"}).status, 0);
    ASSERT_EQ(box->Run({"chart", box->Path("plain.ows"), "-o", box->Path("plain.svg")}).status, 0);
    const std::string plain = SvgTexts(BatchSandbox::ReadFile(box->Path("plain.svg")), error);
    EXPECT_NE(plain.find("Data row"), std::string::npos) << plain;
    EXPECT_EQ(plain.find("1949-01"), std::string::npos) << plain;
}
