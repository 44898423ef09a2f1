// Arbitrary bytes as a PNG file for ReadPng. The first input byte chooses
// whether the chunks' CRCs are made right, so that mutated chunks reach the
// decoder instead of all failing their checksum; the rest follows the
// signature. Beyond the common contract: grey files, and only those, give
// grey bitmaps.
#include <zlib.h>

#include <cstdio>
#include <cstdlib>

#include "pngread.h"
#include "readercheck.h"

// Rewrites the CRC of every whole chunk after the signature.
static void FixChunkCrcs(std::vector<uint8_t> *file)
{
    for (size_t at = 8; at + 12 <= file->size();) {
        uint64_t length = BigEndian(*file, at, 4);
        if (length > file->size() - at - 12)
            return;
        uint32_t crc =
            static_cast<uint32_t>(crc32(0, file->data() + at + 4, static_cast<uInt>(length + 4)));
        at += 8 + length;
        for (int i = 0; i < 4; i++)
            (*file)[at + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 4;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size == 0)
        return 0;
    std::vector<uint8_t> file(kSignature, kSignature + 8);
    file.insert(file.end(), data + 1, data + size);
    if (data[0] & 1)
        FixChunkCrcs(&file);
    HostBitmap b = ReadAndCheck(ReadPng, file, BigEndian(file, 16, 4), BigEndian(file, 20, 4));
    bool grey_file = file.size() > 25 && (file[25] == 0 || file[25] == 4);
    if (!b.pixels.empty() && (b.bits_per_pixel == 8) != grey_file) {
        fprintf(stderr, "contract broken: colour type %u gave %u bits\n", file[25],
                b.bits_per_pixel);
        abort();
    }
    return 0;
}
