// Encoder set-up: the one place that picks routine variants, and the
// filling of the encoder context from the job.
#include <string.h>

#include "jpeginternal.h"
#include "simd/fast_routines.h"

// The pixel reader for a depth and channel order; 0 for an unknown depth.
static PixelReader ChooseReader(uint16_t bits_per_pixel, uint8_t channel_order)
{
    const bool blue_low = channel_order == JPEG_ORDER_BLUE_LOW;
    switch (bits_per_pixel) {
    case 8: return ReadGreyMcu;
    case 16: return blue_low ? ReadBgr16Mcu : ReadRgb16Mcu;
    case 24: return blue_low ? ReadBgr24Mcu : ReadRgb24Mcu;
    case 32: return blue_low ? ReadBgr32Mcu : ReadRgb32Mcu;
    default: return nullptr;
    }
}

// Fills every routine slot of the options with the plain routines, then,
// unless only those are asked for, with the fast variants this CPU runs.
void SelectRoutines(const JpegJob *job, uint8_t routines, EncoderOptions *opts)
{
    static const ChromaSampler kSamplers[3] = {Sample420, Sample422, Sample444};
    opts->pixel_reader = ChooseReader(job->bits_per_pixel, job->channel_order);
    opts->chroma_sampler =
        job->bits_per_pixel == 8 || job->sampling > 2 ? nullptr : kSamplers[job->sampling];
    opts->block_transform = TransformBlock;
    opts->block_coder = EncodeBlock;
    opts->mcu_coder = EncodeMcus;
    if (routines != ROUTINES_PLAIN)
        SelectFastRoutines(job, routines == ROUTINES_FASTEST, opts);
}

int EncoderSetup(const JpegJob *job, const EncoderOptions *opts, ByteStream *input,
                 ByteStream *output, EncoderContext *ctx)
{
    static const uint8_t kMcuWidth[3] = {16, 16, 8};
    static const uint8_t kMcuHeight[3] = {16, 8, 8};

    if (opts->version != 1 || opts->reserved != 0) {
        JpegStatusOr(JPEG_ERR_OPTIONS);
        return 0;
    }
    memset(ctx, 0, sizeof *ctx);
    ctx->quality = opts->quality;
    ctx->stream_kind = opts->stream_kind;
    ctx->restart_interval = opts->restart_interval;
    ctx->block_coder = opts->block_coder;
    ctx->block_transform = opts->block_transform;
    ctx->mcu_coder = opts->mcu_coder;
    ctx->input = input;
    ctx->output = output;
    input->SetReadOrder(input, STREAM_LITTLE_ENDIAN);
    output->SetWriteOrder(output, STREAM_BIG_ENDIAN);
    ctx->pixel_data_start = input->Tell(input);
    ctx->width = job->width;
    ctx->height = job->height;
    ctx->row_stride = DibRowStride(job->width, job->bits_per_pixel);
    ctx->pixel_reader = opts->pixel_reader;
    if (job->bits_per_pixel == 8) {
        ctx->component_count = 1;
        ctx->mcu_width = 8;
        ctx->mcu_height = 8;
    } else {
        ctx->component_count = 3;
        ctx->mcu_width = kMcuWidth[job->sampling];
        ctx->mcu_height = kMcuHeight[job->sampling];
        ctx->chroma_sampler = opts->chroma_sampler;
    }
    return WriteJpegStream(ctx);
}
