// Proves that encoding allocates nothing: every allocation of the process
// is counted while Jpeg_EncodeStart runs, also in a thread's first call.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <new>
#include <thread>

#include "jpegtestutil.h"

static bool g_counting = false;
static int g_allocations = 0;

void *operator new(size_t n)
{
    g_allocations += g_counting;
    void *p = malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}
void operator delete(void *p) noexcept
{
    free(p);
}
void operator delete(void *p, size_t) noexcept
{
    free(p);
}

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__clang__)
// glibc keeps its allocator reachable under these names, so the C
// allocator can be counted as well.
extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_calloc(size_t, size_t);
extern "C" void *__libc_realloc(void *, size_t);
extern "C" void *malloc(size_t n)
{
    return g_allocations += g_counting, __libc_malloc(n);
}
extern "C" void *calloc(size_t n, size_t m)
{
    return g_allocations += g_counting, __libc_calloc(n, m);
}
extern "C" void *realloc(void *p, size_t n)
{
    return g_allocations += g_counting, __libc_realloc(p, n);
}
static const bool kMallocCounted = true;
#else
static const bool kMallocCounted = false;
#endif

namespace {

int CountAllocations(void (*run)())
{
    g_allocations = 0;
    g_counting = true;
    run();
    g_counting = false;
    return g_allocations;
}

void EncodeSeveralJobs()
{
    Bitmap colour(77, 45, 24), grey(20, 9, 8);
    static uint8_t out[200000];
    JpegJob jobs[4] = {MakeJob(colour, 90, 0), MakeJob(colour, 10, 1, 0), MakeJob(grey, 50, 2),
                       MakeJob(colour)};
    jobs[3].input_size = 10;  // a failing call too
    g_counting = true;
    for (JpegJob &job : jobs) {
        Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE);
        job.output = out;
        job.output_size = sizeof out;
        Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE);
    }
    g_counting = false;
}

TEST(NoHeap, EncodeStartAllocatesNothing)
{
    ASSERT_GE(CountAllocations([] {  // the counter sees both allocators
                  int *volatile p = new int(1);
                  delete p;
                  void *volatile q = malloc(16);
                  free(q);
              }),
              kMallocCounted ? 3 : 1);
    g_allocations = 0;
    EncodeSeveralJobs();  // counts only around the calls, not the test bitmaps
    EXPECT_EQ(g_allocations, 0);

    // The status word of a new thread must not be allocated on first use.
    int in_thread = -1;
    std::thread t([&] {
        g_allocations = 0;
        EncodeSeveralJobs();
        in_thread = g_allocations;
    });
    t.join();
    EXPECT_EQ(in_thread, 0);
}

}  // namespace
