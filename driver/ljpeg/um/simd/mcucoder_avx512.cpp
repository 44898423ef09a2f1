/*
 * The interval's MCU loop with AVX-512 (F and BW) for the packer's input:
 * the MCU step of mcusteps.h with the sink of zigzagwords.h. Built with
 * AVX-512 enabled for this file (see sources.cmake); set-up calls it only
 * on CPUs that have it.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include "zigzagwords.h"

int EncodeMcusAvx512(EncoderContext *ctx, uint32_t end)
{
    return EncodeMcusWith<ZigzagWords, false>(ctx, end);
}

int EncodeMcusAvx512Dense(EncoderContext *ctx, uint32_t end)
{
    return EncodeMcusWith<ZigzagWords, true>(ctx, end);
}

#endif
