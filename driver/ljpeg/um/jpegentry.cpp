// The export: validation of the job, the two streams and the mode switch.
#include "jpeginternal.h"

enum { MAX_SIDE = 65535 };  // SOF0 carries 16-bit dimensions

// Checks in a fixed order; the first failure ORs its code and ends the call.
static int ValidateJob(const JpegJob *job)
{
    if (job->width == 0 || job->height == 0 || job->width > MAX_SIDE || job->height > MAX_SIDE) {
        JpegStatusOr(JPEG_ERR_SIZE);
        return 0;
    }
    if (job->quality == 0 || job->quality > 100 || job->sampling > 2) {
        JpegStatusOr(JPEG_ERR_PARAM);
        return 0;
    }
    switch (job->bits_per_pixel) {
    case 8:
    case 16:
    case 24:
    case 32: return 1;
    default: JpegStatusOr(JPEG_ERR_DEPTH); return 0;
    }
}

uint16_t JpegEncodeInternal(JpegJob *job, uint8_t mode, const JpegInternalOptions *internal)
{
    static const JpegInternalOptions kDefaults = {0, false};
    if (!internal)
        internal = &kDefaults;

    JpegStatusReset();
    if (!job) {
        JpegStatusOr(JPEG_ERR_PARAM);
        return JpegStatusGet();
    }
    if (!ValidateJob(job))
        return JpegStatusGet();

    EncoderOptions opts = {};
    opts.version = 1;
    opts.reserved = 0;
    opts.quality = job->quality;
    opts.restart_interval = internal->restart_interval;
    SelectRoutines(job, internal->routines, &opts);

    if (mode != JPEG_MODE_MEASURE && mode != JPEG_MODE_ENCODE) {
        JpegStatusOr(JPEG_ERR_PARAM);
        return JpegStatusGet();
    }

    // A missing buffer counts as an empty one, so it fails like a short one.
    ByteStream input, output;
    EncoderContext ctx;
    InitMemoryStream(&input, job->input_size, (uint8_t *)job->input);
    uint32_t result;
    if (mode == JPEG_MODE_MEASURE) {
        InitCountingStream(&output);
        opts.stream_kind = STREAM_KIND_MEASURE;
        result = EncoderSetup(job, &opts, &input, &output, &ctx) ? output.size : 0;
    } else {
        InitMemoryStream(&output, job->output_size, job->output);
        opts.stream_kind = STREAM_KIND_ENCODE;
        result = EncoderSetup(job, &opts, &input, &output, &ctx) ? output.position : 0;
    }
    job->output_size = result;
    return result ? 0 : JpegStatusGet();
}

VELMORAJ_EXPORT uint16_t VELMORAJ_CALL Jpeg_EncodeStart(JpegJob *job, uint8_t mode)
{
    return JpegEncodeInternal(job, mode, nullptr);
}
