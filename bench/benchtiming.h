// What the benchmark's tables share: the configurations, best-of timing
// in the thread's processor time, and the jobs.
#ifndef BENCH_BENCHTIMING_H
#define BENCH_BENCHTIMING_H

#include <turbojpeg.h>

#include <functional>

#include "hostbitmap.h"
#include "jpeginternal.h"

struct Config {
    const char *label;
    int sampling;  // JPEG_SAMPLING_* or -1 for grey
    int turbo_subsamp;
    int quality;
};

extern const Config kConfigs[12];

// Best time of one call in seconds; 0 when a call fails.
double BestOf(const std::function<bool()> &call);

double MegapixelsPerSecond(const HostBitmap &b, double seconds);

// The job for the bitmap in the configuration.
JpegJob MakeJob(const HostBitmap &b, const Config &c);

#endif
