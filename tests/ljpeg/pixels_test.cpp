// Pixel readers (conversion, channel order, edge replication, bounds) and
// chroma samplers (block layout and truncating means).
#include <gtest/gtest.h>

#include <string.h>

#include "jpegtestutil.h"

namespace {

struct Planes {
    uint8_t y[256], cb[256], cr[256];
};
Planes g_planes;

void CapturePlanes(uint8_t *, const uint8_t *y, const uint8_t *cb, const uint8_t *cr) {
    memcpy(g_planes.y, y, 256);
    memcpy(g_planes.cb, cb, 256);
    memcpy(g_planes.cr, cr, 256);
}

// A context positioned at one MCU of a bitmap, as the scan would set it.
struct ReaderRig {
    ByteStream in;
    EncoderContext ctx = {};
    uint8_t mcu[384];

    ReaderRig(Bitmap &bmp, uint8_t mcu_w, uint8_t mcu_h, uint32_t input_size) {
        InitMemoryStream(&in, input_size, bmp.pixels.data());
        ctx.input = &in;
        ctx.width = bmp.width;
        ctx.height = bmp.height;
        ctx.row_stride = RowStride(bmp.width, bmp.bpp);
        ctx.mcu_width = mcu_w;
        ctx.mcu_height = mcu_h;
        ctx.mcus_per_row = (uint16_t)((bmp.width + mcu_w - 1) / mcu_w);
        ctx.chroma_sampler = CapturePlanes;
    }
    int Read(PixelReader reader, uint32_t mcu_index) {
        ctx.mcus_done = mcu_index;
        JpegStatusReset();
        return reader(&ctx, mcu);
    }
};

Planes ConvertOne(PixelReader reader, uint32_t bpp, const uint8_t *pixel) {
    Bitmap bmp(1, 1, bpp);
    memcpy(bmp.At(0, 0), pixel, bpp / 8);
    ReaderRig rig(bmp, 16, 16, (uint32_t)bmp.pixels.size());
    EXPECT_TRUE(rig.Read(reader, 0));
    return g_planes;
}

TEST(PixelReader, ColourConversion) {
    struct Case {
        uint8_t rgb[3];
        uint8_t ycc[3];
    } cases[] = {
        {{255, 255, 255}, {255, 128, 128}}, {{0, 0, 0}, {0, 128, 128}},       {{255, 0, 0}, {77, 85, 255}},
        {{0, 255, 0}, {149, 43, 21}},       {{0, 0, 255}, {29, 255, 107}},
    };
    for (const Case &c : cases) {
        const uint8_t bgr[4] = {c.rgb[2], c.rgb[1], c.rgb[0], 0x55};
        const uint8_t rgb[4] = {c.rgb[0], c.rgb[1], c.rgb[2], 0xAA};
        for (Planes p : {ConvertOne(ReadBgr24Mcu, 24, bgr), ConvertOne(ReadRgb24Mcu, 24, rgb),
                         ConvertOne(ReadBgr32Mcu, 32, bgr), ConvertOne(ReadRgb32Mcu, 32, rgb)}) {
            // A 1x1 image fills every entry of a 16x16 MCU with its pixel.
            for (int i = 0; i < 256; i++) {
                ASSERT_EQ(p.y[i], c.ycc[0]);
                ASSERT_EQ(p.cb[i], c.ycc[1]);
                ASSERT_EQ(p.cr[i], c.ycc[2]);
            }
        }
    }
}

TEST(PixelReader, SixteenBitPixels) {
    const uint8_t white[2] = {0xFF, 0x7F}, white_top[2] = {0xFF, 0xFF};
    for (Planes p : {ConvertOne(ReadRgb16Mcu, 16, white), ConvertOne(ReadBgr16Mcu, 16, white_top)}) {
        EXPECT_EQ(p.y[0], 248);
        EXPECT_EQ(p.cb[0], 128);
        EXPECT_EQ(p.cr[0], 128);
    }
    const uint8_t low_red[2] = {0x1F, 0x00}; // bits 0-4 set
    uint8_t y, cb, cr;
    RgbToYcc(248, 0, 0, &y, &cb, &cr);
    EXPECT_EQ(ConvertOne(ReadRgb16Mcu, 16, low_red).cr[0], cr);
    RgbToYcc(0, 0, 248, &y, &cb, &cr);
    EXPECT_EQ(ConvertOne(ReadBgr16Mcu, 16, low_red).cb[0], cb);
}

TEST(PixelReader, EdgeReplicationRightAndBottom) {
    Bitmap bmp(17, 17, 24);
    ReaderRig rig(bmp, 16, 16, (uint32_t)bmp.pixels.size());
    uint8_t y, cb, cr;

    // Second MCU of the first row: 1 real column, 15 copies of it.
    ASSERT_TRUE(rig.Read(ReadBgr24Mcu, 1));
    for (int i = 0; i < 16; i++) {
        const uint8_t *p = bmp.At(16, i);
        RgbToYcc(p[2], p[1], p[0], &y, &cb, &cr);
        for (int j = 0; j < 16; j++) {
            ASSERT_EQ(g_planes.y[i * 16 + j], y) << i << "," << j;
            ASSERT_EQ(g_planes.cr[i * 16 + j], cr);
        }
    }
    // First MCU of the second row: image row 16, repeated downwards.
    ASSERT_TRUE(rig.Read(ReadBgr24Mcu, 2));
    for (int j = 0; j < 16; j++) {
        const uint8_t *p = bmp.At(j, 16);
        RgbToYcc(p[2], p[1], p[0], &y, &cb, &cr);
        for (int i = 0; i < 16; i++) ASSERT_EQ(g_planes.cb[i * 16 + j], cb);
    }
}

TEST(PixelReader, ColourInputBounds) {
    // The top row's padding need not be present; one byte less fails.
    Bitmap bmp(5, 3, 24);
    uint32_t exact = 2 * RowStride(5, 24) + 5 * 3;
    ReaderRig ok(bmp, 8, 8, exact);
    EXPECT_TRUE(ok.Read(ReadRgb24Mcu, 0));
    ReaderRig short_rig(bmp, 8, 8, exact - 1);
    EXPECT_FALSE(short_rig.Read(ReadRgb24Mcu, 0));
    EXPECT_EQ(JpegStatusGet(), 0x2005);
}

TEST(PixelReader, Grey) {
    Bitmap bmp(10, 9, 8);
    ReaderRig rig(bmp, 8, 8, (uint32_t)bmp.pixels.size());
    ASSERT_TRUE(rig.Read(ReadGreyMcu, 1)); // columns 8, 9 of rows 0..7
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(rig.mcu[i * 8], *bmp.At(8, i));
        for (int j = 1; j < 8; j++) EXPECT_EQ(rig.mcu[i * 8 + j], *bmp.At(9, i));
    }
    ASSERT_TRUE(rig.Read(ReadGreyMcu, 2)); // row 8 only, repeated
    for (int i = 0; i < 8; i++) EXPECT_EQ(rig.mcu[i * 8 + 3], *bmp.At(3, 8));

    ReaderRig not_8x8(bmp, 16, 8, (uint32_t)bmp.pixels.size());
    EXPECT_FALSE(not_8x8.Read(ReadGreyMcu, 0));
}

TEST(PixelReader, GreyShortInputCodes) {
    // Width 10: the top row of the first MCU starts at 8 * 12 = 96.
    Bitmap bmp(10, 9, 8);
    ReaderRig at_row_start(bmp, 8, 8, 96);
    EXPECT_FALSE(at_row_start.Read(ReadGreyMcu, 0));
    EXPECT_EQ(JpegStatusGet(), 0x2000);
    ReaderRig inside_row(bmp, 8, 8, 100);
    EXPECT_FALSE(inside_row.Read(ReadGreyMcu, 0));
    EXPECT_EQ(JpegStatusGet(), 0x2005);
}

TEST(ChromaSampler, BlockLayoutAndTruncatingMeans) {
    uint8_t y[256], cb[256], cr[256], mcu[384];
    for (int i = 0; i < 256; i++) y[i] = (uint8_t)i;
    memset(cb, 0, sizeof cb);
    memset(cr, 0, sizeof cr);
    cb[17] = 3;                                   // square 0: 0 0 0 3 -> 0
    cr[0] = 1, cr[1] = 2, cr[16] = 2, cr[17] = 2; // square 0: 1 2 2 2 -> 1
    cr[2] = 255, cr[3] = 255, cr[18] = 255, cr[19] = 254;
    Sample420(mcu, y, cb, cr);
    EXPECT_EQ(mcu[64], 8);
    EXPECT_EQ(mcu[65], 9);
    EXPECT_EQ(mcu[66], 10);
    EXPECT_EQ(mcu[128], 128);
    EXPECT_EQ(mcu[129], 129);
    EXPECT_EQ(mcu[192 + 63], 255);
    EXPECT_EQ(mcu[256], 0);
    EXPECT_EQ(mcu[320], 1);
    EXPECT_EQ(mcu[321], 254);

    cb[0] = 254, cb[1] = 255;
    Sample422(mcu, y, cb, cr);
    EXPECT_EQ(mcu[64 + 8], 24); // right block, row 1 = y[16 + 8]
    EXPECT_EQ(mcu[128], 254);
    EXPECT_EQ(mcu[192], 1);     // (1 + 2) >> 1

    Sample444(mcu, y, cb, cr);
    EXPECT_EQ(0, memcmp(mcu, y, 64));
    EXPECT_EQ(0, memcmp(mcu + 64, cb, 64));
    EXPECT_EQ(0, memcmp(mcu + 128, cr, 64));
}

} // namespace
