// Round trips through libjpeg-turbo: every depth, channel order, sampling and
// a spread of qualities decodes to the right size and shape, and comes back
// about as close to the original as libjpeg-turbo's own stream of the same
// pixels at the same quality and sampling.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "hostbitmap.h"
#include "velmoraj.h"

namespace {

// The picture as the encoder should see it: top-down RGB, already reduced
// to what the depth can hold (grey for 8 bits, 5 bits per channel for 16).
struct Truth {
    uint32_t width = 0, height = 0;
    bool grey = false;
    std::vector<uint8_t> samples;  // 1 or 3 per pixel
};

struct Case {
    uint16_t depth;
    uint8_t order;
    uint8_t sampling;
    uint8_t quality;
    bool noise;
    uint32_t width, height;
};

std::string Describe(const Case &c)
{
    char text[160];
    snprintf(text, sizeof text,
             "job: %ux%u, %u bits per pixel, channel order %u, sampling %u, quality %u, %s image",
             c.width, c.height, c.depth, c.order, c.sampling, c.quality, c.noise ? "noise" : "smooth");
    return text;
}

Truth MakeTruth(const Case &c)
{
    Truth t;
    t.width = c.width;
    t.height = c.height;
    t.grey = c.depth == 8;
    int channels = t.grey ? 1 : 3;
    std::mt19937 rng(c.width * 7919 + c.height);
    t.samples.resize(size_t{c.width} * c.height * channels);
    for (uint32_t y = 0; y < c.height; y++) {
        for (uint32_t x = 0; x < c.width; x++) {
            for (int ch = 0; ch < channels; ch++) {
                unsigned v = c.noise ? rng() & 255
                                     : x * 150 / c.width + y * 50 / c.height + 25 * ch;
                if (c.depth == 16)
                    v &= 0xF8;
                t.samples[(size_t{y} * c.width + x) * channels + ch] = static_cast<uint8_t>(v);
            }
        }
    }
    return t;
}

// Packs the truth into the host layout with the case's depth and order.
HostBitmap Pack(const Truth &t, const Case &c)
{
    HostBitmap b;
    ResizeHostBitmap(&b, t.width, t.height, c.depth);
    for (uint32_t y = 0; y < t.height; y++) {
        uint8_t *row = TopDownRow(&b, y);
        for (uint32_t x = 0; x < t.width; x++) {
            const uint8_t *s = &t.samples[(size_t{y} * t.width + x) * (t.grey ? 1 : 3)];
            if (t.grey) {
                row[x] = s[0];
                continue;
            }
            unsigned r = s[0], g = s[1], bl = s[2];
            if (c.depth == 16) {
                unsigned v = (r >> 3) | (g >> 3) << 5 | (bl >> 3) << 10 | 0x8000;
                row[2 * x] = static_cast<uint8_t>(v);
                row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
                continue;
            }
            uint8_t *p = row + x * (c.depth / 8);
            p[0] = static_cast<uint8_t>(r);
            p[1] = static_cast<uint8_t>(g);
            p[2] = static_cast<uint8_t>(bl);
            if (c.depth == 32)
                p[3] = 0xA5;
        }
    }
    if (c.order == JPEG_ORDER_BLUE_LOW) {
        // Packed red-low above; a blue-low host stores red and blue swapped.
        b.channel_order = JPEG_ORDER_RED_LOW;
        HostBitmap swapped = b;
        swapped.channel_order = JPEG_ORDER_BLUE_LOW;
        SwapToRedFirst(&swapped);  // the swap is its own inverse
        b.pixels = swapped.pixels;
    }
    b.channel_order = c.order;
    return b;
}

double Psnr(const Truth &t, const std::vector<uint8_t> &decoded)
{
    double sum = 0;
    for (size_t i = 0; i < t.samples.size(); i++) {
        double d = double(t.samples[i]) - decoded[i];
        sum += d * d;
    }
    double mse = sum / t.samples.size();
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

// Decodes to top-down RGB or grey; checks the size and the sampling.
std::vector<uint8_t> Decode(const std::vector<uint8_t> &jpeg, const Truth &t, int subsamp)
{
    tjhandle tj = tjInitDecompress();
    int w = 0, h = 0, ss = -1, cs = 0;
    EXPECT_EQ(tjDecompressHeader3(tj, jpeg.data(), jpeg.size(), &w, &h, &ss, &cs), 0) << tjGetErrorStr();
    EXPECT_EQ(uint32_t(w), t.width);
    EXPECT_EQ(uint32_t(h), t.height);
    EXPECT_EQ(ss, subsamp);
    std::vector<uint8_t> out(t.samples.size());
    if (uint32_t(w) != t.width || uint32_t(h) != t.height ||
        tjDecompress2(tj, jpeg.data(), jpeg.size(), out.data(), w, 0, h,
                      t.grey ? TJPF_GRAY : TJPF_RGB, TJFLAG_ACCURATEDCT) != 0)
        ADD_FAILURE() << "decode failed: " << tjGetErrorStr();
    tjDestroy(tj);
    return out;
}

int TurboSubsamp(const Case &c)
{
    static const int kSubsamp[] = {TJSAMP_420, TJSAMP_422, TJSAMP_444};
    return c.depth == 8 ? TJSAMP_GRAY : kSubsamp[c.sampling];
}

// libjpeg-turbo's stream of the truth at the same quality and sampling.
std::vector<uint8_t> TurboEncode(const Truth &t, const Case &c)
{
    tjhandle tj = tjInitCompress();
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    int rc = tjCompress2(tj, t.samples.data(), t.width, 0, t.height, t.grey ? TJPF_GRAY : TJPF_RGB,
                         &jpeg, &size, TurboSubsamp(c), c.quality, TJFLAG_ACCURATEDCT);
    EXPECT_EQ(rc, 0) << tjGetErrorStr();
    std::vector<uint8_t> out(jpeg, jpeg + size);
    tjFree(jpeg);
    tjDestroy(tj);
    return out;
}

std::vector<uint8_t> OurEncode(const HostBitmap &b, const Case &c)
{
    JpegJob job = {};
    FillJob(b, &job);
    job.quality = c.quality;
    job.sampling = c.sampling;
    EXPECT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE), 0);
    std::vector<uint8_t> out(job.output_size);
    job.output = out.data();
    EXPECT_EQ(Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE), 0);
    EXPECT_EQ(job.output_size, out.size()) << "measure and encode lengths differ";
    return out;
}

void RoundTrip(const Case &c)
{
    SCOPED_TRACE(Describe(c));
    Truth truth = MakeTruth(c);
    std::vector<uint8_t> ours = OurEncode(Pack(truth, c), c);
    if (::testing::Test::HasFailure())
        return;
    double ours_psnr = Psnr(truth, Decode(ours, truth, TurboSubsamp(c)));
    double turbo_psnr = Psnr(truth, Decode(TurboEncode(truth, c), truth, TurboSubsamp(c)));
    // Rounding of the colour conversion differs a little; above 40 dB
    // both are as good as the eye can tell.
    EXPECT_GT(ours_psnr, std::min(turbo_psnr - 1.0, 40.0))
        << "ours " << ours_psnr << " dB, libjpeg-turbo " << turbo_psnr << " dB";
    if (c.quality >= 90 && !c.noise) {
        EXPECT_GT(ours_psnr, 30.0);
    }
}

class RoundTripByDepth : public ::testing::TestWithParam<std::tuple<uint16_t, uint8_t>> {};

}  // namespace

TEST_P(RoundTripByDepth, DecodesCloseToTheOriginal)
{
    static const uint8_t kQualities[] = {1, 10, 25, 50, 75, 90, 100};
    static const uint32_t kSizes[][2] = {{1, 1}, {17, 9}, {35, 50}, {64, 16}};
    auto [depth, sampling] = GetParam();
    for (uint8_t order : {JPEG_ORDER_RED_LOW, JPEG_ORDER_BLUE_LOW})
        for (uint8_t quality : kQualities)
            for (bool noise : {false, true})
                for (const auto &size : kSizes)
                    RoundTrip({depth, order, sampling, quality, noise, size[0], size[1]});
}

INSTANTIATE_TEST_SUITE_P(AllDepthsAndSamplings, RoundTripByDepth,
                         ::testing::Combine(::testing::Values<uint16_t>(8, 16, 24, 32),
                                            ::testing::Values<uint8_t>(0, 1, 2)),
                         [](const auto &info) {
                             return "bpp" + std::to_string(std::get<0>(info.param)) + "_s" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(RoundTrip, ChannelOrderOtherThanOneMeansRedLow)
{
    // Any value but 1 selects the red-low readers.
    Case c = {24, 7, 2, 90, false, 24, 24};
    SCOPED_TRACE(Describe(c));
    Truth truth = MakeTruth(c);
    Case packed = c;
    packed.order = JPEG_ORDER_RED_LOW;
    HostBitmap b = Pack(truth, packed);
    b.channel_order = 7;
    std::vector<uint8_t> decoded = Decode(OurEncode(b, c), truth, TJSAMP_444);
    EXPECT_GT(Psnr(truth, decoded), 30.0);
}
