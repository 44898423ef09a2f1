// Proves that encoding allocates nothing: every allocation of the process
// is counted while Jpeg_EncodeStart runs.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <new>
#include <thread>

#include "jpegtestutil.h"

namespace {
bool g_counting = false;
int g_allocations = 0;

void Count() {
    if (g_counting) g_allocations++;
}
} // namespace

void *operator new(size_t n) {
    Count();
    void *p = malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void *operator new[](size_t n) { return operator new(n); }
void operator delete(void *p) noexcept { free(p); }
void operator delete[](void *p) noexcept { free(p); }
void operator delete(void *p, size_t) noexcept { free(p); }
void operator delete[](void *p, size_t) noexcept { free(p); }

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__clang__)
// glibc's own entry points stay reachable under these names, so the C
// allocator can be counted too.
extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_calloc(size_t, size_t);
extern "C" void *__libc_realloc(void *, size_t);
extern "C" void *malloc(size_t n) {
    Count();
    return __libc_malloc(n);
}
extern "C" void *calloc(size_t n, size_t m) {
    Count();
    return __libc_calloc(n, m);
}
extern "C" void *realloc(void *p, size_t n) {
    Count();
    return __libc_realloc(p, n);
}
#endif

namespace {

TEST(NoHeap, EncodeStartAllocatesNothing) {
    Bitmap colour(77, 45, 24), grey(20, 9, 8);
    std::vector<uint8_t> out(200000);
    std::vector<JpegJob> jobs = {MakeJob(colour, 90, 0), MakeJob(colour, 10, 1, 0), MakeJob(grey, 50, 2)};
    JpegJob bad = MakeJob(colour);
    bad.input_size = 10;
    jobs.push_back(bad);

    // Sanity: the counter sees allocations at all.
    g_counting = true;
    delete new int(1);
    void *volatile p = malloc(16);
    free(p);
    g_counting = false;
    ASSERT_GE(g_allocations, 1);

    g_allocations = 0;
    g_counting = true;
    for (JpegJob &job : jobs) {
        Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE);
        job.output = out.data();
        job.output_size = (uint32_t)out.size();
        Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE);
    }
    g_counting = false;
    EXPECT_EQ(g_allocations, 0);
}

TEST(NoHeap, FirstCallOfANewThreadAllocatesNothing) {
    Bitmap grey(16, 16, 8);
    std::vector<uint8_t> out(4096);
    int allocations = -1;
    std::thread t([&] {
        JpegJob job = MakeJob(grey);
        job.output = out.data();
        job.output_size = (uint32_t)out.size();
        g_allocations = 0;
        g_counting = true;
        Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE);
        g_counting = false;
        allocations = g_allocations;
    });
    t.join();
    EXPECT_EQ(allocations, 0);
}

} // namespace
