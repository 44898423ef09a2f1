/*
 * The fast coders' bit packing: a 64-bit bit buffer, whole-word stores, and
 * the AC coefficients walked by a bitmask of the non-zero ones in zigzag
 * order, so zero runs cost nothing. The bytes, the stuffing and the bits
 * left pending are those of the plain coder.
 *
 * The packer writes straight into the output, so its callers run it only
 * where the room left holds what it writes: BLOCK_ROOM a block at most.
 * The MCU loop that drives it is in mculoop.h.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_BITPACKER_H
#define DRIVER_LJPEG_UM_SIMD_BITPACKER_H

#include <stdint.h>
#include <string.h>

#include "jpeginternal.h"

#define PACKER_INLINE __attribute__((always_inline)) inline

/* Any block fits this: 63 AC coefficients of at most 16 + 16 bits and a DC
 * of 16 + 16, each byte possibly doubled by stuffing, plus the partial byte
 * taken over from the stream. Only finished bytes are ever stored. */
enum { BLOCK_ROOM = 64 * 32 / 8 * 2 + 16 };

/* The same unstuffed, with the eight bytes that PUT_UNSTUFFED stores
 * past the last finished one. */
enum { RAW_BLOCK_ROOM = 64 * 32 / 8 + 8 };

/* For each row r of a non-zero mask in natural order and each value of
 * that row's byte, the same bits at their zigzag indexes (16 KiB). */
struct ZigzagBits {
    uint64_t bits[8][256];
};

constexpr ZigzagBits MakeZigzagBits()
{
    ZigzagBits t{};
    for (int k = 0; k < 64; ++k) {
        int pos = kZigzag[k];
        for (int v = 0; v < 256; ++v)
            if (v >> (pos % 8) & 1)
                t.bits[pos / 8][v] |= 1ull << k;
    }
    return t;
}

/* One copy for both fast coders. */
inline constexpr ZigzagBits kZigzagBits = MakeZigzagBits();

/* The mask with bit k set when the coefficient of zigzag index k is not 0,
 * from the mask of them in natural order. */
static PACKER_INLINE uint64_t ToZigzag(uint64_t nonzero)
{
    uint64_t z = 0;
    for (int i = 0; i < 8; ++i)
        z |= kZigzagBits.bits[i][(nonzero >> (8 * i)) & 0xFF];
    return z;
}

/* What the AC loop needs of each coefficient, in natural order, in one
 * word: its size |c| (whose bit length is the category) in the high half
 * and its magnitude bits c, or c - 1 when c is negative, before masking to
 * the category, in the low half. */
typedef struct Coefficients {
    uint32_t word[64];
} Coefficients;

/* How a packer hands on its bytes:
 *   PUT_COUNT      counts them, stuffing included (measure mode);
 *   PUT_STUFFED    stores each finished word, with a byte-wise path for
 *                  words that need stuffing; the bit buffer is flushed by
 *                  a branch once a word is full;
 *   PUT_UNSTUFFED  stores eight bytes after every code without a branch
 *                  and keeps at most seven bits pending; the caller
 *                  stuffs or counts the bytes afterwards (mculoop.h).
 *                  Where the codes are long (high quality), a flush comes
 *                  every few codes at no predictable time, and a
 *                  mispredicted branch costs more than the store. */
enum PutMode { PUT_COUNT, PUT_STUFFED, PUT_UNSTUFFED };

/* Pending bits, right-aligned, and the room left in the 64-bit word. The
 * bits above the valid ones may hold garbage: they leave through the top
 * before the word is stored. */
typedef struct BitBuffer {
    uint64_t acc;
    /* PUT_UNSTUFFED counts the bits pending instead: one operation less
     * a code. */
    union {
        int free_bits;
        int pending_bits;
    };
    uint8_t *out; /* next byte (encode mode) */
    uint32_t count;
} BitBuffer;

/* True when one of the eight bytes of w is 0xFF. */
static PACKER_INLINE bool HasFfByte(uint64_t w)
{
    uint64_t v = ~w;
    return ((v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull) != 0;
}

template <int kPut>
static PACKER_INLINE void PutByte(BitBuffer *b, uint8_t byte)
{
    if (kPut != PUT_COUNT)
        PutStuffed(b->out, &b->count, byte);
    else
        CountStuffed(&b->count, byte);
}

template <int kPut>
static PACKER_INLINE void PutWord(BitBuffer *b, uint64_t w)
{
    if (!HasFfByte(w)) {
        if (kPut != PUT_COUNT) {
            uint64_t be = __builtin_bswap64(w);
            memcpy(b->out + b->count, &be, 8);
        }
        b->count += 8;
        return;
    }
    for (int shift = 56; shift >= 0; shift -= 8)
        PutByte<kPut>(b, (uint8_t)(w >> shift));
}

template <int kPut>
static PACKER_INLINE void PutBits(BitBuffer *b, uint64_t code, int size)
{
    if (kPut == PUT_UNSTUFFED) {
        /* At most 7 bits were pending and a code has at most 52: the word
         * holds them all. Its whole bytes go out; the next store starts
         * at the partial byte. */
        int pending = b->pending_bits + size;
        b->acc = (b->acc << size) | code;
        uint64_t be = __builtin_bswap64(b->acc << (-pending & 63));
        memcpy(b->out + b->count, &be, 8);
        b->count += (uint32_t)(pending >> 3);
        b->pending_bits = pending & 7;
        return;
    }
    b->free_bits -= size;
    if (__builtin_expect(b->free_bits >= 0, 1)) {
        b->acc = (b->acc << size) | code;
        return;
    }
    /* Fill the word with the code's top bits, store it, keep the rest. */
    int rest = -b->free_bits;
    PutWord<kPut>(b, (b->acc << (size - rest)) | (code >> rest));
    b->acc = code;
    b->free_bits += 64;
}

/* End of block, unless the last coefficient is non-zero. */
template <int kPut>
static PACKER_INLINE void PackEob(BitBuffer *b, const HuffmanTable *ac, uint64_t nonzero)
{
    if (!(nonzero >> 63))
        PutBits<kPut>(b, ac->ehufco[0x00], ac->ehufsi[0x00]);
}

/* The block's DC value as a difference to the component's predictor. */
template <int kPut>
static PACKER_INLINE void PackDc(BitBuffer *b, ComponentSpec *comp, int16_t dc)
{
    int32_t diff = (int32_t)dc - comp->dc_predictor;
    comp->dc_predictor = dc;
    uint32_t s = Category(diff);
    const HuffmanTable *dct = comp->dc_table;
    PutBits<kPut>(b, ((uint64_t)dct->ehufco[s] << s) | MagnitudeBits(diff, s),
                  dct->ehufsi[s] + (int)s);
}

/* Where a block's coefficient words are: at their natural positions, or in
 * zigzag order. */
enum WordOrder { NATURAL_ORDER, ZIGZAG_ORDER };

/* The word of the coefficient of zigzag index k. */
template <int kOrder>
static PACKER_INLINE uint32_t WordAt(const Coefficients *c, uint32_t k)
{
    return c->word[kOrder == ZIGZAG_ORDER ? k : kZigzag[k]];
}

/* 16 - the category of a non-zero coefficient's word: the size in the
 * high half is not 0. */
static PACKER_INLINE uint32_t CategoryGap(uint32_t word)
{
    return (uint32_t)__builtin_clz(word);
}

/* The code of a non-zero AC coefficient's word whose symbol has the index
 * run * 16 + t into the run tables, t its category gap, followed by its
 * magnitude bits, and their length. */
static PACKER_INLINE void AcCode(const HuffmanTable *ac, uint32_t word, uint32_t t, uint32_t index,
                                 uint64_t *code, int *length)
{
    *code = ac->run_code[index] | (word & (0xFFFFu >> t));
    *length = ac->run_size[index];
}

/* The next non-zero AC coefficient's code followed by its magnitude bits,
 * and their length. Bit j of *rest stands for zigzag index *k + j: the run
 * is the count of trailing zeros, and both move past the coefficient. A
 * run past 15 first puts the code waiting in *pending, then the ZRLs. */
template <int kPut, int kOrder>
static PACKER_INLINE void NextCode(BitBuffer *b, const HuffmanTable *ac, const Coefficients *c,
                                   uint64_t *rest, uint32_t *k, uint64_t *pending,
                                   int *pending_length, uint64_t *code, int *length)
{
    uint32_t run = (uint32_t)__builtin_ctzll(*rest);
    *k += run;
    *rest = (*rest >> run) >> 1;
    if (__builtin_expect(run > 15, 0)) {
        if (*pending_length)
            PutBits<kPut>(b, *pending, *pending_length);
        *pending = 0;
        *pending_length = 0;
        for (; run > 15; run -= 16)
            PutBits<kPut>(b, ac->ehufco[0xF0], ac->ehufsi[0xF0]);
    }
    uint32_t word = WordAt<kOrder>(c, (*k)++), t = CategoryGap(word);
    AcCode(ac, word, t, run * 16 + t, code, length);
}

/* True when a non-zero AC coefficient follows more than 15 zeros, so that
 * the block needs ZRL codes. */
static PACKER_INLINE bool HasLongRun(uint64_t nonzero)
{
    /* The DC counts as non-zero: the first run starts after it. Bit i of z
     * ends set when bits i to i + 15 of the mask are all clear. */
    uint64_t z = ~(nonzero | 1);
    z &= z >> 1;
    z &= z >> 2;
    z &= z >> 4;
    z &= z >> 8;
    return ((z << 16) & nonzero) != 0;
}

/* The code of the non-zero AC coefficient of zigzag index k, which follows
 * the one whose index sets *base to 16 times it plus 16, and its length. */
template <int kOrder>
static PACKER_INLINE void ShortRunCode(const HuffmanTable *ac, const Coefficients *c, uint32_t k,
                                       uint32_t *base, uint64_t *code, int *length)
{
    uint32_t word = WordAt<kOrder>(c, k), t = CategoryGap(word);
    AcCode(ac, word, t, 16 * k + t - *base, code, length);
    *base = 16 * k + 16;
}

/* The AC coefficients of a block without runs past 15. */
template <int kPut, int kOrder>
static PACKER_INLINE void PackShortRuns(BitBuffer *b, const HuffmanTable *ac, uint64_t rest,
                                        const Coefficients *c)
{
    uint32_t base = 16;
    while (rest) {
        uint64_t first, second;
        int first_length, second_length;
        ShortRunCode<kOrder>(ac, c, (uint32_t)__builtin_ctzll(rest), &base, &first, &first_length);
        rest &= rest - 1;
        if (!rest) {
            PutBits<kPut>(b, first, first_length);
            break;
        }
        ShortRunCode<kOrder>(ac, c, (uint32_t)__builtin_ctzll(rest), &base, &second,
                             &second_length);
        rest &= rest - 1;
        PutBits<kPut>(b, (first << second_length) | second, first_length + second_length);
    }
}

/* The AC coefficients of a block with ZRL codes. */
template <int kPut, int kOrder>
static PACKER_INLINE void PackLongRuns(BitBuffer *b, const HuffmanTable *ac, uint64_t nonzero,
                                       const Coefficients *c)
{
    uint32_t k = 1;
    uint64_t rest = nonzero >> 1;
    while (rest) {
        uint64_t first, second, nothing = 0;
        int first_length, second_length, no_length = 0;
        NextCode<kPut, kOrder>(b, ac, c, &rest, &k, &nothing, &no_length, &first, &first_length);
        if (!rest) {
            PutBits<kPut>(b, first, first_length);
            break;
        }
        NextCode<kPut, kOrder>(b, ac, c, &rest, &k, &first, &first_length, &second, &second_length);
        PutBits<kPut>(b, (first << second_length) | second, first_length + second_length);
    }
}

/* The block's AC coefficients: nonzero has bit k set for each non-zero AC
 * coefficient of zigzag index k, whose word c holds in kOrder. Codes go
 * out two at a time, which halves the packing steps: an AC code has at
 * most 16 bits and 8-bit samples give at most 10 magnitude bits, so two
 * fit 52 bits. */
template <int kPut, int kOrder>
static PACKER_INLINE void PackAc(BitBuffer *b, const HuffmanTable *ac, uint64_t nonzero,
                                 const Coefficients *c)
{
    /* Keeps c in a register: without this the compiler addresses a local
     * block by the stack pointer and pays an add per coefficient. */
    __asm__("" : "+r"(c));
    if (__builtin_expect(HasLongRun(nonzero), 0))
        PackLongRuns<kPut, kOrder>(b, ac, nonzero, c);
    else
        PackShortRuns<kPut, kOrder>(b, ac, nonzero & ~1ull, c);
    PackEob<kPut>(b, ac, nonzero);
}

template <int kPut, int kOrder>
static PACKER_INLINE void PackBlock(BitBuffer *b, ComponentSpec *comp, int16_t dc, uint64_t nonzero,
                                    const Coefficients *c)
{
    PackDc<kPut>(b, comp, dc);
    PackAc<kPut, kOrder>(b, comp->ac_table, nonzero, c);
}

/* The stream's pending bits as the start of a bit buffer writing to out. */
static PACKER_INLINE BitBuffer TakeBits(const ByteStream *s, uint8_t *out)
{
    uint32_t pending;
    BitBuffer b;
    b.acc = TakePendingBits(s, &pending);
    b.free_bits = 64 - (int)pending;
    b.out = out;
    b.count = 0;
    return b;
}

/* Moves the whole bytes pending in b to its finished bytes. */
template <int kPut>
static PACKER_INLINE void FinishWholeBytes(BitBuffer *b)
{
    int pending = 64 - b->free_bits;
    for (; pending >= 8; pending -= 8)
        PutByte<kPut>(b, (uint8_t)(b->acc >> (pending - 8)));
    b->free_bits = 64 - pending;
}

/* Finishes the whole bytes of b, moves the stream past all bytes finished
 * since TakeBits and hands the partial byte back. */
template <int kPut>
static PACKER_INLINE void GiveBits(BitBuffer *b, ByteStream *s)
{
    FinishWholeBytes<kPut>(b);
    CommitBytes(s, b->count);
    GivePendingBits(s, b->acc, (uint32_t)(64 - b->free_bits));
}

#endif
