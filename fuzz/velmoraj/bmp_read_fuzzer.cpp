// Arbitrary bytes as a BMP file for ReadBmp; the reader's contract is
// checked against the size the info or core header claims.
#include <cstdlib>

#include "bmpread.h"
#include "readercheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> file(data, data + size);
    bool core = LittleEndian(file, 14, 4) == 12;
    // Info headers hold signed 32-bit sizes, core headers unsigned 16-bit ones.
    int64_t width =
        core ? int64_t{LittleEndian(file, 18, 2)} : int64_t{int32_t(LittleEndian(file, 18, 4))};
    int64_t height =
        core ? int64_t{LittleEndian(file, 20, 2)} : int64_t{int32_t(LittleEndian(file, 22, 4))};
    HostBitmap b =
        ReadAndCheck(ReadBmp, file, uint64_t(width), uint64_t(height < 0 ? -height : height));
    CheckRoundTrip(b);
    return 0;
}
