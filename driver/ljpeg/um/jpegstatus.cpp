// The status word: the library's only mutable state that outlives a call.
#include "jpeginternal.h"

// One word per thread rather than per process, so that hosts encoding on
// several threads at once never see each other's codes. The word sits in
// the image's static TLS block, which the loader sets up for every thread,
// so touching it never allocates, even in a thread that started before
// the library was loaded.
#if defined(_WIN32)
#include <windows.h>

// GCC would emulate thread_local on Windows with a heap block made on a
// thread's first use (and abort the host when that allocation fails). The
// word goes into the PE image's TLS template instead and is found through
// the thread's TLS block array and the image's TLS index. Loaders before
// NT 6.0 set up no TLS for a library loaded at run time: there one word
// serves the whole process.
extern "C" const IMAGE_TLS_DIRECTORY _tls_used;
__attribute__((section(".tls$VLM"))) static uint16_t g_status = JPEG_STATUS_BASE;
static uint16_t g_process_status = JPEG_STATUS_BASE;

static uint16_t *StatusWord(void)
{
    if (LOBYTE(LOWORD(GetVersion())) < 6)
        return &g_process_status;
    char **blocks;  // the TEB's ThreadLocalStoragePointer
#if defined(_WIN64)
    __asm__("movq %%gs:0x58, %0" : "=r"(blocks));
#else
    __asm__("movl %%fs:0x2C, %0" : "=r"(blocks));
#endif
    const char *template_start = (const char *)_tls_used.StartAddressOfRawData;
    char *block = blocks[*(const ULONG *)_tls_used.AddressOfIndex];
    return (uint16_t *)(block + ((const char *)&g_status - template_start));
}
#else
// Initial-exec TLS on ELF: the static TLS block, not a lazily made one.
#if defined(__ELF__)
#define STATUS_TLS_MODEL __attribute__((tls_model("initial-exec")))
#else
#define STATUS_TLS_MODEL
#endif
static thread_local uint16_t g_status STATUS_TLS_MODEL = JPEG_STATUS_BASE;

static uint16_t *StatusWord(void)
{
    return &g_status;
}
#endif

void JpegStatusReset(void)
{
    *StatusWord() = JPEG_STATUS_BASE;
}

void JpegStatusOr(uint16_t code)
{
    *StatusWord() = (uint16_t)(*StatusWord() | code);
}

uint16_t JpegStatusGet(void)
{
    return *StatusWord();
}
