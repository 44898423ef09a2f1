// The scan: entropy-coded data of tiny images, MCU counts, restart
// intervals with DRI and RST markers, and the widest images.
#include <gtest/gtest.h>

#include "jpegtestutil.h"
#ifdef HAVE_TURBOJPEG
#include <turbojpeg.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

TEST(Scan, OnePixelImages)
{
    for (uint8_t quality : {1, 50, 100}) {
        Bitmap grey(1, 1, 8);
        EncodeResult r = EncodeJob(MakeJob(grey.Fill(128), quality));
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(r.bytes.size(), 327u);
        EXPECT_EQ(ScanData(r.bytes), Bytes({0x2B}));  // DC 00, EOB 1010, padded with 1s
    }
    Bitmap colour(1, 1, 24);
    EncodeResult r = EncodeJob(MakeJob(colour.Fill(128), 75, 0));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.bytes.size(), 613u);
    EXPECT_EQ(ScanData(r.bytes),
              Bytes({0x28, 0xA2, 0x8A, 0x00}));  // six zero blocks, no flush byte
}

int g_blocks;
int CountingCoder(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64])
{
    g_blocks++;
    return EncodeBlock(ctx, comp, block);
}

// Measures a colour image through the set-up with a block coder that counts.
EncoderContext RunCounted(uint32_t w, uint32_t h, uint8_t sampling, uint16_t version = 1)
{
    Bitmap bmp(w, h, 24);
    JpegJob job = MakeJob(bmp, 75, sampling);
    EncoderOptions opts = {version, 0, 75, 0, STREAM_KIND_MEASURE};
    SelectRoutines(&job, ROUTINES_PLAIN, &opts);
    opts.block_coder = CountingCoder;
    ByteStream in, out;
    InitMemoryStream(&in, job.input_size, bmp.pixels.data());
    InitCountingStream(&out);
    EncoderContext ctx;
    g_blocks = 0;
    JpegStatusReset();
    EXPECT_EQ(EncoderSetup(&job, &opts, &in, &out, &ctx), version == 1);
    return ctx;
}

TEST(Scan, McuAndBlockCounts)
{
    const struct {
        uint32_t w, h;
        uint8_t sampling;
        uint32_t per_row, total;
        int blocks;
    } cases[] = {{17, 17, 0, 2, 4, 24},
                 {16, 8, 0, 1, 1, 6},
                 {33, 9, 1, 3, 6, 24},
                 {9, 9, 2, 2, 4, 12},
                 {65535, 17, 0, 4096, 8192, 6 * 8192}};  // no 16-bit wrap
    for (const auto &c : cases) {
        EncoderContext ctx = RunCounted(c.w, c.h, c.sampling);
        EXPECT_EQ(ctx.mcus_per_row, c.per_row);
        EXPECT_EQ(ctx.total_mcus, c.total);
        EXPECT_EQ(g_blocks, c.blocks);
    }
    RunCounted(8, 8, 2, 2);  // the set-up refuses other option versions
    EXPECT_EQ(JpegStatusGet(), 0x2190);
}

std::vector<int> RestartMarkers(const Bytes &scan)
{
    std::vector<int> found;
    for (size_t i = 0; i + 1 < scan.size(); i++) {
        if (scan[i] == 0xFF && scan[i + 1] >= 0xD0 && scan[i + 1] <= 0xD7)
            found.push_back(scan[i + 1] - 0xD0);
    }
    return found;
}

TEST(Scan, RestartIntervals)
{
    // 40 x 8 grey is 5 MCUs; interval 2 gives RST0, RST1 and a short last interval.
    Bitmap bmp(40, 8, 8), wide(8 * 20, 8, 24);
    EncodeResult plain = EncodeJob(MakeJob(bmp)), restart = EncodeJob(MakeJob(bmp), 2);
    ASSERT_EQ(restart.status, 0);
    EXPECT_EQ(RestartMarkers(ScanData(plain.bytes)), std::vector<int>());
    EXPECT_EQ(RestartMarkers(ScanData(restart.bytes)), std::vector<int>({0, 1}));
    long dri = FindMarker(restart.bytes, 0xDD);  // between SOF0 and SOS
    ASSERT_GT(dri, FindMarker(restart.bytes, 0xC0));
    EXPECT_EQ(Bytes(restart.bytes.begin() + dri, restart.bytes.begin() + dri + 6),
              Bytes({0xFF, 0xDD, 0, 4, 0, 2}));

    EncodeResult cycle = EncodeJob(MakeJob(wide, 90, 2), 1);  // markers cycle RST0..RST7
    std::vector<int> expected;
    for (int i = 0; i < 19; i++)
        expected.push_back(i % 8);
    EXPECT_EQ(RestartMarkers(ScanData(cycle.bytes)), expected);
}

#ifdef HAVE_TURBOJPEG
Bytes Decode(const Bytes &jpeg, int *w, int *h)
{
    tjhandle tj = tjInitDecompress();
    int subsamp, colorspace;
    Bytes pixels;
    if (tjDecompressHeader3(tj, jpeg.data(), jpeg.size(), w, h, &subsamp, &colorspace) == 0) {
        pixels.resize((size_t)*w * *h * 3);
        if (tjDecompress2(tj, jpeg.data(), jpeg.size(), pixels.data(), *w, 0, *h, TJPF_RGB, 0) != 0)
            pixels.clear();
    }
    tjDestroy(tj);
    return pixels;
}

// Restart intervals change only the entropy coding: the decoded pixels
// must equal those of the stream without them.
TEST(Scan, RestartStreamsDecodeLikePlainOnes)
{
    const struct {
        uint32_t w, h, bpp;
        uint8_t sampling;
        uint16_t interval;
    } cases[] = {{40, 8, 8, 0, 2},
                 {97, 45, 24, 0, 3},
                 {64, 31, 16, 1, 1},
                 {33, 17, 32, 2, 7},
                 {50, 50, 24, 0, 100}};
    for (const auto &c : cases) {
        Bitmap bmp(c.w, c.h, c.bpp);
        EncodeResult plain = EncodeJob(MakeJob(bmp, 80, c.sampling));
        EncodeResult restart = EncodeJob(MakeJob(bmp, 80, c.sampling), c.interval);
        int w1, h1, w2, h2;
        Bytes a = Decode(plain.bytes, &w1, &h1), b = Decode(restart.bytes, &w2, &h2);
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(w2 * 10000 + h2, (int)(c.w * 10000 + c.h));
        EXPECT_TRUE(a == b) << c.w << "x" << c.h << " interval " << c.interval;
    }
}

// 65500 is the widest that common decoders take; 65500 + 15 still
// overflows 16 bits.
TEST(Scan, WideImagesDecode)
{
    for (uint32_t bpp : {8u, 24u}) {
        Bitmap bmp(65500, 2, bpp);
        EncodeResult r = EncodeJob(MakeJob(bmp, 50, 0));
        int w = 0, h = 0;
        EXPECT_FALSE(Decode(r.bytes, &w, &h).empty());
        EXPECT_EQ(w, 65500);
        EXPECT_EQ(h, 2);
    }
}
#endif

}  // namespace
