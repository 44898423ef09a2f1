/*
 * The interval's MCU loop in AVX2 with BMI2: the blocks go through the
 * vector transform and quantiser, two at a time where neighbours share a
 * quantisation table (dct_pair_avx2.h), else one at a time (dct_avx2.h),
 * and the results in registers give the packer its sizes, magnitude bits
 * and non-zero mask directly, without a quantised block in between. Built
 * with AVX2 and BMI2 enabled for this file (see sources.cmake); set-up
 * calls it only on CPUs that have both.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include "bitpacker.h"
#include "dct_pair_avx2.h"

static constexpr ZigzagBits kZigzagBits = MakeZigzagBits(kNaturalRows);
static constexpr ZigzagIndex kNaturalIndex = MakeZigzagIndex(kNaturalRows);

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
    _mm_storeu_si128((__m128i *)(c->size + 8 * lo_row), _mm256_castsi256_si128(size));
    _mm_storeu_si128((__m128i *)(d->size + 8 * hi_row), _mm256_extracti128_si256(size, 1));
    _mm_storeu_si128((__m128i *)(c->bits + 8 * lo_row), _mm256_castsi256_si128(bits));
    _mm_storeu_si128((__m128i *)(d->bits + 8 * hi_row), _mm256_extracti128_si256(bits, 1));
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

/* One block: vector k of the transform holds rows k and k + 4. */
template <bool kStore>
static AVX2_INLINE void CodeOne(BitBuffer *b, ComponentSpec *comp, const uint8_t *samples)
{
    const FastQuantiser *fq = &comp->quant_table->fast;
    __m256i f[4], size[4];
    ForwardDct16(samples, f);
    Coefficients c;
    for (int k = 0; k < 4; ++k) {
        size[k] = QuantisedSize16(f[k], fq, k);
        StoreCoefficients(size[k], f[k], &c, k, &c, k + 4);
    }
    /* Packing pairs of vectors gives rows 0 1 4 5 and 2 3 6 7. */
    __m256i r0145 = _mm256_packs_epi16(size[0], size[1]), r2367 = _mm256_packs_epi16(size[2], size[3]);
    uint64_t zeros = ZeroMask(_mm256_permute2x128_si256(r0145, r2367, 0x20),
                              _mm256_permute2x128_si256(r0145, r2367, 0x31));
    PackBlock<kStore>(b, comp, LowDc(size[0], f[0]), ToZigzag(kZigzagBits, ~zeros), &c, kNaturalIndex);
}

/* Two neighbouring blocks with the same quantisation table, at samples
 * and samples + 64. */
template <bool kStore>
static AVX2_INLINE void CodeTwo(BitBuffer *b, ComponentSpec *first, ComponentSpec *second, const uint8_t *samples)
{
    const FastQuantiser *fq = &first->quant_table->fast;
    __m256i v[8], size[8];
    ForwardDctPair(samples, samples + 64, v);
    Coefficients c[2];
    for (int k = 0; k < 8; ++k) {
        size[k] = PairQuantisedSize(v[k], fq, k);
        StoreCoefficients(size[k], v[k], &c[0], k, &c[1], k);
    }
    /* Packing pairs of vectors gives rows k, k + 1 of the first block in
     * the low half and of the second in the high half. */
    __m256i r01 = _mm256_packs_epi16(size[0], size[1]), r23 = _mm256_packs_epi16(size[2], size[3]);
    __m256i r45 = _mm256_packs_epi16(size[4], size[5]), r67 = _mm256_packs_epi16(size[6], size[7]);
    uint64_t zeros_first = ZeroMask(_mm256_permute2x128_si256(r01, r23, 0x20),
                                    _mm256_permute2x128_si256(r45, r67, 0x20));
    uint64_t zeros_second = ZeroMask(_mm256_permute2x128_si256(r01, r23, 0x31),
                                     _mm256_permute2x128_si256(r45, r67, 0x31));
    int16_t dc_second = HighDc(size[0], v[0]);
    PackBlock<kStore>(b, first, LowDc(size[0], v[0]), ToZigzag(kZigzagBits, ~zeros_first), &c[0], kNaturalIndex);
    PackBlock<kStore>(b, second, dc_second, ToZigzag(kZigzagBits, ~zeros_second), &c[1], kNaturalIndex);
}

struct TransformStep {
    template <bool kStore>
    static AVX2_INLINE void CodeMcu(EncoderContext *, BitBuffer *b, const uint8_t *mcu,
                                    ComponentSpec *const *block_comp, uint32_t blocks)
    {
        uint32_t i = 0;
        while (i < blocks) {
            if (i + 1 < blocks && block_comp[i]->quant_table == block_comp[i + 1]->quant_table) {
                CodeTwo<kStore>(b, block_comp[i], block_comp[i + 1], mcu + 64 * i);
                i += 2;
            } else {
                CodeOne<kStore>(b, block_comp[i], mcu + 64 * i);
                i += 1;
            }
        }
    }
};

int EncodeMcusAvx2(EncoderContext *ctx, uint32_t end)
{
    return ctx->stream_kind & 1 ? PackMcus<true, TransformStep>(ctx, end)
                                : PackMcus<false, TransformStep>(ctx, end);
}

#endif
