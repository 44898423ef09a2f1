// Shared helpers of the encoder tests: bitmaps, jobs, stream parsing, and
// the differential runs of other routines against the plain ones.
#ifndef TESTS_LJPEG_JPEGTESTUTIL_H
#define TESTS_LJPEG_JPEGTESTUTIL_H

#include <gtest/gtest.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <random>
#include <vector>

#include "jpeginternal.h"
#include "simd/fast_routines.h"

// A bottom-up bitmap filled with a deterministic pattern (or one value).
struct Bitmap {
    uint32_t width, height, bpp;
    std::vector<uint8_t> pixels;

    Bitmap(uint32_t w, uint32_t h, uint32_t bits)
        : width(w), height(h), bpp(bits), pixels(Stride() * h)
    {
        uint32_t seed = w * 131 + h * 7 + bits;
        for (auto &p : pixels) {
            seed = seed * 1103515245u + 12345u;
            p = (uint8_t)(seed >> 16);
        }
    }
    uint32_t Stride() const { return DibRowStride(width, bpp); }
    Bitmap &Fill(uint8_t value)
    {
        for (auto &p : pixels)
            p = value;
        return *this;
    }
    // Full-range noise: long codes and many 0xFF bytes.
    Bitmap &Noise(std::mt19937 &rng)
    {
        for (auto &p : pixels)
            p = (uint8_t)rng();
        return *this;
    }
    // Gradients with a little noise, as photographs give: zero runs.
    Bitmap &Smooth(std::mt19937 &rng)
    {
        for (size_t i = 0; i < pixels.size(); i++)
            pixels[i] = (uint8_t)(i * 3 / 2 + i / Stride() * 5 + rng() % 7);
        return *this;
    }
    // Pointer to pixel (x, y) with y counted from the top.
    uint8_t *At(uint32_t x, uint32_t y)
    {
        return pixels.data() + (height - 1 - y) * Stride() + x * (bpp / 8);
    }
};

inline JpegJob MakeJob(const Bitmap &bmp, uint8_t quality = 75, uint8_t sampling = 0,
                       uint8_t order = 1)
{
    JpegJob job = {};
    job.input = bmp.pixels.data();
    job.input_size = (uint32_t)bmp.pixels.size();
    job.width = bmp.width;
    job.height = bmp.height;
    job.bits_per_pixel = (uint16_t)bmp.bpp;
    job.quality = quality;
    job.sampling = sampling;
    job.channel_order = order;
    return job;
}

struct EncodeResult {
    uint16_t status;
    std::vector<uint8_t> bytes;
};

// The routines the test run asks for in VELMORAJ_TEST_ROUTINES: "plain",
// "no-avx512", or by default the fastest.
inline uint8_t TestRoutines()
{
    const char *choice = getenv("VELMORAJ_TEST_ROUTINES");
    if (!choice)
        return ROUTINES_FASTEST;
    return strcmp(choice, "plain") == 0 ? ROUTINES_PLAIN : ROUTINES_NO_AVX512;
}

// Measures, then encodes into a buffer of exactly the measured length, with
// the routines the test run asks for.
inline EncodeResult EncodeJob(JpegJob job, uint16_t restart_interval = 0)
{
    JpegInternalOptions opts = {restart_interval, TestRoutines()};
    EncodeResult r;
    r.status = JpegEncodeInternal(&job, JPEG_MODE_MEASURE, &opts);
    if (r.status != 0)
        return r;
    r.bytes.resize(job.output_size);
    job.output = r.bytes.data();
    r.status = JpegEncodeInternal(&job, JPEG_MODE_ENCODE, &opts);
    r.bytes.resize(r.status == 0 ? job.output_size : 0);
    return r;
}

// Offset of the segment with the marker, walking from SOI up to SOS; -1
// when it is not there.
inline long FindMarker(const std::vector<uint8_t> &s, uint8_t marker)
{
    for (size_t i = 2; i + 4 <= s.size() && s[i] == 0xFF; i += 2 + (s[i + 2] << 8 | s[i + 3])) {
        if (s[i + 1] == marker)
            return (long)i;
        if (s[i + 1] == 0xDA)
            break;
    }
    return -1;
}

// The entropy-coded data between the SOS segment and EOI.
inline std::vector<uint8_t> ScanData(const std::vector<uint8_t> &s)
{
    long sos = FindMarker(s, 0xDA);
    if (sos < 0)
        return {};
    return std::vector<uint8_t>(s.begin() + sos + 2 + (s[sos + 2] << 8 | s[sos + 3]), s.end() - 2);
}

// ---- Differential runs -------------------------------------------------

// Routines that replace slots of the plain options, to be compared with the
// plain routines; needs holds the CPU features they require.
struct RoutineSet {
    const char *name;
    unsigned needs;
    void (*apply)(const JpegJob &job, EncoderOptions *opts);
};

// The entries of all that this CPU runs.
template <class T, size_t N>
std::vector<T> Runnable(const T (&all)[N])
{
    std::vector<T> usable;
    for (const T &v : all)
        if ((CpuFeatures() & v.needs) == v.needs)
            usable.push_back(v);
    return usable;
}

// Capacity of a run that measures instead of writing.
const uint32_t kMeasure = UINT32_MAX;

// Everything a run of the encoder leaves behind. The output buffer is
// pre-filled and a little longer than the capacity, so stray writes show.
struct RunResult {
    int ok;
    uint16_t status;
    uint32_t position, size, bit_count, bit_accumulator;
    std::vector<uint8_t> buffer;
    bool operator==(const RunResult &o) const
    {
        return ok == o.ok && status == o.status && position == o.position && size == o.size &&
               bit_count == o.bit_count && bit_accumulator == o.bit_accumulator &&
               buffer == o.buffer;
    }
};

// The whole stream through the set-up, with the plain routines or with the
// set's in their place.
inline RunResult RunEncoder(const JpegJob &job, uint32_t capacity, const RoutineSet *set,
                            uint16_t restart = 0)
{
    const bool measure = capacity == kMeasure;
    EncoderOptions opts = {1, 0, job.quality, restart,
                           (uint16_t)(measure ? STREAM_KIND_MEASURE : STREAM_KIND_ENCODE)};
    SelectRoutines(&job, ROUTINES_PLAIN, &opts);
    if (set)
        set->apply(job, &opts);
    RunResult r;
    r.buffer.assign(measure ? 0 : capacity + 16, 0xA5);
    ByteStream in, out;
    InitMemoryStream(&in, job.input_size, (uint8_t *)job.input);
    if (measure)
        InitCountingStream(&out);
    else
        InitMemoryStream(&out, capacity, r.buffer.data());
    EncoderContext ctx;
    JpegStatusReset();
    r.ok = EncoderSetup(&job, &opts, &in, &out, &ctx);
    r.status = JpegStatusGet();
    r.position = out.position;
    r.size = out.size;
    r.bit_count = out.bit_count;
    r.bit_accumulator = out.bit_accumulator;
    return r;
}

// The length of the job's stream; fails the test when it cannot be encoded.
inline uint32_t MeasuredSize(const JpegJob &job, uint16_t restart = 0)
{
    RunResult r = RunEncoder(job, kMeasure, nullptr, restart);
    EXPECT_EQ(r.ok, 1);
    return r.size;
}

// The run with each set against the plain run.
inline void ExpectSameAsPlain(const JpegJob &job, uint32_t capacity,
                              const std::vector<RoutineSet> &sets, uint16_t restart = 0)
{
    RunResult plain = RunEncoder(job, capacity, nullptr, restart);
    for (const RoutineSet &set : sets) {
        SCOPED_TRACE(set.name);
        RunResult other = RunEncoder(job, capacity, &set, restart);
        ASSERT_EQ(other.ok, plain.ok);
        ASSERT_EQ(other.status, plain.status);
        ASSERT_EQ(other.position, plain.position);
        ASSERT_TRUE(other == plain) << "different bytes or pending bits";
    }
}

// Every routine this CPU runs in place of the plain ones, with and without
// AVX-512.
inline void SelectAllFast(const JpegJob &job, EncoderOptions *opts)
{
    SelectFastRoutines(&job, true, opts);
}
inline void SelectFastNoAvx512(const JpegJob &job, EncoderOptions *opts)
{
    SelectFastRoutines(&job, false, opts);
}
const RoutineSet kAllFast = {"all fast", 0, SelectAllFast};
const RoutineSet kFastNoAvx512 = {"fast without AVX-512", 0, SelectFastNoAvx512};
const std::vector<RoutineSet> kFastSets = {kAllFast, kFastNoAvx512};

#endif
