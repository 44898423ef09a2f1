// The stages are timed by running the encoder with stand-ins in its MCU
// coder slot: one that only reads the MCUs, and the fast MCU loop of the
// routine set without its bit packing (stagecoders.h), which reads,
// transforms, quantises and forms the packer's input. The block coder's
// share (symbols and bit packing) is what is left of the whole encode call.
#include "stageprofile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "benchtiming.h"
#include "simd/fast_routines.h"
#include "stagecoders.h"

namespace {

// Reads the interval's MCUs and nothing more.
int ReadOnly(EncoderContext *ctx, uint32_t end)
{
    uint8_t mcu[MCU_BUFFER_SIZE];
    for (; ctx->mcus_done < end; ctx->mcus_done++)
        if (!ctx->pixel_reader(ctx, mcu))
            return 0;
    return 1;
}

// Best time of the whole stream with the routines, the MCU coder slot
// replaced when mcu_coder is given; into out, or counted when out is null.
double StreamSeconds(const JpegJob &job, uint8_t routines, McuCoder mcu_coder,
                     std::vector<uint8_t> *out)
{
    EncoderOptions opts = {1, 0, job.quality, 0,
                           (uint16_t)(out ? STREAM_KIND_ENCODE : STREAM_KIND_MEASURE)};
    SelectRoutines(&job, routines, &opts);
    if (mcu_coder)
        opts.mcu_coder = mcu_coder;
    return BestOf([&] {
        ByteStream in, stream;
        InitMemoryStream(&in, job.input_size, (uint8_t *)job.input);
        if (out)
            InitMemoryStream(&stream, (uint32_t)out->size(), out->data());
        else
            InitCountingStream(&stream);
        EncoderContext ctx;
        return EncoderSetup(&job, &opts, &in, &stream, &ctx) != 0;
    });
}

// The fast MCU loop of the routine set without its packing.
McuCoder TransformOnly(uint8_t routines)
{
    const unsigned cpu = CpuFeatures();
    if (routines == ROUTINES_FASTEST && (cpu & CPU_AVX512))
        return TransformOnlyAvx512;
    return TransformOnlyAvx2;
}

// Logs of: reader, transform and coder shares of the encode time, and
// measure time over encode time.
void AddStageLogs(const JpegJob &job, uint8_t routines, double logs[4])
{
    JpegJob measured = job;
    if (Jpeg_EncodeStart(&measured, JPEG_MODE_MEASURE) != 0)
        return;
    std::vector<uint8_t> out(measured.output_size);
    double read = StreamSeconds(job, routines, ReadOnly, nullptr);
    double transform = StreamSeconds(job, routines, TransformOnly(routines), nullptr) - read;
    double measure = StreamSeconds(job, routines, nullptr, nullptr);
    double encode = StreamSeconds(job, routines, nullptr, &out);
    const double figures[4] = {read / encode, transform / encode,
                               (encode - read - transform) / encode, measure / encode};
    for (int i = 0; i < 4; i++)
        logs[i] += std::log(std::max(figures[i], 1e-3));
}

}  // namespace

void PrintStageProfile(const std::vector<BenchSource> &sources)
{
    const unsigned fast_loop = CPU_AVX2 | CPU_BMI2;
    if ((CpuFeatures() & fast_loop) != fast_loop) {
        printf("\nstages: this CPU does not run the fast MCU loops\n");
        return;
    }
    printf("\nstages, share of an encode call's time (reader with sampler; DCT, "
           "quantiser and packer input; symbols and bit packing), and measure time / "
           "encode time:\n");
    printf("%-6s %2s | %-33s | %-33s\n", "", "", "AVX2 routines (no AVX-512)", "fastest routines");
    printf("%-6s %2s |", "sampl", "q");
    for (int set = 0; set < 2; set++)
        printf(" %7s %7s %7s %8s |", "reader", "dct+q", "coder", "measure");
    printf("\n");
    for (const Config &c : kConfigs) {
        printf("%-6s %2d |", c.label, c.quality);
        for (uint8_t routines : {ROUTINES_NO_AVX512, ROUTINES_FASTEST}) {
            double logs[4] = {};
            for (const BenchSource &s : sources)
                AddStageLogs(MakeJob(c.sampling < 0 ? s.grey : s.colour, c), routines, logs);
            double mean[4];
            for (int i = 0; i < 4; i++)
                mean[i] = std::exp(logs[i] / double(sources.size()));
            printf(" %6.0f%% %6.0f%% %6.0f%% %8.2f |", 100 * mean[0], 100 * mean[1], 100 * mean[2],
                   mean[3]);
        }
        printf("\n");
        fflush(stdout);
    }
}
