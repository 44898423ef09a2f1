// A bitmap laid out as a Windows host hands it to the encoder: rows bottom
// row first, each padded to a multiple of 4 bytes.
#ifndef TOOLS_VELMORAJ_HOSTBITMAP_H
#define TOOLS_VELMORAJ_HOSTBITMAP_H

#include <cstdint>
#include <string>
#include <vector>

#include "velmoraj.h"

struct HostBitmap {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits_per_pixel = 0;  // 8 (grey), 16 (5-5-5), 24 or 32
    uint8_t channel_order = JPEG_ORDER_BLUE_LOW;
    std::vector<uint8_t> pixels;  // height rows of RowStride() bytes, bottom row first
};

// Largest width or height the readers accept; the encoder takes no more.
constexpr uint32_t kMaxDimension = 65535;

// Most pixels the readers accept in one image (64 Mi: a 600 dpi A3 page or a
// 50-megapixel photograph fits), so that a header alone never makes a reader
// allocate more than 256 MiB.
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;

// Sets *error to why and returns false, for the readers' refusals.
bool Refuse(std::string *error, const std::string &why);

// Refuses, before anything is allocated, an image beyond kMaxDimension a
// side or kMaxPixels in all; says why in *error.
bool CheckImageSize(uint64_t width, uint64_t height, std::string *error);

// Bytes per padded row, computed in 64 bits so that no width overflows it.
uint64_t RowStride(uint32_t width, uint16_t bits_per_pixel);

// Allocates zeroed pixels for width x height at the given depth.
void ResizeHostBitmap(HostBitmap *bitmap, uint32_t width, uint32_t height, uint16_t bits_per_pixel);

// Start of image row y counted from the top.
uint8_t *TopDownRow(HostBitmap *bitmap, uint32_t y);
const uint8_t *TopDownRow(const HostBitmap &bitmap, uint32_t y);

// Rewrites colour pixels from blue-low to red-low order (channel order 0);
// grey bitmaps are left alone.
void SwapToRedFirst(HostBitmap *bitmap);

// Fills the job's input, size, geometry and channel order from the bitmap.
void FillJob(const HostBitmap &bitmap, JpegJob *job);

#endif
