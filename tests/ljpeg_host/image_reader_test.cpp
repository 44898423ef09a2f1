// BMP, PNM and PNG readers: every accepted layout gives the host's bottom-up,
// padded, blue-first rows; malformed or oversized files are refused with a
// reason.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bmpread.h"
#include "hostbitmap.h"
#include "pngbuild.h"
#include "pngread.h"
#include "pnmread.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes *out, uint64_t v, int n)
{
    for (int i = 0; i < n; i++)
        out->push_back(static_cast<uint8_t>(v >> 8 * i));
}

// A BMP file field by field; rows in file order. The default is a 3x2
// 24-bit image: top row red, green, blue; bottom row white, black, grey.
struct BmpSpec {
    uint32_t header_size = 40;
    int32_t width = 3, height = 2;
    uint16_t planes = 1, bits = 24;
    uint32_t compression = 0, colours_used = 0;
    std::vector<uint32_t> masks;    // written after a 40-byte header
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<Bytes> rows = {{255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0},
                               {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}};
};

// The host rows of the default image, bottom row first.
// clang-format off
const Bytes kThreeByTwo = {255, 255, 255,   0,   0,   0, 128, 128, 128, 0, 0, 0,
                             0,   0, 255,   0, 255,   0, 255,   0,   0, 0, 0, 0};
// clang-format on

Bytes BuildBmp(const BmpSpec &s)
{
    Bytes h;
    if (s.header_size == 12) {
        Put(&h, 12, 4);
        for (uint32_t v : {uint32_t(s.width), uint32_t(s.height), 1u, uint32_t(s.bits)})
            Put(&h, v, 2);
    } else {
        for (uint32_t v : {s.header_size, uint32_t(s.width), uint32_t(s.height)})
            Put(&h, v, 4);
        Put(&h, s.planes, 2);
        Put(&h, s.bits, 2);
        for (uint32_t v : {s.compression, 0u, 0u, 0u, s.colours_used, 0u})
            Put(&h, v, 4);
        h.resize(s.header_size, 0);
        for (uint32_t m : s.masks)
            Put(&h, m, 4);
    }
    for (uint32_t c : s.palette)
        Put(&h, c, s.header_size == 12 ? 3 : 4);
    Bytes f = {'B', 'M'};
    Put(&f, 0, 8);
    Put(&f, 14 + static_cast<uint32_t>(h.size()), 4);
    f.insert(f.end(), h.begin(), h.end());
    for (const Bytes &row : s.rows)
        f.insert(f.end(), row.begin(), row.end());
    return f;
}

BmpSpec With(const std::function<void(BmpSpec *)> &change)
{
    BmpSpec s;
    change(&s);
    return s;
}

// The reason matches exactly, or contains the part after a leading '~'.
void ExpectReason(const std::string &error, const char *expected)
{
    if (expected[0] == '~')
        EXPECT_NE(error.find(expected + 1), std::string::npos) << error;
    else
        EXPECT_EQ(error, expected);
}

// Just over the pixel limit: 8193 x 8192 > 64 Mi.
const char kOverLimit[] = "image of 8193x8192 pixels is larger than the limit of 67108864 pixels";

BmpSpec Paletted(uint16_t bits, std::vector<uint32_t> palette, Bytes row, int32_t width)
{
    return With([&](BmpSpec *s) {
        s->width = width, s->height = 1, s->bits = bits, s->palette = palette, s->rows = {row};
    });
}

}  // namespace

TEST(HostBitmap, RowStrideAndChannelSwap)
{
    const uint64_t strides[][3] = {
        {1, 8, 4}, {5, 8, 8}, {3, 24, 12}, {3, 16, 8}, {65535, 32, 262140}};
    for (const auto &s : strides)
        EXPECT_EQ(RowStride(uint32_t(s[0]), uint16_t(s[1])), s[2]);

    HostBitmap b;
    ResizeHostBitmap(&b, 1, 1, 16);
    b.pixels = {0x1F, 0x82};  // blue 31, green bit 9, top bit set
    SwapToRedFirst(&b);
    EXPECT_EQ(b.channel_order, JPEG_ORDER_RED_LOW);
    EXPECT_EQ(b.pixels[0] | b.pixels[1] << 8, 0x8000 | 0x7C00 | 0x0200);
    ResizeHostBitmap(&b, 2, 1, 32);
    b.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    SwapToRedFirst(&b);
    EXPECT_EQ(b.pixels, (Bytes{3, 2, 1, 4, 7, 6, 5, 8}));
    ResizeHostBitmap(&b, 1, 1, 8);  // grey is left alone
    b.pixels[0] = 9;
    SwapToRedFirst(&b);
    EXPECT_EQ(b.pixels[0], 9);
    EXPECT_EQ(b.channel_order, JPEG_ORDER_BLUE_LOW);
}

TEST(BmpReader, AcceptedLayoutsGiveHostRows)
{
    std::vector<uint32_t> grey_ramp;
    for (uint32_t i = 0; i < 256; i++)
        grey_ramp.push_back((255 - i) * 0x010101);  // inverted, so levels differ from indices
    const struct {
        const char *what;
        BmpSpec spec;
        uint16_t bits;
        Bytes pixels;
    } cases[] = {
        {"bottom-up", BmpSpec(), 24, kThreeByTwo},
        {"top-down", With([](BmpSpec *s) { s->height = -2, std::swap(s->rows[0], s->rows[1]); }),
         24, kThreeByTwo},
        {"core header", With([](BmpSpec *s) { s->header_size = 12; }), 24, kThreeByTwo},
        {"version 5 header", With([](BmpSpec *s) { s->header_size = 124; }), 24, kThreeByTwo},
        {"last row unpadded", With([](BmpSpec *s) { s->rows[1].resize(9); }), 24, kThreeByTwo},
        {"grey palette",
         Paletted(8, grey_ramp, {0, 1, 2, 254, 255, 0, 0, 0}, 5),
         8,
         {255, 254, 253, 1, 0, 0, 0, 0}},
        {"colour palette",
         With([](BmpSpec *s) {
             *s = Paletted(4, {0xFF0000, 0x00FF00, 0x123456}, {0x21, 0, 0, 0}, 3),
             s->colours_used = 3;
         }),
         24,
         {0x56, 0x34, 0x12, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0}},
        {"1 bit, MSB first",
         Paletted(1, {0, 0xFFFFFF}, {0xA0, 0x40, 0, 0}, 10),
         8,
         {255, 0, 255, 0, 0, 0, 0, 0, 0, 255, 0, 0}},
        {"5-5-5",
         With([](BmpSpec *s) {
             s->width = 2, s->height = 1, s->bits = 16, s->rows = {{0x1F, 0x7C, 0xFF, 0xFF}};
         }),
         16,
         {0x1F, 0x7C, 0xFF, 0xFF}},
        {"5-5-5 bit fields",
         With([](BmpSpec *s) {
             s->width = 2, s->height = 1, s->bits = 16, s->rows = {{0x1F, 0x7C, 0xFF, 0xFF}};
             s->compression = 3, s->masks = {0x7C00, 0x03E0, 0x001F};
         }),
         16,
         {0x1F, 0x7C, 0xFF, 0xFF}},
        {"5-6-5 expanded",
         With([](BmpSpec *s) {
             s->width = 2, s->height = 1, s->bits = 16, s->rows = {{0x00, 0xF8, 0xE0, 0x07}};
             s->compression = 3, s->masks = {0xF800, 0x07E0, 0x001F};
         }),
         24,
         {0, 0, 255, 0, 255, 0, 0, 0}},
        {"32 bit",
         With([](BmpSpec *s) {
             s->width = 1, s->height = 1, s->bits = 32, s->rows = {{1, 2, 3, 4}};
         }),
         32,
         {1, 2, 3, 4}},
    };
    for (const auto &c : cases) {
        HostBitmap b;
        std::string error;
        ASSERT_TRUE(ReadBmp(BuildBmp(c.spec), &b, &error)) << c.what << ": " << error;
        EXPECT_EQ(b.bits_per_pixel, c.bits) << c.what;
        EXPECT_EQ(b.channel_order, JPEG_ORDER_BLUE_LOW) << c.what;
        EXPECT_EQ(b.pixels, c.pixels) << c.what;
    }
}

TEST(BmpReader, MalformedFilesAreRefusedWithAReason)
{
    const Bytes good = BuildBmp(BmpSpec());
    Bytes bad_magic = good, far_offset = good;
    bad_magic[1] = 'A';
    far_offset[10] = 0xF0, far_offset[13] = 0x7F;
    const struct {
        Bytes file;
        const char *error;  // the whole reason, or a part of it after '~'
    } cases[] = {
        {{'B', 'M', 0}, "not a BMP file"},
        {bad_magic, "not a BMP file"},
        {Bytes(good.begin(), good.begin() + 30), "file ends inside the BMP header"},
        {BuildBmp(With([](BmpSpec *s) { s->header_size = 64; })), "unsupported BMP header size 64"},
        {BuildBmp(With([](BmpSpec *s) { s->width = 0; })), "~no pixels"},
        {BuildBmp(With([](BmpSpec *s) { s->width = -3; })), "~no pixels"},
        {BuildBmp(With([](BmpSpec *s) { s->height = 0; })), "~no pixels"},
        {BuildBmp(With([](BmpSpec *s) { s->width = 70000; })), "~65535"},
        {BuildBmp(With([](BmpSpec *s) { s->height = INT32_MIN; })), "~65535"},
        {BuildBmp(With([](BmpSpec *s) { s->width = 8193, s->height = -8192; })), kOverLimit},
        {BuildBmp(With([](BmpSpec *s) { s->planes = 2; })), "BMP plane count is 2, not 1"},
        {BuildBmp(With([](BmpSpec *s) { s->bits = 15; })),
         "unsupported BMP depth of 15 bits per pixel"},
        {BuildBmp(With([](BmpSpec *s) { s->compression = 1; })),
         "compressed BMP (compression 1) is not supported"},
        {BuildBmp(With([](BmpSpec *s) { s->width = 1000; })),
         "file ends inside the BMP pixel data"},
        {BuildBmp(With([](BmpSpec *s) { s->rows[1].resize(8); })),
         "file ends inside the BMP pixel data"},
        {far_offset, "file ends inside the BMP pixel data"},
        {BuildBmp(With([](BmpSpec *s) {
             s->width = 1, s->height = 1, s->bits = 32, s->rows = {{1, 2, 3, 4}};
             s->compression = 3, s->masks = {0x0000FF, 0x00FF00, 0xFF0000};
         })),
         "unsupported BMP colour masks"},
        {BuildBmp(With([](BmpSpec *s) {
             *s = Paletted(8, {}, {0, 1, 0, 0}, 2), s->colours_used = 300;
         })),
         "BMP palette has 300 entries, more than 256"},
        {BuildBmp(With([](BmpSpec *s) {
             *s = Paletted(8, {0, 0xFFFFFF}, {0, 1, 0, 0}, 2), s->colours_used = 256;
         })),
         "file ends inside the BMP palette"},
        {BuildBmp(With([](BmpSpec *s) {
             *s = Paletted(8, {0x808080}, {0, 1, 0, 0}, 2), s->colours_used = 1;
         })),
         "pixel uses palette entry 1 of only 1"},
    };
    for (const auto &c : cases) {
        HostBitmap b;
        std::string error;
        EXPECT_FALSE(ReadBmp(c.file, &b, &error)) << c.error;
        ExpectReason(error, c.error);
    }
}

TEST(PnmReader, SamplesBecomeBottomUpBlueFirstRows)
{
    const struct {
        std::string text;
        uint16_t bits;
        Bytes pixels;
    } cases[] = {
        // Bottom row first, padded from 6 to 8 bytes.
        {std::string("P6\n# comment\n2 2\n255\n\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C"),
         24,
         {9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0}},
        {std::string("P5 3 1 15 \x00\x0F\x07", 13), 8, {0, 255, 119, 0}},  // scaled to 8 bits
        {std::string("P5 2 1 65535\n\xFF\xFF\x80\x00", 17), 8, {255, 128, 0, 0}},
    };
    for (const auto &c : cases) {
        HostBitmap b;
        std::string error;
        ASSERT_TRUE(ReadPnm(Bytes(c.text.begin(), c.text.end()), &b, &error)) << error;
        EXPECT_EQ(b.bits_per_pixel, c.bits);
        EXPECT_EQ(b.channel_order, JPEG_ORDER_BLUE_LOW);
        EXPECT_EQ(b.pixels, c.pixels);
    }
}

TEST(PnmReader, MalformedFilesAreRefusedWithAReason)
{
    const char *cases[][2] = {
        {"P3 1 1 255 0 0 0", "not a binary PGM or PPM file"},
        {"P6 1 1", "malformed PNM header"},
        {"P6 1 x 255 ", "malformed PNM header"},
        {"P6 1 1 255", "malformed PNM header"},
        {"P5 99999999999 1 255 ", "malformed PNM header"},
        {"P5 0 1 255 ", "PNM has no pixels (width or height is 0)"},
        {"P5 65536 1 255 ", "image is larger than 65535 pixels in width or height"},
        {"P6 8193 8192 255 ", kOverLimit},
        {"P5 1 1 0 ", "PNM maximum sample value 0 is outside 1..65535"},
        {"P5 1 1 65536 ", "PNM maximum sample value 65536 is outside 1..65535"},
        {"P6 2 1 255 abcde", "file ends inside the PNM pixel data"},
        {"P5 2 1 256 abc", "file ends inside the PNM pixel data"},
    };
    for (const auto &c : cases) {
        HostBitmap b;
        std::string error, text = c[0];
        EXPECT_FALSE(ReadPnm(Bytes(text.begin(), text.end()), &b, &error)) << text;
        EXPECT_EQ(error, c[1]);
    }
}

namespace {

PngSpec Png(uint32_t width, uint32_t height, uint8_t depth, uint8_t colour_type,
            std::vector<uint16_t> samples)
{
    PngSpec s;
    s.width = width, s.height = height, s.depth = depth, s.colour_type = colour_type,
    s.samples = samples;
    return s;
}

PngSpec Palette(uint8_t depth, std::vector<uint8_t> palette, std::vector<uint8_t> alphas,
                std::vector<uint16_t> indexes)
{
    PngSpec s = Png(uint32_t(indexes.size()), 1, depth, 3, indexes);
    s.palette = palette, s.alphas = alphas;
    return s;
}

// A colourful 9 x 9 picture at the given depth and channel count.
PngSpec Pattern(uint8_t depth, uint8_t colour_type, bool interlaced)
{
    const unsigned channels[7] = {1, 0, 3, 0, 2, 0, 4};
    PngSpec s = Png(9, 9, depth, colour_type, {});
    s.interlaced = interlaced;
    for (uint32_t i = 0; i < 81 * channels[colour_type]; i++)
        s.samples.push_back(uint16_t((i * 37 + i / 9 * 11) % 256 * (depth == 16 ? 257 : 1)));
    return s;
}

Bytes WithBe32(Bytes file, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        file[at + i] = uint8_t(v >> (24 - 8 * i));
    return file;
}

}  // namespace

// Alpha over white: (sample * alpha + 255 * (255 - alpha) + 127) / 255.
TEST(PngReader, EveryColourTypeGivesHostRowsOverWhite)
{
    const struct {
        const char *what;
        PngSpec spec;
        uint16_t bits;
        Bytes pixels;
    } cases[] = {
        {"grey, bottom row first",
         Png(2, 2, 8, 0, {10, 20, 30, 40}),
         8,
         {30, 40, 0, 0, 10, 20, 0, 0}},
        {"grey 1 bit", Png(3, 1, 1, 0, {1, 0, 1}), 8, {255, 0, 255, 0}},
        {"grey 2 bits", Png(3, 1, 2, 0, {1, 2, 3}), 8, {85, 170, 255, 0}},
        {"grey 4 bits", Png(2, 1, 4, 0, {3, 15}), 8, {51, 255, 0, 0}},
        {"grey 16 bits", Png(2, 1, 16, 0, {0x1212, 0xFEFE}), 8, {0x12, 0xFE, 0, 0}},
        {"grey + alpha", Png(3, 1, 8, 4, {0, 0, 0, 255, 100, 128}), 8, {255, 0, 177, 0}},
        {"grey + alpha 16 bits", Png(1, 1, 16, 4, {0x6464, 0x8080}), 8, {177, 0, 0, 0}},
        {"RGB", Png(2, 1, 8, 2, {255, 0, 0, 1, 2, 3}), 24, {0, 0, 255, 3, 2, 1, 0, 0}},
        {"RGB 16 bits",
         Png(2, 1, 16, 2, {0xFFFF, 0, 0, 0x0101, 0x0202, 0x0303}),
         24,
         {0, 0, 255, 3, 2, 1, 0, 0}},
        {"RGBA",
         Png(2, 1, 8, 6, {255, 0, 0, 128, 1, 2, 3, 0}),
         24,
         {127, 127, 255, 255, 255, 255, 0, 0}},
        {"RGBA 16 bits", Png(1, 1, 16, 6, {0xFFFF, 0, 0, 0x8080}), 24, {127, 127, 255, 0}},
        {"palette with transparency",
         Palette(2, {255, 0, 0, 0, 0, 255, 10, 20, 30}, {0}, {0, 1, 2}),
         24,
         {255, 255, 255, 255, 0, 0, 30, 20, 10, 0, 0, 0}},
        {"grey palette is colour", Palette(8, {7, 7, 7}, {}, {0}), 24, {7, 7, 7, 0}},
    };
    for (const auto &c : cases) {
        HostBitmap b;
        std::string error;
        ASSERT_TRUE(ReadPng(BuildPng(c.spec), &b, &error)) << c.what << ": " << error;
        EXPECT_EQ(b.bits_per_pixel, c.bits) << c.what;
        EXPECT_EQ(b.pixels, c.pixels) << c.what;
    }
}

TEST(PngReader, InterlacedFilesGiveTheSamePixels)
{
    for (uint8_t type : {0, 2, 6}) {
        for (uint8_t depth : {8, 16}) {
            HostBitmap plain, interlaced;
            std::string error;
            ASSERT_TRUE(ReadPng(BuildPng(Pattern(depth, type, false)), &plain, &error)) << error;
            ASSERT_TRUE(ReadPng(BuildPng(Pattern(depth, type, true)), &interlaced, &error))
                << error;
            EXPECT_EQ(plain.pixels, interlaced.pixels) << int(type) << " " << int(depth);
        }
    }
}

TEST(PngReader, CorruptTruncatedOrOversizedFilesAreRefusedWithAReason)
{
    const PngSpec pattern = Pattern(8, 2, false);
    const Bytes good = BuildPng(pattern), tiny = BuildPng(Png(1, 1, 8, 2, {1, 2, 3}));
    Bytes bad_data = good;
    bad_data[PngDataOffset(pattern) + 40] ^= 0x55;
    Bytes huge_chunk = WithBe32(good, good.size() - 12, 0x73737373);  // IEND's length
    Bytes no_header(good.begin(), good.begin() + 8);
    no_header.insert(no_header.end(), good.end() - 12, good.end());  // IEND first
    const struct {
        Bytes file;
        const char *error;
    } cases[] = {
        {Bytes(good.begin(), good.begin() + PngDataOffset(pattern) + 60),
         "~corrupt or truncated PNG"},
        {bad_data, "~corrupt or truncated PNG"},
        {huge_chunk, "~claims 1936946035 bytes, more than the file holds"},
        {no_header, "not a PNG file (no header chunk after the signature)"},
        {WithBe32(tiny, 16, 0), "PNG has no pixels (width or height is 0)"},
        {WithBe32(tiny, 20, 70000), "image is larger than 65535 pixels in width or height"},
        {WithBe32(WithBe32(tiny, 16, 8193), 20, 8192), kOverLimit},
        {WithBe32(WithBe32(tiny, 16, 3000), 20, 3000),
         "file is too short to hold the PNG's 3000x3000 pixels"},
        {BuildPng(Png(1, 1, 4, 2, {1, 2, 3})), "PNG colour type 2 with 4-bit samples is not valid"},
    };
    for (const auto &c : cases) {
        HostBitmap b;
        std::string error;
        EXPECT_FALSE(ReadPng(c.file, &b, &error)) << c.error;
        ExpectReason(error, c.error);
        EXPECT_TRUE(b.pixels.empty()) << c.error;
    }
}
