#include "reference_jobs.h"

#include <cinttypes>
#include <cstdio>

#include "hostbitmap.h"
#include "testimage.h"

namespace {

enum Shortfall { kNone, kOutputOneShort, kInputOneShort };

struct ReferenceJob {
    const char *name;
    uint16_t depth;
    uint8_t order;
    uint8_t sampling;
    uint8_t quality;
    uint32_t width, height;
    Shortfall shortfall;
};

const ReferenceJob kJobs[] = {
    {"grey-37x23-q75", 8, 1, 0, 75, 37, 23, kNone},
    {"bgr555-40x30-q50-420", 16, 1, 0, 50, 40, 30, kNone},
    {"rgb555-31x17-q85-444", 16, 0, 2, 85, 31, 17, kNone},
    {"bgr24-33x17-q90-422", 24, 1, 1, 90, 33, 17, kNone},
    {"rgb24-64x48-q75-444", 24, 0, 2, 75, 64, 48, kNone},
    {"bgr32-50x50-q100-420", 32, 1, 0, 100, 50, 50, kNone},
    {"rgb32-17x33-q1-422", 32, 2, 1, 1, 17, 33, kNone},
    {"bgr24-16x16-output-one-short", 24, 1, 0, 75, 16, 16, kOutputOneShort},
    {"bgr24-40x20-input-one-short", 24, 1, 2, 75, 40, 20, kInputOneShort},
};

// The generated test image, converted to the job's depth and order.
HostBitmap MakePixels(const ReferenceJob &j)
{
    HostBitmap colour = MakeTestImage(j.width, j.height, j.depth == 8 ? 8 : 24);
    if (j.depth == 8 || j.depth == 24) {
        if (j.order != JPEG_ORDER_BLUE_LOW)
            SwapToRedFirst(&colour);
        colour.channel_order = j.order;
        return colour;
    }
    HostBitmap b;
    ResizeHostBitmap(&b, j.width, j.height, j.depth);
    for (uint32_t y = 0; y < j.height; y++) {
        const uint8_t *src = TopDownRow(colour, y);
        uint8_t *dst = TopDownRow(&b, y);
        for (uint32_t x = 0; x < j.width; x++, src += 3) {
            if (j.depth == 32) {
                dst[4 * x] = src[0], dst[4 * x + 1] = src[1], dst[4 * x + 2] = src[2];
                dst[4 * x + 3] = static_cast<uint8_t>(x + y);
            } else {
                unsigned v = src[0] >> 3 | (src[1] >> 3) << 5 | (src[2] >> 3) << 10 | (x & 1) << 15;
                dst[2 * x] = static_cast<uint8_t>(v);
                dst[2 * x + 1] = static_cast<uint8_t>(v >> 8);
            }
        }
    }
    if (j.order != JPEG_ORDER_BLUE_LOW)
        SwapToRedFirst(&b);
    b.channel_order = j.order;
    return b;
}

uint64_t Fnv1a(const std::vector<uint8_t> &bytes)
{
    uint64_t h = 0xCBF29CE484222325ull;
    for (uint8_t b : bytes)
        h = (h ^ b) * 0x100000001B3ull;
    return h;
}

StreamRecord RunJob(const ReferenceJob &j, EncodeStartFn encode)
{
    HostBitmap pixels = MakePixels(j);
    JpegJob job = {};
    FillJob(pixels, &job);
    job.quality = j.quality;
    job.sampling = j.sampling;
    if (j.shortfall == kInputOneShort)
        job.input_size -= 1;
    uint32_t capacity = 1 << 20;
    if (encode(&job, JPEG_MODE_MEASURE) == 0)
        capacity = job.output_size - (j.shortfall == kOutputOneShort ? 1 : 0);
    std::vector<uint8_t> out(capacity, 0xEE);
    job.output = out.data();
    job.output_size = capacity;
    uint16_t status = encode(&job, JPEG_MODE_ENCODE);
    return {j.name, status, job.output_size, Fnv1a(out)};
}

}  // namespace

std::vector<StreamRecord> RunReferenceJobs(EncodeStartFn encode)
{
    std::vector<StreamRecord> records;
    for (const ReferenceJob &j : kJobs)
        records.push_back(RunJob(j, encode));
    return records;
}

std::vector<StreamRecord> CommittedRecords()
{
    return {
#include "reference_streams.inc"
    };
}

std::string FormatRecords(const std::vector<StreamRecord> &records)
{
    std::string text;
    for (const StreamRecord &r : records) {
        char line[160];
        snprintf(line, sizeof line, "{\"%s\", 0x%04X, %" PRIu32 ", 0x%016" PRIX64 "ull},\n", r.name,
                 r.status, r.length, r.hash);
        text += line;
    }
    return text;
}
