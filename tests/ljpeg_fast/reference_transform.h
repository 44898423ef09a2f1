// Straight transcription of the integer LLM transform and the dividing
// quantiser, the yardstick for the fast variants.
#ifndef LJPEG_FAST_REFERENCE_TRANSFORM_H
#define LJPEG_FAST_REFERENCE_TRANSFORM_H

#include <stdint.h>

void ReferenceForwardDct(const uint8_t block[64], int32_t out[64]);
void ReferenceQuantiseBlock(const int32_t coef[64], const uint16_t divisors[64], int16_t out[64]);

#endif
