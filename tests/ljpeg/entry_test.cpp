// The export: job layout, validation order and codes, measure against
// encode, buffers that run out in every segment, short inputs, and the
// per-thread status word.
#include <gtest/gtest.h>

#include <stddef.h>
#include <string.h>

#include <thread>

#include "jpegtestutil.h"

namespace {

// The job record is part of the interface: natural alignment, fixed order.
#if UINTPTR_MAX > 0xFFFFFFFFu
static_assert(offsetof(JpegJob, input_size) == 8 && offsetof(JpegJob, output) == 16 &&
                  offsetof(JpegJob, output_size) == 24 && offsetof(JpegJob, width) == 28 &&
                  offsetof(JpegJob, height) == 32 && offsetof(JpegJob, reserved) == 36 &&
                  offsetof(JpegJob, bits_per_pixel) == 40 && offsetof(JpegJob, quality) == 42 &&
                  offsetof(JpegJob, sampling) == 43 && offsetof(JpegJob, channel_order) == 44 &&
                  sizeof(JpegJob) == 48,
              "64-bit JpegJob layout");
#else
static_assert(offsetof(JpegJob, input_size) == 4 && offsetof(JpegJob, output) == 8 &&
                  offsetof(JpegJob, output_size) == 12 && offsetof(JpegJob, width) == 16 &&
                  offsetof(JpegJob, height) == 20 && offsetof(JpegJob, reserved) == 24 &&
                  offsetof(JpegJob, bits_per_pixel) == 28 && offsetof(JpegJob, quality) == 30 &&
                  offsetof(JpegJob, sampling) == 31 && offsetof(JpegJob, channel_order) == 32 &&
                  sizeof(JpegJob) == 36,
              "32-bit JpegJob layout");
#endif

const uint32_t kUntouched = 0xDEADBEEF;

uint16_t Call(JpegJob job, uint8_t mode, uint32_t *size_out = 0) {
    job.output_size = kUntouched;
    uint16_t r = Jpeg_EncodeStart(&job, mode);
    if (size_out) *size_out = job.output_size;
    return r;
}

TEST(EntryPoint, ValidationOrderAndCodes) {
    Bitmap bmp(4, 4, 8);
    const JpegJob good = MakeJob(bmp);
    const struct {
        void (*change)(JpegJob *);
        uint8_t mode;
        uint16_t status;
    } cases[] = {
        {[](JpegJob *j) { j->width = 0; }, 0, 0x2030},
        {[](JpegJob *j) { j->height = 0; }, 1, 0x2030},
        {[](JpegJob *j) { j->width = 65536; }, 0, 0x2030},
        {[](JpegJob *j) { j->height = 70000; }, 1, 0x2030},
        {[](JpegJob *j) { j->quality = 0; }, 0, 0x2F00},
        {[](JpegJob *j) { j->quality = 101; }, 0, 0x2F00},
        {[](JpegJob *j) { j->sampling = 3; }, 0, 0x2F00}, // also for grey
        {[](JpegJob *j) { j->bits_per_pixel = 15; }, 0, 0x21A0},
        {[](JpegJob *j) { j->bits_per_pixel = 0; j->quality = 0; }, 0, 0x2F00},
        {[](JpegJob *j) { j->width = 0; j->bits_per_pixel = 15; }, 0, 0x2030},
        {[](JpegJob *) {}, 2, 0x2F00},
        {[](JpegJob *j) { j->width = 0; }, 2, 0x2030}, // the job before the mode
        {[](JpegJob *j) { j->bits_per_pixel = 12; }, 7, 0x21A0},
    };
    for (const auto &c : cases) {
        JpegJob job = good;
        c.change(&job);
        uint32_t size;
        EXPECT_EQ(Call(job, c.mode, &size), c.status);
        EXPECT_EQ(size, kUntouched); // a rejected job keeps its output size
    }
    for (uint8_t quality : {1, 100}) {
        JpegJob job = good;
        job.quality = quality;
        EXPECT_EQ(Call(job, 0), 0);
    }
    EXPECT_EQ(Jpeg_EncodeStart(0, 0), 0x2F00);
}

TEST(EntryPoint, StatusNeverLeaksIntoTheNextCall) {
    Bitmap bmp(4, 4, 24);
    JpegJob job = MakeJob(bmp);
    job.input_size = 3;
    EXPECT_EQ(Call(job, 0), 0x2085);
    job.bits_per_pixel = 15;
    EXPECT_EQ(Call(job, 0), 0x21A0);
    EXPECT_EQ(Call(MakeJob(bmp), 0), 0);
    EXPECT_EQ(JpegStatusGet(), 0x2000);
}

TEST(EntryPoint, MeasureEqualsEncodeAndNeverTouchesOutput) {
    uint8_t sentinel[4] = {1, 2, 3, 4};
    for (uint32_t bpp : {8u, 16u, 24u, 32u}) {
        for (uint8_t sampling = 0; sampling < 3; sampling++) {
            for (uint8_t quality : {1, 37, 75, 100}) {
                Bitmap bmp(1 + quality % 29, 1 + bpp % 23 + sampling, bpp);
                JpegJob job = MakeJob(bmp, quality, sampling, quality % 2);
                job.output = sentinel;
                ASSERT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE), 0);
                uint32_t measured = job.output_size;
                std::vector<uint8_t> out(measured + 8, 0xCC);
                job.output = out.data();
                ASSERT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE), 0);
                EXPECT_EQ(job.output_size, measured);
                EXPECT_EQ(out[measured], 0xCC);
            }
        }
    }
    EXPECT_EQ(sentinel[0], 1);
    EXPECT_EQ(sentinel[3], 4);
}

// Cuts the output buffer at every length short of the stream and checks
// the code of the segment it ends in, and that nothing passes the cut.
void CheckEveryCut(const Bitmap &bmp, uint8_t sampling) {
    EncodeResult full = EncodeJob(MakeJob(bmp, 90, sampling));
    ASSERT_EQ(full.status, 0);
    const std::vector<uint8_t> &s = full.bytes;
    const long dht = FindMarker(s, 0xC4), dqt = FindMarker(s, 0xDB), sof = FindMarker(s, 0xC0);
    const size_t scan_end = s.size() - 2;

    for (uint32_t cut = 0; cut < s.size(); cut++) {
        std::vector<uint8_t> out(cut + 16, 0xCC);
        JpegJob job = MakeJob(bmp, 90, sampling);
        job.output = out.data();
        job.output_size = cut;
        uint16_t status = Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE);
        EXPECT_EQ(job.output_size, 0u);
        uint16_t expected = cut < 2             ? 0x2005
                            : cut < (uint32_t)dht ? 0x2095
                            : cut < (uint32_t)dqt ? 0x2045
                            : cut < (uint32_t)sof ? 0x2055
                            : cut < (uint32_t)sof + (s[sof + 3] + 2) ? 0x2075
                            : cut < scan_end      ? 0x2085
                                                  : 0x2005;
        if (expected == 0x2085 && status == 0x2080) expected = 0x2080; // the block coder sets no code
        ASSERT_EQ(status, expected) << "cut " << cut << " of " << s.size();
        for (uint32_t i = 0; i < cut; i++) ASSERT_TRUE(out[i] == s[i] || out[i] == 0xCC) << cut << ":" << i;
        for (uint32_t i = cut; i < out.size(); i++) ASSERT_EQ(out[i], 0xCC) << cut << ":" << i;
    }
}

TEST(EntryPoint, BufferRunsOutInEverySegment) {
    CheckEveryCut(Bitmap(13, 11, 24), 0);
    CheckEveryCut(Bitmap(9, 3, 8), 1);
}

TEST(EntryPoint, ExactBufferSucceedsOneByteLessFails) {
    Bitmap bmp(31, 7, 16);
    JpegJob job = MakeJob(bmp);
    ASSERT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE), 0);
    uint32_t n = job.output_size;
    std::vector<uint8_t> out(n);
    job.output = out.data();
    ASSERT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE), 0);
    EXPECT_EQ(job.output_size, n);
    job.output_size = n - 1;
    EXPECT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE), 0x2005);
    EXPECT_EQ(job.output_size, 0u);
    job.output = 0; // a missing buffer is an empty one
    job.output_size = n;
    EXPECT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE), 0x2005);
}

TEST(EntryPoint, ShortInputs) {
    for (uint8_t mode : {0, 1}) {
        // Colour: the exact size works, one byte less fails in both modes.
        Bitmap colour(40, 20, 24);
        JpegJob job = MakeJob(colour, 75, 2);
        std::vector<uint8_t> out(100000);
        job.output = out.data();
        job.input_size = 19 * RowStride(40, 24) + 40 * 3;
        job.output_size = (uint32_t)out.size();
        EXPECT_EQ(Jpeg_EncodeStart(&job, mode), 0);
        job.input_size--;
        job.output_size = (uint32_t)out.size();
        EXPECT_EQ(Jpeg_EncodeStart(&job, mode), 0x2085);
        EXPECT_EQ(job.output_size, 0u);
        job.input = 0; // a missing input is an empty one
        job.output_size = (uint32_t)out.size();
        EXPECT_EQ(Jpeg_EncodeStart(&job, mode), 0x2085);

        // Grey: 0x2080 when the top row would start at the end, else 0x2085.
        Bitmap grey(12, 10, 8);
        JpegJob g = MakeJob(grey);
        g.output = out.data();
        g.output_size = (uint32_t)out.size();
        g.input_size = 9 * 12;
        EXPECT_EQ(Jpeg_EncodeStart(&g, mode), 0x2080);
        g.input_size = 9 * 12 + 11;
        g.output_size = (uint32_t)out.size();
        EXPECT_EQ(Jpeg_EncodeStart(&g, mode), 0x2085);
    }
    // Rows far beyond any real buffer fail instead of wrapping around.
    Bitmap tiny(1, 1, 32);
    JpegJob huge = MakeJob(tiny);
    huge.width = 65535;
    huge.height = 65535;
    EXPECT_EQ(Call(huge, 0), 0x2085);
}

TEST(EntryPoint, StatusWordIsPerThread) {
    Bitmap bmp(4, 4, 24);
    JpegJob bad = MakeJob(bmp);
    bad.input_size = 1;
    EXPECT_EQ(Call(bad, 0), 0x2085);
    uint16_t other = 0;
    std::thread t([&] {
        other = JpegStatusGet(); // a new thread starts from the base value
        Call(MakeJob(bmp), 0);
    });
    t.join();
    EXPECT_EQ(other, 0x2000);
    EXPECT_EQ(JpegStatusGet(), 0x2085);
}

} // namespace
