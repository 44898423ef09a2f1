/*
 * ForwardDct and QuantiseBlock in AVX2, and the two in one (dct_avx2.h).
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include "dct_avx2.h"
#include "jpeginternal.h"
#include "target_attrs.h"

/* Vector k holds rows k and k + 4. */
static AVX2_INLINE void StoreRows(int16_t out[64], const __m256i v[4])
{
    for (int k = 0; k < 4; ++k) {
        _mm_storeu_si128((__m128i *)(out + 8 * k), _mm256_castsi256_si128(v[k]));
        _mm_storeu_si128((__m128i *)(out + 8 * k + 32), _mm256_extracti128_si256(v[k], 1));
    }
}

AVX2 void ForwardDctAvx2(const uint8_t block[64], int32_t out[64])
{
    __m256i f[4];
    ForwardDct16(block, f);
    for (int k = 0; k < 4; ++k) {
        _mm256_storeu_si256((__m256i *)(out + 8 * k),
                            _mm256_cvtepi16_epi32(_mm256_castsi256_si128(f[k])));
        _mm256_storeu_si256((__m256i *)(out + 8 * k + 32),
                            _mm256_cvtepi16_epi32(_mm256_extracti128_si256(f[k], 1)));
    }
}

AVX2 void QuantiseBlockAvx2(const int32_t coef[64], const FastQuantiser *fq, int16_t out[64])
{
    __m256i q[4];
    for (int k = 0; k < 4; ++k) {
        __m256i lo = _mm256_loadu_si256((const __m256i *)(coef + 8 * k));
        __m256i hi = _mm256_loadu_si256((const __m256i *)(coef + 8 * k + 32));
        /* packs interleaves 128-bit halves: [lo0 hi0 | lo1 hi1] -> [lo|hi]. */
        __m256i c = _mm256_permute4x64_epi64(_mm256_packs_epi32(lo, hi), 0xD8);
        q[k] = Quantise16(c, fq, k);
    }
    StoreRows(out, q);
}

AVX2 void TransformBlockAvx2(const uint8_t block[64], const QuantTable *table, int16_t out[64])
{
    const FastQuantiser *fq = &table->fast;
    __m256i f[4];
    ForwardDct16(block, f);
    for (int k = 0; k < 4; ++k)
        f[k] = Quantise16(f[k], fq, k);
    StoreRows(out, f);
}

#endif
