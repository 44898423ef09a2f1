#include "pngbuild.h"

#include <string>

using Bytes = std::vector<uint8_t>;

static void PutBe32(Bytes *out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(static_cast<uint8_t>(v >> shift));
}

static uint32_t Crc32(const uint8_t *p, size_t n)
{
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < n; i++) {
        crc ^= p[i];
        for (int k = 0; k < 8; k++)
            crc = crc >> 1 ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

static void PutChunk(Bytes *out, const char *type, const Bytes &data)
{
    PutBe32(out, static_cast<uint32_t>(data.size()));
    size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data.begin(), data.end());
    PutBe32(out, Crc32(out->data() + start, out->size() - start));
}

static unsigned Channels(uint8_t colour_type)
{
    static const unsigned kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    return kChannels[colour_type];
}

// One filtered row (filter type 0) of the pixels at x0, x0 + dx, ... of row y.
static void PutRow(const PngSpec &s, uint32_t y, uint32_t x0, uint32_t dx, Bytes *raw)
{
    raw->push_back(0);
    unsigned channels = Channels(s.colour_type), bits = 0, acc = 0;
    for (uint32_t x = x0; x < s.width; x += dx)
        for (unsigned c = 0; c < channels; c++) {
            uint16_t v = s.samples[(size_t{y} * s.width + x) * channels + c];
            if (s.depth == 16) {
                raw->insert(raw->end(), {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
                continue;
            }
            acc = acc << s.depth | v, bits += s.depth;
            if (bits == 8)
                raw->push_back(static_cast<uint8_t>(acc)), acc = 0, bits = 0;
        }
    if (bits)
        raw->push_back(static_cast<uint8_t>(acc << (8 - bits)));
}

// The image's scanlines, in Adam7's seven passes when interlaced.
static Bytes Scanlines(const PngSpec &s)
{
    static const uint32_t kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    static const uint32_t kWhole[1][4] = {{0, 0, 1, 1}};
    const uint32_t(*passes)[4] = s.interlaced ? kPasses : kWhole;
    Bytes raw;
    for (size_t i = 0; i < (s.interlaced ? 7u : 1u); i++)
        for (uint32_t y = passes[i][1]; y < s.height && passes[i][0] < s.width; y += passes[i][3])
            PutRow(s, y, passes[i][0], passes[i][2], &raw);
    return raw;
}

// A zlib stream of stored blocks.
static Bytes Zlib(const Bytes &raw)
{
    Bytes z = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (size_t at = 0; at == 0 || at < raw.size(); at += 65535) {
        size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.insert(z.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                           static_cast<uint8_t>(~n), static_cast<uint8_t>(~n >> 8)});
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    }
    for (uint8_t v : raw)
        a = (a + v) % 65521, b = (b + a) % 65521;
    PutBe32(&z, b << 16 | a);
    return z;
}

std::vector<uint8_t> BuildPng(const PngSpec &s)
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe32(&header, s.width);
    PutBe32(&header, s.height);
    header.insert(header.end(), {s.depth, s.colour_type, 0, 0, static_cast<uint8_t>(s.interlaced)});
    PutChunk(&png, "IHDR", header);
    if (!s.palette.empty())
        PutChunk(&png, "PLTE", s.palette);
    if (!s.alphas.empty())
        PutChunk(&png, "tRNS", s.alphas);
    PutChunk(&png, "IDAT", Zlib(Scanlines(s)));
    PutChunk(&png, "IEND", {});
    return png;
}

size_t PngDataOffset(const PngSpec &s)
{
    size_t offset = 8 + 25 + 8;  // signature, IHDR, IDAT's length and type
    if (!s.palette.empty())
        offset += 12 + s.palette.size();
    if (!s.alphas.empty())
        offset += 12 + s.alphas.size();
    return offset;
}
