// Huffman lookups against literal codes of T.81 Tables K.3 to K.6, and the
// block coder's bits, stuffing and all-or-nothing delivery.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "jpegtestutil.h"

namespace {

const HuffmanTable *Table(int index)
{
    static HuffmanTable tables[4];
    static bool built = false;
    for (const uint8_t *def = kHuffmanTables; !built; built = true) {
        for (auto &t : tables)
            def += BuildHuffmanTable(def, &t);
    }
    return &tables[index];
}

std::string Code(int table, int symbol)
{
    const HuffmanTable *t = Table(table);
    std::string s;
    for (int i = t->ehufsi[symbol] - 1; i >= 0; i--)
        s += (t->ehufco[symbol] >> i & 1) ? '1' : '0';
    return s;
}

TEST(HuffmanTables, LiteralCodes)
{
    const struct {
        int table, symbol;
        const char *code;
    } codes[] = {
        {0, 0, "00"},
        {0, 1, "010"},
        {0, 5, "110"},
        {0, 6, "1110"},
        {0, 11, "111111110"},
        {1, 0x00, "1010"},
        {1, 0x01, "00"},
        {1, 0x03, "100"},
        {1, 0x11, "1100"},
        {1, 0x21, "11100"},
        {1, 0xF0, "11111111001"},
        {1, 0xFA, "1111111111111110"},
        {2, 0, "00"},
        {2, 1, "01"},
        {2, 3, "110"},
        {2, 11, "11111111110"},
        {3, 0x00, "00"},
        {3, 0x01, "01"},
        {3, 0x02, "100"},
        {3, 0xF0, "1111111010"},
        {3, 0xFA, "1111111111111110"},
    };
    for (const auto &c : codes)
        EXPECT_EQ(Code(c.table, c.symbol), c.code) << c.table << ":" << c.symbol;
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(Table(i)->th, i / 2);
}

// A block coder wired to a memory (encode) or counting (measure) stream.
struct CoderRig {
    uint8_t buf[1024];
    ByteStream out;
    EncoderContext ctx = {};
    ComponentSpec comp = {};

    explicit CoderRig(bool encode = true, uint32_t capacity = 1024, int ac_table = 1)
    {
        memset(buf, 0xCC, sizeof buf);
        encode ? InitMemoryStream(&out, capacity, buf) : InitCountingStream(&out);
        ctx.output = &out;
        ctx.stream_kind = encode ? STREAM_KIND_ENCODE : STREAM_KIND_MEASURE;
        comp.dc_table = Table(0);
        comp.ac_table = Table(ac_table);
    }
    // Written bytes as bits, then '|' and the pending bits; or all bits
    // without the stuffed bytes.
    std::string Bits(bool unstuffed = false) const
    {
        std::string s;
        for (uint32_t i = 0; i < out.position; i++) {
            for (int b = 7; b >= 0; b--)
                s += (buf[i] >> b & 1) ? '1' : '0';
            if (unstuffed && buf[i] == 0xFF)
                i++;
        }
        if (!unstuffed)
            s += '|';
        for (uint32_t b = 0; b < out.bit_count; b++)
            s += (out.bit_accumulator >> (7 - b) & 1) ? '1' : '0';
        return s;
    }
};

TEST(EncodeBlock, DcDifferences)
{
    const struct {
        int32_t diff;
        const char *bits;
    } cases[] = {{0, "|00"}, {-1, "|0100"}, {1, "|0101"}, {-3, "|01100"}};
    for (const auto &c : cases) {
        CoderRig rig;
        ASSERT_TRUE(EncodeDc(&rig.ctx, rig.comp.dc_table, c.diff));
        EXPECT_EQ(rig.Bits(), c.bits) << c.diff;
    }
    CoderRig rig;  // the predictor follows each block's DC
    int16_t block[64] = {-3};
    EXPECT_TRUE(EncodeBlock(&rig.ctx, &rig.comp, block));
    EXPECT_TRUE(EncodeBlock(&rig.ctx, &rig.comp, block));
    EXPECT_EQ(rig.comp.dc_predictor, -3);
    EXPECT_EQ(rig.Bits(), "01100101|000"
                          "1010");  // -3 then 0, each with EOB
}

TEST(EncodeBlock, RunsZrlAndEob)
{
    CoderRig zero, zrl, tail, last(true, 1024, 3);
    int16_t none[64] = {}, after17[64] = {}, first[64] = {0, -2}, at63[64] = {};
    after17[kZigzag[18]] = 1;
    at63[63] = -1;
    ASSERT_TRUE(EncodeBlock(&zero.ctx, &zero.comp, none));
    ASSERT_TRUE(EncodeAc(&zrl.ctx, zrl.comp.ac_table, after17));
    ASSERT_TRUE(EncodeAc(&tail.ctx, tail.comp.ac_table, first));
    ASSERT_TRUE(EncodeAc(&last.ctx, last.comp.ac_table, at63));
    EXPECT_EQ(zero.Bits(), "|001010");  // DC 00, EOB 1010, left pending
    // ZRL 11111111001, 1/1 1100, bit 1, EOB; the 0xFF byte is stuffed.
    EXPECT_EQ(zrl.Bits(), "11111111"
                          "00000000"
                          "00111001"
                          "|1010");
    EXPECT_EQ(tail.Bits(), "01011010|");  // a trailing run gives only EOB
    // A non-zero last coefficient: three ZRLs, run 14, no EOB.
    EXPECT_EQ(last.Bits(true), Code(3, 0xF0) + Code(3, 0xF0) + Code(3, 0xF0) + Code(3, 0xE1) + "0");
}

TEST(EncodeBlock, StuffingAndDelivery)
{
    int16_t block[64];
    for (int k = 0; k < 64; k++)
        block[k] = (int16_t)((k % 2 ? -1 : 1) * (k * 37 % 1000 + 1));
    block[0] = 2047;  // DC category 11: 111111110 then 1s, a first byte 0xFF
    CoderRig enc, meas(false);
    ASSERT_TRUE(EncodeBlock(&enc.ctx, &enc.comp, block));
    ASSERT_TRUE(EncodeBlock(&meas.ctx, &meas.comp, block));
    EXPECT_EQ(enc.buf[0], 0xFF);
    EXPECT_EQ(enc.buf[1], 0x00);
    EXPECT_EQ(meas.out.size, enc.out.position);  // the measure counts stuffing
    EXPECT_EQ(meas.out.bit_count, enc.out.bit_count);

    // The AC bytes of a call go out whole or not at all, without a code;
    // the DC code before them (3 bytes with stuffing) stays.
    CoderRig exact(true, enc.out.position), tight(true, enc.out.position - 1);
    EXPECT_TRUE(EncodeBlock(&exact.ctx, &exact.comp, block));
    JpegStatusReset();
    EXPECT_FALSE(EncodeBlock(&tight.ctx, &tight.comp, block));
    EXPECT_EQ(tight.out.position, 3u);
    EXPECT_EQ(tight.buf[3], 0xCC);
    EXPECT_EQ(JpegStatusGet(), 0x2000);
}

TEST(EncodeBlock, LargestBlocksFitTheScratch)
{
    for (int16_t value : {1023, 2047, 32767, -32768}) {
        for (int table : {1, 3}) {
            int16_t block[64];
            for (auto &c : block)
                c = value;
            CoderRig enc(true, 1024, table), meas(false, 0, table);
            ASSERT_TRUE(EncodeBlock(&enc.ctx, &enc.comp, block));
            ASSERT_TRUE(EncodeBlock(&meas.ctx, &meas.comp, block));
            EXPECT_EQ(enc.out.position, meas.out.position);
            if (value == 1023)
                EXPECT_GT(enc.out.position, 256u) << table;  // beyond a 256-byte scratch
        }
    }
}

}  // namespace
