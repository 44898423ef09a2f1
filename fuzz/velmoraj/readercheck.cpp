#include "readercheck.h"

#include <cstdio>
#include <cstdlib>

#include "bmpread.h"
#include "imagefile.h"
#include "pnmread.h"

static void Check(bool ok, const char *what, const HostBitmap &b)
{
    if (ok)
        return;
    fprintf(stderr, "contract broken: %s (image %ux%u, %u bits)\n", what, b.width, b.height,
            b.bits_per_pixel);
    abort();
}

HostBitmap ReadAndCheck(ImageReader reader, const std::vector<uint8_t> &file,
                        uint64_t claimed_width, uint64_t claimed_height)
{
    HostBitmap b;
    std::string error;
    if (!reader(file, &b, &error)) {
        Check(!error.empty(), "a refusal without a reason", b);
        return HostBitmap();
    }
    Check(b.width <= kMaxDimension && b.height <= kMaxDimension &&
              uint64_t{b.width} * b.height <= kMaxPixels,
          "an image beyond the size limits accepted", b);
    Check(claimed_width == kUnknownSize || (b.width == claimed_width && b.height == claimed_height),
          "another size than the header's", b);
    Check(b.bits_per_pixel == 8 || b.bits_per_pixel == 16 || b.bits_per_pixel == 24 ||
              b.bits_per_pixel == 32,
          "a depth the encoder does not take", b);
    Check(b.channel_order == JPEG_ORDER_BLUE_LOW, "not blue first", b);
    Check(b.pixels.size() == RowStride(b.width, b.bits_per_pixel) * b.height,
          "not exactly the host's rows", b);
    return b;
}

static bool Same(const HostBitmap &a, const HostBitmap &b)
{
    return a.width == b.width && a.height == b.height && a.bits_per_pixel == b.bits_per_pixel &&
           a.channel_order == b.channel_order && a.pixels == b.pixels;
}

void CheckRoundTrip(const HostBitmap &bitmap)
{
    if (bitmap.pixels.empty() || !CanEncodeImage(bitmap))
        return;
    HostBitmap from_bmp, from_pnm;
    std::string error;
    Check(ReadBmp(EncodeImage(bitmap, true), &from_bmp, &error) && Same(from_bmp, bitmap),
          "saved as BMP, it reads back otherwise", bitmap);
    Check(ReadPnm(EncodeImage(bitmap, false), &from_pnm, &error) && Same(from_pnm, bitmap),
          "saved as PGM/PPM, it reads back otherwise", bitmap);
}

uint32_t LittleEndian(const std::vector<uint8_t> &file, size_t at, unsigned bytes)
{
    uint32_t v = 0;
    for (unsigned i = bytes; i-- > 0;)
        v = v << 8 | (at + i < file.size() ? file[at + i] : 0);
    return v;
}

uint32_t BigEndian(const std::vector<uint8_t> &file, size_t at, unsigned bytes)
{
    uint32_t v = 0;
    for (unsigned i = 0; i < bytes; i++)
        v = v << 8 | (at + i < file.size() ? file[at + i] : 0);
    return v;
}
