/*
 * The AVX2 forward DCT and quantiser on 16-bit lanes, bit-exact with the
 * plain routines (dct_weights.h says why); included by the transform and
 * by the MCU coder that feeds its results straight to the bit packer.
 *
 * Layout: a vector holds two 8-lane halves. A pass works on the pairs
 * [x0|x2], [x7|x5], [x1|x3], [x6|x4], where xi is input i of the eight
 * one-dimensional transforms done at once, and leaves the pairs [y0|y4],
 * [y1|y5], [y2|y6], [y3|y7]. The transposes between the passes are built
 * so that no other reordering is needed: samples are loaded with their
 * columns in the order 0 2 4 6 1 3 5 7, the row pass sees its rows in that
 * same order, and the column pass's output lanes are in natural order.
 * Including files are built for AVX2 throughout, which dct_lanes.h needs.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_DCT_AVX2_H
#define DRIVER_LJPEG_UM_SIMD_DCT_AVX2_H

#include <immintrin.h>

#include "dct_lanes.h"
#include "fastquantiser.h"
#include "target_attrs.h"

/* pmaddwd weights: the pair (a, b) four times in the low half, (c, d) four
 * times in the high half; tables built by the compiler and loaded whole
 * (assembling them in registers cost 40 shuffles and moves per block). */
struct Weights {
    alignas(32) int16_t w[16];
};

static constexpr Weights MakeWeights(int a, int b, int c, int d)
{
    Weights t{};
    for (int i = 0; i < 4; ++i) {
        t.w[2 * i] = (int16_t)a;
        t.w[2 * i + 1] = (int16_t)b;
        t.w[8 + 2 * i] = (int16_t)c;
        t.w[8 + 2 * i + 1] = (int16_t)d;
    }
    return t;
}

/* Low half (tmp13, -tmp12) pairs give y2, high half (-tmp12, tmp13) y6. */
static constexpr Weights kEven26 =
    MakeWeights(C_0_541 + C_0_765, -C_0_541, C_1_847 - C_0_541, C_0_541);
static constexpr Weights kOdd15A = MakeWeights(Y1_7, Y1_5, Y5_5, Y5_7);
static constexpr Weights kOdd15B = MakeWeights(Y1_6, Y1_4, Y5_4, Y5_6);
static constexpr Weights kOdd37A = MakeWeights(Y3_7, Y3_5, Y7_5, Y7_7);
static constexpr Weights kOdd37B = MakeWeights(Y3_6, Y3_4, Y7_4, Y7_6);

static AVX2_INLINE __m256i Load(const Weights &w)
{
    return _mm256_load_si256((const __m256i *)w.w);
}

static AVX2_INLINE __m256i SwapHalves(__m256i v)
{
    return _mm256_permute2x128_si256(v, v, 0x01);
}

/* The vector operations of dct_lanes.h on AVX2 registers. */
struct Avx2Lanes {
    typedef __m256i V;
    static AVX2_INLINE V Set16(int a) { return _mm256_set1_epi16((short)a); }
    static AVX2_INLINE V Set32(int a) { return _mm256_set1_epi32(a); }
    static AVX2_INLINE V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
    static AVX2_INLINE V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
    static AVX2_INLINE V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
    static AVX2_INLINE V Madd16(V a, V b) { return _mm256_madd_epi16(a, b); }
    static AVX2_INLINE V Slli16(V a, int n) { return _mm256_slli_epi16(a, n); }
    static AVX2_INLINE V Srai16(V a, int n) { return _mm256_srai_epi16(a, n); }
    static AVX2_INLINE V Srai32(V a, int n) { return _mm256_srai_epi32(a, n); }
    static AVX2_INLINE V Packs32(V a, V b) { return _mm256_packs_epi32(a, b); }
    static AVX2_INLINE V UnpackLo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
    static AVX2_INLINE V UnpackHi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
    static AVX2_INLINE V UnpackLo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
    static AVX2_INLINE V UnpackHi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
    static AVX2_INLINE V UnpackLo64(V a, V b) { return _mm256_unpacklo_epi64(a, b); }
    static AVX2_INLINE V UnpackHi64(V a, V b) { return _mm256_unpackhi_epi64(a, b); }
};

/* One pass: in = [x0|x2], [x7|x5], [x1|x3], [x6|x4]; out = [y0|y4],
 * [y1|y5], [y2|y6], [y3|y7], with y0 and y4 unscaled and the others
 * descaled by N bits. */
template <int N>
static AVX2_INLINE void Pass(const __m256i in[4], __m256i out[4])
{
    __m256i e1 = _mm256_add_epi16(in[0], in[1]); /* [tmp0|tmp2] */
    __m256i m1 = _mm256_sub_epi16(in[0], in[1]); /* [tmp7|tmp5] */
    __m256i e2 = _mm256_add_epi16(in[2], in[3]); /* [tmp1|tmp3] */
    __m256i m2 = _mm256_sub_epi16(in[2], in[3]); /* [tmp6|tmp4] */

    /* Even part. */
    __m256i k = _mm256_add_epi16(e1, SwapHalves(e2)); /* [tmp10|tmp11] */
    __m256i l = _mm256_sub_epi16(e1, SwapHalves(e2)); /* [tmp13|-tmp12] */
    __m256i ks = SwapHalves(k);                       /* [tmp11|tmp10] */
    out[0] = _mm256_blend_epi32(_mm256_add_epi16(k, ks), _mm256_sub_epi16(ks, k), 0xF0);
    __m256i ls = SwapHalves(l);
    const __m256i w26 = Load(kEven26);
    __m256i r_lo = _mm256_madd_epi16(_mm256_unpacklo_epi16(l, ls), w26);
    __m256i r_hi = _mm256_madd_epi16(_mm256_unpackhi_epi16(l, ls), w26);
    out[2] = Descale<Avx2Lanes, N>(r_lo, r_hi);

    /* Odd part. */
    __m256i m1s = SwapHalves(m1), m2s = SwapHalves(m2);
    __m256i a_lo = _mm256_unpacklo_epi16(m1, m1s), a_hi = _mm256_unpackhi_epi16(m1, m1s);
    __m256i b_lo = _mm256_unpacklo_epi16(m2, m2s), b_hi = _mm256_unpackhi_epi16(m2, m2s);
    /* [yA|yB] from the interleaved pairs a = (tmp7, tmp5 | tmp5, tmp7) and
     * b = (tmp6, tmp4 | tmp4, tmp6). */
    out[1] = Combine<Avx2Lanes, N>(a_lo, a_hi, b_lo, b_hi, Load(kOdd15A), Load(kOdd15B));
    out[3] = Combine<Avx2Lanes, N>(a_lo, a_hi, b_lo, b_hi, Load(kOdd37A), Load(kOdd37B));
}

/* Transposes eight 8-lane vectors R0..R7, given as [R0|R1], [R2|R3],
 * [R4|R5], [R6|R7], into [E0|E1], [E7|E6], [E4|E5], [E3|E2], where Ee
 * holds lane e of R0, R2, R4, R6, R1, R3, R5, R7 in that order. With
 * columns loaded in the order 0 2 4 6 1 3 5 7, Ee is column 0 2 4 6 1 3 5 7
 * for e = 0..7, which is the pass input [x0|x2], [x7|x5], [x1|x3], [x6|x4]. */
static AVX2_INLINE void Transpose(const __m256i t[4], __m256i x[4])
{
    __m256i u0 = _mm256_unpacklo_epi16(t[0], t[1]);
    __m256i u1 = _mm256_unpackhi_epi16(t[0], t[1]);
    __m256i u2 = _mm256_unpacklo_epi16(t[2], t[3]);
    __m256i u3 = _mm256_unpackhi_epi16(t[2], t[3]);
    __m256i v0 = _mm256_unpacklo_epi32(u0, u2);
    __m256i v1 = _mm256_unpackhi_epi32(u0, u2);
    __m256i v2 = _mm256_unpacklo_epi32(u1, u3);
    __m256i v3 = _mm256_unpackhi_epi32(u1, u3);
    x[0] = _mm256_permute4x64_epi64(v0, 0xD8); /* quadwords 0 2 1 3 */
    x[1] = _mm256_permute4x64_epi64(v3, 0x8D); /* quadwords 1 3 0 2 */
    x[2] = _mm256_permute4x64_epi64(v2, 0xD8);
    x[3] = _mm256_permute4x64_epi64(v1, 0x8D);
}

/* The block's DCT as [row0|row4], [row1|row5], [row2|row6], [row3|row7]. */
static AVX2_INLINE void ForwardDct16(const uint8_t block[64], __m256i f[4])
{
    /* Two rows a vector, one a half, widened to 16 bits with their columns
     * in the order 0 2 4 6 1 3 5 7 (Z: a zero byte). */
    enum { Z = -128 };
    const __m256i order = _mm256_setr_epi8(0, Z, 2, Z, 4, Z, 6, Z, 1, Z, 3, Z, 5, Z, 7, Z, 8, Z, 10,
                                           Z, 12, Z, 14, Z, 9, Z, 11, Z, 13, Z, 15, Z);
    const __m256i bias = _mm256_set1_epi16(128);
    __m256i t[4], x[4];
    for (int i = 0; i < 4; ++i) {
        __m256i rows =
            _mm256_broadcastsi128_si256(_mm_loadu_si128((const __m128i *)(block + 16 * i)));
        t[i] = _mm256_sub_epi16(_mm256_shuffle_epi8(rows, order), bias);
    }

    /* Rows (lanes are rows 0 2 4 6 1 3 5 7); y0 and y4 keep two extra bits. */
    Transpose(t, x);
    Pass<11>(x, t);
    t[0] = _mm256_slli_epi16(t[0], 2);

    /* Columns: [y0|y4], [y1|y5], [y2|y6], [y3|y7] are the rows R0..R7 of
     * the transpose in the order 0 4 1 5 2 6 3 7, so the output lanes come
     * out in natural column order. */
    Transpose(t, x);
    Pass<15>(x, f);
    f[0] = _mm256_srai_epi16(_mm256_add_epi16(f[0], _mm256_set1_epi16(2)), 2);
}

/* floor(n' / Q) as in fastquantiser.h, the quantised magnitude, sixteen
 * lanes at once; k is the vector's index in the transform's row order. */
static AVX2_INLINE __m256i QuantisedSize16(__m256i c, const FastQuantiser *fq, int k)
{
    const __m256i *half = (const __m256i *)fq->half, *mul = (const __m256i *)fq->multiplier;
    const __m256i *scale = (const __m256i *)fq->scale;
    __m256i n = _mm256_add_epi16(_mm256_abs_epi16(c), _mm256_loadu_si256(half + k));
    __m256i x = _mm256_and_si256(n, _mm256_set1_epi16(~7));
    __m256i y = _mm256_mulhi_epu16(x, _mm256_loadu_si256(mul + k));
    return _mm256_mulhi_epu16(y, _mm256_loadu_si256(scale + k));
}

/* sign(c) * floor(n' / Q). */
static AVX2_INLINE __m256i Quantise16(__m256i c, const FastQuantiser *fq, int k)
{
    return _mm256_sign_epi16(QuantisedSize16(c, fq, k), c);
}

#endif
