/*
 * Puts the fast variants that the running CPU supports into the routine
 * slots. Called once per encode by the encoder's set-up, after the plain
 * routines are in place; slots without a usable variant keep them.
 */
#include "fast_routines.h"

#include "jpeginternal.h"

void SelectFastRoutines(const JpegJob *job, bool avx512, EncoderOptions *opts)
{
    if (job->bits_per_pixel == 8)
        opts->pixel_reader = ReadGreyMcuFast;
#if VELMORAJ_X86
    const unsigned cpu = CpuFeatures();
    if (cpu & CPU_SSE2) {
        opts->block_transform = TransformBlockSse2;
        opts->block_coder = EncodeBlockSse2;
        opts->mcu_coder = EncodeMcusSse2;
        if (opts->chroma_sampler == Sample420)
            opts->chroma_sampler = Sample420Sse2;
        else if (opts->chroma_sampler == Sample422)
            opts->chroma_sampler = Sample422Sse2;
    }
    if ((cpu & CPU_AVX2) && (cpu & CPU_BMI2)) {
        opts->block_coder = EncodeBlockBmi2;
        opts->mcu_coder = EncodeMcusAvx2;
        if (avx512 && (cpu & CPU_AVX512))
            opts->mcu_coder = EncodeMcusAvx512;
    }
    if (cpu & CPU_AVX2) {
        opts->block_transform = TransformBlockAvx2;
        if (job->bits_per_pixel != 8)
            opts->pixel_reader = ColourReaderAvx2(
                job->bits_per_pixel, job->channel_order == JPEG_ORDER_BLUE_LOW, job->sampling);
    }
#endif
}
