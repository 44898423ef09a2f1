// Header segments: fixed bytes, lengths, order and the stage codes.
#include <gtest/gtest.h>

#include "jpegtestutil.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Segment(const Bytes &s, uint8_t marker)
{
    long at = FindMarker(s, marker);
    return at < 0 ? Bytes()
                  : Bytes(s.begin() + at, s.begin() + at + 2 + (s[at + 2] << 8 | s[at + 3]));
}

TEST(Headers, StreamFrameAndLengths)
{
    const Bytes start = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00,
                         0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xFF, 0xC4};
    for (uint32_t bpp : {8u, 24u}) {
        Bitmap bmp(9, 5, bpp);
        EncodeResult r = EncodeJob(MakeJob(bmp));
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(Bytes(r.bytes.begin(), r.bytes.begin() + start.size()), start);
        EXPECT_EQ(Bytes(r.bytes.end() - 2, r.bytes.end()), Bytes({0xFF, 0xD9}));
        EXPECT_EQ(r.bytes.size() - ScanData(r.bytes).size(), bpp == 8 ? 326u : 609u);
        // APP0, DHT, DQT, SOF0 in this order, then the scan; no DRI.
        const uint8_t order[] = {0xE0, 0xC4, 0xDB, 0xC0, 0xDA};
        for (int i = 0; i < 4; i++)
            EXPECT_LT(FindMarker(r.bytes, order[i]), FindMarker(r.bytes, order[i + 1]));
        EXPECT_EQ(FindMarker(r.bytes, 0xDD), -1);
        Bytes dht = Segment(r.bytes, 0xC4), dqt = Segment(r.bytes, 0xDB);
        size_t tables = bpp == 8 ? 208 : 416;
        EXPECT_EQ(Bytes(dht.begin() + 4, dht.end()),
                  Bytes(kHuffmanTables, kHuffmanTables + tables));
        EXPECT_EQ(dht[3], tables + 2 - 256 * (tables > 253));
        EXPECT_EQ(dqt.size(), bpp == 8 ? 69u : 134u);
        EXPECT_EQ(dqt[4], 0x00);
        if (bpp != 8)
            EXPECT_EQ(dqt[4 + 65], 0x01);
    }
}

TEST(Headers, FrameAndScanHeaders)
{
    for (uint8_t sampling = 0; sampling < 3; sampling++) {
        Bitmap grey(300, 2, 8), colour(0x123, 0x45, 32);
        EncodeResult g = EncodeJob(MakeJob(grey, 75, sampling)),
                     c = EncodeJob(MakeJob(colour, 75, sampling));
        ASSERT_EQ(g.status | c.status, 0);
        // Grey ignores the sampling mode.
        EXPECT_EQ(Segment(g.bytes, 0xC0), Bytes({0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x02, 0x01,
                                                 0x2C, 0x01, 0x01, 0x11, 0x00}));
        EXPECT_EQ(Segment(g.bytes, 0xDA),
                  Bytes({0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00}));

        const uint8_t y_factors[3] = {0x22, 0x21, 0x11};
        EXPECT_EQ(Segment(c.bytes, 0xC0),
                  Bytes({0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x45, 0x01, 0x23, 0x03, 0x01,
                         y_factors[sampling], 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01}));
        EXPECT_EQ(Segment(c.bytes, 0xDA), Bytes({0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02,
                                                 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00}));
    }
}

TEST(Headers, GuardsOfTheWriters)
{
    // DQT fails on a quality above 100 after its table byte.
    uint8_t buf[16];
    ByteStream out;
    InitMemoryStream(&out, sizeof buf, buf);
    out.SetWriteOrder(&out, STREAM_BIG_ENDIAN);
    EncoderContext ctx = {};
    ctx.output = &out;
    ctx.component_count = 1;
    ctx.quality = 101;
    QuantTable tables[2];
    EXPECT_FALSE(WriteDqt(&ctx, tables));
    EXPECT_EQ(Bytes(buf, buf + out.position), Bytes({0xFF, 0xDB, 0x00, 0x43, 0x00}));

    // The stream writer refuses impossible geometry before writing anything.
    ByteStream counter;
    InitCountingStream(&counter);
    ctx.output = &counter;
    ctx.mcu_width = ctx.mcu_height = 8;
    ctx.component_count = 2;
    JpegStatusReset();
    EXPECT_FALSE(WriteJpegStream(&ctx));
    ctx.component_count = 3;
    ctx.mcu_width = 24;
    EXPECT_FALSE(WriteJpegStream(&ctx));
    EXPECT_EQ(counter.size, 0u);
    EXPECT_EQ(JpegStatusGet(), 0x2000);
}

}  // namespace
