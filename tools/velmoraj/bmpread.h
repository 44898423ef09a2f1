// Reads a Windows BMP file into the layout a host hands to the encoder.
#ifndef TOOLS_VELMORAJ_BMPREAD_H
#define TOOLS_VELMORAJ_BMPREAD_H

#include <cstdint>
#include <string>
#include <vector>

#include "hostbitmap.h"

// Accepts uncompressed BMPs (core and info headers up to version 5),
// bottom-up or top-down: 1, 4 and 8-bit palettes (a grey palette gives an
// 8-bit grey bitmap, any other is expanded to 24-bit), 16-bit 5-5-5 (5-6-5
// bit fields are expanded to 24-bit), 24 and 32-bit. The result is in
// blue-low channel order. On failure returns false and says why in *error.
bool ReadBmp(const std::vector<uint8_t> &file, HostBitmap *bitmap, std::string *error);

#endif
