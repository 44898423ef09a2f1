// The stream writer and one routine per marker segment. Every 16-bit value
// goes out with the output stream's Write16 (set to big-endian by the
// entry point), every other field with WriteByte.
#include <string.h>

#include "jpeginternal.h"

enum {
    MARKER_SOI = 0xFFD8,
    MARKER_EOI = 0xFFD9,
    MARKER_APP0 = 0xFFE0,
    MARKER_DHT = 0xFFC4,
    MARKER_DQT = 0xFFDB,
    MARKER_SOF0 = 0xFFC0,
    MARKER_DRI = 0xFFDD,
    MARKER_SOS = 0xFFDA
};

static int WriteBytes(ByteStream *s, const uint8_t *bytes, uint32_t n)
{
    for (uint32_t i = 0; i < n; i++) {
        if (!s->WriteByte(s, bytes[i]))
            return 0;
    }
    return 1;
}

// Sampling factors from the MCU size: Y covers the MCU, Cb and Cr one
// block each.
static int SetSamplingFactors(EncoderContext *ctx)
{
    if (ctx->component_count != 1 && ctx->component_count != 3)
        return 0;
    if ((ctx->mcu_width != 8 && ctx->mcu_width != 16) ||
        (ctx->mcu_height != 8 && ctx->mcu_height != 16)) {
        return 0;
    }
    ctx->components[0].h = (uint8_t)(ctx->mcu_width / 8);
    ctx->components[0].v = (uint8_t)(ctx->mcu_height / 8);
    for (int i = 1; i < 3; i++) {
        ctx->components[i].h = 1;
        ctx->components[i].v = 1;
    }
    return 1;
}

int WriteApp0(EncoderContext *ctx)
{
    static const uint8_t kJfif[14] = {
        'J', 'F', 'I', 'F', 0,  // identifier
        1,   1,                 // version 1.01
        0,                      // density units: aspect ratio only
        0,   1,   0,   1,       // horizontal and vertical density 1
        0,   0,                 // no thumbnail
    };
    ByteStream *s = ctx->output;
    return s->Write16(s, MARKER_APP0) && s->Write16(s, 16) && WriteBytes(s, kJfif, sizeof kJfif);
}

// Copies the constant table block to the stream table by table and builds
// each table's code lookup from the same bytes.
int WriteDht(EncoderContext *ctx, HuffmanTable tables[4])
{
    ByteStream *s = ctx->output;
    const int count = ctx->component_count == 1 ? 2 : 4;
    if (!s->Write16(s, MARKER_DHT) || !s->Write16(s, count == 2 ? 210 : 418))
        return 0;

    const uint8_t *definition = kHuffmanTables;
    for (int t = 0; t < count; t++) {
        memset(&tables[t], 0, sizeof tables[t]);
        uint32_t length = BuildHuffmanTable(definition, &tables[t]);
        if (!WriteBytes(s, definition, length))
            return 0;
        definition += length;
    }
    ctx->components[0].dc_table = &tables[0];
    ctx->components[0].ac_table = &tables[1];
    for (int i = 1; i < 3; i++) {
        ctx->components[i].dc_table = count == 4 ? &tables[2] : nullptr;
        ctx->components[i].ac_table = count == 4 ? &tables[3] : nullptr;
    }
    return 1;
}

int WriteDqt(EncoderContext *ctx, QuantTable tables[2])
{
    ByteStream *s = ctx->output;
    const int count = ctx->component_count == 1 ? 1 : 2;
    if (!s->Write16(s, MARKER_DQT) || !s->Write16(s, (uint16_t)(2 + 65 * count)))
        return 0;

    for (int t = 0; t < count; t++) {
        const uint8_t *entry = kBaseQuantTables + 65 * t;
        uint8_t values[64];
        if (!s->WriteByte(s, entry[0]))
            return 0;
        if (ctx->quality > 100)
            return 0;
        ScaleQuantTable(entry, QualityScale(ctx->quality), &tables[t], values);
        for (int k = 0; k < 64; k++) {
            if (!s->WriteByte(s, values[kZigzag[k]]))
                return 0;
        }
    }
    ctx->components[0].quant_table = &tables[0];
    for (int i = 1; i < 3; i++)
        ctx->components[i].quant_table = count == 2 ? &tables[1] : nullptr;
    return 1;
}

int WriteSof0(EncoderContext *ctx)
{
    ByteStream *s = ctx->output;
    ctx->image_height16 = (uint16_t)ctx->height;
    ctx->image_width16 = (uint16_t)ctx->width;
    if (!s->Write16(s, MARKER_SOF0) || !s->Write16(s, (uint16_t)(8 + 3 * ctx->component_count)) ||
        !s->WriteByte(s, 8) || !s->Write16(s, ctx->image_height16) ||
        !s->Write16(s, ctx->image_width16) || !s->WriteByte(s, ctx->component_count)) {
        return 0;
    }
    for (int i = 0; i < ctx->component_count; i++) {
        ComponentSpec *c = &ctx->components[i];
        c->id = (uint8_t)(i + 1);
        if (!s->WriteByte(s, c->id) || !s->WriteByte(s, (uint8_t)((c->h << 4) + (c->v & 0x0F))) ||
            !s->WriteByte(s, c->quant_table->tq)) {
            return 0;
        }
    }
    return 1;
}

// Written only for a nonzero restart interval, so that a decoder knows
// where the RST markers fall.
int WriteDri(EncoderContext *ctx)
{
    ByteStream *s = ctx->output;
    return s->Write16(s, MARKER_DRI) && s->Write16(s, 4) && s->Write16(s, ctx->restart_interval);
}

int WriteSos(EncoderContext *ctx)
{
    ByteStream *s = ctx->output;
    if (!s->Write16(s, MARKER_SOS) || !s->Write16(s, (uint16_t)(6 + 2 * ctx->component_count)) ||
        !s->WriteByte(s, ctx->component_count)) {
        return 0;
    }
    for (int i = 0; i < ctx->component_count; i++) {
        const ComponentSpec *c = &ctx->components[i];
        if (!s->WriteByte(s, c->id) ||
            !s->WriteByte(s, (uint8_t)((c->dc_table->th << 4) + (c->ac_table->th & 0x0F)))) {
            return 0;
        }
    }
    return s->WriteByte(s, 0) && s->WriteByte(s, 63) && s->WriteByte(s, 0);
}

// A failing stage adds its code to the status word; SOI and EOI have none.
static int Stage(int ok, uint16_t code)
{
    if (!ok)
        JpegStatusOr(code);
    return ok;
}

int WriteJpegStream(EncoderContext *ctx)
{
    HuffmanTable huffman[4];
    QuantTable quant[2];
    ByteStream *s = ctx->output;

    if (!SetSamplingFactors(ctx))
        return 0;
    if (!s->Write16(s, MARKER_SOI))
        return 0;
    if (!Stage(WriteApp0(ctx), JPEG_ERR_APP0))
        return 0;
    if (!Stage(WriteDht(ctx, huffman), JPEG_ERR_DHT))
        return 0;
    if (!Stage(WriteDqt(ctx, quant), JPEG_ERR_DQT))
        return 0;
    if (!Stage(WriteSof0(ctx), JPEG_ERR_SOF0))
        return 0;
    if (!Stage(EncodeScan(ctx), JPEG_ERR_SCAN))
        return 0;
    return s->Write16(s, MARKER_EOI);
}
