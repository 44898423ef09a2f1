/*
 * The grey reader with whole-row copies instead of a stream call per byte.
 * A row that would fail is left to the plain reader, which then fails with
 * exactly its own codes (none, or the stream's 0x0005).
 */
#include "fast_routines.h"

#include <string.h>

#include "jpeginternal.h"
#include "mcuplace.h"

int ReadGreyMcuFast(EncoderContext *ctx, uint8_t *mcu)
{
    if (ctx->mcu_width != 8 || ctx->mcu_height != 8)
        return ReadGreyMcu(ctx, mcu);
    const ByteStream *in = ctx->input;
    const McuPlace m = PlaceMcu(ctx);
    uint64_t offset = TopRowOffset(ctx, &m, 1);

    /* A block wholly inside the image: its top row lies highest in memory,
     * so if that one fits, all do. */
    if (m.columns == 8 && m.rows_available >= 8 && offset + 8 <= in->size) {
        const uint8_t *top = in->data + offset;
        for (uint32_t i = 0; i < 8; ++i)
            memcpy(mcu + 8 * i, top - (size_t)i * ctx->row_stride, 8);
        return 1;
    }
    for (uint32_t i = 0; i < 8; ++i) {
        uint8_t *row = mcu + 8 * i;
        if (i >= m.rows_available) {
            memcpy(row, row - 8, 8);
            continue;
        }
        if (offset + m.columns > in->size)
            return ReadGreyMcu(ctx, mcu);
        if (m.columns == 8) {
            memcpy(row, in->data + offset, 8);
        } else {
            memcpy(row, in->data + offset, m.columns);
            memset(row + m.columns, row[m.columns - 1], 8 - m.columns);
        }
        offset -= ctx->row_stride;
    }
    return 1;
}
