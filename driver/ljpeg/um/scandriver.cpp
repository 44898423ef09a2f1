// The scan: SOS, then every MCU in raster order, interval by interval,
// with RST markers between intervals when a restart interval is set.
#include "jpeginternal.h"

// Codes the MCUs from MCUs done up to end, block by block through the
// routine slots.
int EncodeMcus(EncoderContext *ctx, uint32_t end)
{
    uint8_t mcu[MCU_BUFFER_SIZE];
    int16_t quantised[64];

    for (; ctx->mcus_done < end; ctx->mcus_done++) {
        if (!ctx->pixel_reader(ctx, mcu))
            return 0;
        const uint8_t *block = mcu;
        for (int c = 0; c < ctx->component_count; c++) {
            ComponentSpec *comp = &ctx->components[c];
            for (int b = 0; b < comp->h * comp->v; b++, block += BLOCK_SAMPLES) {
                ctx->block_transform(block, comp->quant_table, quantised);
                if (!ctx->block_coder(ctx, comp, quantised))
                    return 0;
            }
        }
    }
    return 1;
}

// Codes one restart interval (the whole image when the interval is 0) and
// completes its last byte.
int EncodeInterval(EncoderContext *ctx)
{
    for (int i = 0; i < 3; i++)
        ctx->components[i].dc_predictor = 0;
    ctx->output->bit_accumulator = 0;

    uint32_t length = ctx->restart_interval ? ctx->restart_interval : ctx->total_mcus;
    uint32_t end =
        ctx->total_mcus - ctx->mcus_done < length ? ctx->total_mcus : ctx->mcus_done + length;
    if (!ctx->mcu_coder(ctx, end))
        return 0;
    return ctx->output->FlushBits(ctx->output);
}

int EncodeScan(EncoderContext *ctx)
{
    if (ctx->restart_interval && !WriteDri(ctx))
        return 0;
    if (!WriteSos(ctx))
        return 0;

    // In 32 bits: a 65535-pixel side must not wrap the rounding up.
    uint32_t mcu_w = ctx->mcu_width, mcu_h = ctx->mcu_height;
    ctx->image_width16 = (uint16_t)ctx->width;
    ctx->image_height16 = (uint16_t)ctx->height;
    ctx->mcus_per_row = (uint16_t)((ctx->image_width16 + mcu_w - 1) / mcu_w);
    ctx->total_mcus = (ctx->image_height16 + mcu_h - 1) / mcu_h * ctx->mcus_per_row;
    ctx->mcus_done = 0;

    for (uint16_t n = 0;; n = (uint16_t)((n + 1) % 8)) {
        if (!EncodeInterval(ctx))
            return 0;
        if (ctx->mcus_done >= ctx->total_mcus)
            return 1;
        if (!ctx->output->Write16(ctx->output, (uint16_t)(0xFFD0 + n)))
            return 0;
    }
}
