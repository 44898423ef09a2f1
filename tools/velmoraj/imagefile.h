// Loading and saving whole image files.
#ifndef TOOLS_VELMORAJ_IMAGEFILE_H
#define TOOLS_VELMORAJ_IMAGEFILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "hostbitmap.h"

// Reads a BMP, PGM, PPM or PNG file (told apart by its first bytes).
bool ReadImageFile(const std::string &path, HostBitmap *bitmap, std::string *error);

// True for what EncodeImage takes: 8-bit grey or blue-first 24-bit.
bool CanEncodeImage(const HostBitmap &bitmap);

// The bytes of a BMP (grey gets a grey palette) or of a PGM or PPM file.
std::vector<uint8_t> EncodeImage(const HostBitmap &bitmap, bool as_bmp);

// Writes an 8-bit grey or 24-bit bitmap as BMP (grey gets a grey palette)
// when the path ends in ".bmp", else as PGM or PPM.
bool WriteImageFile(const std::string &path, const HostBitmap &bitmap, std::string *error);

#endif
