// The command-line tool, run as a user runs it, and its status texts.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imagefile.h"
#include "pngbuild.h"
#include "statustext.h"

namespace {

std::vector<uint8_t> Slurp(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

// Width, height and libjpeg-turbo's sampling of a stream; -1 when it does not parse.
void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The picture of a PGM or PPM file as an interlaced grey or RGB PNG file.
void WritePngOf(const std::string &from, const std::string &to)
{
    HostBitmap b;
    std::string error;
    ASSERT_TRUE(ReadImageFile(from, &b, &error)) << error;
    PngSpec png;
    png.width = b.width, png.height = b.height, png.interlaced = true;
    png.colour_type = b.bits_per_pixel == 8 ? 0 : 2;
    for (uint32_t y = 0; y < b.height; y++)
        for (uint32_t x = 0; x < b.width; x++)
            for (int c = png.colour_type == 0 ? 0 : 2; c >= 0; c--)  // blue first in the bitmap
                png.samples.push_back(TopDownRow(b, y)[x * b.bits_per_pixel / 8 + c]);
    WriteBytes(to, BuildPng(png));
}

std::vector<int> Inspect(const std::vector<uint8_t> &jpeg)
{
    int w = 0, h = 0, subsamp = -1, colourspace = 0;
    tjhandle tj = tjInitDecompress();
    if (tjDecompressHeader3(tj, jpeg.data(), static_cast<unsigned long>(jpeg.size()), &w, &h,
                            &subsamp, &colourspace) != 0)
        subsamp = -1;
    tjDestroy(tj);
    return {w, h, subsamp};
}

// Each test works in its own folder, so that CTest may run them in parallel.
class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::string(CLI_TEST_DIR "/") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        ASSERT_EQ(std::system(("mkdir -p " + dir_).c_str()), 0);
        ASSERT_EQ(Run("testimage " + dir_ + "colour.bmp 45x30"), 0);
        ASSERT_EQ(Run("testimage " + dir_ + "colour.ppm 45x30"), 0);
        ASSERT_EQ(Run("testimage " + dir_ + "grey.pgm 45x30 --grey"), 0);
        WritePngOf(dir_ + "colour.ppm", dir_ + "colour.png");
        WritePngOf(dir_ + "grey.pgm", dir_ + "grey.png");
    }

    // Runs the tool with the given arguments; stderr goes to err_.
    int Run(const std::string &args)
    {
        int rc = std::system(
            (VELMORAJ_CLI_PATH " " + args + " 2>" + dir_ + "stderr.txt >/dev/null").c_str());
        std::vector<uint8_t> text = Slurp(dir_ + "stderr.txt");
        err_.assign(text.begin(), text.end());
        return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    }

    // Encodes IN (in the test's folder) to a fresh OUT; returns the stream.
    std::vector<uint8_t> Encode(const std::string &in, const std::string &options,
                                const std::string &out = "out.jpg")
    {
        std::remove((dir_ + out).c_str());
        EXPECT_EQ(Run("encode " + dir_ + in + " " + dir_ + out + " " + options), 0)
            << options << ": " << err_;
        return Slurp(dir_ + out);
    }

    bool Exists(const std::string &name) { return std::ifstream(dir_ + name).good(); }

    std::string dir_, err_;
};

}  // namespace

TEST_F(Cli, EncodesEverySamplingAndFileKindToTheSameStream)
{
    const struct {
        const char *options;
        int subsamp;
    } modes[] = {{"-q 90", TJSAMP_420}, {"-q 90 -s 422", TJSAMP_422}, {"-q 90 -s 444", TJSAMP_444}};
    for (const auto &m : modes) {
        std::vector<uint8_t> jpeg = Encode("colour.bmp", m.options);
        EXPECT_EQ(Inspect(jpeg), (std::vector<int>{45, 30, m.subsamp})) << m.options;
        // The same picture from a PPM, or handed over red first, gives the same bytes.
        EXPECT_EQ(Encode("colour.ppm", m.options), jpeg) << m.options;
        EXPECT_EQ(Encode("colour.png", m.options), jpeg) << m.options;
        EXPECT_EQ(Encode("colour.bmp", std::string("--rgb ") + m.options), jpeg) << m.options;
    }
    EXPECT_EQ(Inspect(Encode("grey.pgm", "-s 444")), (std::vector<int>{45, 30, TJSAMP_GRAY}));
    EXPECT_EQ(Encode("grey.png", "-s 444"), Encode("grey.pgm", "-s 444"));
    EXPECT_LT(Encode("colour.bmp", "-q 10").size(), Encode("colour.bmp", "-q 100").size());
}

TEST_F(Cli, BadInputNamesTheFileLeavesNoOutputAndFails)
{
    for (const char *name : {"colour.bmp", "colour.png"}) {
        std::vector<uint8_t> bytes = Slurp(dir_ + name);
        bytes.resize(bytes.size() - 100);
        WriteBytes(dir_ + "truncated." + std::string(name).substr(7), bytes);
    }
    WriteBytes(dir_ + "notes.txt", {'h', 'i', '\n'});
    const char *cases[][3] = {
        {"missing.bmp", "out.jpg", "missing.bmp"},
        {"truncated.bmp", "out.jpg", "truncated.bmp: file ends inside the BMP pixel data"},
        {"truncated.png", "out.jpg", "truncated.png: corrupt or truncated PNG"},
        {"notes.txt", "out.jpg", "notes.txt: not a BMP, PGM, PPM or PNG file"},
        {"colour.bmp", "no/such/dir/x.jpg", "cannot write"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Run(std::string("encode ") + dir_ + c[0] + " " + dir_ + c[1]), 1) << c[0];
        EXPECT_NE(err_.find(c[2]), std::string::npos) << err_;
        EXPECT_FALSE(Exists("out.jpg"));
    }
}

TEST_F(Cli, BadArgumentsAreUsageErrors)
{
    const std::string encode = "encode " + dir_ + "colour.bmp " + dir_ + "args.jpg ";
    for (const char *args : {"-q 0", "-q 101", "-q 7x", "-q", "-s 411", "--fast"}) {
        EXPECT_EQ(Run(encode + args), 2) << args;
        EXPECT_NE(err_.find("usage:"), std::string::npos) << args;
        EXPECT_FALSE(Exists("args.jpg")) << args;
    }
    EXPECT_EQ(Run("encode " + dir_ + "colour.bmp"), 2);
    EXPECT_EQ(Run("decode " + dir_ + "colour.bmp " + dir_ + "args.jpg"), 2);
    EXPECT_EQ(Run(""), 2);
    EXPECT_EQ(Run("--help"), 0);
}

TEST(StatusText, EachCodeIsNamedOnceAndCodesThatShareBitsAreNotSplit)
{
    EXPECT_EQ(DescribeStatus(0x2055),
              (std::vector<std::string>{
                  "0x0050 writing the DQT segment failed",
                  "0x0005 read or write past the end of the input or output buffer"}));
    EXPECT_EQ(DescribeStatus(0x2085).front(),
              "0x0080 the scan failed (pixel rows or entropy-coded data)");
    EXPECT_EQ(DescribeStatus(0x2085).size(), 2u);
    for (uint16_t status : {0x21A0, 0x2190, 0x2F00, 0x2090, 0x2070, 0x2030, 0x2040}) {
        std::vector<std::string> lines = DescribeStatus(status);
        char code[8];
        snprintf(code, sizeof code, "0x%04X", status & 0x0FFF);
        ASSERT_EQ(lines.size(), 1u) << code;
        EXPECT_EQ(lines[0].substr(0, 6), code);
    }
    EXPECT_TRUE(DescribeStatus(0x2000).empty());
    EXPECT_EQ(DescribeStatus(0x2008), (std::vector<std::string>{"0x0008 unknown code"}));
}
