// Round trips through libjpeg-turbo: every depth, channel order, sampling and
// a spread of qualities decodes to the right size and sampling, and comes
// back about as close to the original as libjpeg-turbo's own stream of the
// same pixels at the same quality and sampling.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "hostbitmap.h"
#include "velmoraj.h"

namespace {

struct Case {
    uint16_t depth;
    uint8_t order, sampling, quality;
    bool noise;
    uint32_t width, height;
};

// The picture as the encoder should see it: top-down grey or RGB, already
// reduced to what the depth holds (5 bits per channel for 16).
std::vector<uint8_t> MakeTruth(const Case &c)
{
    const int channels = c.depth == 8 ? 1 : 3;
    std::mt19937 rng(c.width * 7919 + c.height);
    std::vector<uint8_t> t(size_t{c.width} * c.height * channels);
    for (size_t i = 0; i < t.size(); i++) {
        uint32_t x = uint32_t(i / channels % c.width), y = uint32_t(i / channels / c.width);
        unsigned v =
            c.noise ? rng() & 255 : x * 150 / c.width + y * 50 / c.height + 25 * (i % channels);
        t[i] = static_cast<uint8_t>(c.depth == 16 ? v & 0xF8 : v);
    }
    return t;
}

// The truth in the host layout of the case's depth and channel order; the
// fourth byte of 32 bits and the top bit of 16 are set to show they are
// ignored.
HostBitmap Pack(const std::vector<uint8_t> &t, const Case &c)
{
    HostBitmap b;
    ResizeHostBitmap(&b, c.width, c.height, c.depth);
    b.channel_order = c.order;
    const bool blue_low = c.order == JPEG_ORDER_BLUE_LOW;
    for (uint32_t y = 0; y < c.height; y++) {
        uint8_t *row = TopDownRow(&b, y);
        for (uint32_t x = 0; x < c.width; x++) {
            size_t at = size_t{y} * c.width + x;
            if (c.depth == 8) {
                row[x] = t[at];
                continue;
            }
            unsigned low = t[3 * at + (blue_low ? 2 : 0)], g = t[3 * at + 1],
                     high = t[3 * at + (blue_low ? 0 : 2)];
            uint8_t *p = row + x * (c.depth / 8);
            if (c.depth == 16) {
                unsigned v = low >> 3 | (g >> 3) << 5 | (high >> 3) << 10 | 0x8000;
                p[0] = static_cast<uint8_t>(v), p[1] = static_cast<uint8_t>(v >> 8);
            } else {
                p[0] = static_cast<uint8_t>(low), p[1] = static_cast<uint8_t>(g),
                p[2] = static_cast<uint8_t>(high);
                if (c.depth == 32)
                    p[3] = 0xA5;
            }
        }
    }
    return b;
}

int TurboSubsamp(const Case &c)
{
    static const int kSubsamp[] = {TJSAMP_420, TJSAMP_422, TJSAMP_444};
    return c.depth == 8 ? TJSAMP_GRAY : kSubsamp[c.sampling];
}

// PSNR of the decoded stream against the truth; checks size and sampling.
double DecodedPsnr(const std::vector<uint8_t> &jpeg, const std::vector<uint8_t> &t, const Case &c)
{
    tjhandle tj = tjInitDecompress();
    int w = 0, h = 0, ss = -1, cs = 0;
    EXPECT_EQ(tjDecompressHeader3(tj, jpeg.data(), jpeg.size(), &w, &h, &ss, &cs), 0)
        << tjGetErrorStr();
    EXPECT_EQ(ss, TurboSubsamp(c));
    std::vector<uint8_t> out(t.size());
    if (uint32_t(w) != c.width || uint32_t(h) != c.height ||
        tjDecompress2(tj, jpeg.data(), jpeg.size(), out.data(), w, 0, h,
                      c.depth == 8 ? TJPF_GRAY : TJPF_RGB, TJFLAG_ACCURATEDCT) != 0)
        ADD_FAILURE() << "decode failed (" << w << "x" << h << "): " << tjGetErrorStr();
    tjDestroy(tj);
    double sum = 0;
    for (size_t i = 0; i < t.size(); i++)
        sum += (double(t[i]) - out[i]) * (double(t[i]) - out[i]);
    return sum == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * t.size() / sum);
}

std::vector<uint8_t> TurboEncode(const std::vector<uint8_t> &t, const Case &c)
{
    tjhandle tj = tjInitCompress();
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    EXPECT_EQ(tjCompress2(tj, t.data(), c.width, 0, c.height, c.depth == 8 ? TJPF_GRAY : TJPF_RGB,
                          &jpeg, &size, TurboSubsamp(c), c.quality, TJFLAG_ACCURATEDCT),
              0)
        << tjGetErrorStr();
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
    SCOPED_TRACE(::testing::Message()
                 << "job: " << c.width << "x" << c.height << ", " << c.depth
                 << " bits per pixel, channel order " << int(c.order) << ", sampling "
                 << int(c.sampling) << ", quality " << int(c.quality) << ", "
                 << (c.noise ? "noise" : "smooth") << " image");
    std::vector<uint8_t> truth = MakeTruth(c);
    std::vector<uint8_t> ours = OurEncode(Pack(truth, c), c);
    if (::testing::Test::HasFailure())
        return;
    double ours_psnr = DecodedPsnr(ours, truth, c),
           turbo_psnr = DecodedPsnr(TurboEncode(truth, c), truth, c);
    // Rounding of the colour conversion differs a little; above 40 dB
    // both are as good as the eye can tell.
    EXPECT_GT(ours_psnr, std::min(turbo_psnr - 1.0, 40.0))
        << "ours " << ours_psnr << " dB, libjpeg-turbo " << turbo_psnr << " dB";
    if (c.quality >= 90 && !c.noise)
        EXPECT_GT(ours_psnr, 30.0);
}

class RoundTripByDepth : public ::testing::TestWithParam<std::tuple<uint16_t, uint8_t>> {};

}  // namespace

// Channel order 7 stands for "any value but 1", which means red low.
TEST_P(RoundTripByDepth, DecodesCloseToTheOriginal)
{
    static const uint32_t kSizes[][2] = {{1, 1}, {17, 9}, {35, 50}, {64, 16}};
    auto [depth, sampling] = GetParam();
    for (uint8_t order : {0, 1, 7})
        for (uint8_t quality : {1, 10, 25, 50, 75, 90, 100})
            for (bool noise : {false, true})
                for (const auto &size : kSizes)
                    if (order != 7 || quality == 90)
                        RoundTrip({depth, order, sampling, quality, noise, size[0], size[1]});
}

INSTANTIATE_TEST_SUITE_P(AllDepthsAndSamplings, RoundTripByDepth,
                         ::testing::Combine(::testing::Values<uint16_t>(8, 16, 24, 32),
                                            ::testing::Values<uint8_t>(0, 1, 2)),
                         [](const auto &info) {
                             return "bpp" + std::to_string(std::get<0>(info.param)) + "_s" +
                                    std::to_string(std::get<1>(info.param));
                         });
