#include "hostbitmap.h"

#include <utility>

bool Refuse(std::string *error, const std::string &why)
{
    *error = why;
    return false;
}

bool CheckImageSize(uint64_t width, uint64_t height, std::string *error)
{
    if (width > kMaxDimension || height > kMaxDimension)
        return Refuse(error, "image is larger than 65535 pixels in width or height");
    if (width * height > kMaxPixels)
        return Refuse(error, "image of " + std::to_string(width) + "x" + std::to_string(height) +
                                 " pixels is larger than the limit of " +
                                 std::to_string(kMaxPixels) + " pixels");
    return true;
}

uint64_t RowStride(uint32_t width, uint16_t bits_per_pixel)
{
    return (uint64_t{width} * bits_per_pixel + 31) / 32 * 4;
}

void ResizeHostBitmap(HostBitmap *bitmap, uint32_t width, uint32_t height, uint16_t bits_per_pixel)
{
    bitmap->width = width;
    bitmap->height = height;
    bitmap->bits_per_pixel = bits_per_pixel;
    bitmap->channel_order = JPEG_ORDER_BLUE_LOW;
    bitmap->pixels.assign(RowStride(width, bits_per_pixel) * height, 0);
}

uint8_t *TopDownRow(HostBitmap *bitmap, uint32_t y)
{
    uint64_t stride = RowStride(bitmap->width, bitmap->bits_per_pixel);
    return bitmap->pixels.data() + (bitmap->height - 1 - y) * stride;
}

const uint8_t *TopDownRow(const HostBitmap &bitmap, uint32_t y)
{
    return TopDownRow(const_cast<HostBitmap *>(&bitmap), y);
}

// 5-5-5: swap the fields at bits 0-4 and 10-14, keep green and bit 15.
static void Swap555(uint8_t *p)
{
    unsigned v = p[0] | p[1] << 8;
    v = (v & 0x83E0) | (v & 0x1F) << 10 | (v >> 10 & 0x1F);
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void SwapToRedFirst(HostBitmap *bitmap)
{
    unsigned bytes = bitmap->bits_per_pixel / 8;
    if (bytes < 2 || bitmap->channel_order != JPEG_ORDER_BLUE_LOW)
        return;
    for (uint32_t y = 0; y < bitmap->height; y++) {
        uint8_t *p = TopDownRow(bitmap, y);
        for (uint32_t x = 0; x < bitmap->width; x++, p += bytes) {
            if (bytes == 2)
                Swap555(p);
            else
                std::swap(p[0], p[2]);
        }
    }
    bitmap->channel_order = JPEG_ORDER_RED_LOW;
}

void FillJob(const HostBitmap &bitmap, JpegJob *job)
{
    job->input = bitmap.pixels.data();
    job->input_size = static_cast<uint32_t>(bitmap.pixels.size());
    job->width = bitmap.width;
    job->height = bitmap.height;
    job->bits_per_pixel = bitmap.bits_per_pixel;
    job->channel_order = bitmap.channel_order;
}
