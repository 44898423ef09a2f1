#include "imagefile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "bmpread.h"
#include "pngread.h"
#include "pnmread.h"

bool ReadImageFile(const std::string &path, HostBitmap *bitmap, std::string *error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Refuse(error, std::strerror(errno));
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (in.bad())
        return Refuse(error, "read error");
    if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M')
        return ReadBmp(file, bitmap, error);
    if (file.size() >= 2 && file[0] == 'P')
        return ReadPnm(file, bitmap, error);
    if (IsPng(file))
        return ReadPng(file, bitmap, error);
    return Refuse(error, "not a BMP, PGM, PPM or PNG file");
}

static void Put16(std::vector<uint8_t> *out, uint32_t v)
{
    out->push_back(static_cast<uint8_t>(v));
    out->push_back(static_cast<uint8_t>(v >> 8));
}

static void Put32(std::vector<uint8_t> *out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPFILEHEADER, BITMAPINFOHEADER, the grey palette for 8 bits, pixels.
static std::vector<uint8_t> EncodeBmp(const HostBitmap &b)
{
    uint32_t palette = b.bits_per_pixel == 8 ? 1024 : 0;
    uint32_t offset = 14 + 40 + palette;
    std::vector<uint8_t> out = {'B', 'M'};
    Put32(&out, offset + static_cast<uint32_t>(b.pixels.size()));
    Put32(&out, 0);
    Put32(&out, offset);
    for (uint32_t v : {40u, b.width, b.height})
        Put32(&out, v);
    Put16(&out, 1);
    Put16(&out, b.bits_per_pixel);
    for (uint32_t v : {0u, static_cast<uint32_t>(b.pixels.size()), 2835u, 2835u, 0u, 0u})
        Put32(&out, v);
    for (uint32_t i = 0; i < palette / 4; i++)
        Put32(&out, i * 0x010101);
    out.insert(out.end(), b.pixels.begin(), b.pixels.end());
    return out;
}

static std::vector<uint8_t> EncodePnm(const HostBitmap &b)
{
    unsigned channels = b.bits_per_pixel / 8;
    std::string header = (channels == 1 ? "P5\n" : "P6\n") + std::to_string(b.width) + " " +
                         std::to_string(b.height) + "\n255\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    for (uint32_t y = 0; y < b.height; y++) {
        const uint8_t *row = TopDownRow(b, y);
        for (uint32_t x = 0; x < b.width; x++, row += channels)
            for (unsigned c = 0; c < channels; c++)
                out.push_back(row[channels == 3 ? 2 - c : 0]);
    }
    return out;
}

static bool EndsWith(const std::string &s, const std::string &tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool CanEncodeImage(const HostBitmap &bitmap)
{
    return (bitmap.bits_per_pixel == 8 || bitmap.bits_per_pixel == 24) &&
           bitmap.channel_order == JPEG_ORDER_BLUE_LOW;
}

std::vector<uint8_t> EncodeImage(const HostBitmap &bitmap, bool as_bmp)
{
    return as_bmp ? EncodeBmp(bitmap) : EncodePnm(bitmap);
}

bool WriteImageFile(const std::string &path, const HostBitmap &bitmap, std::string *error)
{
    if (!CanEncodeImage(bitmap))
        return Refuse(error, "only 8-bit grey and blue-first 24-bit images can be saved");
    std::vector<uint8_t> bytes = EncodeImage(bitmap, EndsWith(path, ".bmp"));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        return Refuse(error, std::strerror(errno));
    return true;
}
