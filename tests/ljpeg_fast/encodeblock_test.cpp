// The fast block coder against EncodeBlock: same bytes, same pending bits,
// same predictor, in both stream kinds.
#include <array>

#include "jpegtestutil.h"

namespace {

struct CoderRig {
    HuffmanTable tables[4];
    ComponentSpec comp{};
    ByteStream out{};
    std::vector<uint8_t> buffer;
    EncoderContext ctx{};

    CoderRig(bool encode, bool chroma, uint32_t capacity = 1 << 17) : buffer(capacity, 0xEE)
    {
        const uint8_t *def = kHuffmanTables;
        for (auto &t : tables)
            def += BuildHuffmanTable(def, &t);
        comp.dc_table = &tables[chroma ? 2 : 0];
        comp.ac_table = &tables[chroma ? 3 : 1];
        if (encode)
            InitMemoryStream(&out, capacity, buffer.data());
        else
            InitCountingStream(&out);
        ctx.output = &out;
        ctx.stream_kind = encode ? STREAM_KIND_ENCODE : STREAM_KIND_MEASURE;
    }
    void StartBits(uint32_t count, uint32_t bits)
    {
        out.bit_count = count;
        out.bit_accumulator = count ? (bits << (8 - count)) & 0xFF : 0;
    }
};

struct FastCoder {
    BlockCoder code;
    unsigned needs;
    const char *name;
};

const FastCoder kCoders[] = {{EncodeBlockSse2, CPU_SSE2, "sse2"},
                             {EncodeBlockBmi2, CPU_AVX2 | CPU_BMI2, "bmi2"}};

// The fast coders this CPU runs.
std::vector<FastCoder> FastCoders()
{
    return Runnable(kCoders);
}

// Codes the blocks with the plain and a fast coder from the same start and
// compares everything the coder leaves behind.
void ExpectSameCoding(BlockCoder fast_coder, const std::vector<std::array<int16_t, 64>> &blocks,
                      bool encode, bool chroma, uint32_t start_count, uint32_t start_bits)
{
    CoderRig plain(encode, chroma), fast(encode, chroma);
    plain.StartBits(start_count, start_bits);
    fast.StartBits(start_count, start_bits);
    for (size_t i = 0; i < blocks.size(); ++i) {
        ASSERT_EQ(EncodeBlock(&plain.ctx, &plain.comp, blocks[i].data()), 1);
        ASSERT_EQ(fast_coder(&fast.ctx, &fast.comp, blocks[i].data()), 1);
        ASSERT_EQ(fast.out.position, plain.out.position) << "block " << i;
        ASSERT_EQ(fast.out.size, plain.out.size) << "block " << i;
        ASSERT_EQ(fast.out.bit_count, plain.out.bit_count) << "block " << i;
        ASSERT_EQ(fast.out.bit_accumulator, plain.out.bit_accumulator) << "block " << i;
        ASSERT_EQ(fast.comp.dc_predictor, plain.comp.dc_predictor) << "block " << i;
    }
    ASSERT_EQ(fast.buffer, plain.buffer);
}

// The same with every fast coder this CPU runs.
void ExpectSameCoding(const std::vector<std::array<int16_t, 64>> &blocks, bool encode, bool chroma,
                      uint32_t start_count, uint32_t start_bits)
{
    for (const auto &coder : FastCoders()) {
        SCOPED_TRACE(coder.name);
        ExpectSameCoding(coder.code, blocks, encode, chroma, start_count, start_bits);
    }
}

// Blocks with a spread of densities; AC values stay in the categories the
// tables define (1..10), DC in 0..11 after prediction.
std::vector<std::array<int16_t, 64>> RandomBlocks(std::mt19937 &rng, int count)
{
    std::vector<std::array<int16_t, 64>> blocks(count);
    for (auto &b : blocks) {
        int density = rng() % 65;
        int range = 1 << (rng() % 11);
        b[0] = (int16_t)((int)(rng() % 2048) - 1024);
        for (int k = 1; k < 64; ++k)
            b[k] = (int)(rng() % 64) < density
                       ? (int16_t)((int)(rng() % (2 * range - 1)) - (range - 1))
                       : 0;
    }
    return blocks;
}

TEST(EncodeBlockFast, EachSingleCoefficientPositionCodesAsPlain)
{
    if (FastCoders().empty())
        GTEST_SKIP() << "no SSE2";
    // One non-zero coefficient at each natural position in turn: a wrong
    // zigzag entry shows as a different run length.
    for (int pos = 1; pos < 64; ++pos) {
        std::array<int16_t, 64> b{};
        b[pos] = (int16_t)(pos % 2 ? 5 : -300);
        for (bool encode : {false, true})
            ExpectSameCoding({b}, encode, pos % 3 == 0, 0, 0);
    }
}

TEST(EncodeBlockFast, RandomBlocksFromEveryPendingBitCount)
{
    if (FastCoders().empty())
        GTEST_SKIP() << "no SSE2";
    std::mt19937 rng(1);
    for (uint32_t count = 0; count < 8; ++count)
        for (bool encode : {false, true})
            for (bool chroma : {false, true})
                ExpectSameCoding(RandomBlocks(rng, 300), encode, chroma, count, rng() & 0x7F);
}

TEST(EncodeBlockFast, ZeroRunsLastCoefficientStuffingAndUncodableValues)
{
    if (FastCoders().empty())
        GTEST_SKIP() << "no SSE2";
    std::vector<std::array<int16_t, 64>> blocks;
    std::array<int16_t, 64> b{};
    blocks.push_back(b);  // all zero: DC 0 and EOB only
    b[63] = 1;            // 62 zeros, three ZRLs, no EOB
    blocks.push_back(b);
    b = {};
    b[8] = -1;            // zigzag 2 after one zero
    b[kZigzag[18]] = 3;   // run of 15
    b[kZigzag[35]] = -2;  // run of 16: one ZRL and run 0
    blocks.push_back(b);
    // All-ones magnitudes give long runs of 1-bits, so 0xFF bytes and stuffing.
    b.fill(1023);
    blocks.push_back(b);
    b.fill(-1023);
    b[0] = 1023;
    blocks.push_back(b);
    // Values past the tables' categories, which only a caller of the coder
    // could hand in: symbols without a code, the extreme DC differences, and
    // -32768, whose category 16 wraps the symbol.
    for (int16_t v : {(int16_t)-32768, (int16_t)32767, (int16_t)2047, (int16_t)-1024}) {
        b.fill(v);
        b[5] = 0;
        b[kZigzag[40]] = 0;
        blocks.push_back(b);
    }
    for (bool encode : {false, true})
        for (uint32_t count = 0; count < 8; ++count)
            ExpectSameCoding(blocks, encode, count % 2, count, 0x7F);
}

TEST(EncodeBlockFast, NearlyFullBufferFailsLikePlain)
{
    if (FastCoders().empty())
        GTEST_SKIP() << "no SSE2";
    std::mt19937 rng(3);
    auto blocks = RandomBlocks(rng, 40);
    for (const auto &coder : FastCoders()) {
        SCOPED_TRACE(coder.name);
        for (uint32_t capacity = 0; capacity < 2000; capacity += 7) {
            CoderRig plain(true, false, capacity), fast(true, false, capacity);
            for (const auto &b : blocks) {
                int plain_ok = EncodeBlock(&plain.ctx, &plain.comp, b.data());
                int fast_ok = coder.code(&fast.ctx, &fast.comp, b.data());
                ASSERT_EQ(fast_ok, plain_ok) << "capacity " << capacity;
                ASSERT_EQ(fast.out.position, plain.out.position) << "capacity " << capacity;
                if (!plain_ok)
                    break;
            }
            ASSERT_EQ(fast.buffer, plain.buffer) << "capacity " << capacity;
        }
    }
}

}  // namespace
