// Lays out a parsed source as the bytes of a VMD file.
#ifndef TOOLS_VMDTOOL_VMDWRITER_H
#define TOOLS_VMDTOOL_VMDWRITER_H

#include <stdint.h>
#include <vector>
#include "vmdsource.h"

// Header, then the 64-byte section records from offset 8 in source order,
// then the 16-byte entry records, the keys and the texts (2-byte aligned).
// The section limit is the end of the section records; the last section's
// next offset equals it, the last entry's next offset is 0.
std::vector<uint8_t> BuildVmdImage(const VmdSource &source);

#endif
