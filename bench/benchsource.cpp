#include "benchsource.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "imagefile.h"
#include "testimage.h"

// Any depth the readers give, as 24-bit blue first.
static HostBitmap ToBgr24(const HostBitmap &in)
{
    HostBitmap out;
    ResizeHostBitmap(&out, in.width, in.height, 24);
    for (uint32_t y = 0; y < in.height; y++) {
        const uint8_t *src = TopDownRow(in, y);
        uint8_t *dst = TopDownRow(&out, y);
        for (uint32_t x = 0; x < in.width; x++, dst += 3) {
            if (in.bits_per_pixel == 8) {
                dst[0] = dst[1] = dst[2] = src[x];
            } else if (in.bits_per_pixel == 16) {
                unsigned v = src[2 * x] | src[2 * x + 1] << 8;
                dst[0] = static_cast<uint8_t>((v & 31) << 3);
                dst[1] = static_cast<uint8_t>((v >> 5 & 31) << 3);
                dst[2] = static_cast<uint8_t>((v >> 10 & 31) << 3);
            } else {
                const uint8_t *p = src + x * (in.bits_per_pixel / 8);
                dst[0] = p[0], dst[1] = p[1], dst[2] = p[2];
            }
        }
    }
    return out;
}

static HostBitmap ToGrey(const HostBitmap &bgr)
{
    HostBitmap out;
    ResizeHostBitmap(&out, bgr.width, bgr.height, 8);
    for (uint32_t y = 0; y < bgr.height; y++) {
        const uint8_t *src = TopDownRow(bgr, y);
        uint8_t *dst = TopDownRow(&out, y);
        for (uint32_t x = 0; x < bgr.width; x++, src += 3)
            dst[x] = static_cast<uint8_t>((29 * src[0] + 150 * src[1] + 77 * src[2] + 128) >> 8);
    }
    return out;
}

static BenchSource FromBitmap(const std::string &name, const HostBitmap &bitmap)
{
    BenchSource s;
    s.name = name;
    s.colour = ToBgr24(bitmap);
    s.grey = ToGrey(s.colour);
    return s;
}

BenchSource GeneratedSource()
{
    return FromBitmap("generated photo-like image", MakeTestImage(1920, 1080, 24));
}

std::vector<std::string> PhotoPaths()
{
    const std::string folder = VELMORAJ_BENCH_IMAGES;
    return {folder + "/kodim03.png", folder + "/kodim07.png", folder + "/bus_1008x756.png"};
}

std::string PagePath()
{
    return std::string(VELMORAJ_BENCH_IMAGES) + "/coversheet_200dpi.png";
}

static bool HasReadableExtension(const std::string &path)
{
    for (const char *ext : {".bmp", ".ppm", ".pgm", ".pnm", ".png"}) {
        std::string e = ext;
        if (path.size() >= e.size() && path.compare(path.size() - e.size(), e.size(), e) == 0)
            return true;
    }
    return false;
}

// Converts with ImageMagick into a temporary PPM and reads that.
static bool ConvertAndRead(const std::string &path, HostBitmap *bitmap, std::string *error)
{
    char temp[] = "/tmp/velmoraj_bench_XXXXXX";
    int fd = mkstemp(temp);
    if (fd < 0) {
        *error = "cannot create a temporary file";
        return false;
    }
    close(fd);
    std::string command = "convert '" + path + "' -depth 8 ppm:'" + temp + "' 2>/dev/null";
    bool ok = std::system(command.c_str()) == 0 && ReadImageFile(temp, bitmap, error);
    if (error->empty() && !ok)
        *error = "not a BMP, PGM or PPM file, and ImageMagick's convert could not read it";
    remove(temp);
    return ok;
}

bool LoadSource(const std::string &path, BenchSource *source, std::string *error)
{
    HostBitmap bitmap;
    bool ok = HasReadableExtension(path) ? ReadImageFile(path, &bitmap, error)
                                         : ConvertAndRead(path, &bitmap, error);
    if (ok)
        *source = FromBitmap(path, bitmap);
    return ok;
}
