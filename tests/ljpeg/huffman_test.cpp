// Huffman lookups against literal codes of T.81 Tables K.3 to K.6, and the
// block coder's bits, stuffing and all-or-nothing delivery.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "jpegtestutil.h"

namespace {

HuffmanTable g_tables[4];

const HuffmanTable *Table(int index) {
    static bool built = false;
    if (!built) {
        const uint8_t *def = kHuffmanTables;
        for (auto &t : g_tables) def += BuildHuffmanTable(def, &t);
        built = true;
    }
    return &g_tables[index];
}

std::string Code(int table, int symbol) {
    const HuffmanTable *t = Table(table);
    std::string s;
    for (int i = t->ehufsi[symbol] - 1; i >= 0; i--) s += (t->ehufco[symbol] >> i & 1) ? '1' : '0';
    return s;
}

TEST(HuffmanTables, LiteralCodes) {
    const char *dc_luma[12] = {"00",      "010",      "011",       "100",        "101",         "110",
                               "1110",    "11110",    "111110",    "1111110",    "11111110",    "111111110"};
    for (int s = 0; s < 12; s++) EXPECT_EQ(Code(0, s), dc_luma[s]) << s;
    EXPECT_EQ(Code(1, 0x00), "1010");
    EXPECT_EQ(Code(1, 0x01), "00");
    EXPECT_EQ(Code(1, 0x03), "100");
    EXPECT_EQ(Code(1, 0x11), "1100");
    EXPECT_EQ(Code(1, 0x21), "11100");
    EXPECT_EQ(Code(1, 0xF0), "11111111001");
    EXPECT_EQ(Code(1, 0xFA), "1111111111111110");
    EXPECT_EQ(Code(2, 0), "00");
    EXPECT_EQ(Code(2, 1), "01");
    EXPECT_EQ(Code(2, 3), "110");
    EXPECT_EQ(Code(2, 11), "11111111110");
    EXPECT_EQ(Code(3, 0x00), "00");
    EXPECT_EQ(Code(3, 0x01), "01");
    EXPECT_EQ(Code(3, 0x02), "100");
    EXPECT_EQ(Code(3, 0xF0), "1111111010");
    EXPECT_EQ(Code(3, 0xFA), "1111111111111110");
    for (int i = 0; i < 4; i++) EXPECT_EQ(Table(i)->th, i / 2);
}

TEST(HuffmanTables, SizeAndCodeGeneration) {
    const uint8_t bits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1};
    uint8_t huffsize[257];
    uint16_t huffcode[256];
    ASSERT_EQ(GenerateSizeTable(bits, huffsize), 12);
    EXPECT_EQ(huffsize[0], 2);
    EXPECT_EQ(huffsize[5], 3);
    EXPECT_EQ(huffsize[11], 9);
    EXPECT_EQ(huffsize[12], 0);
    GenerateCodeTable(huffsize, huffcode);
    const uint16_t expected[12] = {0, 2, 3, 4, 5, 6, 14, 30, 62, 126, 254, 510};
    for (int k = 0; k < 12; k++) EXPECT_EQ(huffcode[k], expected[k]);

    // Both AC tables define 162 symbols; the whole block holds 416 bytes.
    const uint8_t *def = kHuffmanTables;
    uint32_t lengths[4];
    for (int t = 0; t < 4; t++) {
        HuffmanTable tmp;
        lengths[t] = BuildHuffmanTable(def, &tmp);
        def += lengths[t];
    }
    EXPECT_EQ(lengths[0], 29u);
    EXPECT_EQ(lengths[1], 179u);
    EXPECT_EQ(lengths[2], 29u);
    EXPECT_EQ(lengths[3], 179u);
}

// A block coder wired to a memory (encode) or counting (measure) stream.
struct CoderRig {
    uint8_t buf[1024];
    ByteStream out;
    EncoderContext ctx = {};
    ComponentSpec comp = {};

    explicit CoderRig(bool encode, uint32_t capacity = 1024) {
        memset(buf, 0xCC, sizeof buf);
        if (encode) {
            InitMemoryStream(&out, capacity, buf);
        } else {
            InitCountingStream(&out);
        }
        ctx.output = &out;
        ctx.stream_kind = encode ? STREAM_KIND_ENCODE : STREAM_KIND_MEASURE;
        comp.dc_table = Table(0);
        comp.ac_table = Table(1);
    }
    // Written bytes as bits, then the pending bits after a '|'.
    std::string Bits() const {
        std::string s;
        for (uint32_t i = 0; i < out.position; i++) {
            for (int b = 7; b >= 0; b--) s += (buf[i] >> b & 1) ? '1' : '0';
        }
        s += '|';
        for (uint32_t b = 0; b < out.bit_count; b++) s += (out.bit_accumulator >> (7 - b) & 1) ? '1' : '0';
        return s;
    }
    // All bits in order, stuffed bytes removed.
    std::string Unstuffed() const {
        std::string s;
        for (uint32_t i = 0; i < out.position; i++) {
            for (int b = 7; b >= 0; b--) s += (buf[i] >> b & 1) ? '1' : '0';
            if (buf[i] == 0xFF) i++;
        }
        for (uint32_t b = 0; b < out.bit_count; b++) s += (out.bit_accumulator >> (7 - b) & 1) ? '1' : '0';
        return s;
    }
};

TEST(EncodeBlock, ZeroBlockIsDcZeroThenEob) {
    CoderRig rig(true);
    int16_t block[64] = {};
    ASSERT_TRUE(EncodeBlock(&rig.ctx, &rig.comp, block));
    EXPECT_EQ(rig.Bits(), "|001010");
}

TEST(EncodeBlock, DcDifferencesAndPredictor) {
    CoderRig rig(true);
    int16_t block[64] = {};
    block[63] = 1; // no EOB: the AC part is one code of run 62 split by ZRLs
    const struct {
        int16_t dc;
        const char *dc_bits;
    } steps[] = {{-1, "0100"}, {0, "0101"}, {-3, "01100"}, {-3, "00"}};
    for (const auto &step : steps) {
        CoderRig one(true);
        one.comp.dc_predictor = rig.comp.dc_predictor;
        block[0] = step.dc;
        ASSERT_TRUE(EncodeDc(&one.ctx, one.comp.dc_table, block[0] - one.comp.dc_predictor));
        EXPECT_EQ(one.Bits(), std::string("|") + step.dc_bits) << step.dc;
        ASSERT_TRUE(EncodeBlock(&rig.ctx, &rig.comp, block));
        EXPECT_EQ(rig.comp.dc_predictor, step.dc);
    }
}

TEST(EncodeBlock, RunsZrlAndEob) {
    CoderRig rig(true);
    int16_t block[64] = {};
    block[kZigzag[18]] = 1; // 17 zeros, then 1: ZRL, then run 1 size 1
    ASSERT_TRUE(EncodeAc(&rig.ctx, rig.comp.ac_table, block));
    // ZRL 11111111001, 1/1 1100, bit 1, EOB 1010; the first byte is stuffed.
    EXPECT_EQ(rig.Bits(), "11111111" "00000000" "00111001" "|1010");

    // A trailing run of 16 or more zeros gives no ZRL, only EOB.
    CoderRig tail(true);
    int16_t first_only[64] = {0, -2};
    ASSERT_TRUE(EncodeAc(&tail.ctx, tail.comp.ac_table, first_only));
    EXPECT_EQ(tail.Bits(), "01011010|"); // 0/2 01, bits 01 (-2 - 1), EOB

    // A non-zero last coefficient: three ZRLs, run 14, and no EOB.
    CoderRig last(true);
    last.comp.ac_table = Table(3);
    int16_t last_set[64] = {};
    last_set[63] = -1;
    ASSERT_TRUE(EncodeAc(&last.ctx, last.comp.ac_table, last_set));
    EXPECT_EQ(last.Unstuffed(), Code(3, 0xF0) + Code(3, 0xF0) + Code(3, 0xF0) + Code(3, 0xE1) + "0");
}

TEST(EncodeBlock, StuffsFfInBothModes) {
    int16_t block[64] = {};
    block[0] = 2047; // category 11: 111111110 then eleven 1s, a first byte 0xFF
    CoderRig enc(true), meas(false);
    ASSERT_TRUE(EncodeBlock(&enc.ctx, &enc.comp, block));
    ASSERT_TRUE(EncodeBlock(&meas.ctx, &meas.comp, block));
    ASSERT_GE(enc.out.position, 2u);
    EXPECT_EQ(enc.buf[0], 0xFF);
    EXPECT_EQ(enc.buf[1], 0x00);
    EXPECT_EQ(meas.out.position, enc.out.position);
    EXPECT_EQ(meas.out.size, enc.out.position);
    EXPECT_EQ(meas.out.bit_count, enc.out.bit_count);
}

TEST(EncodeBlock, DeliveryIsAllOrNothing) {
    int16_t block[64];
    for (int k = 0; k < 64; k++) block[k] = (int16_t)((k % 2 ? -1 : 1) * (k * 37 % 1000 + 1));
    CoderRig probe(true);
    ASSERT_TRUE(EncodeAc(&probe.ctx, probe.comp.ac_table, block));
    uint32_t n = probe.out.position;

    CoderRig exact(true, n);
    EXPECT_TRUE(EncodeAc(&exact.ctx, exact.comp.ac_table, block));
    EXPECT_EQ(exact.out.position, n);

    CoderRig tight(true, n - 1);
    JpegStatusReset();
    EXPECT_FALSE(EncodeAc(&tight.ctx, tight.comp.ac_table, block));
    EXPECT_EQ(tight.out.position, 0u);
    EXPECT_EQ(tight.buf[0], 0xCC);
    EXPECT_EQ(JpegStatusGet(), 0x2000); // the coder sets no code of its own
}

TEST(EncodeBlock, WorstCaseBlockFitsItsScratch) {
    // Every coefficient of the largest category, with 0xFF-heavy codes.
    int16_t block[64];
    for (int k = 0; k < 64; k++) block[k] = k % 2 ? -32767 : 32767;
    CoderRig enc(true), meas(false);
    ASSERT_TRUE(EncodeBlock(&enc.ctx, &enc.comp, block));
    ASSERT_TRUE(EncodeBlock(&meas.ctx, &meas.comp, block));
    EXPECT_EQ(enc.out.position, meas.out.position);
    EXPECT_GT(enc.out.position, 100u);
}

} // namespace
