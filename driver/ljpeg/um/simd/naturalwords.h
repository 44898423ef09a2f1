/*
 * The AVX2 sink of the MCU step (mcusteps.h): the results of the transform
 * in registers give the packer its coefficient words, at their natural
 * positions, and the non-zero mask directly, without a quantised block in
 * between. For files built with AVX2 and BMI2 throughout.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_NATURALWORDS_H
#define DRIVER_LJPEG_UM_SIMD_NATURALWORDS_H

#include "mcusteps.h"

namespace {

/* The mask of zero coefficients from eight rows of quantised sizes packed
 * to bytes: lo holds rows 0 to 3 and hi rows 4 to 7. */
static AVX2_INLINE uint64_t ZeroMask(__m256i lo, __m256i hi)
{
    const __m256i zero = _mm256_setzero_si256();
    uint32_t z_lo = (uint32_t)_mm256_movemask_epi8(_mm256_cmpeq_epi8(lo, zero));
    uint32_t z_hi = (uint32_t)_mm256_movemask_epi8(_mm256_cmpeq_epi8(hi, zero));
    return z_lo | (uint64_t)z_hi << 32;
}

struct NaturalWords {
    struct Block {
        Coefficients c;
        uint64_t nonzero; /* zigzag order */
        int16_t dc;
    };

    static AVX2_INLINE void Rows(__m256i size, __m256i dct, Block *a, int lo_row, Block *b,
                                 int hi_row)
    {
        __m256i q = _mm256_sign_epi16(size, dct);
        __m256i bits = _mm256_add_epi16(q, _mm256_srai_epi16(q, 15));
        /* Words 0-3 of both halves, then words 4-7; regrouped by half. */
        __m256i lo = _mm256_unpacklo_epi16(bits, size), hi = _mm256_unpackhi_epi16(bits, size);
        _mm256_storeu_si256((__m256i *)(a->c.word + 8 * lo_row),
                            _mm256_permute2x128_si256(lo, hi, 0x20));
        _mm256_storeu_si256((__m256i *)(b->c.word + 8 * hi_row),
                            _mm256_permute2x128_si256(lo, hi, 0x31));
    }

    static AVX2_INLINE void FinishOne(const __m256i size[4], Block *a)
    {
        /* Packing pairs of vectors gives rows 0 1 4 5 and 2 3 6 7. */
        __m256i r0145 = _mm256_packs_epi16(size[0], size[1]),
                r2367 = _mm256_packs_epi16(size[2], size[3]);
        uint64_t zeros = ZeroMask(_mm256_permute2x128_si256(r0145, r2367, 0x20),
                                  _mm256_permute2x128_si256(r0145, r2367, 0x31));
        a->nonzero = ToZigzag(~zeros);
    }

    static AVX2_INLINE void FinishTwo(const __m256i size[8], Block *a, Block *b)
    {
        /* Packing pairs of vectors gives rows k, k + 1 of the first block
         * in the low half and of the second in the high half. */
        __m256i r01 = _mm256_packs_epi16(size[0], size[1]),
                r23 = _mm256_packs_epi16(size[2], size[3]);
        __m256i r45 = _mm256_packs_epi16(size[4], size[5]),
                r67 = _mm256_packs_epi16(size[6], size[7]);
        uint64_t zeros_a = ZeroMask(_mm256_permute2x128_si256(r01, r23, 0x20),
                                    _mm256_permute2x128_si256(r45, r67, 0x20));
        uint64_t zeros_b = ZeroMask(_mm256_permute2x128_si256(r01, r23, 0x31),
                                    _mm256_permute2x128_si256(r45, r67, 0x31));
        a->nonzero = ToZigzag(~zeros_a);
        b->nonzero = ToZigzag(~zeros_b);
    }

    template <int kPut>
    static AVX2_INLINE void Pack(BitBuffer *b, ComponentSpec *comp, const Block *a)
    {
        PackBlock<kPut, NATURAL_ORDER>(b, comp, a->dc, a->nonzero, &a->c);
    }
};

}  // namespace

#endif
