// The encoder's exact bytes for a fixed set of jobs, pinned by a 64-bit
// hash, natively and from the Windows DLL loaded as a host loads it. Both
// builds compare with the same committed records; when a change of bytes is
// intended, the failure prints the new records for reference_streams.inc.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "hostbitmap.h"
#include "testimage.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

typedef uint16_t(VELMORAJ_CALL *EncodeStartFn)(JpegJob *job, uint8_t mode);

enum Shortfall { kNone, kOutputOneShort, kInputOneShort };

struct ReferenceJob {
    const char *name;
    uint16_t depth;
    uint8_t order, sampling, quality;
    uint32_t width, height;
    Shortfall shortfall;
    uint16_t status;
};

const ReferenceJob kJobs[] = {
    {"grey-37x23-q75", 8, 1, 0, 75, 37, 23, kNone, 0},
    {"bgr555-40x30-q50-420", 16, 1, 0, 50, 40, 30, kNone, 0},
    {"rgb555-31x17-q85-444", 16, 0, 2, 85, 31, 17, kNone, 0},
    {"bgr24-33x17-q90-422", 24, 1, 1, 90, 33, 17, kNone, 0},
    {"rgb24-64x48-q75-444", 24, 0, 2, 75, 64, 48, kNone, 0},
    {"bgr32-50x50-q100-420", 32, 1, 0, 100, 50, 50, kNone, 0},
    {"rgb32-17x33-q1-422", 32, 2, 1, 1, 17, 33, kNone, 0},
    {"bgr24-16x16-output-one-short", 24, 1, 0, 75, 16, 16, kOutputOneShort,
     0x2005},  // EOI no longer fits
    {"bgr24-40x20-input-one-short", 24, 1, 2, 75, 40, 20, kInputOneShort,
     0x2085},  // the top row runs past
};

// What one job gave: the encode call's status, the reported length and the
// FNV-1a hash of the whole output buffer.
struct StreamRecord {
    std::string name;
    uint16_t status;
    uint32_t length;
    uint64_t hash;
    bool operator==(const StreamRecord &o) const
    {
        return name == o.name && status == o.status && length == o.length && hash == o.hash;
    }
};

std::string Format(const StreamRecord &r)
{
    char line[160];
    snprintf(line, sizeof line, "{\"%s\", 0x%04X, %" PRIu32 ", 0x%016" PRIX64 "ull},\n",
             r.name.c_str(), r.status, r.length, r.hash);
    return line;
}

// The generated test image, converted to the job's depth and order.
HostBitmap MakePixels(const ReferenceJob &j)
{
    HostBitmap colour = MakeTestImage(j.width, j.height, j.depth == 8 ? 8 : 24), b = colour;
    if (j.depth == 16 || j.depth == 32) {
        ResizeHostBitmap(&b, j.width, j.height, j.depth);
        for (uint32_t y = 0; y < j.height; y++) {
            const uint8_t *src = TopDownRow(colour, y);
            uint8_t *dst = TopDownRow(&b, y);
            for (uint32_t x = 0; x < j.width; x++, src += 3) {
                if (j.depth == 32) {
                    dst[4 * x] = src[0], dst[4 * x + 1] = src[1], dst[4 * x + 2] = src[2];
                    dst[4 * x + 3] = static_cast<uint8_t>(x + y);
                } else {
                    unsigned v =
                        src[0] >> 3 | (src[1] >> 3) << 5 | (src[2] >> 3) << 10 | (x & 1) << 15;
                    dst[2 * x] = static_cast<uint8_t>(v),
                            dst[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                }
            }
        }
    }
    if (j.order != JPEG_ORDER_BLUE_LOW)
        SwapToRedFirst(&b);
    b.channel_order = j.order;
    return b;
}

// Measures, then encodes into a buffer of the measured length (or of a
// capacity the job fixes).
StreamRecord RunJob(const ReferenceJob &j, EncodeStartFn encode)
{
    HostBitmap pixels = MakePixels(j);
    JpegJob job = {};
    FillJob(pixels, &job);
    job.quality = j.quality;
    job.sampling = j.sampling;
    job.input_size -= j.shortfall == kInputOneShort;
    uint32_t capacity = 1 << 20;
    if (encode(&job, JPEG_MODE_MEASURE) == 0)
        capacity = job.output_size - (j.shortfall == kOutputOneShort);
    std::vector<uint8_t> out(capacity, 0xEE);
    job.output = out.data();
    job.output_size = capacity;
    uint16_t status = encode(&job, JPEG_MODE_ENCODE);
    uint64_t hash = 0xCBF29CE484222325ull;
    for (uint8_t byte : out)
        hash = (hash ^ byte) * 0x100000001B3ull;
    return {j.name, status, job.output_size, hash};
}

EncodeStartFn LoadEncoder()
{
#ifdef _WIN32
    HMODULE dll = LoadLibraryW(L"VELMORAJ.dll");
    return dll ? reinterpret_cast<EncodeStartFn>(
                     reinterpret_cast<void *>(GetProcAddress(dll, "Jpeg_EncodeStart")))
               : nullptr;
#else
    return Jpeg_EncodeStart;
#endif
}

}  // namespace

TEST(ReferenceStreams, BytesMatchTheCommittedRecords)
{
    const std::vector<StreamRecord> committed = {
#include "reference_streams.inc"
    };
    EncodeStartFn encode = LoadEncoder();
    ASSERT_NE(encode, nullptr) << "VELMORAJ.dll or its export Jpeg_EncodeStart not found";
    std::vector<StreamRecord> now;
    std::string all;
    for (const ReferenceJob &j : kJobs) {
        now.push_back(RunJob(j, encode));
        all += Format(now.back());
        EXPECT_EQ(now.back().status, j.status) << j.name;
        EXPECT_EQ(now.back().length == 0, j.status != 0) << j.name;
    }
    ASSERT_EQ(now.size(), committed.size());
    for (size_t i = 0; i < now.size(); i++)
        EXPECT_TRUE(now[i] == committed[i])
            << "now:       " << Format(now[i]) << "committed: " << Format(committed[i]);
    if (now != committed)
        printf("Records of this build:\n%s", all.c_str());

    // Another thread gets the same results, status codes included: the
    // status word of a thread the library has not seen before works.
    std::vector<StreamRecord> again;
    std::thread([&] {
        for (const ReferenceJob &j : kJobs)
            again.push_back(RunJob(j, encode));
    }).join();
    EXPECT_TRUE(again == now);
}
