// A bitmap laid out as a Windows host hands it to the encoder: rows bottom
// row first, each padded to a multiple of 4 bytes.
#ifndef VELMORAJ_TOOLS_HOSTBITMAP_H
#define VELMORAJ_TOOLS_HOSTBITMAP_H

#include <cstdint>
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
