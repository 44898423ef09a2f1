// Whole streams with the fast routines against the plain ones: random
// images of every depth, channel order, sampling and a spread of
// qualities, odd sizes, restart intervals, and buffers and inputs that run
// out at every point. Same status word, same output size, same bytes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "jpeginternal.h"

namespace {

struct Outcome {
    uint16_t status;
    uint32_t output_size;
    std::vector<uint8_t> buffer;
};

// One call with the job's input, mode and capacity; the output buffer is
// pre-filled so that any stray write shows.
Outcome Encode(JpegJob job, uint8_t mode, uint32_t capacity, bool plain, uint16_t restart = 0)
{
    Outcome o;
    o.buffer.assign(capacity + 16, 0xC3);
    job.output = o.buffer.data();
    job.output_size = capacity;
    JpegInternalOptions opts = {restart, plain};
    o.status = JpegEncodeInternal(&job, mode, &opts);
    o.output_size = job.output_size;
    return o;
}

void ExpectSame(const JpegJob &job, uint8_t mode, uint32_t capacity, uint16_t restart = 0)
{
    Outcome plain = Encode(job, mode, capacity, true, restart);
    Outcome fast = Encode(job, mode, capacity, false, restart);
    ASSERT_EQ(fast.status, plain.status);
    ASSERT_EQ(fast.output_size, plain.output_size);
    ASSERT_TRUE(fast.buffer == plain.buffer) << "different bytes";
}

std::string Describe(const JpegJob &j)
{
    return testing::PrintToString(j.width) + "x" + testing::PrintToString(j.height) + " bpp " +
           testing::PrintToString(j.bits_per_pixel) + " q " + testing::PrintToString((int)j.quality) +
           " sampling " + testing::PrintToString((int)j.sampling) + " order " +
           testing::PrintToString((int)j.channel_order) + " input " + testing::PrintToString(j.input_size);
}

uint32_t Stride(const JpegJob &j) { return (j.width * j.bits_per_pixel + 31) / 32 * 4; }

// Photo-like content (smooth gradients with noise) or full-range noise,
// which gives long codes and many 0xFF bytes.
std::vector<uint8_t> Pixels(std::mt19937 &rng, const JpegJob &j, bool noise)
{
    std::vector<uint8_t> p((size_t)Stride(j) * j.height);
    for (size_t i = 0; i < p.size(); ++i)
        p[i] = noise ? (uint8_t)rng() : (uint8_t)((i * 7 / 5 + i / 97 * 3 + rng() % 9) & 0xFF);
    return p;
}

JpegJob MakeJob(const std::vector<uint8_t> &pixels, uint32_t w, uint32_t h, uint16_t bpp, uint8_t q,
                uint8_t sampling, uint8_t order)
{
    JpegJob j{};
    j.input = pixels.data();
    j.input_size = (uint32_t)pixels.size();
    j.width = w;
    j.height = h;
    j.bits_per_pixel = bpp;
    j.quality = q;
    j.sampling = sampling;
    j.channel_order = order;
    return j;
}

TEST(FastStreams, RandomJobsGiveTheSameBytesAsPlain)
{
    std::mt19937 rng(12345);
    const uint16_t depths[] = {8, 16, 24, 32};
    const uint8_t qualities[] = {1, 2, 10, 25, 50, 75, 90, 95, 99, 100};
    for (int round = 0; round < 400; ++round) {
        uint32_t w = 1 + rng() % (round % 4 == 0 ? 140 : 40), h = 1 + rng() % (round % 4 == 1 ? 100 : 40);
        JpegJob shape = MakeJob({}, w, h, depths[round % 4], qualities[rng() % 10], (uint8_t)(rng() % 3),
                                (uint8_t)(rng() % 3));
        auto pixels = Pixels(rng, shape, round % 3 == 0);
        JpegJob job = MakeJob(pixels, w, h, shape.bits_per_pixel, shape.quality, shape.sampling,
                              shape.channel_order);
        uint16_t restart = round % 5 == 0 ? (uint16_t)(1 + rng() % 4) : 0;
        SCOPED_TRACE(Describe(job) + " restart " + testing::PrintToString(restart));
        ExpectSame(job, JPEG_MODE_MEASURE, 0, restart);
        Outcome measured = Encode(job, JPEG_MODE_MEASURE, 0, true, restart);
        ASSERT_EQ(measured.status, 0);
        ExpectSame(job, JPEG_MODE_ENCODE, measured.output_size, restart);
    }
}

TEST(FastStreams, OutputRunningOutAtEveryByteFailsAlike)
{
    std::mt19937 rng(77);
    for (uint16_t bpp : {8, 24, 16}) {
        uint8_t sampling = bpp == 16 ? 1 : 0;
        JpegJob shape = MakeJob({}, 37, 29, bpp, 95, sampling, 1);
        auto pixels = Pixels(rng, shape, true);
        JpegJob job = MakeJob(pixels, 37, 29, bpp, 95, sampling, 1);
        Outcome measured = Encode(job, JPEG_MODE_MEASURE, 0, true);
        ASSERT_EQ(measured.status, 0);
        SCOPED_TRACE(Describe(job));
        for (uint32_t capacity = 0; capacity <= measured.output_size; ++capacity) {
            SCOPED_TRACE("capacity " + testing::PrintToString(capacity));
            ExpectSame(job, JPEG_MODE_ENCODE, capacity);
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
            JpegJob shape = MakeJob({}, 35, 18, bpp, 75, sampling, 0);
            auto pixels = Pixels(rng, shape, false);
            uint32_t full = (uint32_t)pixels.size();
            for (uint32_t size = 0; size <= full; size += (size + 64 < full ? 29 : 1)) {
                JpegJob job = MakeJob(pixels, 35, 18, bpp, 75, sampling, 0);
                job.input_size = size;
                SCOPED_TRACE(Describe(job));
                ExpectSame(job, JPEG_MODE_MEASURE, 0);
                ExpectSame(job, JPEG_MODE_ENCODE, 64 * 1024);
                if (testing::Test::HasFatalFailure())
                    return;
            }
        }
}

TEST(FastStreams, WideImagesAndLargeMagnitudes)
{
    // A row wider than any batch, and blocks that hit the largest DC and AC
    // categories (alternating 0/255 columns and rows).
    std::mt19937 rng(3);
    for (uint16_t bpp : {8, 32}) {
        JpegJob shape = MakeJob({}, 1201, 9, bpp, 100, 2, 1);
        std::vector<uint8_t> pixels((size_t)Stride(shape) * shape.height);
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = ((i / (bpp / 8)) + i / Stride(shape)) % 2 ? 255 : 0;
        JpegJob job = MakeJob(pixels, 1201, 9, bpp, 100, 2, 1);
        SCOPED_TRACE(Describe(job));
        Outcome measured = Encode(job, JPEG_MODE_MEASURE, 0, true);
        ASSERT_EQ(measured.status, 0);
        ExpectSame(job, JPEG_MODE_MEASURE, 0);
        ExpectSame(job, JPEG_MODE_ENCODE, measured.output_size);
        ExpectSame(job, JPEG_MODE_ENCODE, measured.output_size - 1);
    }
}

}  // namespace
