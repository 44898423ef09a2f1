/*
 * The AVX2 forward DCT and quantiser on two blocks at once: vector r holds
 * row r of one block in its low half and row r of the other in its high
 * half, and every step works within the halves (the SSE2 algorithm, lane
 * by lane), so the transposes need no lane crossing and the passes no
 * reordering. Bit-exact with the plain routines (dct_weights.h says why).
 * The two blocks must share a quantisation table.
 */
#ifndef VELMORAJ_DCT_PAIR_AVX2_H
#define VELMORAJ_DCT_PAIR_AVX2_H

#include "dct_avx2.h"

/* pmaddwd weights: the pair (a, b) in every 32-bit lane. */
static AVX2_INLINE __m256i PairWeights(int a, int b)
{
    return _mm256_set1_epi32((int)((uint32_t)(uint16_t)a | (uint32_t)(uint16_t)b << 16));
}

/* One pass on x[0..7], in place: y0 and y4 unscaled, the others descaled
 * by N bits. */
template <int N>
static AVX2_INLINE void PairPass(__m256i x[8])
{
    __m256i tmp0 = _mm256_add_epi16(x[0], x[7]), tmp7 = _mm256_sub_epi16(x[0], x[7]);
    __m256i tmp1 = _mm256_add_epi16(x[1], x[6]), tmp6 = _mm256_sub_epi16(x[1], x[6]);
    __m256i tmp2 = _mm256_add_epi16(x[2], x[5]), tmp5 = _mm256_sub_epi16(x[2], x[5]);
    __m256i tmp3 = _mm256_add_epi16(x[3], x[4]), tmp4 = _mm256_sub_epi16(x[3], x[4]);

    __m256i tmp10 = _mm256_add_epi16(tmp0, tmp3), tmp13 = _mm256_sub_epi16(tmp0, tmp3);
    __m256i tmp11 = _mm256_add_epi16(tmp1, tmp2), tmp12 = _mm256_sub_epi16(tmp1, tmp2);
    x[0] = _mm256_add_epi16(tmp10, tmp11);
    x[4] = _mm256_sub_epi16(tmp10, tmp11);

    /* y2 = tmp13 (C_0_541 + C_0_765) + tmp12 C_0_541,
     * y6 = tmp13 C_0_541 + tmp12 (C_0_541 - C_1_847). */
    __m256i e_lo = _mm256_unpacklo_epi16(tmp13, tmp12), e_hi = _mm256_unpackhi_epi16(tmp13, tmp12);
    const __m256i w2 = PairWeights(C_0_541 + C_0_765, C_0_541);
    const __m256i w6 = PairWeights(C_0_541, C_0_541 - C_1_847);
    x[2] = Descale<N>(_mm256_madd_epi16(e_lo, w2), _mm256_madd_epi16(e_hi, w2));
    x[6] = Descale<N>(_mm256_madd_epi16(e_lo, w6), _mm256_madd_epi16(e_hi, w6));

    __m256i a_lo = _mm256_unpacklo_epi16(tmp4, tmp5), a_hi = _mm256_unpackhi_epi16(tmp4, tmp5);
    __m256i b_lo = _mm256_unpacklo_epi16(tmp6, tmp7), b_hi = _mm256_unpackhi_epi16(tmp6, tmp7);
    x[1] = OddPair<N>(a_lo, a_hi, b_lo, b_hi, PairWeights(Y1_4, Y1_5), PairWeights(Y1_6, Y1_7));
    x[3] = OddPair<N>(a_lo, a_hi, b_lo, b_hi, PairWeights(Y3_4, Y3_5), PairWeights(Y3_6, Y3_7));
    x[5] = OddPair<N>(a_lo, a_hi, b_lo, b_hi, PairWeights(Y5_4, Y5_5), PairWeights(Y5_6, Y5_7));
    x[7] = OddPair<N>(a_lo, a_hi, b_lo, b_hi, PairWeights(Y7_4, Y7_5), PairWeights(Y7_6, Y7_7));
}

/* Transposes the 8x8 matrix in each half. */
static AVX2_INLINE void PairTranspose(__m256i v[8])
{
    __m256i a0 = _mm256_unpacklo_epi16(v[0], v[1]), a1 = _mm256_unpackhi_epi16(v[0], v[1]);
    __m256i a2 = _mm256_unpacklo_epi16(v[2], v[3]), a3 = _mm256_unpackhi_epi16(v[2], v[3]);
    __m256i a4 = _mm256_unpacklo_epi16(v[4], v[5]), a5 = _mm256_unpackhi_epi16(v[4], v[5]);
    __m256i a6 = _mm256_unpacklo_epi16(v[6], v[7]), a7 = _mm256_unpackhi_epi16(v[6], v[7]);
    __m256i b0 = _mm256_unpacklo_epi32(a0, a2), b1 = _mm256_unpackhi_epi32(a0, a2);
    __m256i b2 = _mm256_unpacklo_epi32(a1, a3), b3 = _mm256_unpackhi_epi32(a1, a3);
    __m256i b4 = _mm256_unpacklo_epi32(a4, a6), b5 = _mm256_unpackhi_epi32(a4, a6);
    __m256i b6 = _mm256_unpacklo_epi32(a5, a7), b7 = _mm256_unpackhi_epi32(a5, a7);
    v[0] = _mm256_unpacklo_epi64(b0, b4);
    v[1] = _mm256_unpackhi_epi64(b0, b4);
    v[2] = _mm256_unpacklo_epi64(b1, b5);
    v[3] = _mm256_unpackhi_epi64(b1, b5);
    v[4] = _mm256_unpacklo_epi64(b2, b6);
    v[5] = _mm256_unpackhi_epi64(b2, b6);
    v[6] = _mm256_unpacklo_epi64(b3, b7);
    v[7] = _mm256_unpackhi_epi64(b3, b7);
}

/* The DCT of the blocks at a and b: v[k] = output row k of each. Reads
 * exactly the 64 bytes of each block. */
static AVX2_INLINE void ForwardDctPair(const uint8_t *a, const uint8_t *b, __m256i v[8])
{
    const __m256i zero = _mm256_setzero_si256(), bias = _mm256_set1_epi16(128);
    for (int i = 0; i < 8; i += 2) {
        /* Rows i and i + 1 of a in the low half, of b in the high half. */
        __m128i low = _mm_loadu_si128((const __m128i *)(a + 8 * i));
        __m128i high = _mm_loadu_si128((const __m128i *)(b + 8 * i));
        __m256i rows = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
        v[i] = _mm256_sub_epi16(_mm256_unpacklo_epi8(rows, zero), bias);
        v[i + 1] = _mm256_sub_epi16(_mm256_unpackhi_epi8(rows, zero), bias);
    }
    PairTranspose(v);
    PairPass<11>(v);
    v[0] = _mm256_slli_epi16(v[0], 2);
    v[4] = _mm256_slli_epi16(v[4], 2);
    PairTranspose(v);
    PairPass<15>(v);
    const __m256i two = _mm256_set1_epi16(2);
    v[0] = _mm256_srai_epi16(_mm256_add_epi16(v[0], two), 2);
    v[4] = _mm256_srai_epi16(_mm256_add_epi16(v[4], two), 2);
}

/* The quantised magnitudes of output row k of both blocks, which share fq. */
static AVX2_INLINE __m256i PairQuantisedSize(__m256i c, const FastQuantiser *fq, int k)
{
    const int i = FastQuantiserIndex(8 * k);
    __m256i half = _mm256_broadcastsi128_si256(_mm_loadu_si128((const __m128i *)(fq->half + i)));
    __m256i mul = _mm256_broadcastsi128_si256(_mm_loadu_si128((const __m128i *)(fq->multiplier + i)));
    __m256i scale = _mm256_broadcastsi128_si256(_mm_loadu_si128((const __m128i *)(fq->scale + i)));
    __m256i n = _mm256_add_epi16(_mm256_abs_epi16(c), half);
    __m256i x = _mm256_slli_epi16(_mm256_and_si256(n, _mm256_set1_epi16(~7)), 2);
    return _mm256_mulhi_epu16(_mm256_mulhi_epu16(x, mul), scale);
}

#endif
