// Each MCU coder this CPU runs against the plain MCU loop, everything else
// plain: same bytes, same status, same position, also when the output runs
// out or the input ends midway, which hands the interval over to the plain
// loop with bits pending.
#include "jpegtestutil.h"

namespace {

void Sse2Loop(const JpegJob &, EncoderOptions *opts)
{
    opts->mcu_coder = EncodeMcusSse2;
    opts->block_transform = TransformBlockSse2;
}
void Avx2Loop(const JpegJob &, EncoderOptions *opts)
{
    opts->mcu_coder = EncodeMcusAvx2;
}
void Avx512Loop(const JpegJob &, EncoderOptions *opts)
{
    opts->mcu_coder = EncodeMcusAvx512;
}
// The dense coders at every quality, not only where set-up picks them.
void Avx2DenseLoop(const JpegJob &, EncoderOptions *opts)
{
    opts->mcu_coder = EncodeMcusAvx2Dense;
}
void Avx512DenseLoop(const JpegJob &, EncoderOptions *opts)
{
    opts->mcu_coder = EncodeMcusAvx512Dense;
}

const RoutineSet kLoops[] = {{"sse2", CPU_SSE2, Sse2Loop},
                             {"avx2", CPU_AVX2 | CPU_BMI2, Avx2Loop},
                             {"avx512", CPU_AVX2 | CPU_BMI2 | CPU_AVX512, Avx512Loop},
                             {"avx2-dense", CPU_AVX2 | CPU_BMI2, Avx2DenseLoop},
                             {"avx512-dense", CPU_AVX2 | CPU_BMI2 | CPU_AVX512, Avx512DenseLoop}};

class McuCoderFast : public testing::Test {
protected:
    void SetUp() override
    {
        if (loops.empty())
            GTEST_SKIP() << "no fast MCU coder on this CPU";
    }
    const std::vector<RoutineSet> loops = Runnable(kLoops);
};

TEST_F(McuCoderFast, RandomImagesBothModesAndRestartIntervals)
{
    std::mt19937 rng(2024);
    const uint16_t depths[] = {8, 16, 24, 32};
    for (int round = 0; round < 160; ++round) {
        Bitmap bmp(1 + rng() % 70, 1 + rng() % 50, depths[round % 4]);
        if (round % 3 == 0)
            bmp.Noise(rng);
        else
            bmp.Smooth(rng);
        uint8_t quality = (uint8_t)(1 + rng() % 100), sampling = (uint8_t)(rng() % 3);
        JpegJob job = MakeJob(bmp, quality, sampling, (uint8_t)(rng() % 2));
        uint16_t restart = round % 4 == 0 ? (uint16_t)(1 + rng() % 3) : 0;
        SCOPED_TRACE("round " + testing::PrintToString(round));
        ExpectSameAsPlain(job, kMeasure, loops, restart);
        ExpectSameAsPlain(job, MeasuredSize(job, restart), loops, restart);
    }
}

TEST_F(McuCoderFast, OutputRunningOutAtEveryByte)
{
    std::mt19937 rng(99);
    // Wide enough that the fast loop runs for a while before the room left
    // is too small for a whole MCU.
    for (uint8_t sampling = 0; sampling < 3; ++sampling) {
        Bitmap bmp(120, 16, 24);
        JpegJob job = MakeJob(bmp.Noise(rng), 97, sampling);
        for (uint32_t capacity = 1, size = MeasuredSize(job); capacity <= size + 1; ++capacity) {
            SCOPED_TRACE("sampling " + testing::PrintToString((int)sampling) + " capacity " +
                         testing::PrintToString(capacity));
            ExpectSameAsPlain(job, capacity, loops);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST_F(McuCoderFast, InputEndingInTheTopRowKeepsTheBytesCodedBefore)
{
    // The top row lies at the end of the buffer: cutting into it lets the
    // first MCUs of the row be coded and a later one fail.
    std::mt19937 rng(7);
    for (uint16_t bpp : {8, 24})
        for (uint8_t sampling = 0; sampling < 3; ++sampling) {
            Bitmap bmp(200, 20, bpp);
            JpegJob job = MakeJob(bmp.Noise(rng), 80, sampling);
            const uint32_t full = job.input_size;
            for (uint32_t cut = 1; cut < 200u * bpp / 8; cut += 7) {
                job.input_size = full - cut;
                SCOPED_TRACE("bpp " + testing::PrintToString(bpp) + " sampling " +
                             testing::PrintToString((int)sampling) + " cut " +
                             testing::PrintToString(cut));
                ExpectSameAsPlain(job, kMeasure, loops);
                ExpectSameAsPlain(job, 1 << 16, loops);
                if (HasFatalFailure())
                    return;
            }
        }
}

TEST_F(McuCoderFast, ExtremeBlocksInEverySamplingAtBothEndsOfQuality)
{
    // Checkerboards of 0 and 255, flat black and white and stripes: the
    // largest DCT outputs and DC steps, in the blocks the coders pair up.
    const uint32_t w = 48, h = 32;
    for (uint16_t bpp : {8, 24, 32}) {
        Bitmap bmp(w, h, bpp);
        const uint32_t bytes = bpp / 8;
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
                uint32_t pattern = (x / 8 + y / 8) % 4;
                bool on = pattern == 0   ? (x + y) % 2
                          : pattern == 1 ? true
                          : pattern == 2 ? false
                                         : x % 2;
                for (uint32_t c = 0; c < bytes; ++c)
                    bmp.pixels[(size_t)y * bmp.Stride() + x * bytes + c] = on == (c != 1) ? 255 : 0;
            }
        for (uint8_t sampling = 0; sampling < 3; ++sampling)
            for (uint8_t q : {1, 50, 100}) {
                JpegJob job = MakeJob(bmp, q, sampling, 0);
                SCOPED_TRACE("bpp " + testing::PrintToString(bpp) + " sampling " +
                             testing::PrintToString((int)sampling) + " q " +
                             testing::PrintToString((int)q));
                ExpectSameAsPlain(job, kMeasure, loops);
                ExpectSameAsPlain(job, MeasuredSize(job), loops);
            }
    }
}

}  // namespace
