/*
 * ForwardDct and QuantiseBlock in SSE2 on 16-bit lanes, bit-exact with the
 * plain routines (dct_weights.h says why): eight vectors of eight lanes,
 * one lane per row in the row pass and one per column in the column pass,
 * with a transpose before each pass.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include <emmintrin.h>

#include "dct_weights.h"
#include "fast_quantiser.h"
#include "jpeginternal.h"
#include "quant_table_of.h"
#include "target_attrs.h"

/* pmaddwd weights: the pair (a, b) in every 32-bit lane. */
static SSE2_INLINE __m128i Pair(int a, int b)
{
    return _mm_set1_epi32((int)((uint32_t)(uint16_t)a | (uint32_t)(uint16_t)b << 16));
}

/* (v + 2^(N-1)) >> N on 32-bit lanes, both halves packed to 16 bits. */
template <int N>
static SSE2_INLINE __m128i Descale(__m128i lo, __m128i hi)
{
    const __m128i half = _mm_set1_epi32(1 << (N - 1));
    lo = _mm_srai_epi32(_mm_add_epi32(lo, half), N);
    hi = _mm_srai_epi32(_mm_add_epi32(hi, half), N);
    return _mm_packs_epi32(lo, hi);
}

/* a * (wa, wb) + b * (wc, wd) for the interleaved pairs of a and of b. */
template <int N>
static SSE2_INLINE __m128i Combine(__m128i a_lo, __m128i a_hi, __m128i b_lo, __m128i b_hi, __m128i wa,
                                   __m128i wb)
{
    __m128i lo = _mm_add_epi32(_mm_madd_epi16(a_lo, wa), _mm_madd_epi16(b_lo, wb));
    __m128i hi = _mm_add_epi32(_mm_madd_epi16(a_hi, wa), _mm_madd_epi16(b_hi, wb));
    return Descale<N>(lo, hi);
}

/* One pass on x[0..7], in place: y0 and y4 unscaled, the others descaled
 * by N bits. */
template <int N>
static SSE2_INLINE void Pass(__m128i x[8])
{
    __m128i tmp0 = _mm_add_epi16(x[0], x[7]), tmp7 = _mm_sub_epi16(x[0], x[7]);
    __m128i tmp1 = _mm_add_epi16(x[1], x[6]), tmp6 = _mm_sub_epi16(x[1], x[6]);
    __m128i tmp2 = _mm_add_epi16(x[2], x[5]), tmp5 = _mm_sub_epi16(x[2], x[5]);
    __m128i tmp3 = _mm_add_epi16(x[3], x[4]), tmp4 = _mm_sub_epi16(x[3], x[4]);

    __m128i tmp10 = _mm_add_epi16(tmp0, tmp3), tmp13 = _mm_sub_epi16(tmp0, tmp3);
    __m128i tmp11 = _mm_add_epi16(tmp1, tmp2), tmp12 = _mm_sub_epi16(tmp1, tmp2);
    x[0] = _mm_add_epi16(tmp10, tmp11);
    x[4] = _mm_sub_epi16(tmp10, tmp11);

    /* y2 = tmp13 (C_0_541 + C_0_765) + tmp12 C_0_541,
     * y6 = tmp13 C_0_541 + tmp12 (C_0_541 - C_1_847). */
    __m128i e_lo = _mm_unpacklo_epi16(tmp13, tmp12), e_hi = _mm_unpackhi_epi16(tmp13, tmp12);
    const __m128i w2 = Pair(C_0_541 + C_0_765, C_0_541), w6 = Pair(C_0_541, C_0_541 - C_1_847);
    x[2] = Descale<N>(_mm_madd_epi16(e_lo, w2), _mm_madd_epi16(e_hi, w2));
    x[6] = Descale<N>(_mm_madd_epi16(e_lo, w6), _mm_madd_epi16(e_hi, w6));

    __m128i a_lo = _mm_unpacklo_epi16(tmp4, tmp5), a_hi = _mm_unpackhi_epi16(tmp4, tmp5);
    __m128i b_lo = _mm_unpacklo_epi16(tmp6, tmp7), b_hi = _mm_unpackhi_epi16(tmp6, tmp7);
    x[1] = Combine<N>(a_lo, a_hi, b_lo, b_hi, Pair(Y1_4, Y1_5), Pair(Y1_6, Y1_7));
    x[3] = Combine<N>(a_lo, a_hi, b_lo, b_hi, Pair(Y3_4, Y3_5), Pair(Y3_6, Y3_7));
    x[5] = Combine<N>(a_lo, a_hi, b_lo, b_hi, Pair(Y5_4, Y5_5), Pair(Y5_6, Y5_7));
    x[7] = Combine<N>(a_lo, a_hi, b_lo, b_hi, Pair(Y7_4, Y7_5), Pair(Y7_6, Y7_7));
}

static SSE2_INLINE void Transpose(__m128i v[8])
{
    __m128i a0 = _mm_unpacklo_epi16(v[0], v[1]), a1 = _mm_unpackhi_epi16(v[0], v[1]);
    __m128i a2 = _mm_unpacklo_epi16(v[2], v[3]), a3 = _mm_unpackhi_epi16(v[2], v[3]);
    __m128i a4 = _mm_unpacklo_epi16(v[4], v[5]), a5 = _mm_unpackhi_epi16(v[4], v[5]);
    __m128i a6 = _mm_unpacklo_epi16(v[6], v[7]), a7 = _mm_unpackhi_epi16(v[6], v[7]);
    __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
    __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
    v[0] = _mm_unpacklo_epi64(b0, b4);
    v[1] = _mm_unpackhi_epi64(b0, b4);
    v[2] = _mm_unpacklo_epi64(b1, b5);
    v[3] = _mm_unpackhi_epi64(b1, b5);
    v[4] = _mm_unpacklo_epi64(b2, b6);
    v[5] = _mm_unpackhi_epi64(b2, b6);
    v[6] = _mm_unpacklo_epi64(b3, b7);
    v[7] = _mm_unpackhi_epi64(b3, b7);
}

/* The block's DCT, v[k] = output row k. */
static SSE2_INLINE void ForwardDct8(const uint8_t block[64], __m128i v[8])
{
    const __m128i zero = _mm_setzero_si128(), bias = _mm_set1_epi16(128);
    for (int i = 0; i < 8; ++i) {
        __m128i row = _mm_loadl_epi64((const __m128i *)(block + 8 * i));
        v[i] = _mm_sub_epi16(_mm_unpacklo_epi8(row, zero), bias);
    }
    Transpose(v);
    Pass<11>(v);
    v[0] = _mm_slli_epi16(v[0], 2);
    v[4] = _mm_slli_epi16(v[4], 2);
    Transpose(v);
    Pass<15>(v);
    const __m128i two = _mm_set1_epi16(2);
    v[0] = _mm_srai_epi16(_mm_add_epi16(v[0], two), 2);
    v[4] = _mm_srai_epi16(_mm_add_epi16(v[4], two), 2);
}

/* Row k of the output quantised as in fast_quantiser.h. SSE2 has no
 * pabsw and psignw: |c| is max(c, -c) and the sign goes back as
 * (q ^ s) - s with s = c >> 15. */
static SSE2_INLINE __m128i QuantiseRow(__m128i c, const FastQuantiser *fq, int k)
{
    const int i = FastQuantiserIndex(8 * k);
    __m128i sign = _mm_srai_epi16(c, 15);
    __m128i size = _mm_max_epi16(c, _mm_sub_epi16(_mm_setzero_si128(), c));
    __m128i n = _mm_add_epi16(size, _mm_loadu_si128((const __m128i *)(fq->half + i)));
    __m128i x = _mm_slli_epi16(_mm_and_si128(n, _mm_set1_epi16(~7)), 2);
    __m128i y = _mm_mulhi_epu16(x, _mm_loadu_si128((const __m128i *)(fq->multiplier + i)));
    __m128i q = _mm_mulhi_epu16(y, _mm_loadu_si128((const __m128i *)(fq->scale + i)));
    return _mm_sub_epi16(_mm_xor_si128(q, sign), sign);
}

SSE2 void ForwardDctSse2(const uint8_t block[64], int32_t out[64])
{
    __m128i v[8];
    ForwardDct8(block, v);
    for (int k = 0; k < 8; ++k) {
        __m128i sign = _mm_srai_epi16(v[k], 15);
        _mm_storeu_si128((__m128i *)(out + 8 * k), _mm_unpacklo_epi16(v[k], sign));
        _mm_storeu_si128((__m128i *)(out + 8 * k + 4), _mm_unpackhi_epi16(v[k], sign));
    }
}

SSE2 void QuantiseBlockSse2(const int32_t coef[64], const FastQuantiser *fq, int16_t out[64])
{
    for (int k = 0; k < 8; ++k) {
        __m128i lo = _mm_loadu_si128((const __m128i *)(coef + 8 * k));
        __m128i hi = _mm_loadu_si128((const __m128i *)(coef + 8 * k + 4));
        _mm_storeu_si128((__m128i *)(out + 8 * k), QuantiseRow(_mm_packs_epi32(lo, hi), fq, k));
    }
}

SSE2 void TransformBlockSse2(const uint8_t block[64], const uint16_t divisors[64], int16_t out[64])
{
    const FastQuantiser *fq = FastQuantiserOf(divisors);
    __m128i v[8];
    ForwardDct8(block, v);
    for (int k = 0; k < 8; ++k)
        _mm_storeu_si128((__m128i *)(out + 8 * k), QuantiseRow(v[k], fq, k));
}

#endif
