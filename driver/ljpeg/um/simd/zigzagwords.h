/*
 * The AVX-512 (F and BW) sink of the MCU step (mcusteps.h): the quantised
 * block goes through one two-table word permute into zigzag order, which
 * gives the non-zero mask by one test and the coefficient words in the
 * order the packer walks them. For files built with AVX-512 throughout.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_ZIGZAGWORDS_H
#define DRIVER_LJPEG_UM_SIMD_ZIGZAGWORDS_H

#include "mcusteps.h"
#include "target_attrs.h"

namespace {

/* vpermt2w indexes: the natural positions of zigzag indexes 0 to 31 and 32
 * to 63 from the block's two halves; and the lanes that interleave words
 * 0 to 15 and 16 to 31 of a magnitude-bits vector (0 to 31) with the size
 * vector (32 to 63) into coefficient words. */
struct WordIndexes {
    uint16_t zigzag[2][32];
    uint16_t interleave[2][32];
};

static constexpr WordIndexes MakeWordIndexes()
{
    WordIndexes t{};
    for (int i = 0; i < 32; ++i) {
        t.zigzag[0][i] = kZigzag[i];
        t.zigzag[1][i] = kZigzag[32 + i];
    }
    for (int i = 0; i < 16; ++i)
        for (int h = 0; h < 2; ++h) {
            t.interleave[h][2 * i] = (uint16_t)(16 * h + i);
            t.interleave[h][2 * i + 1] = (uint16_t)(32 + 16 * h + i);
        }
    return t;
}

static constexpr WordIndexes kWordIndexes = MakeWordIndexes();

static AVX512_INLINE __m512i Indexes(const uint16_t *lanes)
{
    return _mm512_loadu_si512(lanes);
}

struct ZigzagWords {
    struct Block {
        /* The quantised block in natural order, until Finish has read it
         * into registers and stores the words in its place: all accesses
         * to q are vector loads and stores, which may alias the words. */
        union {
            int16_t q[64];
            Coefficients c;
        };
        uint64_t nonzero; /* zigzag order */
        int16_t dc;
    };

    static AVX512_INLINE void Rows(__m256i size, __m256i dct, Block *a, int lo_row, Block *b,
                                   int hi_row)
    {
        __m256i q = _mm256_sign_epi16(size, dct);
        _mm_storeu_si128((__m128i *)(a->q + 8 * lo_row), _mm256_castsi256_si128(q));
        _mm_storeu_si128((__m128i *)(b->q + 8 * hi_row), _mm256_extracti128_si256(q, 1));
    }

    /* Thirty-two coefficients in zigzag order as words from c->word[at]. */
    static AVX512_INLINE void StoreWords(__m512i z, Coefficients *c, int at)
    {
        __m512i size = _mm512_abs_epi16(z);
        __m512i bits = _mm512_add_epi16(z, _mm512_srai_epi16(z, 15));
        for (int h = 0; h < 2; ++h)
            _mm512_storeu_si512(
                c->word + at + 16 * h,
                _mm512_permutex2var_epi16(bits, Indexes(kWordIndexes.interleave[h]), size));
    }

    static AVX512_INLINE void Finish(Block *a)
    {
        __m512i n0 = _mm512_loadu_si512(a->q), n1 = _mm512_loadu_si512(a->q + 32);
        __m512i z0 = _mm512_permutex2var_epi16(n0, Indexes(kWordIndexes.zigzag[0]), n1);
        __m512i z1 = _mm512_permutex2var_epi16(n0, Indexes(kWordIndexes.zigzag[1]), n1);
        a->nonzero = (uint64_t)_mm512_test_epi16_mask(z0, z0) |
                     (uint64_t)_mm512_test_epi16_mask(z1, z1) << 32;
        StoreWords(z0, &a->c, 0);
        StoreWords(z1, &a->c, 32);
    }

    static AVX512_INLINE void FinishOne(const __m256i *, Block *a) { Finish(a); }

    static AVX512_INLINE void FinishTwo(const __m256i *, Block *a, Block *b)
    {
        Finish(a);
        Finish(b);
    }

    template <int kPut>
    static AVX512_INLINE void Pack(BitBuffer *b, ComponentSpec *comp, const Block *a)
    {
        PackBlock<kPut, ZIGZAG_ORDER>(b, comp, a->dc, a->nonzero, &a->c);
    }
};

}  // namespace

#endif
