// Reads PNG files into the layout a host hands to the encoder.
#ifndef TOOLS_VELMORAJ_PNGREAD_H
#define TOOLS_VELMORAJ_PNGREAD_H

#include <cstdint>
#include <string>
#include <vector>

#include "hostbitmap.h"

// True when the file starts with the PNG signature.
bool IsPng(const std::vector<uint8_t> &file);

// Every colour type and bit depth, interlaced or not. Grey and grey + alpha
// files give an 8-bit grey bitmap, all others a 24-bit one in blue-low
// order; 16-bit samples are scaled to 8 bits and alpha is composited over
// white. The header's size is checked before any pixel memory is taken. On
// failure returns false and says why in *error.
bool ReadPng(const std::vector<uint8_t> &file, HostBitmap *bitmap, std::string *error);

#endif
