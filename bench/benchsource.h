// The pixels a benchmark run encodes: one picture as a host's 24-bit
// blue-first bitmap and as an 8-bit grey bitmap of the same size.
#ifndef BENCH_BENCHSOURCE_H
#define BENCH_BENCHSOURCE_H

#include <string>
#include <vector>

#include "hostbitmap.h"

struct BenchSource {
    std::string name;
    HostBitmap colour;  // 24 bits per pixel, blue first, bottom-up
    HostBitmap grey;    // 8 bits per pixel
};

// The generated photo-like picture, 1920x1080.
BenchSource GeneratedSource();

// The pictures kept with the benchmark (bench/images, see SOURCES.md
// there): the photographs, and a 200-dpi fax cover sheet page.
std::vector<std::string> PhotoPaths();
std::string PagePath();

// Reads a BMP, PGM, PPM or PNG file, or any file ImageMagick's convert can turn
// into a PPM (PNG and the like). On failure says why in *error.
bool LoadSource(const std::string &path, BenchSource *source, std::string *error);

#endif
