// The export: job layout, validation order and codes, measure against
// encode, buffers that run out in every segment, short inputs, and the
// per-thread status word.
#include <gtest/gtest.h>

#include <stddef.h>

#include <thread>

#include "jpegtestutil.h"

namespace {

// The job record is part of the interface: natural alignment, fixed order.
constexpr size_t P = sizeof(void *);
static_assert(offsetof(JpegJob, input_size) == P && offsetof(JpegJob, output) == 2 * P &&
                  offsetof(JpegJob, output_size) == 3 * P &&
                  offsetof(JpegJob, width) == 3 * P + 4 && offsetof(JpegJob, height) == 3 * P + 8 &&
                  offsetof(JpegJob, reserved) == 3 * P + 12 &&
                  offsetof(JpegJob, bits_per_pixel) == 3 * P + 16 &&
                  offsetof(JpegJob, quality) == 3 * P + 18 &&
                  offsetof(JpegJob, sampling) == 3 * P + 19 &&
                  offsetof(JpegJob, channel_order) == 3 * P + 20 &&
                  sizeof(JpegJob) == (P == 8 ? 48 : 36),
              "JpegJob layout (64-bit: 48 bytes, 32-bit: 36 bytes)");

const uint32_t kUntouched = 0xDEADBEEF;

uint16_t Call(JpegJob job, uint8_t mode, uint32_t *size_out = nullptr)
{
    job.output_size = kUntouched;
    uint16_t r = Jpeg_EncodeStart(&job, mode);
    if (size_out)
        *size_out = job.output_size;
    return r;
}

TEST(EntryPoint, ValidationOrderAndCodes)
{
    Bitmap bmp(4, 4, 8);
    const JpegJob good = MakeJob(bmp);
    const struct {
        void (*change)(JpegJob *);
        uint8_t mode;
        uint16_t status;
    } cases[] = {
        {[](JpegJob *j) { j->width = 0; }, 0, 0x2030},
        {[](JpegJob *j) { j->height = 0; }, 1, 0x2030},
        {[](JpegJob *j) { j->width = 65536; }, 0, 0x2030},  // SOF0 cannot carry it
        {[](JpegJob *j) { j->height = 70000; }, 1, 0x2030},
        {[](JpegJob *j) { j->quality = 0; }, 0, 0x2F00},
        {[](JpegJob *j) { j->quality = 101; }, 0, 0x2F00},
        {[](JpegJob *j) { j->sampling = 3; }, 0, 0x2F00},  // also for grey
        {[](JpegJob *j) { j->bits_per_pixel = 15; }, 0, 0x21A0},
        {[](JpegJob *j) { j->bits_per_pixel = 0, j->quality = 0; }, 0, 0x2F00},
        {[](JpegJob *j) { j->width = 0, j->bits_per_pixel = 15; }, 0, 0x2030},
        {[](JpegJob *) {}, 2, 0x2F00},
        {[](JpegJob *j) { j->width = 0; }, 2, 0x2030},  // the job before the mode
        {[](JpegJob *j) { j->bits_per_pixel = 12; }, 7, 0x21A0},
    };
    for (const auto &c : cases) {
        JpegJob job = good;
        c.change(&job);
        uint32_t size;
        EXPECT_EQ(Call(job, c.mode, &size), c.status);
        EXPECT_EQ(size, kUntouched);  // a rejected job keeps its output size
    }
    JpegJob job = good;
    for (uint8_t quality : {1, 100})
        EXPECT_EQ((job.quality = quality, Call(job, 0)), 0);
    EXPECT_EQ(Jpeg_EncodeStart(nullptr, 0), 0x2F00);

    job.input_size = 3;  // codes never leak into the next call
    EXPECT_EQ(Call(job, 0), 0x2080);
    EXPECT_EQ(Call(good, 0), 0);
    EXPECT_EQ(JpegStatusGet(), 0x2000);
}

// Cuts the output buffer at every length short of the stream: the code
// names the segment of the cut, nothing passes it, output size becomes 0.
void CheckEveryCut(const Bitmap &bmp, uint8_t sampling)
{
    EncodeResult full = EncodeJob(MakeJob(bmp, 90, sampling));
    ASSERT_EQ(full.status, 0);
    const std::vector<uint8_t> &s = full.bytes;
    const uint32_t dht = FindMarker(s, 0xC4), dqt = FindMarker(s, 0xDB), sof = FindMarker(s, 0xC0);
    const uint32_t sos = sof + 2 + s[sof + 3], eoi = (uint32_t)s.size() - 2;

    for (uint32_t cut = 0; cut < s.size(); cut++) {
        std::vector<uint8_t> out(cut + 16, 0xCC);
        JpegJob job = MakeJob(bmp, 90, sampling);
        job.output = out.data();
        job.output_size = cut;
        uint16_t status = Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE);
        EXPECT_EQ(job.output_size, 0u);
        uint16_t expected = cut < 2     ? 0x2005
                            : cut < dht ? 0x2095
                            : cut < dqt ? 0x2045
                            : cut < sof ? 0x2055
                            : cut < sos ? 0x2075
                            : cut < eoi ? 0x2085
                                        : 0x2005;
        if (expected == 0x2085 && status == 0x2080)
            expected = 0x2080;  // the block coder adds no code
        ASSERT_EQ(status, expected) << "cut " << cut << " of " << s.size();
        for (uint32_t i = 0; i < cut; i++)
            ASSERT_TRUE(out[i] == s[i] || out[i] == 0xCC) << cut << ":" << i;
        for (uint32_t i = cut; i < out.size(); i++)
            ASSERT_EQ(out[i], 0xCC) << cut << ":" << i;
    }
}

TEST(EntryPoint, BufferRunsOutInEverySegment)
{
    CheckEveryCut(Bitmap(13, 11, 24), 0);
    CheckEveryCut(Bitmap(9, 3, 8), 1);

    Bitmap bmp(31, 7,
               16);  // measure leaves the output alone; exactly its length fits, one byte less not
    EncodeResult r = EncodeJob(MakeJob(bmp));
    JpegJob job = MakeJob(bmp);
    uint8_t sentinel = 0x5A;
    job.output = &sentinel;
    ASSERT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE), 0);
    EXPECT_EQ(job.output_size, r.bytes.size());
    EXPECT_EQ(sentinel, 0x5A);
    job.output = r.bytes.data();
    job.output_size = (uint32_t)r.bytes.size() - 1;
    EXPECT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE), 0x2005);
    job.output = nullptr;  // a missing buffer counts as an empty one
    job.output_size = (uint32_t)r.bytes.size();
    EXPECT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE), 0x2005);
}

TEST(EntryPoint, ShortInputs)
{
    std::vector<uint8_t> out(100000);
    Bitmap colour(40, 20, 24), grey(12, 10, 8);
    const uint32_t colour_exact = 19 * DibRowStride(40, 24) + 40 * 3;
    const struct {
        Bitmap *bmp;
        uint32_t input_size;
        bool null_input;
        uint16_t status;
    } cases[] = {
        {&colour, colour_exact, false, 0},     {&colour, colour_exact - 1, false, 0x2085},
        {&colour, colour_exact, true, 0x2085},  // a missing input counts as an empty one
        {&grey, 9 * 12, false, 0x2080},         // the top row would start at the end
        {&grey, 9 * 12 + 11, false, 0x2085},    // it starts, but runs past the end
    };
    for (uint8_t mode : {0, 1}) {
        for (const auto &c : cases) {
            JpegJob job = MakeJob(*c.bmp, 75, 2);
            job.input = c.null_input ? nullptr : job.input;
            job.input_size = c.input_size;
            job.output = out.data();
            job.output_size = (uint32_t)out.size();
            EXPECT_EQ(Jpeg_EncodeStart(&job, mode), c.status) << c.input_size;
            if (c.status)
                EXPECT_EQ(job.output_size, 0u);
        }
    }
    Bitmap tiny(1, 1, 32);  // rows far beyond any buffer fail instead of wrapping
    JpegJob huge = MakeJob(tiny);
    huge.width = huge.height = 65535;
    EXPECT_EQ(Call(huge, 0), 0x2085);
}

TEST(EntryPoint, StatusWordIsPerThread)
{
    Bitmap bmp(4, 4, 24);
    JpegJob bad = MakeJob(bmp);
    bad.input_size = 1;
    EXPECT_EQ(Call(bad, 0), 0x2085);
    uint16_t other = 0;
    std::thread t([&] {
        other = JpegStatusGet();  // a new thread starts from the base value
        Call(MakeJob(bmp), 0);
    });
    t.join();
    EXPECT_EQ(other, 0x2000);
    EXPECT_EQ(JpegStatusGet(), 0x2085);
}

}  // namespace
