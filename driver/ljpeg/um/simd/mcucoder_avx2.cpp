/*
 * The interval's MCU loop in AVX2 with BMI2: each block goes through the
 * vector transform and quantiser, whose results in registers give the
 * packer its sizes, magnitude bits and non-zero mask directly, without the
 * quantised block in natural order in between. Built with AVX2 and BMI2
 * enabled for this file (see sources.cmake); set-up calls it only on CPUs
 * that have both.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include "bitpacker.h"
#include "dct_avx2.h"

/* The transform's vector k holds rows k and k + 4; packing two vectors to
 * bytes interleaves their halves. */
static constexpr RowOrder kVectorRows = {{0, 4, 1, 5, 2, 6, 3, 7}};
static constexpr RowOrder kMaskRows = {{0, 1, 4, 5, 2, 3, 6, 7}};
static constexpr ZigzagIndex kVectorIndex = MakeZigzagIndex(kVectorRows);
static constexpr ZigzagBits kMaskBits = MakeZigzagBits(kMaskRows);

/* Bytes set where two vectors of quantised sizes hold a zero. */
static AVX2_INLINE uint32_t ZeroBytes(__m256i a, __m256i b)
{
    __m256i packed = _mm256_packs_epi16(a, b);
    return (uint32_t)_mm256_movemask_epi8(_mm256_cmpeq_epi8(packed, _mm256_setzero_si256()));
}

struct TransformStep {
    template <bool kStore>
    static AVX2_INLINE void Code(EncoderContext *, BitBuffer *b, ComponentSpec *comp, const uint8_t *samples)
    {
        const FastQuantiser *fq = &comp->quant_table->fast;
        __m256i f[4], size[4];
        ForwardDct16(samples, f);
        Coefficients c;
        int16_t dc = 0;
        for (int k = 0; k < 4; ++k) {
            size[k] = QuantisedSize16(f[k], fq, k);
            __m256i q = _mm256_sign_epi16(size[k], f[k]);
            if (k == 0)
                dc = (int16_t)_mm256_extract_epi16(q, 0);
            _mm256_storeu_si256((__m256i *)(c.size + 16 * k), size[k]);
            _mm256_storeu_si256((__m256i *)(c.bits + 16 * k), _mm256_add_epi16(q, _mm256_srai_epi16(q, 15)));
        }
        uint64_t zeros = ZeroBytes(size[0], size[1]) | (uint64_t)ZeroBytes(size[2], size[3]) << 32;
        PackBlock<kStore>(b, comp, dc, ToZigzag(kMaskBits, ~zeros), &c, kVectorIndex);
    }
};

int EncodeMcusAvx2(EncoderContext *ctx, uint32_t end)
{
    return ctx->stream_kind & 1 ? PackMcus<true, TransformStep>(ctx, end)
                                : PackMcus<false, TransformStep>(ctx, end);
}

#endif
