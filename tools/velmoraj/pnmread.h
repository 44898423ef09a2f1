// Reads binary PGM (P5) and PPM (P6) files into the layout a host hands to
// the encoder.
#ifndef TOOLS_VELMORAJ_PNMREAD_H
#define TOOLS_VELMORAJ_PNMREAD_H

#include <cstdint>
#include <string>
#include <vector>

#include "hostbitmap.h"

// P5 gives an 8-bit grey bitmap, P6 a 24-bit one in blue-low order. Samples
// with a maximum other than 255 (up to 65535, two bytes big-endian above
// 255) are scaled to 0..255. On failure returns false and says why in *error.
bool ReadPnm(const std::vector<uint8_t> &file, HostBitmap *bitmap, std::string *error);

#endif
