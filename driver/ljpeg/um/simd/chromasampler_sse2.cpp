/*
 * The 4:2:0 and 4:2:2 samplers in SSE2: the same truncating means as the
 * plain samplers, eight output samples a step. 4:4:4 is three block copies
 * and stays plain.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include <immintrin.h>

#include "target_attrs.h"

/* Sums of horizontal pairs of a 16-sample plane row, in 16-bit lanes. */
static SSE2 inline __m128i PairSums(const uint8_t *row)
{
    __m128i v = _mm_loadu_si128((const __m128i *)row);
    return _mm_add_epi16(_mm_and_si128(v, _mm_set1_epi16(0x00FF)), _mm_srli_epi16(v, 8));
}

static SSE2 inline void StoreEight(uint8_t *dst, __m128i sums)
{
    _mm_storel_epi64((__m128i *)dst, _mm_packus_epi16(sums, sums));
}

SSE2 void Sample420Sse2(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr)
{
    CutYBlocks(mcu, y, 2);
    for (uint32_t r = 0; r < 8; ++r) {
        const uint8_t *b = cb + 32 * r, *c = cr + 32 * r;
        StoreEight(mcu + MCU420_CB + 8 * r,
                   _mm_srli_epi16(_mm_add_epi16(PairSums(b), PairSums(b + 16)), 2));
        StoreEight(mcu + MCU420_CR + 8 * r,
                   _mm_srli_epi16(_mm_add_epi16(PairSums(c), PairSums(c + 16)), 2));
    }
}

SSE2 void Sample422Sse2(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr)
{
    CutYBlocks(mcu, y, 1);
    for (uint32_t r = 0; r < 8; ++r) {
        StoreEight(mcu + MCU422_CB + 8 * r, _mm_srli_epi16(PairSums(cb + 16 * r), 1));
        StoreEight(mcu + MCU422_CR + 8 * r, _mm_srli_epi16(PairSums(cr + 16 * r), 1));
    }
}

#endif
