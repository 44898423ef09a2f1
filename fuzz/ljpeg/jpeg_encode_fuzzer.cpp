// Fuzzes the job record and checks the encoder's contracts, not just its
// memory safety: validation results and their order, output size untouched
// on rejected jobs, measure equal to encode, a buffer one byte short
// failing, failures the same in both modes, and the plain routines, the
// fast ones without AVX-512 and the default ones giving identical bytes. Input and output live in heap buffers of
// exactly the given sizes, so AddressSanitizer sees any access beyond them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "jpeginternal.h"

namespace {

struct Outcome {
    uint16_t status;
    uint32_t output_size;
    std::vector<uint8_t> bytes;  // the output buffer after the call
};

[[noreturn]] void Die(const char *what, const JpegJob &job, uint16_t status)
{
    fprintf(stderr,
            "contract broken: %s\n  job %ux%u, %u bpp, quality %u, sampling %u, order %u, "
            "input %u bytes, output size %u, status 0x%04X\n",
            what, job.width, job.height, job.bits_per_pixel, job.quality, job.sampling,
            job.channel_order, job.input_size, job.output_size, status);
    abort();
}

void Check(bool ok, const char *what, const JpegJob &job, uint16_t status)
{
    if (!ok)
        Die(what, job, status);
}

// The status that validation must return, or 0 for a valid job and mode.
uint16_t ExpectedRejection(const JpegJob &job, uint8_t mode)
{
    if (job.width == 0 || job.height == 0 || job.width > 65535 || job.height > 65535)
        return 0x2030;
    if (job.quality == 0 || job.quality > 100 || job.sampling > 2)
        return 0x2F00;
    if (job.bits_per_pixel != 8 && job.bits_per_pixel != 16 && job.bits_per_pixel != 24 &&
        job.bits_per_pixel != 32)
        return 0x21A0;
    if (mode > 1)
        return 0x2F00;
    return 0;
}

// One call with an output buffer of exactly `capacity` bytes (none in
// measure mode, where a canary buffer must stay untouched).
Outcome Call(JpegJob job, uint8_t mode, uint32_t capacity, const JpegInternalOptions *opts)
{
    static const uint32_t kUntouched = 0xA5A5A5A5;
    uint8_t canary[16];
    memset(canary, 0x5A, sizeof canary);
    std::vector<uint8_t> out(capacity, 0xEE);
    job.output = mode == JPEG_MODE_MEASURE ? canary : out.data();
    job.output_size = mode == JPEG_MODE_MEASURE ? kUntouched : capacity;
    uint32_t before = job.output_size;
    uint16_t status = JpegEncodeInternal(&job, mode, opts);
    Outcome o = {status, job.output_size, out};

    Check(o.status == 0 || (o.status & 0xF000) == 0x2000, "status lacks the 0x2000 base", job,
          o.status);
    for (uint8_t c : canary)
        Check(c == 0x5A, "measure mode wrote to the output buffer", job, o.status);
    uint16_t rejection = ExpectedRejection(job, mode);
    if (rejection) {
        Check(o.status == rejection, "wrong validation result", job, o.status);
        Check(o.output_size == before, "rejected job changed the output size", job, o.status);
    } else if (o.status != 0) {
        Check(o.output_size == 0, "failed job reports a length", job, o.status);
    } else {
        Check(o.output_size > 0, "success with length 0", job, o.status);
    }
    return o;
}

bool Same(const Outcome &a, const Outcome &b)
{
    return a.status == b.status && a.output_size == b.output_size && a.bytes == b.bytes;
}

// Runs the call with the default routines, without AVX-512 and with the
// plain routines; all must agree.
Outcome CallEachRoutineSet(const JpegJob &job, uint8_t mode, uint32_t capacity, uint16_t restart)
{
    JpegInternalOptions fast = {restart, ROUTINES_FASTEST};
    JpegInternalOptions avx2 = {restart, ROUTINES_NO_AVX512};
    JpegInternalOptions plain = {restart, ROUTINES_PLAIN};
    Outcome a = Call(job, mode, capacity, &fast);
    Outcome b = Call(job, mode, capacity, &plain);
    Check(Same(a, b), "plain and default routines differ", job, a.status);
    Check(Same(Call(job, mode, capacity, &avx2), b), "plain and non-AVX-512 routines differ", job,
          a.status);
    return a;
}

uint16_t PickDepth(FuzzedDataProvider *fdp)
{
    static const uint16_t kDepths[] = {8, 16, 24, 32};
    uint8_t pick = fdp->ConsumeIntegral<uint8_t>();
    return pick < 248 ? kDepths[pick % 4] : pick - 240;  // a few invalid depths too
}

uint32_t PickSide(FuzzedDataProvider *fdp)
{
    uint8_t pick = fdp->ConsumeIntegral<uint8_t>();
    if (pick == 255)
        return 65536 + fdp->ConsumeIntegral<uint8_t>();  // rejected before any read
    return pick % 72;  // 0 (rejected) up to several MCUs with ragged edges
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    JpegJob job = {};
    job.width = PickSide(&fdp);
    job.height = PickSide(&fdp);
    job.bits_per_pixel = PickDepth(&fdp);
    job.quality = fdp.ConsumeIntegral<uint8_t>();
    job.sampling = fdp.ConsumeIntegralInRange<uint8_t>(0, 3);
    job.channel_order = fdp.ConsumeIntegral<uint8_t>();
    uint8_t mode = fdp.ConsumeIntegralInRange<uint8_t>(0, 2);
    uint16_t restart = fdp.ConsumeBool() ? fdp.ConsumeIntegralInRange<uint16_t>(1, 40) : 0;
    int input_delta = fdp.ConsumeIntegralInRange<int>(-64, 8);
    uint8_t capacity_pick = fdp.ConsumeIntegral<uint8_t>();

    // Pixels: the rest of the input, repeated, in a buffer of exactly the
    // chosen size (the rows' bytes plus a small surplus or shortfall).
    uint32_t stride = DibRowStride(job.width <= 65535 ? job.width : 1, job.bits_per_pixel & 63);
    uint64_t needed = uint64_t{stride} * (job.height <= 65535 ? job.height : 1);
    uint32_t input_size = static_cast<uint32_t>(
        int64_t(needed) + input_delta < 0 ? 0 : int64_t(needed) + input_delta);
    std::vector<uint8_t> seed = fdp.ConsumeRemainingBytes<uint8_t>();
    std::vector<uint8_t> input(input_size);
    for (uint32_t i = 0; i < input_size; i++)
        input[i] = seed.empty() ? static_cast<uint8_t>(i * 37) : seed[i % seed.size()];
    job.input = input.data();
    job.input_size = input_size;

    Outcome measured = CallEachRoutineSet(job, JPEG_MODE_MEASURE, 0, restart);
    if (mode > 1 || ExpectedRejection(job, mode) != 0) {
        CallEachRoutineSet(job, mode, 64, restart);
    } else if (measured.status != 0) {
        // A failure found in measure mode (a short input) is the same in
        // encode mode when the buffer is ample.
        uint32_t ample = 12 * job.width * job.height * 3 + 4096;
        Outcome encoded = CallEachRoutineSet(job, JPEG_MODE_ENCODE, ample, restart);
        Check(encoded.status == measured.status, "measure and encode fail differently", job,
              encoded.status);
    } else {
        uint32_t length = measured.output_size;
        Outcome exact = CallEachRoutineSet(job, JPEG_MODE_ENCODE, length, restart);
        Check(exact.status == 0 && exact.output_size == length, "encode differs from measure", job,
              exact.status);
        Check(exact.bytes[0] == 0xFF && exact.bytes[1] == 0xD8 && exact.bytes[length - 2] == 0xFF &&
                  exact.bytes[length - 1] == 0xD9,
              "stream lacks SOI or EOI", job, exact.status);
        Outcome short_one = CallEachRoutineSet(job, JPEG_MODE_ENCODE, length - 1, restart);
        Check(short_one.status == 0x2005, "buffer one byte short does not fail with 0x2005", job,
              short_one.status);
        uint32_t other =
            capacity_pick < 128 ? length * capacity_pick / 128 : length + capacity_pick;
        Outcome any = CallEachRoutineSet(job, JPEG_MODE_ENCODE, other, restart);
        Check((any.status == 0) == (other >= length), "success does not follow the capacity", job,
              any.status);
        if (any.status == 0)
            Check(memcmp(any.bytes.data(), exact.bytes.data(), length) == 0,
                  "bytes depend on the capacity", job, any.status);
        if (restart == 0) {
            JpegJob host = job;
            std::vector<uint8_t> buffer(length);
            host.output = buffer.data();
            host.output_size = length;
            Check(Jpeg_EncodeStart(&host, JPEG_MODE_ENCODE) == 0 && buffer == exact.bytes,
                  "the export differs from the internal entry", job, 0);
        }
    }
    return 0;
}
