// velmoraj: encodes BMP, PGM, PPM and PNG files to JPEG with the encoder library,
// calling it as a Windows host does (measure, then encode).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hostbitmap.h"
#include "imagefile.h"
#include "statustext.h"
#include "testimage.h"
#include "velmoraj.h"

namespace {

struct EncodeArgs {
    std::string in, out;
    int quality = 75;
    uint8_t sampling = JPEG_SAMPLING_420;
    bool red_first = false;
};

}  // namespace

static const char kUsage[] =
    "usage: velmoraj encode IN OUT.jpg [-q 1..100] [-s 420|422|444] [--rgb]\n"
    "       velmoraj testimage OUT [WIDTHxHEIGHT] [--grey]\n"
    "       velmoraj --help\n";

static const char kHelp[] =
    "\n"
    "encode     Encodes IN to a baseline JPEG (JFIF) file OUT.jpg.\n"
    "           IN is a BMP (1, 4 or 8-bit palette, 16-bit 5-5-5 or 5-6-5, 24 or\n"
    "           32-bit; bottom-up or top-down), a binary PGM (P5) or PPM (P6),\n"
    "           or a PNG (any colour type and depth, interlaced or not; alpha\n"
    "           is composited over white, as the page is white). Grey\n"
    "           palettes, PGM files and grey PNG files give a grey JPEG; other\n"
    "           palettes and 5-6-5 pixels are expanded to 24 bits. Images of\n"
    "           up to 65535 pixels a side and 67108864 (64 Mi) pixels in all\n"
    "           are read; larger ones are refused before any pixel is read.\n"
    "  -q N     quality 1 to 100 (default 75)\n"
    "  -s MODE  chroma sampling 420 (default), 422 or 444; ignored for grey\n"
    "  --rgb    hand the pixels to the encoder red first instead of blue\n"
    "           first (same picture, other pixel reader)\n"
    "testimage  Writes a generated photo-like image (default 640x480) as BMP\n"
    "           when OUT ends in .bmp, else as PPM, or PGM with --grey.\n"
    "\n"
    "Exit status: 0 on success, 1 when a file cannot be read, encoded or\n"
    "written (no output file is left behind), 2 on a usage error. A failed\n"
    "encode prints the encoder's status word and the meaning of each code.\n";

static int Usage(const char *why)
{
    fprintf(stderr, "velmoraj: %s\n%s", why, kUsage);
    return 2;
}

static bool ParseQuality(const char *text, int *quality)
{
    char *end = nullptr;
    long v = strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || v < 1 || v > 100)
        return false;
    *quality = static_cast<int>(v);
    return true;
}

static bool ParseSampling(const std::string &text, uint8_t *sampling)
{
    static const char *const kModes[] = {"420", "422", "444"};
    for (uint8_t i = 0; i < 3; i++) {
        if (text == kModes[i]) {
            *sampling = i;
            return true;
        }
    }
    return false;
}

// Returns an empty string on success, else what was wrong.
static std::string ParseEncodeArgs(int argc, char **argv, EncodeArgs *a)
{
    std::vector<std::string> files;
    for (int i = 2; i < argc; i++) {
        std::string arg = argv[i];
        bool has_value = i + 1 < argc;
        if (arg == "-q") {
            if (!has_value || !ParseQuality(argv[++i], &a->quality))
                return "-q needs a quality from 1 to 100";
        } else if (arg == "-s") {
            if (!has_value || !ParseSampling(argv[++i], &a->sampling))
                return "-s needs 420, 422 or 444";
        } else if (arg == "--rgb") {
            a->red_first = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2)
        return "encode needs an input and an output file";
    a->in = files[0];
    a->out = files[1];
    return "";
}

static void ReportStatus(const std::string &in, const char *step, uint16_t status)
{
    fprintf(stderr, "velmoraj: %s: %s failed with status 0x%04X\n", in.c_str(), step, status);
    for (const std::string &line : DescribeStatus(status))
        fprintf(stderr, "  %s\n", line.c_str());
}

static bool WriteAll(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = fclose(f) == 0 && ok;
    if (!ok)
        remove(path.c_str());
    return ok;
}

// Measure, then encode into a buffer of exactly the measured length.
static int Encode(const EncodeArgs &a)
{
    HostBitmap bitmap;
    std::string error;
    if (!ReadImageFile(a.in, &bitmap, &error)) {
        fprintf(stderr, "velmoraj: %s: %s\n", a.in.c_str(), error.c_str());
        return 1;
    }
    if (a.red_first)
        SwapToRedFirst(&bitmap);
    JpegJob job = {};
    FillJob(bitmap, &job);
    job.quality = static_cast<uint8_t>(a.quality);
    job.sampling = a.sampling;
    uint16_t status = Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE);
    if (status != 0) {
        ReportStatus(a.in, "measuring", status);
        return 1;
    }
    std::vector<uint8_t> stream(job.output_size);
    job.output = stream.data();
    status = Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE);
    if (status != 0) {
        ReportStatus(a.in, "encoding", status);
        return 1;
    }
    if (job.output_size != stream.size()) {
        fprintf(stderr, "velmoraj: %s: encoded %u bytes, measured %zu\n", a.in.c_str(),
                job.output_size, stream.size());
        return 1;
    }
    if (!WriteAll(a.out, stream)) {
        fprintf(stderr, "velmoraj: %s: cannot write: %s\n", a.out.c_str(), strerror(errno));
        return 1;
    }
    return 0;
}

static int TestImage(int argc, char **argv)
{
    std::string out;
    unsigned width = 640, height = 480;
    uint16_t bits = 24;
    for (int i = 2; i < argc; i++) {
        std::string arg = argv[i];
        unsigned w = 0, h = 0;
        char tail = 0;
        if (arg == "--grey") {
            bits = 8;
        } else if (sscanf(arg.c_str(), "%ux%u%c", &w, &h, &tail) == 2) {
            width = w;
            height = h;
        } else if (out.empty() && arg[0] != '-') {
            out = arg;
        } else {
            return Usage(("unexpected argument " + arg).c_str());
        }
    }
    if (out.empty() || width == 0 || height == 0 || width > 16384 || height > 16384)
        return Usage("testimage needs an output file and a size from 1x1 to 16384x16384");
    std::string error;
    if (!WriteImageFile(out, MakeTestImage(width, height, bits), &error)) {
        fprintf(stderr, "velmoraj: %s: %s\n", out.c_str(), error.c_str());
        return 1;
    }
    return 0;
}

int main(int argc, char **argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" || command == "-h" || command == "help") {
        printf("%s%s", kUsage, kHelp);
        return 0;
    }
    if (command == "testimage")
        return TestImage(argc, argv);
    if (command != "encode")
        return Usage(command.empty() ? "no command given" : ("unknown command " + command).c_str());
    EncodeArgs args;
    std::string why = ParseEncodeArgs(argc, argv, &args);
    if (!why.empty())
        return Usage(why.c_str());
    return Encode(args);
}
