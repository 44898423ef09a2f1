// Each MCU coder this CPU runs against the plain MCU loop, through the
// encoder set-up with everything else plain: same bytes, same status,
// same position, also when the output runs out or the input ends midway,
// which hands the interval over to the plain loop with bits pending.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "jpeginternal.h"
#include "simd/fast_routines.h"

namespace {

struct McuVariant {
    McuCoder code;
    BlockTransform transform; // the slot the variant uses, or plain
    unsigned needs;
    const char *name;
};

std::vector<McuVariant> Variants()
{
    std::vector<McuVariant> usable;
#if VELMORAJ_X86
    const McuVariant all[] = {{EncodeMcusSse2, TransformBlockSse2, CPU_SSE2, "sse2"},
                              {EncodeMcusAvx2, TransformBlock, CPU_AVX2 | CPU_BMI2, "avx2"}};
    for (const auto &v : all)
        if ((CpuFeatures() & v.needs) == v.needs)
            usable.push_back(v);
#endif
    return usable;
}

struct Result {
    int ok;
    uint16_t status;
    uint32_t position, size, bit_count, bit_accumulator;
    std::vector<uint8_t> buffer;

    bool operator==(const Result &o) const
    {
        return ok == o.ok && status == o.status && position == o.position && size == o.size &&
               bit_count == o.bit_count && bit_accumulator == o.bit_accumulator && buffer == o.buffer;
    }
};

// The whole stream through the set-up; capacity 0 measures.
Result Encode(const JpegJob &job, uint32_t capacity, const McuVariant *v, uint16_t restart)
{
    EncoderOptions opts = {1, 0, job.quality, restart,
                           (uint16_t)(capacity ? STREAM_KIND_ENCODE : STREAM_KIND_MEASURE)};
    SelectRoutines(&job, true, &opts);
    if (v) {
        opts.mcu_coder = v->code;
        opts.block_transform = v->transform;
    }
    Result r;
    r.buffer.assign(capacity + 16, 0xA5);
    ByteStream in, out;
    InitMemoryStream(&in, job.input_size, (uint8_t *)job.input);
    if (capacity)
        InitMemoryStream(&out, capacity, r.buffer.data());
    else
        InitCountingStream(&out);
    EncoderContext ctx;
    JpegStatusReset();
    r.ok = EncoderSetup(&job, &opts, &in, &out, &ctx);
    r.status = JpegStatusGet();
    r.position = out.position;
    r.size = out.size;
    r.bit_count = out.bit_count;
    r.bit_accumulator = out.bit_accumulator;
    return r;
}

void ExpectSameAsPlain(const JpegJob &job, uint32_t capacity, uint16_t restart = 0)
{
    Result plain = Encode(job, capacity, nullptr, restart);
    for (const auto &v : Variants()) {
        SCOPED_TRACE(v.name);
        Result fast = Encode(job, capacity, &v, restart);
        ASSERT_EQ(fast.ok, plain.ok);
        ASSERT_EQ(fast.status, plain.status);
        ASSERT_EQ(fast.position, plain.position);
        ASSERT_TRUE(fast == plain) << "different bytes or pending bits";
    }
}

struct Image {
    std::vector<uint8_t> pixels;
    JpegJob job;
};

// Noise gives long codes and many stuffed bytes; gradients give zero runs.
Image MakeImage(std::mt19937 &rng, uint32_t w, uint32_t h, uint16_t bpp, uint8_t q, uint8_t sampling, bool noise)
{
    Image im;
    uint32_t stride = (w * bpp + 31) / 32 * 4;
    im.pixels.resize((size_t)stride * h);
    for (size_t i = 0; i < im.pixels.size(); ++i)
        im.pixels[i] = noise ? (uint8_t)rng() : (uint8_t)((i * 3 / 2 + i / stride * 5 + rng() % 7) & 0xFF);
    im.job = JpegJob{};
    im.job.input = im.pixels.data();
    im.job.input_size = (uint32_t)im.pixels.size();
    im.job.width = w;
    im.job.height = h;
    im.job.bits_per_pixel = bpp;
    im.job.quality = q;
    im.job.sampling = sampling;
    im.job.channel_order = (uint8_t)(rng() % 2);
    return im;
}

TEST(McuCoderFast, RandomImagesBothModesAndRestartIntervals)
{
    if (Variants().empty())
        GTEST_SKIP() << "no fast MCU coder on this CPU";
    std::mt19937 rng(2024);
    const uint16_t depths[] = {8, 16, 24, 32};
    for (int round = 0; round < 160; ++round) {
        Image im = MakeImage(rng, 1 + rng() % 70, 1 + rng() % 50, depths[round % 4], (uint8_t)(1 + rng() % 100),
                             (uint8_t)(rng() % 3), round % 3 == 0);
        uint16_t restart = round % 4 == 0 ? (uint16_t)(1 + rng() % 3) : 0;
        SCOPED_TRACE("round " + testing::PrintToString(round));
        Result measured = Encode(im.job, 0, nullptr, restart);
        ASSERT_EQ(measured.ok, 1);
        ExpectSameAsPlain(im.job, 0, restart);
        ExpectSameAsPlain(im.job, measured.size, restart);
    }
}

TEST(McuCoderFast, OutputRunningOutAtEveryByte)
{
    if (Variants().empty())
        GTEST_SKIP() << "no fast MCU coder on this CPU";
    std::mt19937 rng(99);
    // Wide enough that the fast loop runs for a while before the room left
    // is too small for a whole MCU.
    for (uint8_t sampling = 0; sampling < 3; ++sampling) {
        Image im = MakeImage(rng, 120, 16, 24, 97, sampling, true);
        Result measured = Encode(im.job, 0, nullptr, 0);
        ASSERT_EQ(measured.ok, 1);
        for (uint32_t capacity = 1; capacity <= measured.size + 1; ++capacity) {
            SCOPED_TRACE("sampling " + testing::PrintToString((int)sampling) + " capacity " +
                         testing::PrintToString(capacity));
            ExpectSameAsPlain(im.job, capacity);
            if (testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(McuCoderFast, InputEndingInTheTopRowKeepsTheBytesCodedBefore)
{
    if (Variants().empty())
        GTEST_SKIP() << "no fast MCU coder on this CPU";
    // The top row lies at the end of the buffer: cutting into it lets the
    // first MCUs of the row be coded and a later one fail.
    std::mt19937 rng(7);
    for (uint16_t bpp : {8, 24})
        for (uint8_t sampling = 0; sampling < 3; ++sampling) {
            Image im = MakeImage(rng, 200, 20, bpp, 80, sampling, true);
            for (uint32_t cut = 1; cut < 200u * bpp / 8; cut += 7) {
                JpegJob job = im.job;
                job.input_size -= cut;
                SCOPED_TRACE("bpp " + testing::PrintToString(bpp) + " sampling " +
                             testing::PrintToString((int)sampling) + " cut " + testing::PrintToString(cut));
                ExpectSameAsPlain(job, 0);
                ExpectSameAsPlain(job, 1 << 16);
                if (testing::Test::HasFatalFailure())
                    return;
            }
        }
}

TEST(McuCoderFast, ExtremeBlocksInEverySamplingAtBothEndsOfQuality)
{
    if (Variants().empty())
        GTEST_SKIP() << "no fast MCU coder on this CPU";
    // Checkerboards of 0 and 255, flat black and white and stripes: the
    // largest DCT outputs and DC steps, in the blocks the coders pair up.
    const uint32_t w = 48, h = 32;
    for (uint16_t bpp : {8, 24, 32})
        for (uint8_t sampling = 0; sampling < 3; ++sampling)
            for (uint8_t q : {1, 50, 100}) {
                uint32_t stride = (w * bpp + 31) / 32 * 4, bytes = bpp / 8;
                std::vector<uint8_t> pixels((size_t)stride * h);
                for (uint32_t y = 0; y < h; ++y)
                    for (uint32_t x = 0; x < w; ++x) {
                        uint32_t pattern = (x / 8 + y / 8) % 4;
                        bool on = pattern == 0 ? (x + y) % 2 : pattern == 1 ? true : pattern == 2 ? false : x % 2;
                        for (uint32_t c = 0; c < bytes; ++c)
                            pixels[(size_t)y * stride + x * bytes + c] = on == (c != 1) ? 255 : 0;
                    }
                JpegJob job{};
                job.input = pixels.data();
                job.input_size = (uint32_t)pixels.size();
                job.width = w;
                job.height = h;
                job.bits_per_pixel = bpp;
                job.quality = q;
                job.sampling = sampling;
                SCOPED_TRACE("bpp " + testing::PrintToString(bpp) + " sampling " +
                             testing::PrintToString((int)sampling) + " q " + testing::PrintToString((int)q));
                Result measured = Encode(job, 0, nullptr, 0);
                ASSERT_EQ(measured.ok, 1);
                ExpectSameAsPlain(job, 0);
                ExpectSameAsPlain(job, measured.size);
            }
}

} // namespace
