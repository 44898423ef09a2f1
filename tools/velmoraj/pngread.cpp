#include "pngread.h"

#include <cstring>

#include "pngdecode.h"

namespace {

struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bit_depth = 0;
    uint8_t colour_type = 0;
};

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// No deflate stream expands its input more than 1032-fold.
constexpr uint64_t kMaxInflation = 1032;

}  // namespace

static uint32_t Be32(const uint8_t *p)
{
    return uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

bool IsPng(const std::vector<uint8_t> &file)
{
    return file.size() >= sizeof kSignature &&
           memcmp(file.data(), kSignature, sizeof kSignature) == 0;
}

// Samples per pixel of a valid colour type and depth, else 0.
static unsigned Channels(uint8_t colour_type, uint8_t depth)
{
    bool eight_or_sixteen = depth == 8 || depth == 16;
    switch (colour_type) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || eight_or_sixteen ? 1 : 0;
    case 2: return eight_or_sixteen ? 3 : 0;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8 ? 1 : 0;
    case 4: return eight_or_sixteen ? 2 : 0;
    case 6: return eight_or_sixteen ? 4 : 0;
    default: return 0;
    }
}

// The IHDR chunk, which must come first. A file too short to inflate into
// the samples its header promises is refused here, so that a small file
// never makes the decoder allocate a large image.
static bool ParseHeader(const std::vector<uint8_t> &f, PngHeader *h, std::string *error)
{
    if (!IsPng(f) || f.size() < 33 || Be32(&f[8]) != 13 || memcmp(&f[12], "IHDR", 4) != 0)
        return Refuse(error, "not a PNG file (no header chunk after the signature)");
    h->width = Be32(&f[16]);
    h->height = Be32(&f[20]);
    h->bit_depth = f[24];
    h->colour_type = f[25];
    if (h->width == 0 || h->height == 0)
        return Refuse(error, "PNG has no pixels (width or height is 0)");
    if (!CheckImageSize(h->width, h->height, error))
        return false;
    unsigned channels = Channels(h->colour_type, h->bit_depth);
    if (channels == 0)
        return Refuse(error, "PNG colour type " + std::to_string(h->colour_type) + " with " +
                                 std::to_string(h->bit_depth) + "-bit samples is not valid");
    uint64_t sample_bytes = (uint64_t{h->width} * h->height * channels * h->bit_depth + 7) / 8;
    if (sample_bytes > kMaxInflation * f.size())
        return Refuse(error, "file is too short to hold the PNG's " + std::to_string(h->width) +
                                 "x" + std::to_string(h->height) + " pixels");
    return true;
}

// A chunk that claims more bytes than the file holds is refused before any
// decoder sees it: decoders allocate a chunk's claimed length before reading.
static bool CheckChunkLengths(const std::vector<uint8_t> &f, std::string *error)
{
    for (uint64_t at = 8; at + 8 <= f.size();) {
        uint64_t length = Be32(&f[at]);
        if (length + 12 > f.size() - at)
            return Refuse(error, "corrupt or truncated PNG: the chunk at offset " +
                                     std::to_string(at) + " claims " + std::to_string(length) +
                                     " bytes, more than the file holds");
        if (memcmp(&f[at + 4], "IEND", 4) == 0)
            break;
        at += 12 + length;
    }
    return true;
}

static uint8_t OverWhite(uint8_t sample, uint8_t alpha)
{
    return static_cast<uint8_t>((sample * alpha + 255 * (255 - alpha) + 127) / 255);
}

static void CompositeOverWhite(const std::vector<uint8_t> &bgra, HostBitmap *out)
{
    unsigned bytes = out->bits_per_pixel / 8;
    const uint8_t *src = bgra.data();
    for (uint32_t y = 0; y < out->height; y++) {
        uint8_t *dst = TopDownRow(out, y);
        for (uint32_t x = 0; x < out->width; x++, src += 4, dst += bytes)
            for (unsigned c = 0; c < bytes; c++)
                dst[c] = OverWhite(src[bytes == 1 ? 1 : c], src[3]);
    }
}

bool ReadPng(const std::vector<uint8_t> &file, HostBitmap *bitmap, std::string *error)
{
    PngHeader h;
    std::vector<uint8_t> bgra;
    if (!ParseHeader(file, &h, error) || !CheckChunkLengths(file, error) ||
        !DecodePngBgra(file, h.width, h.height, &bgra, error))
        return false;
    bool grey = h.colour_type == 0 || h.colour_type == 4;
    ResizeHostBitmap(bitmap, h.width, h.height, grey ? 8 : 24);
    CompositeOverWhite(bgra, bitmap);
    return true;
}
