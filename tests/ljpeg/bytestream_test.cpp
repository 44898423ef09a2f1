// Byte streams: bit packing, stuffing, padding, byte order, bounds, and the
// counting stream's agreement with the memory stream.
#include <gtest/gtest.h>

#include <string.h>

#include "jpegtestutil.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A big-endian memory stream over a guarded buffer of the given size.
struct MemStream {
    uint8_t buf[32];
    ByteStream s;
    explicit MemStream(uint32_t size = 32, ByteOrder order = STREAM_BIG_ENDIAN)
    {
        memset(buf, 0xCC, sizeof buf);
        InitMemoryStream(&s, size, buf);
        s.SetWriteOrder(&s, order);
        JpegStatusReset();
    }
    Bytes Written() const { return Bytes(buf, buf + s.position); }
    MemStream &Bits(const char *bits)
    {
        for (; *bits; bits++)
            s.WriteBit(&s, *bits == '1');
        return *this;
    }
};

TEST(ByteStream, StuffingAndPadding)
{
    MemStream a, b, c, d, e;
    EXPECT_TRUE(a.s.WriteByte(&a.s, 0xFF));  // whole bytes are never stuffed
    EXPECT_TRUE(b.s.WriteBits(&b.s, 8, 0xFF));
    EXPECT_TRUE(c.Bits("101").s.FlushBits(&c.s));
    EXPECT_TRUE(d.Bits("1111111").s.FlushBits(&d.s));
    EXPECT_TRUE(e.Bits("101").s.WriteByte(&e.s, 0x12));  // pending bits go first, zero-padded
    EXPECT_EQ(a.Written(), Bytes({0xFF}));
    EXPECT_EQ(b.Written(), Bytes({0xFF, 0x00}));
    EXPECT_EQ(c.Written(), Bytes({0xBF}));
    EXPECT_EQ(d.Written(), Bytes({0xFF, 0x00}));
    EXPECT_EQ(e.Written(), Bytes({0xA0, 0x12}));
    MemStream empty;
    EXPECT_TRUE(empty.s.FlushBits(&empty.s));
    EXPECT_EQ(empty.s.position, 0u);
}

TEST(ByteStream, WriteOrder)
{
    MemStream big, little(32, STREAM_LITTLE_ENDIAN);
    for (ByteStream *s : {&big.s, &little.s})
        EXPECT_TRUE(s->Write16(s, 0xFFD8) && s->Write32(s, 0x01020304));
    EXPECT_EQ(big.Written(), Bytes({0xFF, 0xD8, 1, 2, 3, 4}));
    EXPECT_EQ(little.Written(), Bytes({0xD8, 0xFF, 4, 3, 2, 1}));
    uint8_t buf[2];
    ByteStream fresh;  // a new memory stream writes little-endian
    InitMemoryStream(&fresh, 2, buf);
    fresh.Write16(&fresh, 0xFFD8);
    EXPECT_EQ(Bytes(buf, buf + 2), Bytes({0xD8, 0xFF}));
}

TEST(ByteStream, WritesStopAtTheEnd)
{
    for (int op = 0; op < 3; op++) {
        MemStream m(0);
        EXPECT_FALSE(op == 0   ? m.s.WriteByte(&m.s, 1)
                     : op == 1 ? m.s.Write16(&m.s, 1)
                               : m.s.Write32(&m.s, 1));
        EXPECT_EQ(JpegStatusGet(), 0x2005);
        EXPECT_EQ(m.buf[0], 0xCC);
    }
    MemStream three(3);  // a Write16 whose second byte does not fit keeps its first
    EXPECT_TRUE(three.s.Write16(&three.s, 0x1234));
    EXPECT_FALSE(three.s.Write16(&three.s, 0x5678));
    EXPECT_EQ(three.Written(), Bytes({0x12, 0x34, 0x56}));
    EXPECT_EQ(three.buf[3], 0xCC);

    MemStream bits(1);  // WriteBits fails without a code, WriteBit with 0x0005
    EXPECT_FALSE(bits.s.WriteBits(&bits.s, 16, 0x1234));
    EXPECT_EQ(JpegStatusGet(), 0x2000);
    EXPECT_EQ(bits.Written(), Bytes({0x12}));
    EXPECT_FALSE(bits.s.WriteBit(&bits.s, 1));
    EXPECT_EQ(JpegStatusGet(), 0x2005);
    MemStream flush(1);  // 0xFF fits, its stuffed 0x00 does not
    EXPECT_FALSE(flush.Bits("1111111").s.FlushBits(&flush.s));
    EXPECT_EQ(JpegStatusGet(), 0x2005);
}

TEST(ByteStream, SeekAndReads)
{
    MemStream m(8);
    EXPECT_FALSE(m.s.Seek(&m.s, 0, SEEK_FROM_END));  // the end is not a valid target
    EXPECT_EQ(JpegStatusGet(), 0x2005);
    EXPECT_TRUE(m.s.Seek(&m.s, -1, SEEK_FROM_END));
    EXPECT_EQ(m.s.Tell(&m.s), 7u);
    EXPECT_FALSE(m.s.Seek(&m.s, -9, SEEK_FROM_END) || m.s.Seek(&m.s, 0, (SeekOrigin)3));

    uint8_t data[] = {0xFF, 0x00, 0x80, 0x34, 0x12, 0xFF, 0xD9};
    ByteStream s;
    InitMemoryStream(&s, sizeof data, data);
    uint16_t bit, v16;
    std::string bits;
    for (int i = 0; i < 10; i++)
        bits += s.ReadBit(&s, &bit) ? char('0' + bit) : 'x';
    EXPECT_EQ(bits, "1111111110");    // the stuffed 0x00 is skipped
    EXPECT_TRUE(s.Read16(&s, &v16));  // drops the rest of 0x80; little-endian
    EXPECT_EQ(v16, 0x1234);
    JpegStatusReset();
    EXPECT_FALSE(s.ReadBit(&s, &bit));  // 0xFF not followed by 0x00
    EXPECT_EQ(JpegStatusGet(), 0x2005);
}

TEST(ByteStream, CountingMatchesMemory)
{
    uint8_t buf[64];
    ByteStream m, c;
    InitMemoryStream(&m, sizeof buf, buf);
    InitCountingStream(&c);
    for (ByteStream *s : {&m, &c}) {
        s->SetWriteOrder(s, STREAM_BIG_ENDIAN);
        s->WriteBits(s, 5, 0x1F);
        s->WriteByte(s, 0xFF);
        s->WriteBits(s, 16, 0xFFFF);
        s->Write16(s, 0xFFD9);
        s->WriteBits(s, 11, 0x7FF);
        s->FlushBits(s);
        s->Write32(s, 0);
    }
    EXPECT_EQ(c.size, m.position);
    uint8_t b;
    JpegStatusReset();
    EXPECT_FALSE(c.ReadByte(&c, &b));  // reads fail without a code
    EXPECT_EQ(JpegStatusGet(), 0x2000);
    EXPECT_TRUE(c.Seek(&c, -4, SEEK_FROM_END));
    EXPECT_FALSE(c.Seek(&c, -1, SEEK_FROM_START));
    EXPECT_EQ(c.size, m.position);  // seeks leave the high-water mark

    c.position = UINT32_MAX;  // a length past 32 bits fails instead of wrapping
    EXPECT_FALSE(c.WriteByte(&c, 0));
}

TEST(ByteStream, HandOverToCoders)
{
    MemStream m(3);
    m.Bits("101");
    uint32_t count;
    EXPECT_EQ(TakePendingBits(&m.s, &count), 5u);
    EXPECT_EQ(count, 3u);
    const uint8_t two[2] = {0x12, 0xFF};
    EXPECT_TRUE(AppendBytes(&m.s, two, 2));
    EXPECT_FALSE(AppendBytes(&m.s, two, 2));  // all or nothing, without a code
    EXPECT_EQ(JpegStatusGet(), 0x2000);
    GivePendingBits(&m.s, 0xF5, 3);  // only the low three bits count
    EXPECT_TRUE(m.s.FlushBits(&m.s));
    EXPECT_EQ(m.Written(), Bytes({0x12, 0xFF, 0xBF}));

    ByteStream c;
    InitCountingStream(&c);
    c.position = UINT32_MAX - 1;
    EXPECT_TRUE(AppendBytes(&c, two, 1));
    EXPECT_EQ(c.size, UINT32_MAX);
    EXPECT_FALSE(AppendBytes(&c, two, 1));
}

}  // namespace
