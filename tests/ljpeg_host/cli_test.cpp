// The command-line tool, run as a user runs it, and its status texts.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "statustext.h"

namespace {

const std::string kTool = VELMORAJ_CLI_PATH;

std::vector<uint8_t> Slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string &path)
{
    return std::ifstream(path).good();
}

struct JpegInfo {
    int width = 0, height = 0, subsamp = -1;
};

JpegInfo Inspect(const std::vector<uint8_t> &jpeg)
{
    JpegInfo info;
    tjhandle tj = tjInitDecompress();
    int colourspace = 0;
    if (tjDecompressHeader3(tj, jpeg.data(), static_cast<unsigned long>(jpeg.size()), &info.width,
                            &info.height, &info.subsamp, &colourspace) != 0)
        info.subsamp = -1;
    tjDestroy(tj);
    return info;
}

// Each test works in its own folder, so that CTest may run them in parallel.
class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::string(CLI_TEST_DIR "/") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_EQ(std::system(("mkdir -p " + dir_).c_str()), 0);
        ASSERT_EQ(Run("testimage " + dir_ + "/colour.bmp 45x30"), 0);
        ASSERT_EQ(Run("testimage " + dir_ + "/colour.ppm 45x30"), 0);
        ASSERT_EQ(Run("testimage " + dir_ + "/grey.pgm 45x30 --grey"), 0);
    }

    // Runs the tool with the given arguments; stderr goes to *err.
    int Run(const std::string &args, std::string *err = nullptr)
    {
        std::string log = dir_ + "/stderr.txt";
        int rc = std::system((kTool + " " + args + " 2>" + log + " >/dev/null").c_str());
        if (err) {
            std::vector<uint8_t> text = Slurp(log);
            err->assign(text.begin(), text.end());
        }
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }

    std::string Out(const std::string &name)
    {
        std::string path = dir_ + "/" + name;
        std::remove(path.c_str());
        return path;
    }

    std::string dir_;
};

}  // namespace

TEST_F(Cli, EncodesEverySamplingWithTheRightGeometry)
{
    const struct {
        const char *flag;
        int subsamp;
    } modes[] = {{"", TJSAMP_420}, {"-s 422", TJSAMP_422}, {"-s 444", TJSAMP_444}};
    for (const auto &m : modes) {
        std::string out = Out("colour.jpg");
        ASSERT_EQ(Run("encode " + dir_ + "/colour.bmp " + out + " -q 90 " + m.flag), 0) << m.flag;
        std::vector<uint8_t> jpeg = Slurp(out);
        ASSERT_GT(jpeg.size(), 609u);
        EXPECT_EQ(jpeg[0], 0xFF);
        EXPECT_EQ(jpeg[1], 0xD8);
        JpegInfo info = Inspect(jpeg);
        EXPECT_EQ(info.width, 45);
        EXPECT_EQ(info.height, 30);
        EXPECT_EQ(info.subsamp, m.subsamp) << m.flag;
    }
    std::string grey = Out("grey.jpg");
    ASSERT_EQ(Run("encode " + dir_ + "/grey.pgm " + grey + " -s 444"), 0);
    EXPECT_EQ(Inspect(Slurp(grey)).subsamp, TJSAMP_GRAY);
}

TEST_F(Cli, SamePictureGivesTheSameStreamWhateverTheFileOrChannelOrder)
{
    std::string from_bmp = Out("bmp.jpg"), from_ppm = Out("ppm.jpg"), red_first = Out("rgb.jpg");
    ASSERT_EQ(Run("encode " + dir_ + "/colour.bmp " + from_bmp), 0);
    ASSERT_EQ(Run("encode " + dir_ + "/colour.ppm " + from_ppm), 0);
    ASSERT_EQ(Run("encode --rgb " + dir_ + "/colour.bmp " + red_first), 0);
    EXPECT_EQ(Slurp(from_bmp), Slurp(from_ppm));
    EXPECT_EQ(Slurp(from_bmp), Slurp(red_first));
}

TEST_F(Cli, QualityChangesTheStream)
{
    std::string low = Out("low.jpg"), high = Out("high.jpg");
    ASSERT_EQ(Run("encode " + dir_ + "/colour.bmp " + low + " -q 10"), 0);
    ASSERT_EQ(Run("encode " + dir_ + "/colour.bmp " + high + " -q 100"), 0);
    EXPECT_LT(Slurp(low).size(), Slurp(high).size());
}

TEST_F(Cli, BadInputNamesTheFileLeavesNoOutputAndFails)
{
    std::string out = Out("bad.jpg");
    std::string err;
    EXPECT_EQ(Run("encode " + dir_ + "/missing.bmp " + out, &err), 1);
    EXPECT_NE(err.find("missing.bmp"), std::string::npos) << err;
    EXPECT_FALSE(Exists(out));

    std::string truncated = dir_ + "/truncated.bmp";
    std::vector<uint8_t> bytes = Slurp(dir_ + "/colour.bmp");
    bytes.resize(bytes.size() - 100);
    std::ofstream(truncated, std::ios::binary).write(reinterpret_cast<char *>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    EXPECT_EQ(Run("encode " + truncated + " " + out, &err), 1);
    EXPECT_NE(err.find("truncated.bmp: file ends inside the BMP pixel data"), std::string::npos)
        << err;
    EXPECT_FALSE(Exists(out));

    EXPECT_EQ(Run("encode " + dir_ + "/colour.bmp " + dir_ + "/no/such/dir/x.jpg", &err), 1);
    EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
}

TEST_F(Cli, BadArgumentsAreUsageErrors)
{
    std::string out = Out("args.jpg");
    std::string in = dir_ + "/colour.bmp ";
    for (const char *args : {"-q 0", "-q 101", "-q 7x", "-q", "-s 411", "--fast"}) {
        std::string err;
        EXPECT_EQ(Run("encode " + in + out + " " + args, &err), 2) << args;
        EXPECT_NE(err.find("usage:"), std::string::npos) << args;
        EXPECT_FALSE(Exists(out)) << args;
    }
    EXPECT_EQ(Run("encode " + in), 2);
    EXPECT_EQ(Run("decode " + in + out), 2);
    EXPECT_EQ(Run(""), 2);
    EXPECT_EQ(Run("--help"), 0);
}

TEST(StatusText, CombinedCodesAreEachNamed)
{
    EXPECT_EQ(DescribeStatus(0x2055),
              (std::vector<std::string>{"0x0050 writing the DQT segment failed",
                                        "0x0005 read or write past the end of the input or output buffer"}));
    EXPECT_EQ(DescribeStatus(0x2085).front(),
              "0x0080 the scan failed (pixel rows or entropy-coded data)");
    EXPECT_EQ(DescribeStatus(0x2085).size(), 2u);
}

TEST(StatusText, CodesThatShareBitsAreNotSplit)
{
    auto only = [](uint16_t status) {
        std::vector<std::string> lines = DescribeStatus(status);
        return lines.size() == 1 ? lines[0].substr(0, 6) : "several: " + std::to_string(lines.size());
    };
    EXPECT_EQ(only(0x21A0), "0x01A0");
    EXPECT_EQ(only(0x2190), "0x0190");
    EXPECT_EQ(only(0x2F00), "0x0F00");
    EXPECT_EQ(only(0x2090), "0x0090");
    EXPECT_EQ(only(0x2070), "0x0070");
    EXPECT_EQ(only(0x2030), "0x0030");
    EXPECT_EQ(only(0x2040), "0x0040");
    EXPECT_TRUE(DescribeStatus(0x2000).empty());
    EXPECT_EQ(DescribeStatus(0x2008), (std::vector<std::string>{"0x0008 unknown code"}));
}
