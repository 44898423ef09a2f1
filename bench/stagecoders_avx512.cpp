#include "simd/zigzagwords.h"
#include "transformonly.h"

int TransformOnlyAvx512(EncoderContext *ctx, uint32_t end)
{
    return EncodeMcusWith<TransformOnly<ZigzagWords>, false>(ctx, end);
}
