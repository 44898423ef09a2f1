/*
 * EncodeBlock with a 64-bit bit buffer, whole-word stores and a bitmask of
 * the non-zero AC coefficients in zigzag order, so zero runs cost nothing.
 *
 * The bytes, the stuffing and the bits left pending are those of the plain
 * coder. The plain coder delivers the DC and AC bytes of a block in two
 * steps and fails without writing when a step does not fit; this coder
 * writes straight into the output, so it only runs when the room left holds
 * any block, and hands the last blocks before a full buffer to the plain
 * coder, which then fails at the same byte.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include <immintrin.h>
#include <string.h>

#include "jpeginternal.h"

#define SSE2 __attribute__((target("sse2")))
#define BMI2 __attribute__((target("avx2,bmi,bmi2")))
#define INLINE __attribute__((always_inline)) inline

/* Any block fits this: 63 AC coefficients of at most 16 + 16 bits and a DC
 * of 16 + 16, each byte possibly doubled by stuffing, plus the partial byte
 * taken over from the stream. Only finished bytes are ever stored. */
enum { BLOCK_ROOM = 64 * 32 / 8 * 2 + 16 };

/* Natural position of each zigzag index (as kZigzag; a test checks). */
static constexpr uint8_t kZigzagPosition[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

/* For each byte i of the natural-order non-zero mask and each value of
 * that byte, the same bits at their zigzag indexes (16 KiB). */
struct ZigzagBits {
    uint64_t bits[8][256];
};

static constexpr ZigzagBits MakeZigzagBits()
{
    ZigzagBits t{};
    for (int k = 0; k < 64; ++k) {
        int pos = kZigzagPosition[k];
        for (int v = 0; v < 256; ++v)
            if (v >> (pos % 8) & 1)
                t.bits[pos / 8][v] |= 1ull << k;
    }
    return t;
}

static constexpr ZigzagBits kZigzagBits = MakeZigzagBits();

/* What the AC loop needs of each coefficient, in natural order: its size
 * |c| (whose bit length is the category) and its magnitude bits c, or
 * c - 1 when c is negative, before masking to the category. */
typedef struct Coefficients {
    uint16_t size[64];
    uint16_t bits[64];
} Coefficients;

/* Fills c and returns the mask with bit k set when the coefficient of
 * zigzag index k is not 0. */
static SSE2 uint64_t AnalyseBlock(const int16_t block[64], Coefficients *c)
{
    const __m128i zero = _mm_setzero_si128();
    uint64_t zeros = 0;
    for (int s = 0; s < 4; ++s) {
        __m128i a = _mm_loadu_si128((const __m128i *)(block + 16 * s));
        __m128i b = _mm_loadu_si128((const __m128i *)(block + 16 * s + 8));
        /* |v| as max(v, -v): -32768 stays 0x8000, its size as unsigned. */
        _mm_storeu_si128((__m128i *)(c->size + 16 * s), _mm_max_epi16(a, _mm_sub_epi16(zero, a)));
        _mm_storeu_si128((__m128i *)(c->size + 16 * s + 8), _mm_max_epi16(b, _mm_sub_epi16(zero, b)));
        _mm_storeu_si128((__m128i *)(c->bits + 16 * s), _mm_add_epi16(a, _mm_srai_epi16(a, 15)));
        _mm_storeu_si128((__m128i *)(c->bits + 16 * s + 8), _mm_add_epi16(b, _mm_srai_epi16(b, 15)));
        /* Saturation keeps every non-zero value non-zero. */
        __m128i packed = _mm_packs_epi16(a, b);
        zeros |= (uint64_t)(uint16_t)_mm_movemask_epi8(_mm_cmpeq_epi8(packed, zero)) << (16 * s);
    }
    uint64_t natural = ~zeros, nonzero = 0;
    for (int i = 0; i < 8; ++i)
        nonzero |= kZigzagBits.bits[i][(natural >> (8 * i)) & 0xFF];
    return nonzero;
}

/* Pending bits, right-aligned, and the room left in the 64-bit word. The
 * bits above the valid ones may hold garbage: they leave through the top
 * before the word is stored. */
typedef struct BitBuffer {
    uint64_t acc;
    int free_bits;
    uint8_t *out; /* next byte (encode mode) */
    uint32_t count;
} BitBuffer;

/* True when one of the eight bytes of w is 0xFF. */
static INLINE bool HasFfByte(uint64_t w)
{
    uint64_t v = ~w;
    return ((v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull) != 0;
}

template <bool kStore>
static INLINE void PutByte(BitBuffer *b, uint8_t byte)
{
    if (kStore)
        b->out[b->count] = byte;
    b->count++;
    if (byte == 0xFF) {
        if (kStore)
            b->out[b->count] = 0x00;
        b->count++;
    }
}

template <bool kStore>
static INLINE void PutWord(BitBuffer *b, uint64_t w)
{
    if (!HasFfByte(w)) {
        if (kStore) {
            uint64_t be = __builtin_bswap64(w);
            memcpy(b->out + b->count, &be, 8);
        }
        b->count += 8;
        return;
    }
    for (int shift = 56; shift >= 0; shift -= 8)
        PutByte<kStore>(b, (uint8_t)(w >> shift));
}

template <bool kStore>
static INLINE void PutBits(BitBuffer *b, uint64_t code, int size)
{
    b->free_bits -= size;
    if (b->free_bits >= 0) {
        b->acc = (b->acc << size) | code;
        return;
    }
    /* Fill the word with the code's top bits, store it, keep the rest. */
    int rest = -b->free_bits;
    PutWord<kStore>(b, (b->acc << (size - rest)) | (code >> rest));
    b->acc = code;
    b->free_bits += 64;
}

static INLINE uint32_t Category(int32_t x)
{
    uint32_t a = (uint32_t)(x < 0 ? -x : x);
    return a ? 32u - (uint32_t)__builtin_clz(a) : 0u;
}

/* The symbol's code followed by the s low bits of x, or of x - 1 when x is
 * negative. */
template <bool kStore>
static INLINE void PutCoded(BitBuffer *b, const HuffmanTable *t, uint32_t symbol, int32_t x, uint32_t s)
{
    uint64_t magnitude = (uint32_t)(x - (x < 0)) & ((1u << s) - 1u);
    PutBits<kStore>(b, ((uint64_t)t->ehufco[symbol] << s) | magnitude, t->ehufsi[symbol] + (int)s);
}

template <bool kStore>
static INLINE void PackBlock(BitBuffer *b, ComponentSpec *comp, const int16_t block[64])
{
    int32_t diff = (int32_t)block[0] - comp->dc_predictor;
    comp->dc_predictor = block[0];
    uint32_t s = Category(diff);
    PutCoded<kStore>(b, comp->dc_table, s, diff, s);

    const HuffmanTable *ac = comp->ac_table;
    Coefficients coef;
    uint64_t nonzero = AnalyseBlock(block, &coef) & ~1ull;
    int last = 0;
    while (nonzero) {
        int k = __builtin_ctzll(nonzero);
        nonzero &= nonzero - 1;
        uint32_t run = (uint32_t)(k - last - 1);
        last = k;
        for (; run > 15; run -= 16)
            PutBits<kStore>(b, ac->ehufco[0xF0], ac->ehufsi[0xF0]);
        uint32_t pos = kZigzagPosition[k];
        s = 32u - (uint32_t)__builtin_clz(coef.size[pos]);
        /* Only -32768 has category 16; the mask keeps it inside the lookup,
         * as the plain coder does. */
        uint32_t symbol = (run * 16 + s) & 0xFFu;
        uint64_t magnitude = coef.bits[pos] & ((1u << s) - 1u);
        PutBits<kStore>(b, ((uint64_t)ac->ehufco[symbol] << s) | magnitude, ac->ehufsi[symbol] + (int)s);
    }
    if (last != 63)
        PutBits<kStore>(b, ac->ehufco[0x00], ac->ehufsi[0x00]);
}

/* Codes the block from the stream's partial byte on; the finished bytes go
 * to out (or are only counted) and the partial byte back to the stream. */
template <bool kStore>
static INLINE uint32_t CodeBlock(ByteStream *s, ComponentSpec *comp, const int16_t block[64], uint8_t *out)
{
    BitBuffer b;
    b.acc = (s->bit_accumulator & 0xFFu) >> (8 - s->bit_count);
    b.free_bits = 64 - (int)s->bit_count;
    b.out = out;
    b.count = 0;
    PackBlock<kStore>(&b, comp, block);

    int pending = 64 - b.free_bits;
    for (; pending >= 8; pending -= 8)
        PutByte<kStore>(&b, (uint8_t)(b.acc >> (pending - 8)));
    s->bit_accumulator = (uint32_t)(b.acc << (8 - pending)) & 0xFFu;
    s->bit_count = (uint32_t)pending;
    return b.count;
}

static INLINE int EncodeWithRoom(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64])
{
    ByteStream *s = ctx->output;
    if (ctx->stream_kind & 1) {
        if (s->size - s->position < BLOCK_ROOM)
            return EncodeBlock(ctx, comp, block);
        s->position += CodeBlock<true>(s, comp, block, s->data + s->position);
        return 1;
    }
    if (UINT32_MAX - s->position < BLOCK_ROOM)
        return EncodeBlock(ctx, comp, block);
    s->position += CodeBlock<false>(s, comp, block, nullptr);
    if (s->position > s->size)
        s->size = s->position;
    return 1;
}

/* The same code twice: for SSE2, and with the BMI2 shifts (one
 * instruction each instead of three for a shift by a register). */
SSE2 int EncodeBlockFast(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64])
{
    return EncodeWithRoom(ctx, comp, block);
}

BMI2 int EncodeBlockBmi2(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64])
{
    return EncodeWithRoom(ctx, comp, block);
}

#endif
