// Baseline Huffman coding of one quantised block (T.81 F.1.2). The coder
// packs bits into a local accumulator, collects the finished bytes of a
// call in a scratch buffer and hands them to the output stream at once.
#include "jpeginternal.h"

// A coefficient of a signed 16-bit block costs at most 16 code bits and
// 16 magnitude bits; with a 0x00 stuffed after every byte the 63 AC
// coefficients fit 63 * 32 / 8 * 2 = 504 bytes plus the pending byte.
enum { AC_SCRATCH = 512, DC_SCRATCH = 16 };

typedef struct BitPacker {
    uint64_t acc;    // pending bits, right-aligned
    uint32_t nbits;  // number of pending bits
    uint32_t len;    // finished bytes in out
    uint8_t *out;
} BitPacker;

static void BeginBits(const ByteStream *s, uint8_t *scratch, BitPacker *p)
{
    p->acc = TakePendingBits(s, &p->nbits);
    p->len = 0;
    p->out = scratch;
}

static inline void PutBits(BitPacker *p, uint32_t value, uint32_t size)
{
    p->acc = (p->acc << size) | value;
    p->nbits += size;
    while (p->nbits >= 8) {
        p->nbits -= 8;
        PutStuffed(p->out, &p->len, (uint8_t)(p->acc >> p->nbits));
    }
}

// Code of the symbol followed by the s magnitude bits of x.
static inline void PutCoded(BitPacker *p, const HuffmanTable *t, uint32_t symbol, int32_t x,
                            uint32_t s)
{
    PutBits(p, ((uint32_t)t->ehufco[symbol] << s) | MagnitudeBits(x, s), t->ehufsi[symbol] + s);
}

// The finished bytes go out only if all of them fit; then the partial
// byte goes back to the stream.
static int DeliverBits(ByteStream *s, const BitPacker *p)
{
    if (!AppendBytes(s, p->out, p->len))
        return 0;
    GivePendingBits(s, p->acc, p->nbits);
    return 1;
}

int EncodeDc(EncoderContext *ctx, const HuffmanTable *table, int32_t diff)
{
    uint8_t scratch[DC_SCRATCH];
    BitPacker p;
    BeginBits(ctx->output, scratch, &p);
    uint32_t s = Category(diff);
    PutCoded(&p, table, s, diff, s);
    return DeliverBits(ctx->output, &p);
}

int EncodeAc(EncoderContext *ctx, const HuffmanTable *table, const int16_t block[64])
{
    uint8_t scratch[AC_SCRATCH];
    BitPacker p;
    BeginBits(ctx->output, scratch, &p);
    uint32_t run = 0;
    for (int k = 1; k < 64; k++) {
        int32_t c = block[kZigzag[k]];
        if (c == 0) {
            run++;
            continue;
        }
        for (; run > 15; run -= 16)
            PutBits(&p, table->ehufco[0xF0], table->ehufsi[0xF0]);
        uint32_t s = Category(c);
        // Only -32768 has category 16, which no 8-bit image produces; the
        // mask keeps even that symbol inside the lookup.
        PutCoded(&p, table, (run * 16 + s) & 0xFFu, c, s);
        run = 0;
    }
    if (block[63] == 0)
        PutBits(&p, table->ehufco[0x00], table->ehufsi[0x00]);
    return DeliverBits(ctx->output, &p);
}

int EncodeBlock(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64])
{
    int32_t diff = (int32_t)block[0] - comp->dc_predictor;
    comp->dc_predictor = block[0];
    if (!EncodeDc(ctx, comp->dc_table, diff))
        return 0;
    return EncodeAc(ctx, comp->ac_table, block);
}
