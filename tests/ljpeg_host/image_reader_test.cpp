// BMP and PNM readers: every accepted layout gives the host's bottom-up,
// padded, blue-first rows; malformed files are refused with a reason.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bmpread.h"
#include "hostbitmap.h"
#include "pnmread.h"

namespace {

void Put16(std::vector<uint8_t> *out, uint32_t v)
{
    out->push_back(static_cast<uint8_t>(v));
    out->push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t> *out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Describes a BMP file field by field; rows are given in file order.
struct BmpSpec {
    uint32_t header_size = 40;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t colours_used = 0;
    std::vector<uint32_t> masks;    // written after a 40-byte header
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<std::vector<uint8_t>> rows;
};

std::vector<uint8_t> BuildBmp(const BmpSpec &s)
{
    std::vector<uint8_t> header;
    if (s.header_size == 12) {
        Put32(&header, 12);
        for (uint32_t v : {uint32_t(s.width), uint32_t(s.height), 1u, uint32_t(s.bits)})
            Put16(&header, v);
    } else {
        for (uint32_t v : {s.header_size, uint32_t(s.width), uint32_t(s.height)})
            Put32(&header, v);
        Put16(&header, s.planes);
        Put16(&header, s.bits);
        for (uint32_t v : {s.compression, 0u, 0u, 0u, s.colours_used, 0u})
            Put32(&header, v);
        header.resize(s.header_size, 0);
        for (uint32_t m : s.masks)
            Put32(&header, m);
    }
    for (uint32_t c : s.palette) {
        Put16(&header, c & 0xFFFF);
        header.push_back(static_cast<uint8_t>(c >> 16));
        if (s.header_size != 12)
            header.push_back(0);
    }
    std::vector<uint8_t> f = {'B', 'M'};
    Put32(&f, 0);
    Put32(&f, 0);
    Put32(&f, 14 + static_cast<uint32_t>(header.size()));
    f.insert(f.end(), header.begin(), header.end());
    for (const auto &row : s.rows)
        f.insert(f.end(), row.begin(), row.end());
    return f;
}

HostBitmap ReadOk(const std::vector<uint8_t> &file)
{
    HostBitmap b;
    std::string error;
    EXPECT_TRUE(ReadBmp(file, &b, &error)) << error;
    return b;
}

std::string BmpError(const std::vector<uint8_t> &file)
{
    HostBitmap b;
    std::string error;
    EXPECT_FALSE(ReadBmp(file, &b, &error));
    return error;
}

// A 3x2 24-bit image: top row red, green, blue; bottom row white, black, grey.
BmpSpec ThreeByTwo(int32_t height_sign)
{
    BmpSpec s;
    s.width = 3;
    s.height = 2 * height_sign;
    std::vector<uint8_t> top = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
    std::vector<uint8_t> bottom = {255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0};
    s.rows = height_sign > 0 ? std::vector<std::vector<uint8_t>>{bottom, top}
                             : std::vector<std::vector<uint8_t>>{top, bottom};
    return s;
}

}  // namespace

TEST(HostBitmap, RowStrideIsPaddedToFourBytes)
{
    EXPECT_EQ(RowStride(1, 8), 4u);
    EXPECT_EQ(RowStride(5, 8), 8u);
    EXPECT_EQ(RowStride(3, 24), 12u);
    EXPECT_EQ(RowStride(3, 16), 8u);
    EXPECT_EQ(RowStride(65535, 32), 262140u);
}

TEST(HostBitmap, SwapToRedFirstSwapsOnlyRedAndBlue)
{
    HostBitmap b;
    ResizeHostBitmap(&b, 1, 1, 16);
    b.pixels[0] = 0x1F;  // blue = 31, green = 0, red = 0, top bit set
    b.pixels[1] = 0x80 | 0x02;  // plus green bit 9
    SwapToRedFirst(&b);
    EXPECT_EQ(b.channel_order, JPEG_ORDER_RED_LOW);
    EXPECT_EQ(b.pixels[0] | b.pixels[1] << 8, 0x8000 | 0x7C00 | 0x0200);

    ResizeHostBitmap(&b, 2, 1, 32);
    b.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    SwapToRedFirst(&b);
    EXPECT_EQ(b.pixels, (std::vector<uint8_t>{3, 2, 1, 4, 7, 6, 5, 8}));

    ResizeHostBitmap(&b, 1, 1, 8);
    b.pixels[0] = 9;
    SwapToRedFirst(&b);
    EXPECT_EQ(b.pixels[0], 9);
    EXPECT_EQ(b.channel_order, JPEG_ORDER_BLUE_LOW);
}

TEST(BmpReader, BottomUpAndTopDownGiveTheSameHostRows)
{
    HostBitmap up = ReadOk(BuildBmp(ThreeByTwo(1)));
    HostBitmap down = ReadOk(BuildBmp(ThreeByTwo(-1)));
    ASSERT_EQ(up.bits_per_pixel, 24);
    EXPECT_EQ(up.width, 3u);
    EXPECT_EQ(up.height, 2u);
    EXPECT_EQ(up.channel_order, JPEG_ORDER_BLUE_LOW);
    EXPECT_EQ(up.pixels, down.pixels);
    // The host's first row is the bottom one: white first.
    EXPECT_EQ(up.pixels[0], 255);
    EXPECT_EQ(TopDownRow(up, 0)[2], 255);  // top-left red, blue first
    EXPECT_EQ(TopDownRow(up, 0)[0], 0);
}

TEST(BmpReader, CoreHeaderAndVersion5HeaderAreRead)
{
    BmpSpec core = ThreeByTwo(1);
    core.header_size = 12;
    BmpSpec v5 = ThreeByTwo(1);
    v5.header_size = 124;
    EXPECT_EQ(ReadOk(BuildBmp(core)).pixels, ReadOk(BuildBmp(ThreeByTwo(1))).pixels);
    EXPECT_EQ(ReadOk(BuildBmp(v5)).pixels, ReadOk(BuildBmp(ThreeByTwo(1))).pixels);
}

TEST(BmpReader, GreyPaletteGivesGreyLevelsNotIndices)
{
    BmpSpec s;
    s.width = 5;
    s.height = 1;
    s.bits = 8;
    for (uint32_t i = 0; i < 256; i++)
        s.palette.push_back((255 - i) * 0x010101);  // inverted grey ramp
    s.rows = {{0, 1, 2, 254, 255, 0, 0, 0}};
    HostBitmap b = ReadOk(BuildBmp(s));
    ASSERT_EQ(b.bits_per_pixel, 8);
    EXPECT_EQ(b.pixels, (std::vector<uint8_t>{255, 254, 253, 1, 0, 0, 0, 0}));
}

TEST(BmpReader, ColourPalettesAreExpandedToBlueFirst24Bit)
{
    BmpSpec s;
    s.width = 3;
    s.height = 1;
    s.bits = 4;
    s.colours_used = 3;
    s.palette = {0xFF0000, 0x00FF00, 0x123456};
    s.rows = {{0x21, 0x00, 0, 0}};  // indices 2, 1, 0
    HostBitmap b = ReadOk(BuildBmp(s));
    ASSERT_EQ(b.bits_per_pixel, 24);
    EXPECT_EQ(b.pixels, (std::vector<uint8_t>{0x56, 0x34, 0x12, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0}));
}

TEST(BmpReader, OneBitPixelsAreTakenMostSignificantBitFirst)
{
    BmpSpec s;
    s.width = 10;
    s.height = 1;
    s.bits = 1;
    s.palette = {0x000000, 0xFFFFFF};
    s.rows = {{0xA0, 0x40, 0, 0}};  // 1010 0000 01..
    HostBitmap b = ReadOk(BuildBmp(s));
    ASSERT_EQ(b.bits_per_pixel, 8);
    std::vector<uint8_t> expect = {255, 0, 255, 0, 0, 0, 0, 0, 0, 255, 0, 0};
    EXPECT_EQ(b.pixels, expect);
}

TEST(BmpReader, SixteenBitKeeps555AndExpands565)
{
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = 16;
    s.rows = {{0x1F, 0x7C, 0xFF, 0xFF}};
    HostBitmap plain = ReadOk(BuildBmp(s));
    EXPECT_EQ(plain.bits_per_pixel, 16);
    EXPECT_EQ(plain.pixels, s.rows[0]);

    s.compression = 3;
    s.masks = {0x7C00, 0x03E0, 0x001F};
    EXPECT_EQ(ReadOk(BuildBmp(s)).pixels, s.rows[0]);

    s.masks = {0xF800, 0x07E0, 0x001F};
    s.rows = {{0x00, 0xF8, 0xE0, 0x07}};  // pure red, pure green
    HostBitmap wide = ReadOk(BuildBmp(s));
    ASSERT_EQ(wide.bits_per_pixel, 24);
    EXPECT_EQ(wide.pixels, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 0, 0}));
}

TEST(BmpReader, ThirtyTwoBitIsKeptWithStandardMasksOnly)
{
    BmpSpec s;
    s.width = 1;
    s.height = 1;
    s.bits = 32;
    s.rows = {{1, 2, 3, 4}};
    EXPECT_EQ(ReadOk(BuildBmp(s)).pixels, s.rows[0]);
    s.compression = 3;
    s.masks = {0x0000FF, 0x00FF00, 0xFF0000};
    EXPECT_EQ(BmpError(BuildBmp(s)), "unsupported BMP colour masks");
}

TEST(BmpReader, LastRowNeedsNoPadding)
{
    BmpSpec s = ThreeByTwo(1);
    s.rows[1].resize(9);  // the last row in the file ends after its last pixel
    EXPECT_EQ(ReadOk(BuildBmp(s)).height, 2u);
    s.rows[1].resize(8);
    EXPECT_EQ(BmpError(BuildBmp(s)), "file ends inside the BMP pixel data");
}

TEST(BmpReader, MalformedFilesAreRefusedWithAReason)
{
    auto with = [](auto change) {
        BmpSpec s = ThreeByTwo(1);
        change(&s);
        return BuildBmp(s);
    };
    std::vector<uint8_t> good = BuildBmp(ThreeByTwo(1));
    EXPECT_EQ(BmpError({'B', 'M', 0}), "not a BMP file");
    EXPECT_EQ(BmpError(std::vector<uint8_t>(good.begin(), good.begin() + 30)),
              "file ends inside the BMP header");
    std::vector<uint8_t> bad_magic = good;
    bad_magic[1] = 'A';
    EXPECT_EQ(BmpError(bad_magic), "not a BMP file");
    EXPECT_EQ(BmpError(with([](BmpSpec *s) { s->header_size = 64; })),
              "unsupported BMP header size 64");
    EXPECT_NE(BmpError(with([](BmpSpec *s) { s->width = 0; })).find("no pixels"), std::string::npos);
    EXPECT_NE(BmpError(with([](BmpSpec *s) { s->width = -3; })).find("no pixels"), std::string::npos);
    EXPECT_NE(BmpError(with([](BmpSpec *s) { s->height = 0; })).find("no pixels"), std::string::npos);
    EXPECT_NE(BmpError(with([](BmpSpec *s) { s->width = 70000; })).find("65535"), std::string::npos);
    EXPECT_NE(BmpError(with([](BmpSpec *s) { s->height = INT32_MIN; })).find("65535"),
              std::string::npos);
    EXPECT_EQ(BmpError(with([](BmpSpec *s) { s->planes = 2; })), "BMP plane count is 2, not 1");
    EXPECT_EQ(BmpError(with([](BmpSpec *s) { s->bits = 15; })),
              "unsupported BMP depth of 15 bits per pixel");
    EXPECT_EQ(BmpError(with([](BmpSpec *s) { s->compression = 1; })),
              "compressed BMP (compression 1) is not supported");
    EXPECT_EQ(BmpError(with([](BmpSpec *s) { s->width = 1000; })),
              "file ends inside the BMP pixel data");
    std::vector<uint8_t> far_offset = good;
    far_offset[10] = 0xF0;
    far_offset[13] = 0x7F;
    EXPECT_EQ(BmpError(far_offset), "file ends inside the BMP pixel data");
}

TEST(BmpReader, BadPalettesAreRefused)
{
    BmpSpec s;
    s.width = 2;
    s.height = 1;
    s.bits = 8;
    s.colours_used = 300;
    s.rows = {{0, 1, 0, 0}};
    EXPECT_EQ(BmpError(BuildBmp(s)), "BMP palette has 300 entries, more than 256");
    s.colours_used = 256;
    s.palette = {0, 0xFFFFFF};  // file ends long before 256 entries
    EXPECT_EQ(BmpError(BuildBmp(s)), "file ends inside the BMP palette");
    s.colours_used = 1;
    s.palette = {0x808080};
    EXPECT_EQ(BmpError(BuildBmp(s)), "pixel uses palette entry 1 of only 1");
}

namespace {

std::vector<uint8_t> Bytes(const std::string &text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string PnmError(const std::string &text)
{
    HostBitmap b;
    std::string error;
    EXPECT_FALSE(ReadPnm(Bytes(text), &b, &error)) << text;
    return error;
}

}  // namespace

TEST(PnmReader, PpmBecomesBottomUpBlueFirst)
{
    HostBitmap b;
    std::string error;
    std::string ppm = std::string("P6\n# comment\n2 2\n255\n") + "\x01\x02\x03\x04\x05\x06" +
                      "\x07\x08\x09\x0A\x0B\x0C";
    ASSERT_TRUE(ReadPnm(Bytes(ppm), &b, &error)) << error;
    EXPECT_EQ(b.bits_per_pixel, 24);
    EXPECT_EQ(b.channel_order, JPEG_ORDER_BLUE_LOW);
    // Bottom row first, padded from 6 to 8 bytes.
    EXPECT_EQ(b.pixels, (std::vector<uint8_t>{9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}));
}

TEST(PnmReader, PgmSamplesAreScaledToEightBits)
{
    HostBitmap b;
    std::string error;
    ASSERT_TRUE(ReadPnm(Bytes(std::string("P5 3 1 15 ") + std::string("\x00\x0F\x07", 3)), &b, &error)) << error;
    EXPECT_EQ(b.bits_per_pixel, 8);
    EXPECT_EQ(b.pixels, (std::vector<uint8_t>{0, 255, 119, 0}));
    ASSERT_TRUE(ReadPnm(Bytes(std::string("P5 2 1 65535\n") + std::string("\xFF\xFF\x80\x00", 4)), &b, &error));
    EXPECT_EQ(b.pixels, (std::vector<uint8_t>{255, 128, 0, 0}));
}

TEST(PnmReader, MalformedFilesAreRefusedWithAReason)
{
    EXPECT_EQ(PnmError("P3 1 1 255 0 0 0"), "not a binary PGM or PPM file");
    EXPECT_EQ(PnmError("P6 1 1"), "malformed PNM header");
    EXPECT_EQ(PnmError("P6 1 x 255 "), "malformed PNM header");
    EXPECT_EQ(PnmError("P6 1 1 255"), "malformed PNM header");
    EXPECT_EQ(PnmError("P5 99999999999 1 255 "), "malformed PNM header");
    EXPECT_EQ(PnmError("P5 0 1 255 "), "PNM has no pixels (width or height is 0)");
    EXPECT_EQ(PnmError("P5 65536 1 255 "), "image is larger than 65535 pixels in width or height");
    EXPECT_EQ(PnmError("P5 1 1 0 "), "PNM maximum sample value 0 is outside 1..65535");
    EXPECT_EQ(PnmError("P5 1 1 65536 "), "PNM maximum sample value 65536 is outside 1..65535");
    EXPECT_EQ(PnmError("P6 2 1 255 abcde"), "file ends inside the PNM pixel data");
    EXPECT_EQ(PnmError("P5 2 1 256 abc"), "file ends inside the PNM pixel data");
}
