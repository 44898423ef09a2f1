// The vector transform and quantiser against the plain arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "jpeginternal.h"
#include "simd/fast_routines.h"
#include "simd/quant_reciprocal.h"

namespace {

bool HaveAvx2() { return (CpuFeatures() & CPU_AVX2) != 0; }

// Blocks that drive each coefficient to its extremes: 255 where the basis
// function of (v, u) is positive and 0 elsewhere, and the reverse.
std::vector<std::array<uint8_t, 64>> ExtremeBlocks()
{
    static const int sign[8][8] = {
        {1, 1, 1, 1, 1, 1, 1, 1},   {1, 1, 1, 1, -1, -1, -1, -1}, {1, 1, -1, -1, -1, -1, 1, 1},
        {1, -1, -1, -1, 1, 1, 1, -1}, {1, -1, -1, 1, 1, -1, -1, 1}, {1, -1, 1, 1, -1, -1, 1, -1},
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

TEST(QuantiseReciprocal, EqualsDivisionForEveryDivisorAndCoefficient)
{
    // Every 16-bit coefficient, which covers every DCT output of 8-bit samples
    // (DctOutputsOfExtremeBlocksFitSixteenBits), for every divisor 8 x Q.
    for (int q = 1; q <= 255; ++q) {
        uint16_t d = (uint16_t)(8 * q);
        uint16_t divisors[64];
        std::fill(divisors, divisors + 64, d);
        for (int32_t base = -32768; base < 32768; base += 64) {
            int32_t coef[64];
            int16_t want[64], got[64];
            for (int k = 0; k < 64; ++k)
                coef[k] = base + k;
            QuantiseBlock(coef, divisors, want);
            for (int k = 0; k < 64; ++k)
                ASSERT_EQ(QuantiseByReciprocal(coef[k], d), want[k]) << "c=" << coef[k] << " d=" << d;
            if (HaveAvx2()) {
                QuantiseBlockAvx2(coef, divisors, got);
                for (int k = 0; k < 64; ++k)
                    ASSERT_EQ(got[k], want[k]) << "c=" << coef[k] << " d=" << d;
            }
        }
    }
}

TEST(QuantiseReciprocal, MixedDivisorsKeepTheirPositions)
{
    if (!HaveAvx2())
        GTEST_SKIP() << "no AVX2";
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        uint16_t divisors[64];
        int32_t coef[64];
        for (int k = 0; k < 64; ++k) {
            divisors[k] = (uint16_t)(8 * (1 + rng() % 255));
            coef[k] = (int32_t)(rng() % 16385) - 8192;
        }
        int16_t want[64], got[64];
        QuantiseBlock(coef, divisors, want);
        QuantiseBlockAvx2(coef, divisors, got);
        for (int k = 0; k < 64; ++k)
            ASSERT_EQ(got[k], want[k]) << "k=" << k;
    }
}

TEST(ForwardDctFast, DctOutputsOfExtremeBlocksFitSixteenBits)
{
    for (const auto &b : ExtremeBlocks()) {
        int32_t out[64];
        ForwardDct(b.data(), out);
        for (int k = 0; k < 64; ++k) {
            EXPECT_LT(out[k], 32768);
            EXPECT_GE(out[k], -32768);
        }
    }
}

void ExpectSameDct(const uint8_t *block)
{
    int32_t want[64], got[64];
    ForwardDct(block, want);
    ForwardDctAvx2(block, got);
    for (int k = 0; k < 64; ++k)
        ASSERT_EQ(got[k], want[k]) << "k=" << k;
}

TEST(ForwardDctFast, MatchesPlainOnFlatExtremeAndRandomBlocks)
{
    if (!HaveAvx2())
        GTEST_SKIP() << "no AVX2";
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
    if (!HaveAvx2())
        GTEST_SKIP() << "no AVX2";
    std::mt19937 rng(5);
    for (int round = 0; round < 20000; ++round) {
        uint8_t block[64];
        uint16_t divisors[64];
        for (auto &s : block)
            s = (uint8_t)rng();
        for (auto &d : divisors)
            d = (uint16_t)(8 * (1 + rng() % (round % 2 ? 255 : 8)));
        int32_t coef[64];
        int16_t want[64], got[64];
        ForwardDct(block, coef);
        QuantiseBlock(coef, divisors, want);
        TransformBlockAvx2(block, divisors, got);
        for (int k = 0; k < 64; ++k)
            ASSERT_EQ(got[k], want[k]) << "k=" << k;
    }
}

}  // namespace
