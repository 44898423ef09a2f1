/*
 * ForwardDct and QuantiseBlock in SSE2 on 16-bit lanes, bit-exact with the
 * plain routines (dct_weights.h says why): eight vectors of eight lanes,
 * one lane per row in the row pass and one per column in the column pass,
 * with a transpose before each pass (dct_lanes.h). The file is built for
 * SSE2 throughout, which the width-generic transform needs.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include <emmintrin.h>

#include "dct_lanes.h"
#include "fastquantiser.h"
#include "jpeginternal.h"
#include "target_attrs.h"

/* The vector operations of dct_lanes.h on SSE2 registers. */
struct Sse2Lanes {
    typedef __m128i V;
    static SSE2_INLINE V Set16(int a) { return _mm_set1_epi16((short)a); }
    static SSE2_INLINE V Set32(int a) { return _mm_set1_epi32(a); }
    static SSE2_INLINE V Add16(V a, V b) { return _mm_add_epi16(a, b); }
    static SSE2_INLINE V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
    static SSE2_INLINE V Add32(V a, V b) { return _mm_add_epi32(a, b); }
    static SSE2_INLINE V Madd16(V a, V b) { return _mm_madd_epi16(a, b); }
    static SSE2_INLINE V Slli16(V a, int n) { return _mm_slli_epi16(a, n); }
    static SSE2_INLINE V Srai16(V a, int n) { return _mm_srai_epi16(a, n); }
    static SSE2_INLINE V Srai32(V a, int n) { return _mm_srai_epi32(a, n); }
    static SSE2_INLINE V Packs32(V a, V b) { return _mm_packs_epi32(a, b); }
    static SSE2_INLINE V UnpackLo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
    static SSE2_INLINE V UnpackHi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }
    static SSE2_INLINE V UnpackLo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    static SSE2_INLINE V UnpackHi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    static SSE2_INLINE V UnpackLo64(V a, V b) { return _mm_unpacklo_epi64(a, b); }
    static SSE2_INLINE V UnpackHi64(V a, V b) { return _mm_unpackhi_epi64(a, b); }
};

/* The block's DCT, v[k] = output row k. */
static SSE2_INLINE void ForwardDct8(const uint8_t block[64], __m128i v[8])
{
    const __m128i zero = _mm_setzero_si128(), bias = _mm_set1_epi16(128);
    for (int i = 0; i < 8; ++i) {
        __m128i row = _mm_loadl_epi64((const __m128i *)(block + 8 * i));
        v[i] = _mm_sub_epi16(_mm_unpacklo_epi8(row, zero), bias);
    }
    Dct8<Sse2Lanes>(v);
}

/* Row k of the output quantised as in fastquantiser.h. SSE2 has no
 * pabsw and psignw: |c| is max(c, -c) and the sign goes back as
 * (q ^ s) - s with s = c >> 15. */
static SSE2_INLINE __m128i QuantiseRow(__m128i c, const FastQuantiser *fq, int k)
{
    const int i = FastQuantiserIndex(8 * k);
    __m128i sign = _mm_srai_epi16(c, 15);
    __m128i size = _mm_max_epi16(c, _mm_sub_epi16(_mm_setzero_si128(), c));
    __m128i n = _mm_add_epi16(size, _mm_loadu_si128((const __m128i *)(fq->half + i)));
    __m128i x = _mm_and_si128(n, _mm_set1_epi16(~7));
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

SSE2 void TransformBlockSse2(const uint8_t block[64], const QuantTable *table, int16_t out[64])
{
    const FastQuantiser *fq = &table->fast;
    __m128i v[8];
    ForwardDct8(block, v);
    for (int k = 0; k < 8; ++k)
        _mm_storeu_si128((__m128i *)(out + 8 * k), QuantiseRow(v[k], fq, k));
}

#endif
