// The contract of every image reader, checked by the fuzz targets: a
// refusal says why, an image beyond the size limits is never accepted, and
// an accepted image has the size its header claims and exactly the bytes
// of the host layout; what is read writes and reads back unchanged.
#ifndef FUZZ_VELMORAJ_READERCHECK_H
#define FUZZ_VELMORAJ_READERCHECK_H

#include <cstdint>
#include <string>
#include <vector>

#include "hostbitmap.h"

typedef bool (*ImageReader)(const std::vector<uint8_t> &file, HostBitmap *bitmap,
                            std::string *error);

// A header whose claimed size the fuzz target does not know.
constexpr uint64_t kUnknownSize = UINT64_MAX;

// Reads the file and checks the result against the width and height that
// its header claims; aborts on a broken contract.
HostBitmap ReadAndCheck(ImageReader reader, const std::vector<uint8_t> &file,
                        uint64_t claimed_width, uint64_t claimed_height);

// 8 and 24-bit results saved as BMP and as PGM/PPM read back as they were.
void CheckRoundTrip(const HostBitmap &bitmap);

// Little- and big-endian fields of a header; 0 beyond the end of the file.
uint32_t LittleEndian(const std::vector<uint8_t> &file, size_t at, unsigned bytes);
uint32_t BigEndian(const std::vector<uint8_t> &file, size_t at, unsigned bytes);

#endif
