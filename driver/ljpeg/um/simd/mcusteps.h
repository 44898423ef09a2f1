/*
 * The step of the vector MCU coders: the blocks go through the AVX2
 * transform and quantiser, two at a time where two share a quantisation
 * table (dct_pair_avx2.h), else one at a time (dct_avx2.h), and the
 * results in registers go to a sink, which keeps them as its packer wants
 * them; then the sink packs the blocks in order. MCUs of one or three
 * blocks are taken two at a time, so that all pair up.
 *
 * A sink has a Block record and:
 *   Rows(size, dct, a, lo_row, b, hi_row)  sixteen quantised lanes, the low
 *       eight row lo_row of a, the high eight row hi_row of b;
 *   FinishOne(size, a)  after the rows of one block, vector k of size
 *       holding rows k and k + 4;
 *   FinishTwo(size, a, b)  after the rows of two, vector k holding row k of
 *       a, then row k of b;
 *   Pack<kPut>(bit buffer, component, block).
 */
#ifndef DRIVER_LJPEG_UM_SIMD_MCUSTEPS_H
#define DRIVER_LJPEG_UM_SIMD_MCUSTEPS_H

#include "mculoop.h"
#include "dct_pair_avx2.h"

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
template <class Sink>
static AVX2_INLINE void AnalyseOne(const FastQuantiser *fq, const uint8_t *samples,
                                   typename Sink::Block *a)
{
    __m256i f[4], size[4];
    ForwardDct16(samples, f);
    for (int k = 0; k < 4; ++k) {
        size[k] = QuantisedSize16(f[k], fq, k);
        Sink::Rows(size[k], f[k], a, k, a, k + 4);
    }
    a->dc = LowDc(size[0], f[0]);
    Sink::FinishOne(size, a);
}

/* Two blocks with the same quantisation table. */
template <class Sink>
static AVX2_INLINE void AnalyseTwo(const FastQuantiser *fq, const uint8_t *first,
                                   const uint8_t *second, typename Sink::Block *a,
                                   typename Sink::Block *b)
{
    __m256i v[8], size[8];
    ForwardDctPair(first, second, v);
    for (int k = 0; k < 8; ++k) {
        size[k] = PairQuantisedSize(v[k], fq, k);
        Sink::Rows(size[k], v[k], a, k, b, k);
    }
    a->dc = LowDc(size[0], v[0]);
    b->dc = HighDc(size[0], v[0]);
    Sink::FinishTwo(size, a, b);
}

/* Transforms the blocks, each with the next unpaired block of the same
 * quantisation table where there is one; packs them in order. */
template <class Sink>
struct TransformStep {
    enum { kTwoMcus = 1 };

    struct Analysed {
        typename Sink::Block block[6];
    };

    static AVX2_INLINE void Analyse(EncoderContext *, const uint8_t *mcu,
                                    ComponentSpec *const *block_comp, uint32_t blocks, Analysed *a)
    {
        uint32_t done = 0; /* bit i: block i transformed */
        for (uint32_t i = 0; i < blocks; ++i) {
            if (done >> i & 1)
                continue;
            const QuantTable *table = block_comp[i]->quant_table;
            uint32_t j = i + 1;
            while (j < blocks && ((done >> j & 1) || block_comp[j]->quant_table != table))
                ++j;
            if (j < blocks) {
                AnalyseTwo<Sink>(&table->fast, mcu + 64 * i, mcu + 64 * j, &a->block[i],
                                 &a->block[j]);
                done |= 1u << j;
            } else {
                AnalyseOne<Sink>(&table->fast, mcu + 64 * i, &a->block[i]);
            }
        }
    }

    template <int kPut>
    static AVX2_INLINE void Pack(BitBuffer *b, ComponentSpec *const *block_comp, uint32_t blocks,
                                 const Analysed *a)
    {
        for (uint32_t i = 0; i < blocks; ++i)
            Sink::template Pack<kPut>(b, block_comp[i], &a->block[i]);
    }
};

/* The interval's MCU loop with the sink's step, dense or not (PackMcus). */
template <class Sink, bool kDense>
static AVX2_INLINE int EncodeMcusWith(EncoderContext *ctx, uint32_t end)
{
    return StreamIsCounting(ctx->output) ? PackMcus<false, kDense, TransformStep<Sink>>(ctx, end)
                                         : PackMcus<true, kDense, TransformStep<Sink>>(ctx, end);
}

#endif
