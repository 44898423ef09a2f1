/*
 * The interval's MCU loop in AVX2 with BMI2: the blocks go through the
 * vector transform and quantiser, two at a time where two share a
 * quantisation table (dct_pair_avx2.h), else one at a time (dct_avx2.h),
 * and the results in registers give the packer its sizes, magnitude bits
 * and non-zero mask directly, without a quantised block in between. MCUs
 * of one or three blocks are taken two at a time, so that all pair up. Built
 * with AVX2 and BMI2 enabled for this file (see sources.cmake); set-up
 * calls it only on CPUs that have both.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include "bitpacker.h"
#include "dct_pair_avx2.h"

/* The mask of zero coefficients from eight rows of quantised sizes packed
 * to bytes: lo holds rows 0 to 3 and hi rows 4 to 7. */
static AVX2_INLINE uint64_t ZeroMask(__m256i lo, __m256i hi)
{
    const __m256i zero = _mm256_setzero_si256();
    uint32_t z_lo = (uint32_t)_mm256_movemask_epi8(_mm256_cmpeq_epi8(lo, zero));
    uint32_t z_hi = (uint32_t)_mm256_movemask_epi8(_mm256_cmpeq_epi8(hi, zero));
    return z_lo | (uint64_t)z_hi << 32;
}

/* Size and magnitude bits of sixteen quantised lanes, the low eight to
 * row lo_row of c and the high eight to row hi_row of d. */
static AVX2_INLINE void StoreCoefficients(__m256i size, __m256i dct, Coefficients *c, int lo_row,
                                          Coefficients *d, int hi_row)
{
    __m256i q = _mm256_sign_epi16(size, dct);
    __m256i bits = _mm256_add_epi16(q, _mm256_srai_epi16(q, 15));
    __m256i lo = _mm256_unpacklo_epi16(bits, size), hi = _mm256_unpackhi_epi16(bits, size);
    _mm_storeu_si128((__m128i *)(c->word + 8 * lo_row), _mm256_castsi256_si128(lo));
    _mm_storeu_si128((__m128i *)(c->word + 8 * lo_row + 4), _mm256_castsi256_si128(hi));
    _mm_storeu_si128((__m128i *)(d->word + 8 * hi_row), _mm256_extracti128_si256(lo, 1));
    _mm_storeu_si128((__m128i *)(d->word + 8 * hi_row + 4), _mm256_extracti128_si256(hi, 1));
}

/* The DC value: the first lane of each half. */
static AVX2_INLINE int16_t LowDc(__m256i size, __m256i dct)
{
    return (int16_t)_mm256_extract_epi16(_mm256_sign_epi16(size, dct), 0);
}

static AVX2_INLINE int16_t HighDc(__m256i size, __m256i dct)
{
    return (int16_t)_mm256_extract_epi16(_mm256_sign_epi16(size, dct), 8);
}

/* A block's coefficients as the packer takes them. */
struct Analysed {
    Coefficients c;
    uint64_t nonzero; /* zigzag order */
    int16_t dc;
};

/* One block: vector k of the transform holds rows k and k + 4. */
static AVX2_INLINE void AnalyseOne(const FastQuantiser *fq, const uint8_t *samples, Analysed *a)
{
    __m256i f[4], size[4];
    ForwardDct16(samples, f);
    for (int k = 0; k < 4; ++k) {
        size[k] = QuantisedSize16(f[k], fq, k);
        StoreCoefficients(size[k], f[k], &a->c, k, &a->c, k + 4);
    }
    /* Packing pairs of vectors gives rows 0 1 4 5 and 2 3 6 7. */
    __m256i r0145 = _mm256_packs_epi16(size[0], size[1]),
            r2367 = _mm256_packs_epi16(size[2], size[3]);
    uint64_t zeros = ZeroMask(_mm256_permute2x128_si256(r0145, r2367, 0x20),
                              _mm256_permute2x128_si256(r0145, r2367, 0x31));
    a->nonzero = ToZigzag(~zeros);
    a->dc = LowDc(size[0], f[0]);
}

/* Two blocks with the same quantisation table. */
static AVX2_INLINE void AnalyseTwo(const FastQuantiser *fq, const uint8_t *first,
                                   const uint8_t *second, Analysed *a, Analysed *b)
{
    __m256i v[8], size[8];
    ForwardDctPair(first, second, v);
    for (int k = 0; k < 8; ++k) {
        size[k] = PairQuantisedSize(v[k], fq, k);
        StoreCoefficients(size[k], v[k], &a->c, k, &b->c, k);
    }
    /* Packing pairs of vectors gives rows k, k + 1 of the first block in
     * the low half and of the second in the high half. */
    __m256i r01 = _mm256_packs_epi16(size[0], size[1]), r23 = _mm256_packs_epi16(size[2], size[3]);
    __m256i r45 = _mm256_packs_epi16(size[4], size[5]), r67 = _mm256_packs_epi16(size[6], size[7]);
    uint64_t zeros_a = ZeroMask(_mm256_permute2x128_si256(r01, r23, 0x20),
                                _mm256_permute2x128_si256(r45, r67, 0x20));
    uint64_t zeros_b = ZeroMask(_mm256_permute2x128_si256(r01, r23, 0x31),
                                _mm256_permute2x128_si256(r45, r67, 0x31));
    a->nonzero = ToZigzag(~zeros_a);
    b->nonzero = ToZigzag(~zeros_b);
    a->dc = LowDc(size[0], v[0]);
    b->dc = HighDc(size[0], v[0]);
}

/* Transforms the blocks, each with the next unpaired block of the same
 * quantisation table where there is one, then packs them in order. */
struct TransformStep {
    enum { kTwoMcus = 1 };

    template <bool kStore>
    static AVX2_INLINE void CodeMcus(EncoderContext *, BitBuffer *b, const uint8_t *mcu,
                                     ComponentSpec *const *block_comp, uint32_t blocks)
    {
        Analysed a[6];
        uint32_t done = 0; /* bit i: block i transformed */
        for (uint32_t i = 0; i < blocks; ++i) {
            if (done >> i & 1)
                continue;
            const QuantTable *table = block_comp[i]->quant_table;
            uint32_t j = i + 1;
            while (j < blocks && ((done >> j & 1) || block_comp[j]->quant_table != table))
                ++j;
            if (j < blocks) {
                AnalyseTwo(&table->fast, mcu + 64 * i, mcu + 64 * j, &a[i], &a[j]);
                done |= 1u << j;
            } else {
                AnalyseOne(&table->fast, mcu + 64 * i, &a[i]);
            }
        }
        for (uint32_t i = 0; i < blocks; ++i)
            PackBlock<kStore, NATURAL_ORDER>(b, block_comp[i], a[i].dc, a[i].nonzero, &a[i].c);
    }
};

int EncodeMcusAvx2(EncoderContext *ctx, uint32_t end)
{
    return StreamIsCounting(ctx->output) ? PackMcus<false, TransformStep>(ctx, end)
                                         : PackMcus<true, TransformStep>(ctx, end);
}

#endif
