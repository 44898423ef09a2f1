// The status word: the library's only mutable state that outlives a call.
#include "jpeginternal.h"

// One word per thread rather than per process, so that hosts encoding on
// several threads at once never see each other's codes. Initial-exec TLS
// on ELF: the word sits in the static TLS block, so touching it never
// allocates, even in a thread that started before the library was loaded.
#if defined(__ELF__)
#define STATUS_TLS_MODEL __attribute__((tls_model("initial-exec")))
#else
#define STATUS_TLS_MODEL
#endif

static thread_local uint16_t g_status STATUS_TLS_MODEL = JPEG_STATUS_BASE;

void JpegStatusReset(void) { g_status = JPEG_STATUS_BASE; }

void JpegStatusOr(uint16_t code) { g_status = (uint16_t)(g_status | code); }

uint16_t JpegStatusGet(void) { return g_status; }
