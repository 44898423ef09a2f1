// libpng's full interface with its own transforms (expansion to 8-bit BGRA,
// 16-bit samples scaled, Adam7 passes merged). libpng reports errors by
// longjmp back into DecodeInto, whose frame holds only plain data.
#include "pngdecode.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

struct Source {
    const uint8_t *data;
    size_t size;
    size_t at;
    char message[128];
};

}  // namespace

static void ReadBytes(png_structp png, png_bytep out, size_t count)
{
    Source *src = static_cast<Source *>(png_get_io_ptr(png));
    if (count > src->size - src->at)
        png_error(png, "the file ends early");
    memcpy(out, src->data + src->at, count);
    src->at += count;
}

static void KeepMessage(png_structp png, png_const_charp message)
{
    Source *src = static_cast<Source *>(png_get_error_ptr(png));
    snprintf(src->message, sizeof src->message, "%s", message);
    png_longjmp(png, 1);
}

static void IgnoreWarning(png_structp, png_const_charp) {}

static void AskForBgra(png_structp png)
{
    png_set_expand(png);  // palettes, grey below 8 bits and tRNS to 8-bit samples and alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
}

// Decodes into rows, which point into a buffer of width * 4 * height bytes.
static bool DecodeInto(png_structp png, png_infop info, png_bytep *rows, uint32_t width,
                       uint32_t height, Source *src)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, src, ReadBytes);
    // Every chunk but IHDR, PLTE, tRNS, IDAT and IEND is skipped unread, so
    // that no chunk's claimed length becomes an allocation.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height)
        png_error(png, "the decoder sees another size");
    AskForBgra(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4)
        png_error(png, "the decoder gives other rows");
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

bool DecodePngBgra(const std::vector<uint8_t> &file, uint32_t width, uint32_t height,
                   std::vector<uint8_t> *bgra, std::string *error)
{
    Source src = {file.data(), file.size(), 0, "out of memory"};
    bgra->assign(size_t{width} * height * 4, 0);
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; y++)
        rows[y] = bgra->data() + size_t{y} * width * 4;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &src, KeepMessage, IgnoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = info && DecodeInto(png, info, rows.data(), width, height, &src);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        *error = std::string("corrupt or truncated PNG: ") + src.message;
    return ok;
}
