#include "pnmread.h"

#include <cctype>

namespace {

struct PnmHeader {
    int channels = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t maxval = 0;
    uint64_t data_offset = 0;
};

}  // namespace

// Skips white space and '#' comments, then reads one decimal number.
static bool ReadNumber(const std::vector<uint8_t> &f, uint64_t *at, uint32_t *value)
{
    while (*at < f.size() && (isspace(f[*at]) || f[*at] == '#')) {
        if (f[*at] == '#')
            while (*at < f.size() && f[*at] != '\n')
                ++*at;
        else
            ++*at;
    }
    uint64_t v = 0;
    uint64_t start = *at;
    while (*at < f.size() && isdigit(f[*at]) && v <= UINT32_MAX)
        v = v * 10 + (f[(*at)++] - '0');
    if (*at == start || v > UINT32_MAX)
        return false;
    *value = static_cast<uint32_t>(v);
    return true;
}

static bool ParseHeader(const std::vector<uint8_t> &f, PnmHeader *h, std::string *error)
{
    if (f.size() < 2 || f[0] != 'P' || (f[1] != '5' && f[1] != '6'))
        return Refuse(error, "not a binary PGM or PPM file");
    h->channels = f[1] == '5' ? 1 : 3;
    uint64_t at = 2;
    if (!ReadNumber(f, &at, &h->width) || !ReadNumber(f, &at, &h->height) ||
        !ReadNumber(f, &at, &h->maxval))
        return Refuse(error, "malformed PNM header");
    if (at >= f.size() || !isspace(f[at]))
        return Refuse(error, "malformed PNM header");
    h->data_offset = at + 1;  // exactly one white-space byte ends the header
    if (h->width == 0 || h->height == 0)
        return Refuse(error, "PNM has no pixels (width or height is 0)");
    if (!CheckImageSize(h->width, h->height, error))
        return false;
    if (h->maxval == 0 || h->maxval > 65535)
        return Refuse(error, "PNM maximum sample value " + std::to_string(h->maxval) +
                                 " is outside 1..65535");
    return true;
}

static uint8_t Scale(uint32_t sample, uint32_t maxval)
{
    if (sample > maxval)
        sample = maxval;
    return static_cast<uint8_t>((sample * 255 + maxval / 2) / maxval);
}

bool ReadPnm(const std::vector<uint8_t> &file, HostBitmap *bitmap, std::string *error)
{
    PnmHeader h;
    if (!ParseHeader(file, &h, error))
        return false;
    unsigned sample_bytes = h.maxval > 255 ? 2 : 1;
    uint64_t row_samples = uint64_t{h.width} * h.channels;
    if (file.size() - h.data_offset < row_samples * sample_bytes * h.height)
        return Refuse(error, "file ends inside the PNM pixel data");
    ResizeHostBitmap(bitmap, h.width, h.height, static_cast<uint16_t>(8 * h.channels));
    const uint8_t *src = file.data() + h.data_offset;
    for (uint32_t y = 0; y < h.height; y++) {
        uint8_t *dst = TopDownRow(bitmap, y);
        for (uint64_t i = 0; i < row_samples; i++, src += sample_bytes) {
            uint32_t sample = sample_bytes == 2 ? src[0] << 8 | src[1] : src[0];
            // PPM stores red first; the host layout is blue first.
            uint64_t to = h.channels == 3 ? i - i % 3 + 2 - i % 3 : i;
            dst[to] = Scale(sample, h.maxval);
        }
    }
    return true;
}
