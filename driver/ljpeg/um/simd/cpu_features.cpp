#include "fast_routines.h"

#if VELMORAJ_X86
#include <cpuid.h>

/* LZCNT, from its CPUID bit: not every compiler's __builtin_cpu_supports
 * knows it. */
static bool HasLzcnt(void)
{
    unsigned a, b, c, d;
    return __get_cpuid(0x80000001u, &a, &b, &c, &d) && (c & (1u << 5)) != 0;
}
#endif

unsigned CpuFeatures(void)
{
#if VELMORAJ_X86
    __builtin_cpu_init();
    unsigned f = 0;
    if (__builtin_cpu_supports("sse2"))
        f |= CPU_SSE2;
    /* AVX2 alone is not enough: the OS must save the YMM state, which
     * __builtin_cpu_supports already checks through XGETBV. */
    if (__builtin_cpu_supports("avx2"))
        f |= CPU_AVX2;
    if (__builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") && HasLzcnt())
        f |= CPU_BMI2;
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw"))
        f |= CPU_AVX512;
    return f;
#else
    return 0;
#endif
}
