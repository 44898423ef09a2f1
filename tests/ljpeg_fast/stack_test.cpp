// The encoder's stack use, fast and plain routines alike, whatever the
// image width: measured by running it on a painted stack of its own.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <pthread.h>

#include "jpegtestutil.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define STACK_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STACK_TEST_ASAN 1
#endif
#endif

// The bound a call's stack use must stay under. AddressSanitizer puts a
// guard zone around every local object and keeps frames it would merge, so
// its builds get a looser one.
#ifdef STACK_TEST_ASAN
const size_t kBound = 40 * 1024;
#else
const size_t kBound = 24 * 1024;
#endif

struct StackRun {
    JpegJob job;
    bool plain;
    uint16_t status;
};

void *EncodeOnThisStack(void *arg)
{
    StackRun *run = static_cast<StackRun *>(arg);
    JpegInternalOptions opts = {0, run->plain ? ROUTINES_PLAIN : ROUTINES_FASTEST};
    run->status = JpegEncodeInternal(&run->job, JPEG_MODE_MEASURE, &opts);
    return nullptr;
}

// Bytes of a painted stack that the encode call touched.
size_t StackUse(const JpegJob &job, bool plain)
{
    const size_t size = 256 * 1024;
    std::vector<uint8_t> stack(size, 0x5A);
    StackRun run = {job, plain, 0};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstack(&attr, stack.data(), size);
    pthread_t thread;
    EXPECT_EQ(pthread_create(&thread, &attr, EncodeOnThisStack, &run), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(run.status, 0);
    size_t untouched = 0;
    while (untouched < size && stack[untouched] == 0x5A)
        ++untouched;
    return size - untouched;
}

TEST(EncoderStack, StaysFarBelow64KiBForAnyWidth)
{
    for (uint32_t width : {1u, 1000u, 65535u}) {
        for (uint16_t bpp : {8, 24}) {
            Bitmap bmp(width, 17, bpp);
            JpegJob job = MakeJob(bmp.Fill(0x80), 90, 0, 0);
            size_t fast = StackUse(job, false), plain = StackUse(job, true);
            // The thread's own start-up frames are included: a bound, not an
            // exact figure.
            EXPECT_LT(fast, kBound) << "width " << width << " bpp " << bpp;
            EXPECT_LT(plain, kBound) << "width " << width << " bpp " << bpp;
            RecordProperty("stack_bytes_w" + std::to_string(width) + "_bpp" + std::to_string(bpp),
                           std::to_string(fast) + " fast, " + std::to_string(plain) + " plain");
            if (width == 65535 && bpp == 24)
                printf("stack use, 24-bit, width 65535: %zu bytes fast, %zu plain\n", fast, plain);
        }
    }
}

}  // namespace
#endif
