// MCU coders for the stage profile (stageprofile.cpp): the fast MCU loops
// without bit packing, for CPUs that run the fast loop of the same set.
#ifndef BENCH_STAGECODERS_H
#define BENCH_STAGECODERS_H

#include "jpeginternal.h"

int TransformOnlyAvx2(EncoderContext *ctx, uint32_t end);
int TransformOnlyAvx512(EncoderContext *ctx, uint32_t end);

#endif
