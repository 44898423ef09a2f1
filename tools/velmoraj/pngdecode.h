// The platform's PNG decoder behind ReadPng: libpng natively, the Windows
// Imaging Component on Windows.
#ifndef TOOLS_VELMORAJ_PNGDECODE_H
#define TOOLS_VELMORAJ_PNGDECODE_H

#include <cstdint>
#include <string>
#include <vector>

// Decodes a whole PNG file, whose header promises width x height pixels,
// into top-down rows of 8-bit blue, green, red and alpha (width * 4 bytes
// each). False, with the reason in *error, when the file is corrupt or
// truncated or decodes to another size.
bool DecodePngBgra(const std::vector<uint8_t> &file, uint32_t width, uint32_t height,
                   std::vector<uint8_t> *bgra, std::string *error);

#endif
