/*
 * The interval's MCU loop in AVX2 with BMI2: the transform step of
 * transform_step_avx2.h, each block then packed by the scalar packer of
 * bitpacker.h. MCUs of one or three blocks are taken two at a time, so that
 * all pair up. Built with AVX2 and BMI2 enabled for this file (see
 * sources.cmake); set-up calls it only on CPUs that have both.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include "transform_step_avx2.h"

struct ScalarPacker {
    template <bool kStore>
    static AVX2_INLINE void Pack(BitBuffer *b, ComponentSpec *comp, const Analysed *a)
    {
        PackBlock<kStore>(b, comp, a->dc, ToZigzag(~a->zeros), &a->c);
    }
};

int EncodeMcusAvx2(EncoderContext *ctx, uint32_t end)
{
    return ctx->stream_kind & 1 ? PackMcus<true, TransformStep<ScalarPacker>>(ctx, end)
                                : PackMcus<false, TransformStep<ScalarPacker>>(ctx, end);
}

#endif
