#include "bmpread.h"

#include <cstring>

namespace {

enum : uint32_t { kBiRgb = 0, kBiBitfields = 3 };

struct BmpHeader {
    uint32_t data_offset = 0;
    uint32_t header_size = 0;
    int64_t width = 0;
    int64_t height = 0;  // negative: rows stored top row first
    uint16_t planes = 0;
    uint16_t bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t colours_used = 0;
    uint32_t masks[3] = {0, 0, 0};  // red, green, blue
    uint64_t palette_offset = 0;
    unsigned palette_entry_size = 4;
};

struct Palette {
    uint8_t bgr[256][3];
    uint32_t count = 0;
    bool grey = true;
};

}  // namespace

static uint32_t Le16(const std::vector<uint8_t> &f, uint64_t at)
{
    return f[at] | f[at + 1] << 8;
}

static uint32_t Le32(const std::vector<uint8_t> &f, uint64_t at)
{
    return f[at] | f[at + 1] << 8 | f[at + 2] << 16 | uint32_t{f[at + 3]} << 24;
}

static bool ParseInfoHeader(const std::vector<uint8_t> &f, BmpHeader *h, std::string *error)
{
    const uint64_t base = 14;
    if (h->header_size == 12) {  // core header: 16-bit sizes, 3-byte palette entries
        h->width = Le16(f, base + 4);
        h->height = Le16(f, base + 6);
        h->planes = static_cast<uint16_t>(Le16(f, base + 8));
        h->bits = static_cast<uint16_t>(Le16(f, base + 10));
        h->palette_offset = base + 12;
        h->palette_entry_size = 3;
        return true;
    }
    if (h->header_size != 40 && h->header_size != 52 && h->header_size != 56 &&
        h->header_size != 108 && h->header_size != 124)
        return Refuse(error, "unsupported BMP header size " + std::to_string(h->header_size));
    h->width = static_cast<int32_t>(Le32(f, base + 4));
    h->height = static_cast<int32_t>(Le32(f, base + 8));
    h->planes = static_cast<uint16_t>(Le16(f, base + 12));
    h->bits = static_cast<uint16_t>(Le16(f, base + 14));
    h->compression = Le32(f, base + 16);
    h->colours_used = Le32(f, base + 32);
    uint64_t masks_at = base + 40;
    h->palette_offset = base + h->header_size;
    if (h->header_size == 40 && h->compression == kBiBitfields)
        h->palette_offset += 12;  // the masks follow a plain info header
    if (h->compression == kBiBitfields) {
        if (masks_at + 12 > f.size())
            return Refuse(error, "file ends inside the BMP colour masks");
        for (int i = 0; i < 3; i++)
            h->masks[i] = Le32(f, masks_at + 4 * i);
    }
    return true;
}

static bool ParseHeader(const std::vector<uint8_t> &f, BmpHeader *h, std::string *error)
{
    if (f.size() < 18 || f[0] != 'B' || f[1] != 'M')
        return Refuse(error, "not a BMP file");
    h->data_offset = Le32(f, 10);
    h->header_size = Le32(f, 14);
    if (14 + uint64_t{h->header_size} > f.size())
        return Refuse(error, "file ends inside the BMP header");
    if (!ParseInfoHeader(f, h, error))
        return false;
    if (h->planes != 1)
        return Refuse(error, "BMP plane count is " + std::to_string(h->planes) + ", not 1");
    if (h->width <= 0 || h->height == 0)
        return Refuse(error, "BMP has no pixels (width or height is 0 or negative)");
    uint64_t height = h->height < 0 ? -h->height : h->height;
    return CheckImageSize(uint64_t(h->width), height, error);
}

static bool CheckFormat(const BmpHeader &h, std::string *error)
{
    switch (h.bits) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (h.compression == kBiRgb)
            return true;
        break;
    case 16:
    case 32:
        if (h.compression == kBiRgb || h.compression == kBiBitfields)
            return true;
        break;
    default:
        return Refuse(error,
                      "unsupported BMP depth of " + std::to_string(h.bits) + " bits per pixel");
    }
    return Refuse(error, "compressed BMP (compression " + std::to_string(h.compression) +
                             ") is not supported");
}

static bool ReadPalette(const std::vector<uint8_t> &f, const BmpHeader &h, Palette *p,
                        std::string *error)
{
    uint32_t limit = 1u << h.bits;
    p->count = h.colours_used ? h.colours_used : limit;
    if (p->count > limit)
        return Refuse(error, "BMP palette has " + std::to_string(p->count) +
                                 " entries, more than " + std::to_string(limit));
    if (h.palette_offset + uint64_t{p->count} * h.palette_entry_size > f.size())
        return Refuse(error, "file ends inside the BMP palette");
    for (uint32_t i = 0; i < p->count; i++) {
        const uint8_t *e = &f[h.palette_offset + uint64_t{i} * h.palette_entry_size];
        memcpy(p->bgr[i], e, 3);
        p->grey = p->grey && e[0] == e[1] && e[1] == e[2];
    }
    return true;
}

// Decides the depth of the result: what the file holds, or 8 (grey) / 24
// for palettes, or 24 for 5-6-5. Rejects masks it does not know.
static bool TargetDepth(const BmpHeader &h, const Palette &p, uint16_t *depth, std::string *error)
{
    static const uint32_t k555[3] = {0x7C00, 0x03E0, 0x001F};
    static const uint32_t k565[3] = {0xF800, 0x07E0, 0x001F};
    static const uint32_t k888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    *depth = h.bits;
    if (h.bits <= 8)
        *depth = p.grey ? 8 : 24;
    if (h.compression != kBiBitfields)
        return true;
    if (h.bits == 16 && memcmp(h.masks, k555, sizeof k555) == 0)
        return true;
    if (h.bits == 16 && memcmp(h.masks, k565, sizeof k565) == 0) {
        *depth = 24;
        return true;
    }
    if (h.bits == 32 && memcmp(h.masks, k888, sizeof k888) == 0)
        return true;
    return Refuse(error, "unsupported BMP colour masks");
}

static bool ConvertPaletteRow(const uint8_t *src, const BmpHeader &h, const Palette &p,
                              uint8_t *dst, uint16_t depth, std::string *error)
{
    unsigned mask = (1u << h.bits) - 1;
    for (uint32_t x = 0; x < h.width; x++) {
        uint32_t bit = x * h.bits;
        unsigned index = src[bit / 8] >> (8 - h.bits - bit % 8) & mask;
        if (index >= p.count)
            return Refuse(error, "pixel uses palette entry " + std::to_string(index) + " of only " +
                                     std::to_string(p.count));
        if (depth == 8)
            dst[x] = p.bgr[index][0];
        else
            memcpy(dst + 3 * x, p.bgr[index], 3);
    }
    return true;
}

static void Expand565Row(const uint8_t *src, uint32_t width, uint8_t *dst)
{
    for (uint32_t x = 0; x < width; x++, src += 2, dst += 3) {
        unsigned v = src[0] | src[1] << 8;
        unsigned r = v >> 11, g = v >> 5 & 63, b = v & 31;
        dst[0] = static_cast<uint8_t>(b << 3 | b >> 2);
        dst[1] = static_cast<uint8_t>(g << 2 | g >> 4);
        dst[2] = static_cast<uint8_t>(r << 3 | r >> 2);
    }
}

static bool ConvertRows(const std::vector<uint8_t> &f, const BmpHeader &h, const Palette &p,
                        HostBitmap *out, std::string *error)
{
    uint64_t stride = RowStride(static_cast<uint32_t>(h.width), h.bits);
    uint64_t row_bytes = (uint64_t(h.width) * h.bits + 7) / 8;
    for (uint32_t i = 0; i < out->height; i++) {
        const uint8_t *src = &f[h.data_offset + i * stride];
        uint32_t y = h.height < 0 ? i : out->height - 1 - i;
        uint8_t *dst = TopDownRow(out, y);
        if (h.bits <= 8) {
            if (!ConvertPaletteRow(src, h, p, dst, out->bits_per_pixel, error))
                return false;
        } else if (h.bits == 16 && out->bits_per_pixel == 24) {
            Expand565Row(src, out->width, dst);
        } else {
            memcpy(dst, src, row_bytes);
        }
    }
    return true;
}

bool ReadBmp(const std::vector<uint8_t> &file, HostBitmap *bitmap, std::string *error)
{
    BmpHeader h;
    Palette palette;
    uint16_t depth = 0;
    if (!ParseHeader(file, &h, error) || !CheckFormat(h, error))
        return false;
    if (h.bits <= 8 && !ReadPalette(file, h, &palette, error))
        return false;
    if (!TargetDepth(h, palette, &depth, error))
        return false;
    uint32_t height = static_cast<uint32_t>(h.height < 0 ? -h.height : h.height);
    uint64_t stride = RowStride(static_cast<uint32_t>(h.width), h.bits);
    uint64_t needed = (height - 1) * stride + (uint64_t(h.width) * h.bits + 7) / 8;
    if (h.data_offset > file.size() || file.size() - h.data_offset < needed)
        return Refuse(error, "file ends inside the BMP pixel data");
    ResizeHostBitmap(bitmap, static_cast<uint32_t>(h.width), height, depth);
    return ConvertRows(file, h, palette, bitmap, error);
}
