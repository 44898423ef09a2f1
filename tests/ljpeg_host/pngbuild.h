// Builds PNG files sample by sample for the reader tests, with stored
// (uncompressed) deflate blocks, so no PNG or zlib library is needed and
// the same files are made on every platform.
#ifndef TESTS_LJPEG_HOST_PNGBUILD_H
#define TESTS_LJPEG_HOST_PNGBUILD_H

#include <cstddef>
#include <cstdint>
#include <vector>

struct PngSpec {
    uint32_t width = 0, height = 0;
    uint8_t depth = 8, colour_type = 0;  // colour types 0, 2, 3, 4, 6
    bool interlaced = false;
    std::vector<uint16_t> samples;  // row by row, every channel of every pixel
    std::vector<uint8_t> palette;   // PLTE: red, green, blue per entry
    std::vector<uint8_t> alphas;    // tRNS of a palette file
};

std::vector<uint8_t> BuildPng(const PngSpec &spec);

// Byte offset of the IDAT chunk's data in a file made by BuildPng.
size_t PngDataOffset(const PngSpec &spec);

#endif
