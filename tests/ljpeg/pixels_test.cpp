// Pixel readers (conversion, channel order, edge replication; their input
// bounds are tested through the export) and chroma samplers (block layout
// and truncating means).
#include <gtest/gtest.h>

#include <string.h>

#include "jpegtestutil.h"

namespace {

uint8_t g_planes[3][MCU_PLANE_SIZE];  // Y, Cb, Cr as the last reader left them

void CapturePlanes(uint8_t *, const uint8_t *y, const uint8_t *cb, const uint8_t *cr)
{
    memcpy(g_planes[0], y, 256), memcpy(g_planes[1], cb, 256), memcpy(g_planes[2], cr, 256);
}

// Runs a reader on one MCU of a bitmap, as the scan would.
int ReadMcu(PixelReader reader, Bitmap &bmp, uint32_t index, uint8_t mcu_w = 16, uint8_t mcu_h = 16,
            uint8_t *mcu = nullptr)
{
    ByteStream in;
    InitMemoryStream(&in, (uint32_t)bmp.pixels.size(), bmp.pixels.data());
    EncoderContext ctx = {};
    uint8_t scratch[MCU_BUFFER_SIZE];
    ctx.input = &in;
    ctx.width = bmp.width;
    ctx.height = bmp.height;
    ctx.row_stride = bmp.Stride();
    ctx.mcu_width = mcu_w;
    ctx.mcu_height = mcu_h;
    ctx.mcus_per_row = (uint16_t)((bmp.width + mcu_w - 1) / mcu_w);
    ctx.mcus_done = index;
    ctx.chroma_sampler = CapturePlanes;
    JpegStatusReset();
    return reader(&ctx, mcu ? mcu : scratch);
}

// Each case: the pixel's bytes, little-endian for 16 bits, and its Y, Cb, Cr.
TEST(PixelReader, ColourConversionAndChannelOrder)
{
    const uint8_t rgb[][6] = {// R, G, B -> Y, Cb, Cr
                              {255, 255, 255, 255, 128, 128},
                              {0, 0, 0, 0, 128, 128},
                              {255, 0, 0, 77, 85, 255},
                              {0, 255, 0, 149, 43, 21},
                              {0, 0, 255, 29, 255, 107}};
    const PixelReader readers[4] = {ReadBgr24Mcu, ReadRgb24Mcu, ReadBgr32Mcu, ReadRgb32Mcu};
    struct Case {
        PixelReader reader;
        uint32_t bpp;
        uint8_t bytes[4], y, cb, cr;
    };
    std::vector<Case> cases = {
        {ReadRgb16Mcu, 16, {0xFF, 0x7F}, 248, 128, 128},  // the top bit is ignored
        {ReadBgr16Mcu, 16, {0xFF, 0xFF}, 248, 128, 128},
        {ReadRgb16Mcu, 16, {0x1F, 0x00}, 75, 86, 252},
        {ReadBgr16Mcu, 16, {0x00, 0x7C}, 75, 86, 252},
        {ReadBgr16Mcu, 16, {0x1F, 0x00}, 28, 252, 108}};
    for (const auto &c : rgb) {
        for (int r = 0; r < 4; r++) {  // blue or red first; the fourth byte of 32 bits is ignored
            uint8_t low = c[r % 2 ? 0 : 2], high = c[r % 2 ? 2 : 0];
            cases.push_back(
                {readers[r], r < 2 ? 24u : 32u, {low, c[1], high, 0x5A}, c[3], c[4], c[5]});
        }
    }
    for (const Case &c : cases) {
        Bitmap bmp(1, 1, c.bpp);
        memcpy(bmp.Fill(0x5A).At(0, 0), c.bytes, c.bpp / 8);
        ASSERT_TRUE(ReadMcu(c.reader, bmp, 0));
        for (int i = 0; i < 256; i++) {  // one pixel fills the whole MCU
            ASSERT_EQ(g_planes[0][i], c.y) << c.bpp << " bits, " << (int)c.bytes[0];
            ASSERT_EQ(g_planes[1][i], c.cb) << c.bpp << " bits, " << (int)c.bytes[0];
            ASSERT_EQ(g_planes[2][i], c.cr) << c.bpp << " bits, " << (int)c.bytes[0];
        }
    }
}

TEST(PixelReader, EdgeReplicationRightAndBottom)
{
    Bitmap bmp(17, 17, 24);
    uint8_t ycc[3];
    ASSERT_TRUE(ReadMcu(ReadBgr24Mcu, bmp, 1));  // 1 real column, 15 copies
    for (int i = 0; i < 16; i++) {
        const uint8_t *p = bmp.At(16, i);
        RgbToYcc(p[2], p[1], p[0], &ycc[0], &ycc[1], &ycc[2]);
        for (int k = 0; k < 3 * 16; k++)
            ASSERT_EQ(g_planes[k / 16][i * 16 + k % 16], ycc[k / 16]) << i;
    }
    ASSERT_TRUE(ReadMcu(ReadBgr24Mcu, bmp, 2));  // image row 16, repeated downwards
    for (int j = 0; j < 16; j++) {
        const uint8_t *p = bmp.At(j, 16);
        RgbToYcc(p[2], p[1], p[0], &ycc[0], &ycc[1], &ycc[2]);
        for (int i = 0; i < 16; i++)
            ASSERT_EQ(g_planes[1][i * 16 + j], ycc[1]);
    }
}

TEST(PixelReader, Grey)
{
    Bitmap bmp(10, 9, 8);
    uint8_t mcu[64];
    ASSERT_TRUE(ReadMcu(ReadGreyMcu, bmp, 1, 8, 8, mcu));  // columns 8, 9 of rows 0..7
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(mcu[i * 8], *bmp.At(8, i));
        for (int j = 1; j < 8; j++)
            EXPECT_EQ(mcu[i * 8 + j], *bmp.At(9, i));
    }
    ASSERT_TRUE(ReadMcu(ReadGreyMcu, bmp, 2, 8, 8, mcu));  // row 8, repeated
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(mcu[i * 8 + 3], *bmp.At(3, 8));
    EXPECT_FALSE(ReadMcu(ReadGreyMcu, bmp, 0, 16, 8));
}

TEST(ChromaSampler, BlockLayoutAndTruncatingMeans)
{
    uint8_t y[MCU_PLANE_SIZE], cb[MCU_PLANE_SIZE] = {}, cr[MCU_PLANE_SIZE] = {},
                               mcu[MCU_BUFFER_SIZE];
    for (int i = 0; i < 256; i++)
        y[i] = (uint8_t)i;
    cb[17] = 3;                                    // square 0, 0, 0, 3 -> 0
    cr[0] = 1, cr[1] = 2, cr[16] = 2, cr[17] = 2;  // square 1, 2, 2, 2 -> 1
    cr[2] = cr[3] = cr[18] = 255, cr[19] = 254;
    Sample420(mcu, y, cb, cr);
    const int expect420[][2] = {{64, 8},         {65, 9},  {66, 10}, {128, 128}, {129, 129},
                                {192 + 63, 255}, {256, 0}, {320, 1}, {321, 254}};
    for (const auto &e : expect420)
        EXPECT_EQ(mcu[e[0]], e[1]) << (int)e[0];

    cb[0] = 254, cb[1] = 255;
    Sample422(mcu, y, cb, cr);
    EXPECT_EQ(mcu[64 + 8], 24);  // right block, row 1 = Y[1][8]
    EXPECT_EQ(mcu[128], 254);    // (254 + 255) >> 1
    EXPECT_EQ(mcu[192], 1);

    Sample444(mcu, y, cb, cr);
    EXPECT_EQ(0, memcmp(mcu, y, 64));
    EXPECT_EQ(0, memcmp(mcu + 64, cb, 64));
    EXPECT_EQ(0, memcmp(mcu + 128, cr, 64));
}

}  // namespace
