// Pixel readers: one MCU of the bottom-up bitmap into Y, Cb and Cr planes
// (colour) or into the single block of the MCU buffer (grey), repeating
// the last real column and row past the image's edges.
#include <string.h>

#include "jpeginternal.h"
#include "mcuplace.h"

// Integer YCbCr conversion; each line adds one half before the shift.
// Pure blue gives Cb 256 and pure red Cr 256 before the limit.
void RgbToYcc(int r, int g, int b, uint8_t *y, uint8_t *cb, uint8_t *cr)
{
    int yy = (77 * r + 150 * g + 29 * b + 128) >> 8;
    int u = ((128 * (b + 1) - 43 * r - 85 * g) >> 8) + 128;
    int v = ((128 * (r + 1) - 107 * g - 21 * b) >> 8) + 128;
    *y = (uint8_t)(yy > 255 ? 255 : yy);
    *cb = (uint8_t)(u < 0 ? 0 : u > 255 ? 255 : u);
    *cr = (uint8_t)(v < 0 ? 0 : v > 255 ? 255 : v);
}

// How each colour reader turns a pixel's bytes into R, G, B.
struct Rgb16 {
    enum { kBytes = 2 };
    static void Take(const uint8_t *p, int *r, int *g, int *b)
    {
        uint32_t v = p[0] | p[1] << 8;
        *r = (v & 0x1F) << 3;
        *g = (v >> 5 & 0x1F) << 3;
        *b = (v >> 10 & 0x1F) << 3;
    }
};
struct Bgr16 {
    enum { kBytes = 2 };
    static void Take(const uint8_t *p, int *r, int *g, int *b) { Rgb16::Take(p, b, g, r); }
};
template <int N>
struct RgbN {
    enum { kBytes = N };
    static void Take(const uint8_t *p, int *r, int *g, int *b)
    {
        *r = p[0];
        *g = p[1];
        *b = p[2];
    }
};
template <int N>
struct BgrN {
    enum { kBytes = N };
    static void Take(const uint8_t *p, int *r, int *g, int *b)
    {
        *b = p[0];
        *g = p[1];
        *r = p[2];
    }
};

template <class Pixel>
static int ReadColourMcu(EncoderContext *ctx, uint8_t *mcu)
{
    uint8_t planes[3][MCU_PLANE_SIZE];
    const ByteStream *in = ctx->input;
    const McuPlace m = PlaceMcu(ctx);
    const uint32_t width = ctx->mcu_width;
    uint64_t offset = TopRowOffset(ctx, &m, Pixel::kBytes);

    for (uint32_t i = 0; i < ctx->mcu_height; i++) {
        uint8_t *y = planes[0] + i * width, *cb = planes[1] + i * width,
                *cr = planes[2] + i * width;
        if (i >= m.rows_available) {
            memcpy(y, y - width, width);
            memcpy(cb, cb - width, width);
            memcpy(cr, cr - width, width);
            continue;
        }
        if (offset + (uint64_t)m.columns * Pixel::kBytes > in->size) {
            JpegStatusOr(JPEG_ERR_BOUNDS);
            return 0;
        }
        const uint8_t *p = in->data + offset;
        for (uint32_t j = 0; j < m.columns; j++, p += Pixel::kBytes) {
            int r, g, b;
            Pixel::Take(p, &r, &g, &b);
            RgbToYcc(r, g, b, y + j, cb + j, cr + j);
        }
        uint32_t last = m.columns - 1;
        memset(y + m.columns, y[last], width - m.columns);
        memset(cb + m.columns, cb[last], width - m.columns);
        memset(cr + m.columns, cr[last], width - m.columns);
        offset -= ctx->row_stride;
    }
    ctx->chroma_sampler(mcu, planes[0], planes[1], planes[2]);
    return 1;
}

int ReadRgb16Mcu(EncoderContext *ctx, uint8_t *mcu)
{
    return ReadColourMcu<Rgb16>(ctx, mcu);
}
int ReadBgr16Mcu(EncoderContext *ctx, uint8_t *mcu)
{
    return ReadColourMcu<Bgr16>(ctx, mcu);
}
int ReadRgb24Mcu(EncoderContext *ctx, uint8_t *mcu)
{
    return ReadColourMcu<RgbN<3>>(ctx, mcu);
}
int ReadBgr24Mcu(EncoderContext *ctx, uint8_t *mcu)
{
    return ReadColourMcu<BgrN<3>>(ctx, mcu);
}
int ReadRgb32Mcu(EncoderContext *ctx, uint8_t *mcu)
{
    return ReadColourMcu<RgbN<4>>(ctx, mcu);
}
int ReadBgr32Mcu(EncoderContext *ctx, uint8_t *mcu)
{
    return ReadColourMcu<BgrN<4>>(ctx, mcu);
}

// The grey reader goes through the input stream: a row that starts at or
// past the input's end fails without a code, one that runs past it fails
// in ReadByte with the stream's code.
int ReadGreyMcu(EncoderContext *ctx, uint8_t *mcu)
{
    if (ctx->mcu_width != 8 || ctx->mcu_height != 8)
        return 0;
    ByteStream *in = ctx->input;
    const McuPlace m = PlaceMcu(ctx);
    uint64_t offset = TopRowOffset(ctx, &m, 1);

    for (uint32_t i = 0; i < 8; i++) {
        uint8_t *row = mcu + i * 8;
        if (i >= m.rows_available) {
            memcpy(row, row - 8, 8);
            continue;
        }
        if (offset >= in->size)
            return 0;
        in->position = (uint32_t)offset;
        for (uint32_t j = 0; j < 8; j++) {
            if (j >= m.columns) {
                row[j] = row[j - 1];
            } else if (!in->ReadByte(in, &row[j])) {
                return 0;
            }
        }
        offset -= ctx->row_stride;
    }
    return 1;
}
