/*
 * Puts the fast variants that the running CPU supports into the routine
 * slots. Called once per encode by the encoder's set-up, after the plain
 * routines are in place; slots without a usable variant keep them.
 */
#include "fast_routines.h"

#include "jpeginternal.h"

/* From this quality on, codes are long enough that the bit buffer fills
 * every few codes; a store after every code then costs less than the
 * mispredicted branch on a full word (on photographs, quality 90 gains 6
 * to 10 % in colour; lower qualities lose). */
enum { kDenseQuality = 90 };

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
        const bool dense = job->quality >= kDenseQuality;
        const bool wide = avx512 && (cpu & CPU_AVX512);
        opts->block_coder = EncodeBlockBmi2;
        if (wide)
            opts->mcu_coder = dense ? EncodeMcusAvx512Dense : EncodeMcusAvx512;
        else
            opts->mcu_coder = dense ? EncodeMcusAvx2Dense : EncodeMcusAvx2;
    }
    if (cpu & CPU_AVX2) {
        opts->block_transform = TransformBlockAvx2;
        if (job->bits_per_pixel != 8)
            opts->pixel_reader = ColourReaderAvx2(
                job->bits_per_pixel, job->channel_order == JPEG_ORDER_BLUE_LOW, job->sampling);
    }
#endif
}
