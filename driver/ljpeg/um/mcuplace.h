/*
 * Where the MCU being read lies in the bottom-up bitmap; shared by the
 * plain and the fast pixel readers.
 */
#ifndef DRIVER_LJPEG_UM_MCUPLACE_H
#define DRIVER_LJPEG_UM_MCUPLACE_H

#include <stdint.h>

#include "jpeginternal.h"

/* The MCU's left column, the image rows from its top row to the bottom,
 * and the real columns it covers. */
typedef struct McuPlace {
    uint32_t x0;
    uint32_t rows_available;
    uint32_t columns;
} McuPlace;

static inline McuPlace PlaceMcu(const EncoderContext *ctx)
{
    McuPlace m;
    uint32_t row = ctx->mcus_done / ctx->mcus_per_row;
    uint32_t col = ctx->mcus_done % ctx->mcus_per_row;
    m.x0 = col * ctx->mcu_width;
    m.rows_available = ctx->height - row * ctx->mcu_height;
    m.columns = m.x0 + ctx->mcu_width > ctx->width ? ctx->width - m.x0 : ctx->mcu_width;
    return m;
}

/* Offset of the MCU's top row (the image is stored bottom row first), in
 * 64 bits so that no image size can wrap it. */
static inline uint64_t TopRowOffset(const EncoderContext *ctx, const McuPlace *m,
                                    uint32_t bytes_per_pixel)
{
    return ctx->pixel_data_start + (uint64_t)(m->rows_available - 1) * ctx->row_stride +
           (uint64_t)m->x0 * bytes_per_pixel;
}

#endif
