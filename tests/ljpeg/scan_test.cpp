// The scan: entropy-coded data of tiny images, MCU counts, restart
// intervals with DRI and RST markers, and the largest dimensions.
#include <gtest/gtest.h>

#include <string.h>

#include "jpegtestutil.h"
#ifdef HAVE_TURBOJPEG
#include <turbojpeg.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

TEST(Scan, OnePixelGrey) {
    for (uint8_t quality : {1, 50, 100}) {
        Bitmap bmp(1, 1, 8);
        EncodeResult r = EncodeJob(MakeJob(bmp.Fill(128), quality));
        ASSERT_EQ(r.status, 0);
        EXPECT_EQ(r.bytes.size(), 327u);
        EXPECT_EQ(ScanData(r.bytes), Bytes({0x2B}));
    }
}

TEST(Scan, OnePixelColour) {
    Bitmap bmp(1, 1, 24);
    EncodeResult r = EncodeJob(MakeJob(bmp.Fill(128), 75, 0));
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.bytes.size(), 613u);
    EXPECT_EQ(ScanData(r.bytes), Bytes({0x28, 0xA2, 0x8A, 0x00}));
}

// Runs the encoder with a block coder that counts its calls.
int g_blocks;
int CountingCoder(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64]) {
    g_blocks++;
    return EncodeBlock(ctx, comp, block);
}

EncoderContext RunCounted(uint32_t w, uint32_t h, uint8_t sampling) {
    Bitmap bmp(w, h, 24);
    JpegJob job = MakeJob(bmp, 75, sampling);
    EncoderOptions opts = {};
    opts.version = 1;
    opts.quality = 75;
    opts.stream_kind = STREAM_KIND_MEASURE;
    SelectRoutines(&job, true, &opts);
    opts.block_coder = CountingCoder;
    ByteStream in, out;
    InitMemoryStream(&in, job.input_size, bmp.pixels.data());
    InitCountingStream(&out);
    EncoderContext ctx;
    g_blocks = 0;
    EXPECT_TRUE(EncoderSetup(&job, &opts, &in, &out, &ctx));
    return ctx;
}

TEST(Scan, McuAndBlockCounts) {
    EncoderContext a = RunCounted(17, 17, 0);
    EXPECT_EQ(a.mcus_per_row, 2);
    EXPECT_EQ(a.total_mcus, 4u);
    EXPECT_EQ(g_blocks, 24);
    EncoderContext b = RunCounted(16, 8, 0);
    EXPECT_EQ(b.total_mcus, 1u);
    EXPECT_EQ(g_blocks, 6);
    EncoderContext c = RunCounted(33, 9, 1);
    EXPECT_EQ(c.total_mcus, 3u * 2);
    EXPECT_EQ(g_blocks, 6 * 4);
    EncoderContext d = RunCounted(9, 9, 2);
    EXPECT_EQ(d.total_mcus, 4u);
    EXPECT_EQ(g_blocks, 12);
    // The widest image: rounding up must not wrap in 16 bits.
    EncoderContext e = RunCounted(65535, 17, 0);
    EXPECT_EQ(e.mcus_per_row, 4096);
    EXPECT_EQ(e.total_mcus, 2u * 4096);
    EXPECT_EQ(g_blocks, 6 * 2 * 4096);
}

TEST(Scan, EncoderOptionsMustBeVersionOne) {
    Bitmap bmp(8, 8, 8);
    JpegJob job = MakeJob(bmp);
    EncoderOptions opts = {};
    SelectRoutines(&job, true, &opts);
    ByteStream in, out;
    InitMemoryStream(&in, job.input_size, bmp.pixels.data());
    InitCountingStream(&out);
    EncoderContext ctx;
    for (int bad = 0; bad < 2; bad++) {
        opts.version = bad ? 1 : 2;
        opts.reserved = bad ? 1 : 0;
        JpegStatusReset();
        EXPECT_FALSE(EncoderSetup(&job, &opts, &in, &out, &ctx));
        EXPECT_EQ(JpegStatusGet(), 0x2190);
        EXPECT_EQ(out.size, 0u);
    }
}

std::vector<int> RestartMarkers(const Bytes &scan) {
    std::vector<int> found;
    for (size_t i = 0; i + 1 < scan.size(); i++) {
        if (scan[i] == 0xFF && scan[i + 1] >= 0xD0 && scan[i + 1] <= 0xD7) found.push_back(scan[i + 1] - 0xD0);
    }
    return found;
}

TEST(Scan, RestartIntervals) {
    // 40 x 8 grey: 5 MCUs; interval 2 gives RST0, RST1 and a short last interval.
    Bitmap bmp(40, 8, 8);
    EncodeResult plain = EncodeJob(MakeJob(bmp));
    EncodeResult restart = EncodeJob(MakeJob(bmp), 2);
    ASSERT_EQ(restart.status, 0);
    EXPECT_EQ(RestartMarkers(ScanData(plain.bytes)), std::vector<int>());
    EXPECT_EQ(RestartMarkers(ScanData(restart.bytes)), std::vector<int>({0, 1}));
    long dri = FindMarker(restart.bytes, 0xDD);
    ASSERT_GT(dri, FindMarker(restart.bytes, 0xC0));
    EXPECT_EQ(Bytes(restart.bytes.begin() + dri, restart.bytes.begin() + dri + 6),
              Bytes({0xFF, 0xDD, 0x00, 0x04, 0x00, 0x02}));

    // Markers cycle through RST0..RST7.
    Bitmap wide(8 * 20, 8, 24);
    EncodeResult cyc = EncodeJob(MakeJob(wide, 90, 2), 1);
    ASSERT_EQ(cyc.status, 0);
    std::vector<int> expected;
    for (int i = 0; i < 19; i++) expected.push_back(i % 8);
    EXPECT_EQ(RestartMarkers(ScanData(cyc.bytes)), expected);
}

#ifdef HAVE_TURBOJPEG
// Decodes to 8-bit samples (grey) or RGB.
Bytes Decode(const Bytes &jpeg, int *w, int *h, bool grey) {
    tjhandle tj = tjInitDecompress();
    int subsamp, colorspace;
    Bytes pixels;
    if (tjDecompressHeader3(tj, jpeg.data(), jpeg.size(), w, h, &subsamp, &colorspace) == 0) {
        int format = grey ? TJPF_GRAY : TJPF_RGB;
        pixels.resize((size_t)*w * *h * tjPixelSize[format]);
        if (tjDecompress2(tj, jpeg.data(), jpeg.size(), pixels.data(), *w, 0, *h, format, TJFLAG_ACCURATEDCT) != 0) {
            pixels.clear();
        }
    }
    tjDestroy(tj);
    return pixels;
}

// Restart intervals change only the entropy coding, so the decoded pixels
// must equal those of the stream without them.
TEST(Scan, RestartStreamsDecodeLikePlainOnes) {
    const struct {
        uint32_t w, h, bpp;
        uint8_t sampling;
        uint16_t interval;
    } cases[] = {{40, 8, 8, 0, 2}, {97, 45, 24, 0, 3}, {64, 31, 16, 1, 1}, {33, 17, 32, 2, 7}, {50, 50, 24, 0, 100}};
    for (const auto &c : cases) {
        Bitmap bmp(c.w, c.h, c.bpp);
        EncodeResult plain = EncodeJob(MakeJob(bmp, 80, c.sampling));
        EncodeResult restart = EncodeJob(MakeJob(bmp, 80, c.sampling), c.interval);
        ASSERT_EQ(restart.status, 0);
        int w1, h1, w2, h2;
        Bytes a = Decode(plain.bytes, &w1, &h1, c.bpp == 8);
        Bytes b = Decode(restart.bytes, &w2, &h2, c.bpp == 8);
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(w2, (int)c.w);
        EXPECT_EQ(h2, (int)c.h);
        EXPECT_TRUE(a == b) << c.w << "x" << c.h << " interval " << c.interval;
    }
}

// 65500 is the widest that common decoders accept; 65500 + 15 still
// overflows 16 bits.
TEST(Scan, WideImagesDecode) {
    for (uint32_t bpp : {8u, 24u}) {
        Bitmap bmp(65500, 2, bpp);
        EncodeResult r = EncodeJob(MakeJob(bmp, 50, 0));
        ASSERT_EQ(r.status, 0);
        int w, h;
        EXPECT_FALSE(Decode(r.bytes, &w, &h, bpp == 8).empty());
        EXPECT_EQ(w, 65500);
        EXPECT_EQ(h, 2);
    }
}
#endif

} // namespace
