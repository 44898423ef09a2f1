#include "simd/naturalwords.h"
#include "transformonly.h"

int TransformOnlyAvx2(EncoderContext *ctx, uint32_t end)
{
    return EncodeMcusWith<TransformOnly<NaturalWords>, false>(ctx, end);
}
