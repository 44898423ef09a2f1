#include "benchtiming.h"

#include <time.h>

#include <algorithm>

const Config kConfigs[12] = {
    {"4:2:0", JPEG_SAMPLING_420, TJSAMP_420, 50},
    {"4:2:0", JPEG_SAMPLING_420, TJSAMP_420, 75},
    {"4:2:0", JPEG_SAMPLING_420, TJSAMP_420, 95},
    {"4:2:2", JPEG_SAMPLING_422, TJSAMP_422, 50},
    {"4:2:2", JPEG_SAMPLING_422, TJSAMP_422, 75},
    {"4:2:2", JPEG_SAMPLING_422, TJSAMP_422, 95},
    {"4:4:4", JPEG_SAMPLING_444, TJSAMP_444, 50},
    {"4:4:4", JPEG_SAMPLING_444, TJSAMP_444, 75},
    {"4:4:4", JPEG_SAMPLING_444, TJSAMP_444, 95},
    {"grey", -1, TJSAMP_GRAY, 50},
    {"grey", -1, TJSAMP_GRAY, 75},
    {"grey", -1, TJSAMP_GRAY, 95},
};

namespace {

const double kMinSeconds = 0.05;  // per figure and round
const int kMinReps = 5, kMaxReps = 50;

// Processor time of this thread in seconds: unlike the wall clock it
// stops while other processes have the processor, which on a shared
// machine would otherwise make the longer calls look slower.
double ThreadSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}

}  // namespace

// Best time of one call in seconds; 0 when a call fails.
double BestOf(const std::function<bool()> &call)
{
    double best = 1e30, total = 0;
    for (int rep = 0; rep < kMaxReps && (rep < kMinReps || total < kMinSeconds); rep++) {
        double start = ThreadSeconds();
        if (!call())
            return 0;
        double seconds = ThreadSeconds() - start;
        best = std::min(best, seconds);
        total += seconds;
    }
    return best;
}

double MegapixelsPerSecond(const HostBitmap &b, double seconds)
{
    return seconds > 0 ? b.width * double(b.height) / 1e6 / seconds : 0;
}

JpegJob MakeJob(const HostBitmap &b, const Config &c)
{
    JpegJob job = {};
    FillJob(b, &job);
    job.quality = static_cast<uint8_t>(c.quality);
    job.sampling = static_cast<uint8_t>(c.sampling < 0 ? 0 : c.sampling);
    return job;
}
