/*
 * The fast coders' MCU loop: steps of one or two MCUs, each transformed
 * and then packed with bitpacker.h straight into the output, or first
 * into a buffer of its own (dense steps), whose bytes are then stuffed
 * into the output or counted.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_MCULOOP_H
#define DRIVER_LJPEG_UM_SIMD_MCULOOP_H

#include <emmintrin.h>

#include "bitpacker.h"

/* The set bits of a 16-bit mask, without POPCNT, which the SSE2 coders
 * cannot assume. */
static PACKER_INLINE uint32_t PopCount16(uint32_t m)
{
    m -= (m >> 1) & 0x5555;
    m = (m & 0x3333) + ((m >> 2) & 0x3333);
    m = (m + (m >> 4)) & 0x0F0F;
    return (m + (m >> 8)) & 0x1F;
}

/* Copies n unstuffed bytes from src to dst with a 0x00 after each 0xFF;
 * returns the bytes written. Sixteen bytes a step up to the first 0xFF
 * (the last step overlaps the one before), one at a time from there. */
static PACKER_INLINE uint32_t CopyStuffed(uint8_t *dst, const uint8_t *src, uint32_t n)
{
    const __m128i ff = _mm_set1_epi8(-1);
    uint32_t i = 0;
    if (n >= 16) {
        for (;; i += 16) {
            if (i + 16 > n)
                i = n - 16;
            __m128i v = _mm_loadu_si128((const __m128i *)(src + i));
            if (_mm_movemask_epi8(_mm_cmpeq_epi8(v, ff)))
                break;
            _mm_storeu_si128((__m128i *)(dst + i), v);
            if (i + 16 == n)
                return n;
        }
    }
    /* No 0xFF before i, so the bytes from i go to the same place. */
    uint32_t o = i;
    for (; i < n; ++i)
        PutStuffed(dst, &o, src[i]);
    return o;
}

/* n plus the count of 0xFF among the n unstuffed bytes at raw: their
 * length once stuffed. Sixteen bytes a step; the last step takes the
 * sixteen bytes that end at n and counts only those not yet counted. */
static PACKER_INLINE uint32_t StuffedLength(const uint8_t *raw, uint32_t n)
{
    if (n < 16) {
        uint32_t length = 0;
        for (uint32_t i = 0; i < n; ++i)
            CountStuffed(&length, raw[i]);
        return length;
    }
    const __m128i ff = _mm_set1_epi8(-1);
    uint32_t ffs = 0, i = 0;
    for (; i + 16 <= n; i += 16)
        ffs += PopCount16(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128((const __m128i *)(raw + i)), ff)));
    if (i < n)
        ffs += PopCount16(_mm_movemask_epi8(_mm_cmpeq_epi8(
                              _mm_loadu_si128((const __m128i *)(raw + n - 16)), ff)) >>
                          (16 - (n - i)));
    return n + ffs;
}

/* True when the step's analysed blocks, packed after the bits of b, leave
 * no more than room_left bytes finished, the whole bytes still pending
 * included. They are packed without stores, and the DC predictors are put
 * back. */
template <class Step>
static PACKER_INLINE bool StepFits(EncoderContext *ctx, const BitBuffer *b,
                                   ComponentSpec *const *block_comp, uint32_t blocks,
                                   const typename Step::Analysed *a, uint32_t room_left)
{
    int16_t predictor[3];
    for (int i = 0; i < 3; ++i)
        predictor[i] = ctx->components[i].dc_predictor;
    BitBuffer trial = *b;
    Step::template Pack<PUT_COUNT>(&trial, block_comp, blocks, a);
    FinishWholeBytes<PUT_COUNT>(&trial);
    for (int i = 0; i < 3; ++i)
        ctx->components[i].dc_predictor = predictor[i];
    return trial.count <= room_left;
}

/* Codes the interval's MCUs from MCUs done on, a step at a time: the step
 * reads its MCUs, Step::Analyse transforms their blocks into a
 * Step::Analysed record (given the MCU buffer, the component of each
 * block and the block count) and Step::Pack<put mode> packs them. kStore
 * stores the bytes, else they are only counted; kDense packs with
 * PUT_UNSTUFFED into a buffer of the step's own, whose bytes are then
 * copied out stuffed or counted. When Step::kTwoMcus is set and an MCU
 * has an odd number of blocks, a step reads two MCUs (the last step of
 * the interval may read one), so that the step's blocks pair up.
 *
 * The packer writes straight into the output. While the room left holds
 * what a step may write, the step goes out at once; nearer the end of the
 * output a step reads one MCU and goes out only when a packing without
 * stores shows that it fits. Else the plain loop codes the rest of the
 * interval from that MCU on and fails where the plain coder fails. The
 * bytes finished so far are in the output (or counted) and the stream gets
 * its partial byte back whenever the loop ends, also when the pixel reader
 * fails; an MCU read before a failing one is coded first, as the plain
 * loop does. */
template <bool kStore, bool kDense, class Step>
static PACKER_INLINE int PackMcus(EncoderContext *ctx, uint32_t end)
{
    uint8_t mcus[2 * MCU_BUFFER_SIZE];
    ComponentSpec *block_comp[12];
    uint32_t blocks = 0;
    for (uint32_t c = 0; c < ctx->component_count; ++c)
        for (uint32_t k = (uint32_t)ctx->components[c].h * ctx->components[c].v; k > 0; --k)
            block_comp[blocks++] = &ctx->components[c];
    const bool two = Step::kTwoMcus && blocks % 2 == 1;
    for (uint32_t i = 0; i < blocks; ++i)
        block_comp[blocks + i] = block_comp[i];
    ByteStream *s = ctx->output;
    const uint32_t room = (two ? 2 : 1) * blocks * BLOCK_ROOM;

    const uint32_t room_left = RoomLeft(s);
    BitBuffer b = TakeBits(s, NextBytes(s));
    int ok = 1;
    /* A dense step packs here, eight bytes past its last byte included. */
    uint8_t unstuffed[kDense ? 6 * RAW_BLOCK_ROOM : 1];
    constexpr int kPut = kStore ? PUT_STUFFED : PUT_COUNT;
    for (; ctx->mcus_done < end; ctx->mcus_done++) {
        const bool tight = room_left - b.count < room;
        if (!ctx->pixel_reader(ctx, mcus)) {
            ok = 0;
            break;
        }
        uint32_t count = blocks;
        if (two && !tight && ctx->mcus_done + 1 < end) {
            ctx->mcus_done++;
            if (ctx->pixel_reader(ctx, mcus + 64 * blocks))
                count = 2 * blocks;
            else
                ok = 0;
        }
        /* The second MCU's blocks follow the first's. */
        typename Step::Analysed a;
        Step::Analyse(ctx, mcus, block_comp, count, &a);
        if (tight) {
            if (!StepFits<Step>(ctx, &b, block_comp, count, &a, room_left))
                break;
            Step::template Pack<kPut>(&b, block_comp, count, &a);
        } else if (kDense) {
            BitBuffer raw = b;
            raw.out = unstuffed;
            raw.count = 0;
            raw.pending_bits = 64 - b.free_bits;
            Step::template Pack<PUT_UNSTUFFED>(&raw, block_comp, count, &a);
            b.acc = raw.acc;
            b.free_bits = 64 - raw.pending_bits;
            b.count += kStore ? CopyStuffed(b.out + b.count, unstuffed, raw.count)
                              : StuffedLength(unstuffed, raw.count);
        } else {
            Step::template Pack<kPut>(&b, block_comp, count, &a);
        }
        if (!ok)
            break;
    }
    GiveBits<kPut>(&b, s);
    return ok && EncodeMcus(ctx, end);
}

#endif
