// Byte streams: bit packing, stuffing, padding, byte order, bounds and the
// agreement of the counting stream with the memory stream.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "jpegtestutil.h"

namespace {

struct MemStream {
    uint8_t buf[32];
    ByteStream s;
    explicit MemStream(uint32_t size = sizeof buf) {
        memset(buf, 0xCC, sizeof buf);
        InitMemoryStream(&s, size, buf);
        s.SetWriteOrder(&s, 0);
    }
    std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(buf, buf + s.position); }
};

using Bytes = std::vector<uint8_t>;

void PutBits(ByteStream *s, const char *bits) {
    for (; *bits; bits++) ASSERT_TRUE(s->WriteBit(s, *bits == '1'));
}

TEST(ByteStream, BytesAreNeverStuffedButBitsAre) {
    MemStream m;
    EXPECT_TRUE(m.s.WriteByte(&m.s, 0xFF));
    EXPECT_EQ(m.Bytes(), Bytes({0xFF}));

    MemStream b;
    EXPECT_TRUE(b.s.WriteBits(&b.s, 8, 0xFF));
    EXPECT_EQ(b.Bytes(), Bytes({0xFF, 0x00}));
    ByteStream c;
    InitCountingStream(&c);
    EXPECT_TRUE(c.WriteBits(&c, 8, 0xFF));
    EXPECT_EQ(c.position, 2u);
    EXPECT_EQ(c.size, 2u);
}

TEST(ByteStream, FlushPadsWithOnes) {
    MemStream a;
    PutBits(&a.s, "101");
    EXPECT_TRUE(a.s.FlushBits(&a.s));
    EXPECT_EQ(a.Bytes(), Bytes({0xBF}));
    EXPECT_EQ(a.s.bit_count, 0u);

    MemStream b;
    PutBits(&b.s, "1111111");
    EXPECT_TRUE(b.s.FlushBits(&b.s));
    EXPECT_EQ(b.Bytes(), Bytes({0xFF, 0x00}));

    MemStream c;
    EXPECT_TRUE(c.s.FlushBits(&c.s));
    EXPECT_TRUE(c.Bytes().empty());
}

TEST(ByteStream, WriteByteEmitsPendingBitsZeroPadded) {
    MemStream m;
    PutBits(&m.s, "101");
    EXPECT_TRUE(m.s.WriteByte(&m.s, 0x12));
    EXPECT_EQ(m.Bytes(), Bytes({0xA0, 0x12}));

    ByteStream c;
    InitCountingStream(&c);
    c.WriteBit(&c, 1), c.WriteBit(&c, 0), c.WriteBit(&c, 1);
    EXPECT_TRUE(c.WriteByte(&c, 0x12));
    EXPECT_EQ(c.size, 2u);
}

TEST(ByteStream, WriteOrder) {
    MemStream big;
    EXPECT_TRUE(big.s.Write16(&big.s, 0xFFD8));
    EXPECT_TRUE(big.s.Write32(&big.s, 0x01020304));
    EXPECT_EQ(big.Bytes(), Bytes({0xFF, 0xD8, 1, 2, 3, 4}));

    uint8_t buf[6];
    ByteStream little;
    InitMemoryStream(&little, sizeof buf, buf); // a new stream is little-endian
    EXPECT_TRUE(little.Write16(&little, 0xFFD8));
    EXPECT_TRUE(little.Write32(&little, 0x01020304));
    EXPECT_EQ(Bytes(buf, buf + 6), Bytes({0xD8, 0xFF, 4, 3, 2, 1}));
}

TEST(ByteStream, WritesStopAtTheEndOfTheBuffer) {
    for (int op = 0; op < 3; op++) {
        MemStream m(0);
        JpegStatusReset();
        int ok = op == 0 ? m.s.WriteByte(&m.s, 1) : op == 1 ? m.s.Write16(&m.s, 1) : m.s.Write32(&m.s, 1);
        EXPECT_FALSE(ok);
        EXPECT_EQ(JpegStatusGet(), 0x2005);
        EXPECT_EQ(m.buf[0], 0xCC);
    }
    MemStream two(2);
    EXPECT_TRUE(two.s.Write16(&two.s, 0x1234));
    EXPECT_FALSE(two.s.WriteByte(&two.s, 0x56));
    EXPECT_EQ(two.buf[2], 0xCC);

    // A Write16 whose second byte does not fit leaves its first byte.
    MemStream three(3);
    EXPECT_TRUE(three.s.Write16(&three.s, 0x1234));
    EXPECT_FALSE(three.s.Write16(&three.s, 0x5678));
    EXPECT_EQ(three.Bytes(), Bytes({0x12, 0x34, 0x56}));

    // WriteBits fails without a code; WriteBit and FlushBits with 0x0005.
    MemStream bits(1);
    JpegStatusReset();
    EXPECT_FALSE(bits.s.WriteBits(&bits.s, 16, 0x1234));
    EXPECT_EQ(JpegStatusGet(), 0x2000);
    EXPECT_EQ(bits.Bytes(), Bytes({0x12}));
    EXPECT_FALSE(bits.s.WriteBit(&bits.s, 1));
    EXPECT_EQ(JpegStatusGet(), 0x2005);
    MemStream flush(1);
    PutBits(&flush.s, "1111111");
    JpegStatusReset();
    EXPECT_FALSE(flush.s.FlushBits(&flush.s)); // 0xFF fits, its stuffed 0x00 does not
    EXPECT_EQ(JpegStatusGet(), 0x2005);
}

TEST(ByteStream, SeekAndTell) {
    MemStream m(8);
    JpegStatusReset();
    EXPECT_FALSE(m.s.Seek(&m.s, 0, 2));
    EXPECT_EQ(JpegStatusGet(), 0x2005);
    EXPECT_TRUE(m.s.Seek(&m.s, -1, 2));
    EXPECT_EQ(m.s.Tell(&m.s), 7u);
    EXPECT_TRUE(m.s.Seek(&m.s, -8, 2));
    EXPECT_FALSE(m.s.Seek(&m.s, -9, 2));
    EXPECT_TRUE(m.s.Seek(&m.s, 3, 1));
    EXPECT_EQ(m.s.Tell(&m.s), 3u);
    JpegStatusReset();
    EXPECT_FALSE(m.s.Seek(&m.s, 0, 3)); // bad origin: no code
    EXPECT_EQ(JpegStatusGet(), 0x2000);

    ByteStream c;
    InitCountingStream(&c);
    c.Write32(&c, 0);
    EXPECT_TRUE(c.Seek(&c, -4, 2));
    EXPECT_EQ(c.Tell(&c), 0u);
    EXPECT_FALSE(c.Seek(&c, -1, 1));
    EXPECT_TRUE(c.Seek(&c, 10, 0));
    EXPECT_EQ(c.size, 4u); // a seek leaves the high-water mark
}

TEST(ByteStream, Reads) {
    uint8_t data[] = {0xFF, 0x00, 0x80, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12};
    ByteStream s;
    InitMemoryStream(&s, sizeof data, data);
    uint16_t bit;
    for (int i = 0; i < 8; i++) {
        ASSERT_TRUE(s.ReadBit(&s, &bit));
        EXPECT_EQ(bit, 1);
    }
    ASSERT_TRUE(s.ReadBit(&s, &bit));
    EXPECT_EQ(bit, 1);
    ASSERT_TRUE(s.ReadBit(&s, &bit));
    EXPECT_EQ(bit, 0);
    uint16_t v16;
    uint32_t v32;
    ASSERT_TRUE(s.Read16(&s, &v16)); // discards the unread bits of 0x80
    EXPECT_EQ(v16, 0x1234);
    ASSERT_TRUE(s.Read32(&s, &v32));
    EXPECT_EQ(v32, 0x12345678u);
    uint8_t b;
    JpegStatusReset();
    EXPECT_FALSE(s.ReadByte(&s, &b));
    EXPECT_EQ(JpegStatusGet(), 0x2005);

    uint8_t marker[] = {0xFF, 0xD9};
    InitMemoryStream(&s, sizeof marker, marker);
    JpegStatusReset();
    EXPECT_FALSE(s.ReadBit(&s, &bit));
    EXPECT_EQ(JpegStatusGet(), 0x2005);

    ByteStream c;
    InitCountingStream(&c);
    JpegStatusReset();
    EXPECT_FALSE(c.ReadByte(&c, &b));
    EXPECT_FALSE(c.ReadBit(&c, &bit));
    EXPECT_EQ(JpegStatusGet(), 0x2000);
}

TEST(ByteStream, CountingMatchesMemory) {
    uint8_t buf[64];
    ByteStream m, c;
    InitMemoryStream(&m, sizeof buf, buf);
    InitCountingStream(&c);
    for (ByteStream *s : {&m, &c}) {
        s->SetWriteOrder(s, 0);
        s->WriteBits(s, 5, 0x1F);
        s->WriteByte(s, 0xFF);
        s->WriteBits(s, 16, 0xFFFF);
        s->WriteBit(s, 1);
        s->Write16(s, 0xFFD9);
        s->WriteBits(s, 11, 0x7FF);
        s->FlushBits(s);
        s->Write32(s, 0);
    }
    EXPECT_EQ(c.size, m.position);
    EXPECT_EQ(c.position, m.position);
}

TEST(ByteStream, CountingRefusesToWrapPast4GiB) {
    ByteStream c;
    InitCountingStream(&c);
    c.position = c.size = UINT32_MAX - 1;
    EXPECT_TRUE(c.WriteByte(&c, 0));
    EXPECT_FALSE(c.WriteByte(&c, 0));
    EXPECT_EQ(c.size, UINT32_MAX);
}

} // namespace
