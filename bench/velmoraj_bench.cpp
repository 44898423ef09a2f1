// velmoraj_bench [--generated] [IMAGE...]: megapixels per second of the
// encoder used as a host uses it (measure, then encode) and of encode alone,
// with the routines without AVX-512 and with the fastest ones, and of encode
// with the plain routines forced, against libjpeg-turbo's
// tjCompress2 on the same bottom-up blue-first pixels (accurate integer DCT),
// one thread, for qualities 50, 75, 95 and samplings 4:2:0, 4:2:2, 4:4:4 and
// grey. Each figure is the best of several repetitions in the thread's
// processor time (the most repeatable figures on a shared machine), over
// five rounds of all of a picture's measurements; a group of pictures gets
// the geometric mean of each figure over its pictures, so every picture
// weighs the same.
#include <time.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "benchsource.h"
#include "benchtiming.h"
#include "stageprofile.h"
#include "jpeginternal.h"
#include "simd/fast_routines.h"

namespace {

// Our figures with one routine set.
struct Speeds {
    double host, encode;  // megapixels per second
};

struct Row {
    Speeds avx2, fastest;  // without AVX-512, and the fastest routines
    double plain, turbo;   // megapixels per second
    uint32_t our_bytes;
    unsigned long turbo_bytes;
    double size_ratio;  // our bytes / turbo bytes
};

Row Measure(const BenchSource &s, const Config &c, tjhandle tj)
{
    const HostBitmap &b = c.sampling < 0 ? s.grey : s.colour;
    Row row = {};
    JpegJob job = MakeJob(b, c);
    if (Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE) != 0)
        return row;
    row.our_bytes = job.output_size;
    std::vector<uint8_t> out(row.our_bytes), plain_out(row.our_bytes), host_out(row.our_bytes);

    auto encode = [&](const JpegInternalOptions *opts, std::vector<uint8_t> *buffer) {
        JpegJob j = MakeJob(b, c);
        j.output = buffer->data();
        j.output_size = static_cast<uint32_t>(buffer->size());
        return JpegEncodeInternal(&j, JPEG_MODE_ENCODE, opts) == 0;
    };
    // The host's pattern: measure, then encode into a buffer of exactly the
    // measured size; allocating it is the host's cost, not the encoder's,
    // so one buffer serves every run.
    auto host = [&](const JpegInternalOptions *opts) {
        JpegJob j = MakeJob(b, c);
        if (JpegEncodeInternal(&j, JPEG_MODE_MEASURE, opts) != 0 ||
            j.output_size != host_out.size())
            return false;
        j.output = host_out.data();
        return JpegEncodeInternal(&j, JPEG_MODE_ENCODE, opts) == 0;
    };
    auto speeds = [&](const JpegInternalOptions *opts) {
        Speeds s;
        s.host = MegapixelsPerSecond(b, BestOf([&] { return host(opts); }));
        s.encode = MegapixelsPerSecond(b, BestOf([&] { return encode(opts, &out); }));
        return s;
    };
    const JpegInternalOptions avx2 = {0, ROUTINES_NO_AVX512}, fastest = {0, ROUTINES_FASTEST},
                              plain = {0, ROUTINES_PLAIN};
    row.plain = MegapixelsPerSecond(b, BestOf([&] { return encode(&plain, &plain_out); }));
    for (const JpegInternalOptions *opts : {&avx2, &fastest}) {
        Speeds s = speeds(opts);
        (opts == &avx2 ? row.avx2 : row.fastest) = s;
        if (out != plain_out)
            fprintf(stderr, "warning: plain and fast routines gave different bytes (%s q%d)\n",
                    c.label, c.quality);
    }

    std::vector<unsigned char> turbo_out(tjBufSize(b.width, b.height, c.turbo_subsamp));
    int pixel_format = c.sampling < 0 ? TJPF_GRAY : TJPF_BGR;
    int pitch = static_cast<int>(RowStride(b.width, b.bits_per_pixel));
    row.turbo = MegapixelsPerSecond(
        b, BestOf([&] {
            unsigned char *dst = turbo_out.data();
            row.turbo_bytes = turbo_out.size();
            return tjCompress2(tj, b.pixels.data(), b.width, pitch, b.height, pixel_format, &dst,
                               &row.turbo_bytes, c.turbo_subsamp, c.quality,
                               TJFLAG_BOTTOMUP | TJFLAG_ACCURATEDCT | TJFLAG_NOREALLOC) == 0;
        }));
    return row;
}

// Rounds of each picture's measurements; every figure keeps its best. A
// burst of load on a shared machine then slows one round of a figure, not
// all of one side of a ratio.
const int kRounds = 5;

Row BestRow(const BenchSource &s, const Config &c, tjhandle tj)
{
    Row best = Measure(s, c, tj);
    for (int round = 1; round < kRounds; round++) {
        Row r = Measure(s, c, tj);
        for (auto field : {&Row::plain, &Row::turbo})
            best.*field = std::max(best.*field, r.*field);
        for (auto speeds : {&Row::avx2, &Row::fastest})
            for (auto field : {&Speeds::host, &Speeds::encode})
                (best.*speeds).*field = std::max((best.*speeds).*field, (r.*speeds).*field);
    }
    return best;
}

struct Group {
    std::string title;
    std::vector<BenchSource> sources;
};

// Geometric means over the group's pictures; 0 when one of them failed.
Row MeanRow(const Group &g, const Config &c, tjhandle tj)
{
    double log[7] = {};
    for (const BenchSource &s : g.sources) {
        Row r = BestRow(s, c, tj);
        const double figures[7] = {r.avx2.host,
                                   r.avx2.encode,
                                   r.fastest.host,
                                   r.fastest.encode,
                                   r.plain,
                                   r.turbo,
                                   double(r.our_bytes) / r.turbo_bytes};
        for (int i = 0; i < 7; i++) {
            if (!(figures[i] > 0))
                return Row{};
            log[i] += std::log(figures[i]);
        }
    }
    double mean[7];
    for (int i = 0; i < 7; i++)
        mean[i] = std::exp(log[i] / double(g.sources.size()));
    Row row = {};
    row.avx2 = {mean[0], mean[1]};
    row.fastest = {mean[2], mean[3]};
    row.plain = mean[4];
    row.turbo = mean[5];
    row.size_ratio = mean[6];
    return row;
}

void PrintGroup(const Group &g, tjhandle tj)
{
    printf("\n%s:", g.title.c_str());
    for (const BenchSource &s : g.sources)
        printf(" %s %ux%u;", s.name.substr(s.name.find_last_of('/') + 1).c_str(), s.colour.width,
               s.colour.height);
    printf("\n%-9s | %15s | %-37s | %-37s |\n", "", "", "AVX2 routines (no AVX-512)",
           CpuFeatures() & CPU_AVX512 ? "fastest routines (AVX-512)" : "fastest (no AVX-512 here)");
    printf("%-6s %2s | %7s %7s | %8s %8s %9s %9s | %8s %8s %9s %9s | %s\n", "sampl", "q", "plain",
           "turbo", "host", "enc", "enc/turbo", "host/turb", "host", "enc", "enc/turbo",
           "host/turb", "bytes/turbo");
    for (const Config &c : kConfigs) {
        Row r = MeanRow(g, c, tj);
        if (r.turbo == 0) {
            printf("%-6s %2d | encoding failed\n", c.label, c.quality);
            continue;
        }
        printf("%-6s %2d | %7.1f %7.1f", c.label, c.quality, r.plain, r.turbo);
        for (const Speeds &s : {r.avx2, r.fastest})
            printf(" | %8.1f %8.1f %9.2f %9.2f", s.host, s.encode, s.encode / r.turbo,
                   s.host / r.turbo);
        printf(" | %11.3f\n", r.size_ratio);
        fflush(stdout);
    }
}

bool Load(const std::string &path, std::vector<BenchSource> *into)
{
    BenchSource s;
    std::string error;
    if (!LoadSource(path, &s, &error)) {
        fprintf(stderr, "velmoraj_bench: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    into->push_back(std::move(s));
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        printf("usage: velmoraj_bench [--generated] [--stages] [IMAGE...]\n"
               "Without images: the photographs and the 200-dpi cover sheet page of\n"
               "bench/images. IMAGE: BMP, PGM or PPM; other formats (PNG...) through\n"
               "ImageMagick's convert. --generated adds a generated 1920x1080 picture.\n"
               "--stages adds the share of each stage in the first group's encode time.\n"
               "Columns: geometric means over the group's pictures of plain = encode with\n"
               "the plain reference routines, turbo = libjpeg-turbo tjCompress2 (BGR,\n"
               "bottom-up, accurate DCT), and for the routines without AVX-512 and the\n"
               "fastest ones: host = measure + encode, enc = encode alone, and their\n"
               "ratios to turbo; bytes/turbo compares the stream sizes.\n");
        return 0;
    }
    bool generated = false, stages = false;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--generated") == 0)
            generated = true;
        else if (strcmp(argv[i], "--stages") == 0)
            stages = true;
        else
            paths.push_back(argv[i]);
    }
    std::vector<Group> groups;
    if (paths.empty()) {
        groups.push_back({"photographs", {}});
        for (const std::string &p : PhotoPaths())
            if (!Load(p, &groups.back().sources))
                return 1;
        groups.push_back({"200-dpi cover sheet page", {}});
        if (!Load(PagePath(), &groups.back().sources))
            return 1;
    } else {
        groups.push_back({"given pictures", {}});
        for (const std::string &p : paths)
            if (!Load(p, &groups.back().sources))
                return 1;
    }
    if (generated)
        groups.push_back({"generated picture", {GeneratedSource()}});
    tjhandle tj = tjInitCompress();
    for (const Group &g : groups)
        PrintGroup(g, tj);
    if (stages)
        PrintStageProfile(groups.front().sources);
    tjDestroy(tj);
    return 0;
}
