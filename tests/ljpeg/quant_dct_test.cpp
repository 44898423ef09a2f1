// Quality scaling, quantisation tables in the stream, the forward DCT
// against a floating-point reference, and the rounding quantiser.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include "jpegtestutil.h"

namespace {

std::vector<int> Scaled(int entry, uint8_t quality, QuantTable *table = nullptr)
{
    QuantTable t;
    uint8_t values[64];
    ScaleQuantTable(kBaseQuantTables + 65 * entry, QualityScale(quality), table ? table : &t,
                    values);
    return std::vector<int>(values, values + 64);
}

std::vector<int> FirstRow(int entry, uint8_t quality)
{
    std::vector<int> v = Scaled(entry, quality);
    return std::vector<int>(v.begin(), v.begin() + 8);
}

TEST(Quantisation, ScaledTables)
{
    QuantTable t;
    EXPECT_EQ(Scaled(0, 50, &t), std::vector<int>(kBaseQuantTables + 1, kBaseQuantTables + 65));
    EXPECT_EQ(t.divisors[63], 8 * 99);
    EXPECT_EQ(Scaled(1, 100, &t), std::vector<int>(64, 1));
    EXPECT_EQ(t.tq, 1);
    EXPECT_EQ(t.divisors[5], 8);
    EXPECT_EQ(Scaled(1, 1), std::vector<int>(64, 255));
    EXPECT_EQ(Scaled(0, 1), std::vector<int>(64, 255));
    EXPECT_EQ(FirstRow(0, 75), std::vector<int>({8, 6, 5, 8, 12, 20, 26, 31}));
    EXPECT_EQ(FirstRow(1, 75), std::vector<int>({9, 9, 12, 24, 50, 50, 50, 50}));
    EXPECT_EQ(FirstRow(0, 90), std::vector<int>({3, 2, 2, 3, 5, 8, 10, 12}));
    EXPECT_EQ(Scaled(0, 49)[5], 41);  // the two formulas meet between 49 and 51
    EXPECT_EQ(Scaled(0, 51)[5], 39);
}

TEST(Quantisation, DqtValuesInZigzagOrder)
{
    Bitmap bmp(8, 8, 24);
    EncodeResult r = EncodeJob(MakeJob(bmp, 75));
    ASSERT_EQ(r.status, 0);
    const uint8_t *dqt = r.bytes.data() + FindMarker(r.bytes, 0xDB);
    for (int t = 0; t < 2; t++) {
        std::vector<int> natural = Scaled(t, 75);
        for (int k = 0; k < 64; k++)
            ASSERT_EQ(dqt[5 + 65 * t + k], natural[kZigzag[k]]) << t << ":" << k;
    }
    EXPECT_EQ(std::vector<int>(dqt + 5, dqt + 8),
              std::vector<int>({8, 6, 6}));  // positions 0, 1, 8
}

TEST(ForwardDct, FlatBlocks)
{
    uint8_t block[64];
    int32_t out[64];
    const int32_t cases[][2] = {{128, 0}, {255, 8128}, {0, -8192}};
    for (const auto &c : cases) {
        memset(block, c[0], sizeof block);
        ForwardDct(block, out);
        EXPECT_EQ(out[0], c[1]);
        for (int k = 1; k < 64; k++)
            ASSERT_EQ(out[k], 0);
    }
}

// The outputs are 8 x the orthonormal DCT of the level-shifted block; the
// integer transform stays within a few units of it.
TEST(ForwardDct, MatchesFloatingPointReference)
{
    const double pi = 3.14159265358979323846, sqrt_half = 0.70710678118654752440;
    uint32_t seed = 7;
    for (int trial = 0; trial < 200; trial++) {
        uint8_t block[64];
        for (auto &b : block) {
            seed = seed * 1664525u + 1013904223u;
            b = trial < 100 ? (uint8_t)(seed >> 24)
                            : (uint8_t)((seed >> 31) * 255);  // noise, then extremes
        }
        int32_t out[64];
        ForwardDct(block, out);
        for (int v = 0; v < 8; v++) {
            for (int u = 0; u < 8; u++) {
                double sum = 0;
                for (int i = 0; i < 64; i++) {
                    sum += (block[i] - 128) * cos((2 * (i % 8) + 1) * u * pi / 16) *
                           cos((2 * (i / 8) + 1) * v * pi / 16);
                }
                double expected = 2 * (u ? 1 : sqrt_half) * (v ? 1 : sqrt_half) * sum;
                ASSERT_NEAR(out[v * 8 + u], expected, 3.0)
                    << "trial " << trial << " at " << v << "," << u;
            }
        }
    }
}

TEST(QuantiseBlock, RoundsHalfAwayFromZero)
{
    const int32_t coef[64] = {8128, 4, -4, 3, -3, 12, -12, 11, -11, -8192};
    const int16_t expected[10] = {1016, 1, -1, 0, 0, 2, -2, 1, -1, -1024};
    QuantTable table = {};
    for (auto &d : table.divisors)
        d = 8;
    table.divisors[7] = table.divisors[8] = 16;
    int16_t out[64];
    QuantiseBlock(coef, table.divisors, out);
    for (int k = 0; k < 64; k++)
        EXPECT_EQ(out[k], k < 10 ? expected[k] : 0) << k;

    uint8_t black[64] = {};
    TransformBlock(black, &table, out);
    EXPECT_EQ(out[0], -1024);
}

}  // namespace
