/*
 * Instruction sets of single functions, so that one build serves every x86
 * CPU; set-up calls them only where the CPU has the instructions. Included
 * by the vector sources only, not by the users of fast_routines.h.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_TARGET_ATTRS_H
#define DRIVER_LJPEG_UM_SIMD_TARGET_ATTRS_H

#define SSE2 __attribute__((target("sse2")))
#define AVX2 __attribute__((target("avx2")))
#define BMI2 __attribute__((target("avx2,bmi,bmi2,lzcnt")))
#define SSE2_INLINE __attribute__((target("sse2"), always_inline)) inline
#define AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline
#define AVX512_INLINE __attribute__((target("avx512f,avx512bw"), always_inline)) inline

#endif
