// Header segments: fixed bytes, lengths, order and the stage codes.
#include <gtest/gtest.h>

#include "jpegtestutil.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Segment(const Bytes &s, uint8_t marker) {
    long at = FindMarker(s, marker);
    if (at < 0) return {};
    size_t len = 2 + (s[at + 2] << 8 | s[at + 3]);
    return Bytes(s.begin() + at, s.begin() + at + len);
}

Bytes SosSegment(const Bytes &s) {
    for (size_t i = 2; i + 4 <= s.size(); i += 2 + (s[i + 2] << 8 | s[i + 3])) {
        if (s[i + 1] == 0xDA) return Bytes(s.begin() + i, s.begin() + i + 2 + (s[i + 2] << 8 | s[i + 3]));
    }
    return {};
}

TEST(Headers, StreamStartAndEnd) {
    const Bytes start = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00,
                         0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xFF, 0xC4};
    for (uint32_t bpp : {8u, 24u}) {
        Bitmap bmp(9, 5, bpp);
        EncodeResult r = EncodeJob(MakeJob(bmp));
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(Bytes(r.bytes.begin(), r.bytes.begin() + start.size()), start);
        EXPECT_EQ(r.bytes[r.bytes.size() - 2], 0xFF);
        EXPECT_EQ(r.bytes.back(), 0xD9);
        // Headers plus EOI: 326 grey, 609 colour.
        EXPECT_EQ(r.bytes.size() - ScanData(r.bytes).size(), bpp == 8 ? 326u : 609u);
    }
}

TEST(Headers, GreyIgnoresSampling) {
    for (uint8_t sampling = 0; sampling < 3; sampling++) {
        Bitmap bmp(300, 2, 8);
        EncodeResult r = EncodeJob(MakeJob(bmp, 75, sampling));
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(Segment(r.bytes, 0xC0), Bytes({0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x02, 0x01, 0x2C, 0x01, 0x01, 0x11, 0x00}));
        EXPECT_EQ(SosSegment(r.bytes), Bytes({0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00}));
        Bytes dht = Segment(r.bytes, 0xC4);
        ASSERT_EQ(dht.size(), 212u);
        EXPECT_EQ(dht[3], 210);
        EXPECT_EQ(dht[4], 0x00);
        EXPECT_EQ(dht[4 + 29], 0x10);
        Bytes dqt = Segment(r.bytes, 0xDB);
        ASSERT_EQ(dqt.size(), 69u);
        EXPECT_EQ(dqt[3], 67);
        EXPECT_EQ(dqt[4], 0x00);
    }
}

TEST(Headers, ColourSamplingFactorsAndSelectors) {
    const uint8_t y_factors[3] = {0x22, 0x21, 0x11};
    for (uint8_t sampling = 0; sampling < 3; sampling++) {
        Bitmap bmp(0x123, 0x45, 32);
        EncodeResult r = EncodeJob(MakeJob(bmp, 75, sampling));
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(Segment(r.bytes, 0xC0), Bytes({0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x45, 0x01, 0x23, 0x03, 0x01,
                                                 y_factors[sampling], 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01}));
        EXPECT_EQ(SosSegment(r.bytes),
                  Bytes({0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00}));
        Bytes dht = Segment(r.bytes, 0xC4);
        ASSERT_EQ(dht.size(), 420u);
        EXPECT_EQ(Bytes(dht.begin() + 4, dht.end()), Bytes(kHuffmanTables, kHuffmanTables + 416));
        Bytes dqt = Segment(r.bytes, 0xDB);
        ASSERT_EQ(dqt.size(), 134u);
        EXPECT_EQ(dqt[4], 0x00);
        EXPECT_EQ(dqt[4 + 65], 0x01);
        // Segment order: APP0, DHT, DQT, SOF0, then the scan; no DRI.
        EXPECT_LT(FindMarker(r.bytes, 0xE0), FindMarker(r.bytes, 0xC4));
        EXPECT_LT(FindMarker(r.bytes, 0xC4), FindMarker(r.bytes, 0xDB));
        EXPECT_LT(FindMarker(r.bytes, 0xDB), FindMarker(r.bytes, 0xC0));
        EXPECT_EQ(FindMarker(r.bytes, 0xDD), -1);
    }
}

TEST(Headers, DqtGuardsQualityAfterItsTableByte) {
    uint8_t buf[16];
    ByteStream out;
    InitMemoryStream(&out, sizeof buf, buf);
    out.SetWriteOrder(&out, 0);
    EncoderContext ctx = {};
    ctx.output = &out;
    ctx.component_count = 1;
    ctx.quality = 101;
    QuantTable tables[2];
    EXPECT_FALSE(WriteDqt(&ctx, tables));
    EXPECT_EQ(Bytes(buf, buf + out.position), Bytes({0xFF, 0xDB, 0x00, 0x43, 0x00}));
}

TEST(Headers, StreamWriterRejectsImpossibleGeometry) {
    ByteStream out;
    InitCountingStream(&out);
    EncoderContext ctx = {};
    ctx.output = &out;
    ctx.component_count = 2;
    ctx.mcu_width = ctx.mcu_height = 8;
    JpegStatusReset();
    EXPECT_FALSE(WriteJpegStream(&ctx));
    ctx.component_count = 3;
    ctx.mcu_width = 24;
    EXPECT_FALSE(WriteJpegStream(&ctx));
    EXPECT_EQ(out.size, 0u);
    EXPECT_EQ(JpegStatusGet(), 0x2000);
}

} // namespace
