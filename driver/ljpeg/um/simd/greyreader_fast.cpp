/*
 * The grey reader with whole-row copies instead of a stream call per byte.
 * A row that would fail is left to the plain reader, which then fails with
 * exactly its own codes (none, or the stream's 0x0005).
 */
#include "fast_routines.h"

#include <string.h>

#include "jpeginternal.h"

int ReadGreyMcuFast(EncoderContext *ctx, uint8_t *mcu)
{
    if (ctx->mcu_width != 8 || ctx->mcu_height != 8)
        return ReadGreyMcu(ctx, mcu);
    const ByteStream *in = ctx->input;
    const uint32_t mcu_row = ctx->mcus_done / ctx->mcus_per_row;
    const uint32_t x0 = ctx->mcus_done % ctx->mcus_per_row * 8;
    const uint32_t rows_available = ctx->height - mcu_row * 8;
    const uint32_t columns = x0 + 8 > ctx->width ? ctx->width - x0 : 8;
    uint64_t offset = ctx->pixel_data_start + (uint64_t)(rows_available - 1) * ctx->row_stride + x0;

    for (uint32_t i = 0; i < 8; ++i) {
        uint8_t *row = mcu + 8 * i;
        if (i >= rows_available) {
            memcpy(row, row - 8, 8);
            continue;
        }
        if (offset + columns > in->size)
            return ReadGreyMcu(ctx, mcu);
        if (columns == 8) {
            memcpy(row, in->data + offset, 8);
        } else {
            memcpy(row, in->data + offset, columns);
            memset(row + columns, row[columns - 1], 8 - columns);
        }
        offset -= ctx->row_stride;
    }
    return 1;
}
