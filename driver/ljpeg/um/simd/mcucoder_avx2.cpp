/*
 * The interval's MCU loop in AVX2 with BMI2: the MCU step of mcusteps.h
 * with the sink of naturalwords.h. Built with AVX2 and BMI2 enabled for
 * this file (see sources.cmake); set-up calls it only on CPUs that have
 * both.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include "naturalwords.h"

int EncodeMcusAvx2(EncoderContext *ctx, uint32_t end)
{
    return EncodeMcusWith<NaturalWords, false>(ctx, end);
}

int EncodeMcusAvx2Dense(EncoderContext *ctx, uint32_t end)
{
    return EncodeMcusWith<NaturalWords, true>(ctx, end);
}

#endif
