// Integer forward DCT (Loeffler, Ligtenberg and Moschytz) and the rounding
// quantiser.
#include "dctconstants.h"
#include "jpeginternal.h"

// One-dimensional transform of x[0..7] (stride apart) into y[0..7]; y0 and
// y4 are unscaled sums, the others carry the 2^13 constant scale.
static void Butterfly(const int32_t x[8], int32_t y[8])
{
    int32_t tmp0 = x[0] + x[7], tmp7 = x[0] - x[7];
    int32_t tmp1 = x[1] + x[6], tmp6 = x[1] - x[6];
    int32_t tmp2 = x[2] + x[5], tmp5 = x[2] - x[5];
    int32_t tmp3 = x[3] + x[4], tmp4 = x[3] - x[4];

    int32_t tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    int32_t tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
    int32_t z1 = (tmp12 + tmp13) * C_0_541;
    y[0] = tmp10 + tmp11;
    y[4] = tmp10 - tmp11;
    y[2] = z1 + tmp13 * C_0_765;
    y[6] = z1 - tmp12 * C_1_847;

    z1 = tmp4 + tmp7;
    int32_t z2 = tmp5 + tmp6;
    int32_t z3 = tmp4 + tmp6;
    int32_t z4 = tmp5 + tmp7;
    int32_t z5 = (z3 + z4) * C_1_175;
    z1 = -z1 * C_0_899;
    z2 = -z2 * C_2_562;
    z3 = z5 - z3 * C_1_961;
    z4 = z5 - z4 * C_0_390;
    y[7] = tmp4 * C_0_298 + z1 + z3;
    y[5] = tmp5 * C_2_053 + z2 + z4;
    y[3] = tmp6 * C_3_072 + z2 + z3;
    y[1] = tmp7 * C_1_501 + z1 + z4;
}

// Outputs that carry the constants' scale and need the long descale.
static const int kScaledOutputs[6] = {1, 2, 3, 5, 6, 7};

void ForwardDct(const uint8_t block[64], int32_t out[64])
{
    int32_t work[64];
    int32_t x[8], y[8];
    for (int row = 0; row < 8; row++) {
        for (int i = 0; i < 8; i++)
            x[i] = block[row * 8 + i] - 128;
        Butterfly(x, y);
        int32_t *w = work + row * 8;
        w[0] = y[0] * 4;
        w[4] = y[4] * 4;
        for (int i : kScaledOutputs)
            w[i] = (y[i] + 1024) >> 11;
    }
    for (int col = 0; col < 8; col++) {
        for (int i = 0; i < 8; i++)
            x[i] = work[i * 8 + col];
        Butterfly(x, y);
        out[0 * 8 + col] = (y[0] + 2) >> 2;
        out[4 * 8 + col] = (y[4] + 2) >> 2;
        for (int i : kScaledOutputs)
            out[i * 8 + col] = (y[i] + 16384) >> 15;
    }
}

// sign(c) * floor((|c| + d/2) / d): rounding half away from zero, where
// d is 8 x the quantisation value.
void QuantiseBlock(const int32_t coef[64], const uint16_t divisors[64], int16_t out[64])
{
    for (int k = 0; k < 64; k++) {
        int32_t c = coef[k];
        int32_t d = divisors[k];
        int32_t h = d >> 1;
        if (c >= 0) {
            out[k] = (int16_t)(c + h < d ? 0 : (c + h) / d);
        } else {
            out[k] = (int16_t)(h - c < d ? 0 : -((h - c) / d));
        }
    }
}

void TransformBlock(const uint8_t block[64], const QuantTable *table, int16_t out[64])
{
    int32_t coef[64];
    ForwardDct(block, coef);
    QuantiseBlock(coef, table->divisors, out);
}
