/*
 * EncodeBlock, and the interval's MCU loop, with the bit packer of
 * bitpacker.h. The loop keeps the bit buffer in registers from block to
 * block; the block coder takes it over from the stream and hands it back
 * on every call.
 *
 * The plain coder delivers the DC and AC bytes of a block in two steps and
 * fails without writing when a step does not fit; these coders write
 * straight into the output. The block coder runs only when the room left
 * holds any block and hands the last blocks before a full buffer to the
 * plain coder, which then fails at the same byte; the loop goes on while
 * its steps are shown to fit (PackMcus, mculoop.h).
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include <immintrin.h>

#include "mculoop.h"
#include "target_attrs.h"

/* The coefficient words of eight coefficients. */
static SSE2_INLINE void StoreWords(__m128i v, uint32_t *word)
{
    /* |v| as max(v, -v): -32768 stays 0x8000, its size as unsigned. */
    __m128i size = _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
    __m128i bits = _mm_add_epi16(v, _mm_srai_epi16(v, 15));
    _mm_storeu_si128((__m128i *)word, _mm_unpacklo_epi16(bits, size));
    _mm_storeu_si128((__m128i *)(word + 4), _mm_unpackhi_epi16(bits, size));
}

/* Fills c and returns the mask with bit k set when the coefficient of
 * zigzag index k is not 0. */
static SSE2_INLINE uint64_t AnalyseBlock(const int16_t block[64], Coefficients *c)
{
    const __m128i zero = _mm_setzero_si128();
    uint64_t zeros = 0;
    for (int s = 0; s < 4; ++s) {
        __m128i a = _mm_loadu_si128((const __m128i *)(block + 16 * s));
        __m128i b = _mm_loadu_si128((const __m128i *)(block + 16 * s + 8));
        StoreWords(a, c->word + 16 * s);
        StoreWords(b, c->word + 16 * s + 8);
        /* Saturation keeps every non-zero value non-zero. */
        __m128i packed = _mm_packs_epi16(a, b);
        zeros |= (uint64_t)(uint16_t)_mm_movemask_epi8(_mm_cmpeq_epi8(packed, zero)) << (16 * s);
    }
    return ToZigzag(~zeros);
}

template <int kPut>
static SSE2_INLINE void PackQuantised(BitBuffer *b, ComponentSpec *comp, const int16_t block[64])
{
    Coefficients c;
    uint64_t nonzero = AnalyseBlock(block, &c);
    PackBlock<kPut, NATURAL_ORDER>(b, comp, block[0], nonzero, &c);
}

/* Codes the block from the stream's pending bits on, straight into the
 * output (or only counting the bytes). */
template <int kPut>
static SSE2_INLINE void CodeBlock(ByteStream *s, ComponentSpec *comp, const int16_t block[64])
{
    BitBuffer b = TakeBits(s, NextBytes(s));
    PackQuantised<kPut>(&b, comp, block);
    GiveBits<kPut>(&b, s);
}

static SSE2_INLINE int EncodeWithRoom(EncoderContext *ctx, ComponentSpec *comp,
                                      const int16_t block[64])
{
    ByteStream *s = ctx->output;
    if (RoomLeft(s) < BLOCK_ROOM)
        return EncodeBlock(ctx, comp, block);
    if (StreamIsCounting(s))
        CodeBlock<PUT_COUNT>(s, comp, block);
    else
        CodeBlock<PUT_STUFFED>(s, comp, block);
    return 1;
}

/* The blocks of an MCU: the transform in the context's slot, then the
 * packer. */
struct SlotStep {
    enum { kTwoMcus = 0 };

    struct Analysed {
        int16_t quantised[6][64];
    };

    static SSE2_INLINE void Analyse(EncoderContext *ctx, const uint8_t *mcu,
                                    ComponentSpec *const *block_comp, uint32_t blocks, Analysed *a)
    {
        for (uint32_t i = 0; i < blocks; ++i)
            ctx->block_transform(mcu + 64 * i, block_comp[i]->quant_table, a->quantised[i]);
    }

    template <int kPut>
    static SSE2_INLINE void Pack(BitBuffer *b, ComponentSpec *const *block_comp, uint32_t blocks,
                                 const Analysed *a)
    {
        for (uint32_t i = 0; i < blocks; ++i)
            PackQuantised<kPut>(b, block_comp[i], a->quantised[i]);
    }
};

static SSE2_INLINE int EncodeMcusWithRoom(EncoderContext *ctx, uint32_t end)
{
    return StreamIsCounting(ctx->output) ? PackMcus<false, false, SlotStep>(ctx, end)
                                         : PackMcus<true, false, SlotStep>(ctx, end);
}

/* The same code twice: for SSE2, and with the BMI2 shifts (one
 * instruction each instead of three for a shift by a register). */
SSE2 int EncodeBlockSse2(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64])
{
    return EncodeWithRoom(ctx, comp, block);
}

BMI2 int EncodeBlockBmi2(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64])
{
    return EncodeWithRoom(ctx, comp, block);
}

SSE2 int EncodeMcusSse2(EncoderContext *ctx, uint32_t end)
{
    return EncodeMcusWithRoom(ctx, end);
}

#endif
