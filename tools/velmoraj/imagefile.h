// Loading and saving whole image files.
#ifndef VELMORAJ_TOOLS_IMAGEFILE_H
#define VELMORAJ_TOOLS_IMAGEFILE_H

#include <string>

#include "hostbitmap.h"

// Reads a BMP, PGM or PPM file (told apart by its first bytes).
bool ReadImageFile(const std::string &path, HostBitmap *bitmap, std::string *error);

// Writes an 8-bit grey or 24-bit bitmap as BMP (grey gets a grey palette)
// when the path ends in ".bmp", else as PGM or PPM.
bool WriteImageFile(const std::string &path, const HostBitmap &bitmap, std::string *error);

#endif
