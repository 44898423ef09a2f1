// The vector transform and quantiser against the plain arithmetic.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "jpegtestutil.h"

namespace {

struct TransformVariant {
    void (*dct)(const uint8_t block[64], int32_t out[64]);
    void (*quantise)(const int32_t coef[64], const FastQuantiser *fq, int16_t out[64]);
    BlockTransform transform;
    unsigned needs;
    const char *name;
};

const TransformVariant kTransforms[] = {
    {ForwardDctSse2, QuantiseBlockSse2, TransformBlockSse2, CPU_SSE2, "sse2"},
    {ForwardDctAvx2, QuantiseBlockAvx2, TransformBlockAvx2, CPU_AVX2, "avx2"},
};

// The vector transforms this CPU runs.
std::vector<TransformVariant> Variants()
{
    return Runnable(kTransforms);
}

// Blocks that drive each coefficient to its extremes: 255 where the basis
// function of (v, u) is positive and 0 elsewhere, and the reverse.
std::vector<std::array<uint8_t, 64>> ExtremeBlocks()
{
    static const int sign[8][8] = {{1, 1, 1, 1, 1, 1, 1, 1},     {1, 1, 1, 1, -1, -1, -1, -1},
                                   {1, 1, -1, -1, -1, -1, 1, 1}, {1, -1, -1, -1, 1, 1, 1, -1},
                                   {1, -1, -1, 1, 1, -1, -1, 1}, {1, -1, 1, 1, -1, -1, 1, -1},
                                   {1, -1, 1, -1, -1, 1, -1, 1}, {1, -1, 1, -1, 1, -1, 1, -1}};
    std::vector<std::array<uint8_t, 64>> blocks;
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u)
            for (int flip = 0; flip < 2; ++flip) {
                std::array<uint8_t, 64> b;
                for (int r = 0; r < 8; ++r)
                    for (int c = 0; c < 8; ++c)
                        b[8 * r + c] = ((sign[v][r] * sign[u][c] > 0) != (flip != 0)) ? 255 : 0;
                blocks.push_back(b);
            }
    return blocks;
}

// The largest DCT output size that the fast quantiser must take: its
// dividend |c| + d / 2 must stay below 2^14 for every divisor.
const int32_t kCoefLimit = (1 << 14) - 1 - 8 * 255 / 2;

TEST(QuantiseFast, EqualsDivisionForEveryDivisorAndCoefficient)
{
    // Every coefficient up to kCoefLimit in size, which covers every DCT
    // output of 8-bit samples (DctOutputsOfExtremeBlocksStayInRange), for
    // every divisor 8 x Q: the scalar form and the vector quantiser.
    for (int q = 1; q <= 255; ++q) {
        uint16_t divisors[64];
        std::fill(divisors, divisors + 64, (uint16_t)(8 * q));
        FastQuantiser fq;
        PrepareFastQuantiser(divisors, &fq);
        for (int32_t base = -kCoefLimit; base <= kCoefLimit; base += 64) {
            int32_t coef[64];
            int16_t want[64], got[64];
            for (int k = 0; k < 64; ++k)
                coef[k] = std::min(base + k, kCoefLimit);
            QuantiseBlock(coef, divisors, want);
            for (int k = 0; k < 64; ++k)
                ASSERT_EQ(QuantiseFast(coef[k], fq.half[0], fq.multiplier[0], fq.scale[0]), want[k])
                    << "c=" << coef[k] << " Q=" << q;
            for (const auto &v : Variants()) {
                v.quantise(coef, &fq, got);
                for (int k = 0; k < 64; ++k)
                    ASSERT_EQ(got[k], want[k]) << v.name << " c=" << coef[k] << " Q=" << q;
            }
        }
    }
}

TEST(QuantiseFast, MixedDivisorsKeepTheirPositions)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        uint16_t divisors[64];
        int32_t coef[64];
        for (int k = 0; k < 64; ++k) {
            divisors[k] = (uint16_t)(8 * (1 + rng() % 255));
            coef[k] = (int32_t)(rng() % 16385) - 8192;
        }
        FastQuantiser fq;
        PrepareFastQuantiser(divisors, &fq);
        int16_t want[64], got[64];
        QuantiseBlock(coef, divisors, want);
        for (const auto &v : Variants()) {
            v.quantise(coef, &fq, got);
            for (int k = 0; k < 64; ++k)
                ASSERT_EQ(got[k], want[k]) << v.name << " k=" << k;
        }
    }
}

TEST(ForwardDctFast, DctOutputsOfExtremeBlocksStayInRange)
{
    // These blocks give each coefficient its largest size (up to the
    // rounding of the row pass, far inside the margin).
    int32_t largest = 0;
    for (const auto &b : ExtremeBlocks()) {
        int32_t out[64];
        ForwardDct(b.data(), out);
        for (int k = 0; k < 64; ++k)
            largest = std::max(largest, std::abs(out[k]));
    }
    EXPECT_EQ(largest, 8192);
    EXPECT_LT(largest + 16, kCoefLimit);
}

void ExpectSameDct(const uint8_t *block)
{
    int32_t want[64], got[64];
    ForwardDct(block, want);
    for (const auto &v : Variants()) {
        v.dct(block, got);
        for (int k = 0; k < 64; ++k)
            ASSERT_EQ(got[k], want[k]) << v.name << " k=" << k;
    }
}

TEST(ForwardDctFast, MatchesPlainOnFlatExtremeAndRandomBlocks)
{
    for (int v : {0, 1, 127, 128, 129, 254, 255}) {
        uint8_t flat[64];
        std::fill(flat, flat + 64, (uint8_t)v);
        ExpectSameDct(flat);
    }
    for (const auto &b : ExtremeBlocks())
        ExpectSameDct(b.data());
    std::mt19937 rng(11);
    for (int round = 0; round < 100000; ++round) {
        uint8_t block[64];
        // Alternate full-range noise with narrow noise around a random level,
        // which is what photographs give.
        int level = rng() % 256, spread = (round & 1) ? 256 : 1 + rng() % 16;
        for (auto &s : block)
            s = (uint8_t)std::clamp(level + (int)(rng() % spread) - spread / 2, 0, 255);
        if (round & 1)
            for (auto &s : block)
                s = (uint8_t)rng();
        ExpectSameDct(block);
    }
}

TEST(TransformBlockFast, EqualsDctThenQuantiseForRandomTables)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 20000; ++round) {
        uint8_t block[64];
        QuantTable table;
        for (auto &s : block)
            s = (uint8_t)rng();
        for (auto &d : table.divisors)
            d = (uint16_t)(8 * (1 + rng() % (round % 2 ? 255 : 8)));
        PrepareFastQuantiser(table.divisors, &table.fast);
        int32_t coef[64];
        int16_t want[64], got[64];
        ForwardDct(block, coef);
        QuantiseBlock(coef, table.divisors, want);
        for (const auto &v : Variants()) {
            v.transform(block, &table, got);
            for (int k = 0; k < 64; ++k)
                ASSERT_EQ(got[k], want[k]) << v.name << " k=" << k;
        }
    }
}

}  // namespace
