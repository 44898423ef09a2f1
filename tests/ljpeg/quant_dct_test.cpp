// Quality scaling, quantisation tables in the stream, the forward DCT
// against a floating-point reference, and the rounding quantiser.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include "jpegtestutil.h"

namespace {

struct Scaled {
    QuantTable table;
    uint8_t values[64];
};

Scaled Scale(int entry, uint8_t quality) {
    Scaled s;
    ScaleQuantTable(kBaseQuantTables + 65 * entry, QualityScale(quality), &s.table, s.values);
    return s;
}

std::vector<int> FirstRow(const Scaled &s) { return std::vector<int>(s.values, s.values + 8); }

TEST(Quantisation, QualityScale) {
    EXPECT_EQ(QualityScale(50), 100u);
    EXPECT_EQ(QualityScale(75), 50u);
    EXPECT_EQ(QualityScale(100), 0u);
    EXPECT_EQ(QualityScale(1), 5000u);
    EXPECT_EQ(QualityScale(49), 102u);
    EXPECT_EQ(QualityScale(51), 98u);
}

TEST(Quantisation, ScaledTables) {
    Scaled q50 = Scale(0, 50);
    EXPECT_EQ(0, memcmp(q50.values, kBaseQuantTables + 1, 64));
    EXPECT_EQ(q50.table.divisors[63], 8 * 99);
    EXPECT_EQ(q50.table.tq, 0);
    EXPECT_EQ(Scale(1, 50).table.tq, 1);
    for (int e = 0; e < 2; e++) {
        Scaled q100 = Scale(e, 100), q1 = Scale(e, 1);
        for (int i = 0; i < 64; i++) {
            ASSERT_EQ(q100.values[i], 1);
            ASSERT_EQ(q100.table.divisors[i], 8);
            ASSERT_EQ(q1.values[i], 255);
        }
    }
    EXPECT_EQ(FirstRow(Scale(0, 75)), std::vector<int>({8, 6, 5, 8, 12, 20, 26, 31}));
    EXPECT_EQ(FirstRow(Scale(1, 75)), std::vector<int>({9, 9, 12, 24, 50, 50, 50, 50}));
    EXPECT_EQ(FirstRow(Scale(0, 90)), std::vector<int>({3, 2, 2, 3, 5, 8, 10, 12}));
    EXPECT_EQ(Scale(0, 49).values[5], 41);
    EXPECT_EQ(Scale(0, 51).values[5], 39);
}

TEST(Quantisation, DqtValuesInZigzagOrder) {
    Bitmap bmp(8, 8, 24);
    EncodeResult r = EncodeJob(MakeJob(bmp, 75));
    ASSERT_EQ(r.status, 0);
    long dqt = FindMarker(r.bytes, 0xDB);
    ASSERT_GT(dqt, 0);
    for (int t = 0; t < 2; t++) {
        Scaled s = Scale(t, 75);
        const uint8_t *values = r.bytes.data() + dqt + 5 + 65 * t;
        for (int k = 0; k < 64; k++) ASSERT_EQ(values[k], s.values[kZigzag[k]]) << t << ":" << k;
    }
    // Natural positions 0, 1, then 8 (row 1, column 0).
    EXPECT_EQ(r.bytes[dqt + 5], 8);
    EXPECT_EQ(r.bytes[dqt + 6], 6);
    EXPECT_EQ(r.bytes[dqt + 7], 6);
}

TEST(ForwardDct, FlatBlocks) {
    uint8_t block[64];
    int32_t out[64];
    const struct {
        uint8_t value;
        int32_t dc;
    } cases[] = {{128, 0}, {255, 8128}, {0, -8192}};
    for (const auto &c : cases) {
        memset(block, c.value, sizeof block);
        ForwardDct(block, out);
        EXPECT_EQ(out[0], c.dc);
        for (int k = 1; k < 64; k++) ASSERT_EQ(out[k], 0);
    }
}

TEST(ForwardDct, MatchesOrthonormalDctTimesEight) {
    uint32_t seed = 7;
    for (int trial = 0; trial < 200; trial++) {
        uint8_t block[64];
        for (auto &b : block) {
            seed = seed * 1664525u + 1013904223u;
            b = trial < 100 ? (uint8_t)(seed >> 24) : (uint8_t)((seed >> 31) * 255); // noise, then extremes
        }
        int32_t out[64];
        ForwardDct(block, out);
        for (int v = 0; v < 8; v++) {
            for (int u = 0; u < 8; u++) {
                double sum = 0;
                for (int y = 0; y < 8; y++) {
                    for (int x = 0; x < 8; x++) {
                        sum += (block[y * 8 + x] - 128) * cos((2 * x + 1) * u * M_PI / 16) *
                               cos((2 * y + 1) * v * M_PI / 16);
                    }
                }
                double cu = u ? 1 : M_SQRT1_2, cv = v ? 1 : M_SQRT1_2;
                double expected = 8 * 0.25 * cu * cv * sum;
                ASSERT_NEAR(out[v * 8 + u], expected, 3.0) << "trial " << trial << " at " << v << "," << u;
            }
        }
    }
}

TEST(QuantiseBlock, RoundsHalfAwayFromZero) {
    int32_t coef[64] = {8128, 4, -4, 3, -3, 12, -12, 11, -11, -8192};
    uint16_t divisors[64];
    for (auto &d : divisors) d = 8;
    divisors[7] = divisors[8] = 16;
    int16_t out[64];
    QuantiseBlock(coef, divisors, out);
    EXPECT_EQ(out[0], 1016);
    EXPECT_EQ(out[1], 1);
    EXPECT_EQ(out[2], -1);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[4], 0);
    EXPECT_EQ(out[5], 2); // 12 / 8 = 1.5 -> 2
    EXPECT_EQ(out[6], -2);
    EXPECT_EQ(out[7], 1); // 11 / 16 -> 1
    EXPECT_EQ(out[8], -1);
    EXPECT_EQ(out[9], -1024);
    for (int k = 10; k < 64; k++) EXPECT_EQ(out[k], 0);

    uint8_t flat[64];
    memset(flat, 0, sizeof flat);
    TransformBlock(flat, divisors, out);
    EXPECT_EQ(out[0], -1024);
}

} // namespace
