#include "reference_transform.h"

static void Butterfly(const int32_t x[8], int32_t y[8])
{
    int32_t tmp0 = x[0] + x[7], tmp7 = x[0] - x[7];
    int32_t tmp1 = x[1] + x[6], tmp6 = x[1] - x[6];
    int32_t tmp2 = x[2] + x[5], tmp5 = x[2] - x[5];
    int32_t tmp3 = x[3] + x[4], tmp4 = x[3] - x[4];
    int32_t tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    int32_t tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
    int32_t z1 = (tmp12 + tmp13) * 4433;
    y[0] = tmp10 + tmp11;
    y[4] = tmp10 - tmp11;
    y[2] = z1 + tmp13 * 6270;
    y[6] = z1 - tmp12 * 15137;
    int32_t a = tmp4 + tmp7, b = tmp5 + tmp6, c = tmp4 + tmp6, d = tmp5 + tmp7;
    int32_t z5 = (c + d) * 9633;
    a = -a * 7373;
    b = -b * 20995;
    c = z5 - c * 16069;
    d = z5 - d * 3196;
    y[7] = tmp4 * 2446 + a + c;
    y[5] = tmp5 * 16819 + b + d;
    y[3] = tmp6 * 25172 + b + c;
    y[1] = tmp7 * 12299 + a + d;
}

void ReferenceForwardDct(const uint8_t block[64], int32_t out[64])
{
    int32_t ws[64], x[8], y[8];
    for (int r = 0; r < 8; ++r) {
        for (int i = 0; i < 8; ++i)
            x[i] = block[8 * r + i] - 128;
        Butterfly(x, y);
        for (int i = 0; i < 8; ++i)
            ws[8 * r + i] = (i == 0 || i == 4) ? y[i] * 4 : (y[i] + 1024) >> 11;
    }
    for (int c = 0; c < 8; ++c) {
        for (int i = 0; i < 8; ++i)
            x[i] = ws[8 * i + c];
        Butterfly(x, y);
        for (int i = 0; i < 8; ++i)
            out[8 * i + c] = (i == 0 || i == 4) ? (y[i] + 2) >> 2 : (y[i] + 16384) >> 15;
    }
}

void ReferenceQuantiseBlock(const int32_t coef[64], const uint16_t divisors[64], int16_t out[64])
{
    for (int k = 0; k < 64; ++k) {
        int32_t c = coef[k], d = divisors[k], h = d >> 1;
        if (c >= 0)
            out[k] = (int16_t)(c + h < d ? 0 : (c + h) / d);
        else
            out[k] = (int16_t)(h - c < d ? 0 : -((h - c) / d));
    }
}
