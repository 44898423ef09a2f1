/*
 * The AVX2 forward DCT and quantiser on two blocks at once: vector r holds
 * row r of one block in its low half and row r of the other in its high
 * half, and every step works within the halves (the SSE2 algorithm, lane
 * by lane, dct_lanes.h), so the transposes need no lane crossing and the
 * passes no reordering. Bit-exact with the plain routines (dct_weights.h
 * says why). The two blocks must share a quantisation table.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_DCT_PAIR_AVX2_H
#define DRIVER_LJPEG_UM_SIMD_DCT_PAIR_AVX2_H

#include "dct_avx2.h"

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
    Dct8<Avx2Lanes>(v);
}

/* The quantised magnitudes of output row k of both blocks, which share fq. */
static AVX2_INLINE __m256i PairQuantisedSize(__m256i c, const FastQuantiser *fq, int k)
{
    __m256i half = _mm256_loadu_si256((const __m256i *)fq->pair[0][k]);
    __m256i mul = _mm256_loadu_si256((const __m256i *)fq->pair[1][k]);
    __m256i scale = _mm256_loadu_si256((const __m256i *)fq->pair[2][k]);
    __m256i n = _mm256_add_epi16(_mm256_abs_epi16(c), half);
    __m256i x = _mm256_and_si256(n, _mm256_set1_epi16(~7));
    return _mm256_mulhi_epu16(_mm256_mulhi_epu16(x, mul), scale);
}

#endif
