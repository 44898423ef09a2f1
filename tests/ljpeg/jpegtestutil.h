// Shared helpers of the encoder tests: bitmaps, jobs and stream parsing.
#ifndef JPEGTESTUTIL_H
#define JPEGTESTUTIL_H

#include <stdint.h>
#include <stdlib.h>

#include <vector>

#include "jpeginternal.h"

inline uint32_t RowStride(uint32_t width, uint32_t bpp) { return (width * bpp + 31) / 32 * 4; }

// A bottom-up bitmap filled with a deterministic pattern (or one value).
struct Bitmap {
    uint32_t width, height, bpp;
    std::vector<uint8_t> pixels;

    Bitmap(uint32_t w, uint32_t h, uint32_t bits) : width(w), height(h), bpp(bits), pixels(RowStride(w, bits) * h) {
        uint32_t seed = w * 131 + h * 7 + bits;
        for (auto &p : pixels) {
            seed = seed * 1103515245u + 12345u;
            p = (uint8_t)(seed >> 16);
        }
    }
    Bitmap &Fill(uint8_t value) {
        for (auto &p : pixels) p = value;
        return *this;
    }
    // Pointer to pixel (x, y) with y counted from the top.
    uint8_t *At(uint32_t x, uint32_t y) {
        return pixels.data() + (height - 1 - y) * RowStride(width, bpp) + x * (bpp / 8);
    }
};

inline JpegJob MakeJob(const Bitmap &bmp, uint8_t quality = 75, uint8_t sampling = 0, uint8_t order = 1) {
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

// Measures, then encodes into a buffer of exactly the measured length, with
// the fast routines unless the test run forces the plain ones.
inline EncodeResult EncodeJob(JpegJob job, uint16_t restart_interval = 0) {
    JpegInternalOptions opts = {restart_interval, getenv("VELMORAJ_TEST_PLAIN_ROUTINES") != 0};
    EncodeResult r;
    r.status = JpegEncodeInternal(&job, JPEG_MODE_MEASURE, &opts);
    if (r.status != 0) return r;
    r.bytes.resize(job.output_size);
    job.output = r.bytes.data();
    r.status = JpegEncodeInternal(&job, JPEG_MODE_ENCODE, &opts);
    r.bytes.resize(r.status == 0 ? job.output_size : 0);
    return r;
}

// Offset of the segment with the marker, walking from SOI up to SOS; -1
// when it is not there.
inline long FindMarker(const std::vector<uint8_t> &s, uint8_t marker) {
    for (size_t i = 2; i + 4 <= s.size() && s[i] == 0xFF; i += 2 + (s[i + 2] << 8 | s[i + 3])) {
        if (s[i + 1] == marker) return (long)i;
        if (s[i + 1] == 0xDA) break;
    }
    return -1;
}

// The entropy-coded data between the SOS segment and EOI.
inline std::vector<uint8_t> ScanData(const std::vector<uint8_t> &s) {
    long sos = FindMarker(s, 0xDA);
    if (sos < 0) return {};
    return std::vector<uint8_t>(s.begin() + sos + 2 + (s[sos + 2] << 8 | s[sos + 3]), s.end() - 2);
}

#endif
