// Fast pixel readers and samplers against the plain ones, MCU by MCU:
// same MCU buffer, same result, same status word.
#include <cstring>

#include "jpegtestutil.h"

namespace {

struct ReaderPair {
    PixelReader plain;
    uint16_t bits;
    bool blue_low;
    const char *name;

    // The fast reader for a sampling, which builds the MCU buffer itself.
    PixelReader Fast(int sampling) const
    {
        return ColourReaderAvx2(bits, blue_low, (uint8_t)sampling);
    }
};

const ReaderPair kColourReaders[] = {
    {ReadRgb16Mcu, 16, false, "rgb16"}, {ReadBgr16Mcu, 16, true, "bgr16"},
    {ReadRgb24Mcu, 24, false, "rgb24"}, {ReadBgr24Mcu, 24, true, "bgr24"},
    {ReadRgb32Mcu, 32, false, "rgb32"}, {ReadBgr32Mcu, 32, true, "bgr32"},
};

const ChromaSampler kPlainSamplers[3] = {Sample420, Sample422, Sample444};
const ChromaSampler kFastSamplers[3] = {Sample420Sse2, Sample422Sse2, Sample444};

bool HaveAvx2()
{
    return (CpuFeatures() & CPU_AVX2) != 0;
}

// A reader's view of one image: the context fields a reader uses.
struct ReaderRig {
    ByteStream in{};
    EncoderContext ctx{};

    ReaderRig(const std::vector<uint8_t> &pixels, uint32_t size, uint32_t width, uint32_t height,
              uint16_t bits, int sampling, ChromaSampler sampler)
    {
        static const uint8_t kW[3] = {16, 16, 8}, kH[3] = {16, 8, 8};
        InitMemoryStream(&in, size, const_cast<uint8_t *>(pixels.data()));
        ctx.input = &in;
        ctx.width = width;
        ctx.height = height;
        ctx.row_stride = DibRowStride(width, bits);
        ctx.mcu_width = bits == 8 ? 8 : kW[sampling];
        ctx.mcu_height = bits == 8 ? 8 : kH[sampling];
        ctx.mcus_per_row = (uint16_t)((width + ctx.mcu_width - 1) / ctx.mcu_width);
        ctx.total_mcus = (height + ctx.mcu_height - 1) / ctx.mcu_height * ctx.mcus_per_row;
        ctx.chroma_sampler = sampler;
    }
};

// Reads every MCU with both readers; the input holds `size` bytes (which
// may be short of what the image needs).
void ExpectSameMcus(const std::vector<uint8_t> &pixels, uint32_t size, uint32_t width,
                    uint32_t height, uint16_t bits, int sampling, PixelReader plain,
                    PixelReader fast)
{
    ReaderRig p(pixels, size, width, height, bits, sampling, kPlainSamplers[sampling]);
    ReaderRig f(pixels, size, width, height, bits, sampling, kFastSamplers[sampling]);
    for (uint32_t m = 0; m < p.ctx.total_mcus; ++m) {
        uint8_t want[MCU_BUFFER_SIZE], got[MCU_BUFFER_SIZE];
        memset(want, 0xA5, sizeof want);
        memset(got, 0xA5, sizeof got);
        p.ctx.mcus_done = f.ctx.mcus_done = m;
        JpegStatusReset();
        int want_ok = plain(&p.ctx, want);
        uint16_t want_status = JpegStatusGet();
        JpegStatusReset();
        int got_ok = fast(&f.ctx, got);
        ASSERT_EQ(got_ok, want_ok) << "MCU " << m;
        ASSERT_EQ(JpegStatusGet(), want_status) << "MCU " << m;
        if (!want_ok)
            return;
        ASSERT_EQ(0, memcmp(got, want, sizeof want)) << "MCU " << m;
    }
}

std::vector<uint8_t> RandomPixels(std::mt19937 &rng, size_t n)
{
    std::vector<uint8_t> v(n);
    // Runs of extreme bytes among noise: limits and saturation are hit.
    for (auto &b : v) {
        uint32_t r = rng();
        b = (r & 0x300) == 0 ? ((r & 1) ? 255 : 0) : (uint8_t)r;
    }
    return v;
}

TEST(PixelReaderFast, ColourReadersMatchPlainForOddSizesAndEverySampling)
{
    if (!HaveAvx2())
        GTEST_SKIP() << "no AVX2";
    std::mt19937 rng(9);
    for (const auto &reader : kColourReaders)
        for (int sampling = 0; sampling < 3; ++sampling)
            for (uint32_t width : {1u, 2u, 7u, 8u, 9u, 15u, 16u, 17u, 31u, 33u, 40u})
                for (uint32_t height : {1u, 5u, 8u, 9u, 16u, 17u, 23u}) {
                    size_t size = (size_t)DibRowStride(width, reader.bits) * height;
                    auto pixels = RandomPixels(rng, size);
                    SCOPED_TRACE(testing::Message() << reader.name << " sampling " << sampling
                                                    << " " << width << "x" << height);
                    ExpectSameMcus(pixels, (uint32_t)size, width, height, reader.bits, sampling,
                                   reader.plain, reader.Fast(sampling));
                }
}

TEST(PixelReaderFast, ShortInputsFailAtTheSameMcuWithTheSameStatus)
{
    if (!HaveAvx2())
        GTEST_SKIP() << "no AVX2";
    std::mt19937 rng(4);
    for (const auto &reader : kColourReaders)
        for (int sampling = 0; sampling < 3; ++sampling) {
            const uint32_t width = 21, height = 19, bpp = reader.bits / 8;
            uint32_t stride = DibRowStride(width, reader.bits);
            uint32_t needed = (height - 1) * stride + width * bpp;
            auto pixels = RandomPixels(rng, (size_t)stride * height);
            for (uint32_t size = 0; size <= needed; size += (size + 37 < needed ? 37 : 1)) {
                SCOPED_TRACE(testing::Message()
                             << reader.name << " sampling " << sampling << " size " << size);
                ExpectSameMcus(pixels, size, width, height, reader.bits, sampling, reader.plain,
                               reader.Fast(sampling));
            }
        }
}

TEST(PixelReaderFast, EveryColourConvertsAsPlain)
{
    if (!HaveAvx2())
        GTEST_SKIP() << "no AVX2";
    // All 2^24 colours, 4096 per image of 64 x 64 pixels; 4:4:4 copies the
    // converted planes unchanged, so the MCUs show the conversion itself.
    const uint32_t side = 64;
    std::vector<uint8_t> pixels(side * side * 3);
    for (uint32_t red = 0; red < 256; ++red)
        for (uint32_t green_high = 0; green_high < 256; green_high += 16) {
            for (uint32_t i = 0; i < side * side; ++i) {
                pixels[3 * i + 0] = (uint8_t)(i & 0xFF);               // blue
                pixels[3 * i + 1] = (uint8_t)(green_high + (i >> 8));  // green
                pixels[3 * i + 2] = (uint8_t)red;
            }
            ExpectSameMcus(pixels, (uint32_t)pixels.size(), side, side, 24, 2, ReadBgr24Mcu,
                           ColourReaderAvx2(24, true, 2));
            // The subsampled MCUs mean limited chroma (pure blue's Cb is 256
            // before limiting): a few reds with blue at both ends suffice.
            if (red % 51 == 0)
                for (int sampling : {0, 1})
                    ExpectSameMcus(pixels, (uint32_t)pixels.size(), side, side, 24, sampling,
                                   ReadBgr24Mcu, ColourReaderAvx2(24, true, (uint8_t)sampling));
            if (testing::Test::HasFatalFailure())
                return;
        }
}

TEST(PixelReaderFast, GreyReaderMatchesPlainIncludingShortInputs)
{
    std::mt19937 rng(8);
    for (uint32_t width : {1u, 3u, 8u, 9u, 13u, 16u, 25u})
        for (uint32_t height : {1u, 7u, 8u, 9u, 17u}) {
            uint32_t stride = DibRowStride(width, 8);
            uint32_t needed = (height - 1) * stride + width;
            auto pixels = RandomPixels(rng, (size_t)stride * height);
            for (uint32_t size = 0; size <= stride * height; ++size) {
                SCOPED_TRACE(testing::Message() << width << "x" << height << " size " << size);
                ExpectSameMcus(pixels, size, width, height, 8, 2, ReadGreyMcu, ReadGreyMcuFast);
                if (size > needed + 2)
                    break;
            }
        }
}

TEST(ChromaSamplerFast, MeansTruncateAsPlain)
{
    std::mt19937 rng(2);
    for (int round = 0; round < 2000; ++round) {
        uint8_t planes[3][MCU_PLANE_SIZE];
        for (auto &plane : planes)
            for (auto &s : plane)
                s = (round & 1) ? (uint8_t)(254 + rng() % 2) : (uint8_t)rng();
        for (int sampling = 0; sampling < 2; ++sampling) {
            uint8_t want[MCU_BUFFER_SIZE] = {}, got[MCU_BUFFER_SIZE] = {};
            kPlainSamplers[sampling](want, planes[0], planes[1], planes[2]);
            kFastSamplers[sampling](got, planes[0], planes[1], planes[2]);
            ASSERT_EQ(0, memcmp(got, want, sizeof want)) << "sampling " << sampling;
        }
    }
}

}  // namespace
