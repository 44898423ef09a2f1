// Whole streams with every fast routine this CPU runs, with and without
// AVX-512, against the plain ones: random images of every depth, channel order, sampling and a
// spread of qualities, odd sizes, restart intervals, and buffers and inputs that run out at every
// point. Same result, status word, length and bytes.
#include "jpegtestutil.h"

namespace {

std::string Describe(const JpegJob &j)
{
    return testing::PrintToString(j.width) + "x" + testing::PrintToString(j.height) + " bpp " +
           testing::PrintToString(j.bits_per_pixel) + " q " +
           testing::PrintToString((int)j.quality) + " sampling " +
           testing::PrintToString((int)j.sampling) + " order " +
           testing::PrintToString((int)j.channel_order) + " input " +
           testing::PrintToString(j.input_size);
}

TEST(FastStreams, RandomJobsGiveTheSameBytesAsPlain)
{
    std::mt19937 rng(12345);
    const uint16_t depths[] = {8, 16, 24, 32};
    const uint8_t qualities[] = {1, 2, 10, 25, 50, 75, 90, 95, 99, 100};
    for (int round = 0; round < 400; ++round) {
        uint32_t w = 1 + rng() % (round % 4 == 0 ? 140 : 40),
                 h = 1 + rng() % (round % 4 == 1 ? 100 : 40);
        Bitmap bmp(w, h, depths[round % 4]);
        if (round % 3 == 0)
            bmp.Noise(rng);
        else
            bmp.Smooth(rng);
        uint8_t quality = qualities[rng() % 10], sampling = (uint8_t)(rng() % 3);
        JpegJob job = MakeJob(bmp, quality, sampling, (uint8_t)(rng() % 3));
        uint16_t restart = round % 5 == 0 ? (uint16_t)(1 + rng() % 4) : 0;
        SCOPED_TRACE(Describe(job) + " restart " + testing::PrintToString(restart));
        ExpectSameAsPlain(job, kMeasure, kFastSets, restart);
        ExpectSameAsPlain(job, MeasuredSize(job, restart), kFastSets, restart);
    }
}

TEST(FastStreams, OutputRunningOutAtEveryByteFailsAlike)
{
    std::mt19937 rng(77);
    for (uint16_t bpp : {8, 24, 16}) {
        Bitmap bmp(37, 29, bpp);
        JpegJob job = MakeJob(bmp.Noise(rng), 95, bpp == 16 ? 1 : 0, 1);
        SCOPED_TRACE(Describe(job));
        for (uint32_t capacity = 0, size = MeasuredSize(job); capacity <= size; ++capacity) {
            SCOPED_TRACE("capacity " + testing::PrintToString(capacity));
            ExpectSameAsPlain(job, capacity, kFastSets);
            if (testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(FastStreams, InputRunningOutAtEveryByteFailsAlike)
{
    std::mt19937 rng(5);
    for (uint16_t bpp : {8, 16, 24, 32})
        for (uint8_t sampling = 0; sampling < 3; ++sampling) {
            Bitmap bmp(35, 18, bpp);
            JpegJob job = MakeJob(bmp.Smooth(rng), 75, sampling, 0);
            const uint32_t full = job.input_size;
            for (uint32_t size = 0; size <= full; size += (size + 64 < full ? 29 : 1)) {
                job.input_size = size;
                SCOPED_TRACE(Describe(job));
                ExpectSameAsPlain(job, kMeasure, kFastSets);
                ExpectSameAsPlain(job, 64 * 1024, kFastSets);
                if (testing::Test::HasFatalFailure())
                    return;
            }
        }
}

TEST(FastStreams, WideImagesAndLargeMagnitudes)
{
    // A row wider than any batch, and blocks that hit the largest DC and AC
    // categories (alternating 0/255 columns and rows).
    for (uint16_t bpp : {8, 32}) {
        Bitmap bmp(1201, 9, bpp);
        for (size_t i = 0; i < bmp.pixels.size(); ++i)
            bmp.pixels[i] = ((i / (bpp / 8)) + i / bmp.Stride()) % 2 ? 255 : 0;
        JpegJob job = MakeJob(bmp, 100, 2, 1);
        SCOPED_TRACE(Describe(job));
        const uint32_t size = MeasuredSize(job);
        ExpectSameAsPlain(job, kMeasure, kFastSets);
        ExpectSameAsPlain(job, size, kFastSets);
        ExpectSameAsPlain(job, size - 1, kFastSets);
    }
}

}  // namespace
