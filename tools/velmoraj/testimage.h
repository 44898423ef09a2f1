// A deterministic photo-like test image: smooth gradients, fine texture,
// hard edges and an asymmetric shape that shows flips and channel swaps.
#ifndef TOOLS_VELMORAJ_TESTIMAGE_H
#define TOOLS_VELMORAJ_TESTIMAGE_H

#include "hostbitmap.h"

// bits_per_pixel is 24 (colour, blue first) or 8 (grey). Integer
// arithmetic only, so every platform makes the same pixels.
HostBitmap MakeTestImage(uint32_t width, uint32_t height, uint16_t bits_per_pixel);

#endif
