/*
 * ForwardDct and QuantiseBlock in AVX2, bit-exact with the plain routines.
 *
 * Each vector holds eight 32-bit lanes, so one butterfly on eight vectors
 * runs the same one-dimensional pass on eight rows (or columns) at once with
 * the same 32-bit products, sums, rounding constants and arithmetic shifts
 * as the plain code. The block is transposed before the row pass (so that
 * vector i holds sample i of every row) and again before the column pass.
 * Quantisation multiplies by reciprocals (quant_reciprocal.h).
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include <immintrin.h>

#include "quant_reciprocal.h"

#define AVX2 __attribute__((target("avx2")))

/* 13-bit fixed-point constants (value * 8192). */
enum {
    C_0_298 = 2446,
    C_0_390 = 3196,
    C_0_541 = 4433,
    C_0_765 = 6270,
    C_0_899 = 7373,
    C_1_175 = 9633,
    C_1_501 = 12299,
    C_1_847 = 15137,
    C_1_961 = 16069,
    C_2_053 = 16819,
    C_2_562 = 20995,
    C_3_072 = 25172
};

static AVX2 inline __m256i Mul(__m256i a, int c)
{
    return _mm256_mullo_epi32(a, _mm256_set1_epi32(c));
}

static AVX2 inline void Transpose8x8(__m256i v[8])
{
    __m256i a0 = _mm256_unpacklo_epi32(v[0], v[1]);
    __m256i a1 = _mm256_unpackhi_epi32(v[0], v[1]);
    __m256i a2 = _mm256_unpacklo_epi32(v[2], v[3]);
    __m256i a3 = _mm256_unpackhi_epi32(v[2], v[3]);
    __m256i a4 = _mm256_unpacklo_epi32(v[4], v[5]);
    __m256i a5 = _mm256_unpackhi_epi32(v[4], v[5]);
    __m256i a6 = _mm256_unpacklo_epi32(v[6], v[7]);
    __m256i a7 = _mm256_unpackhi_epi32(v[6], v[7]);
    __m256i b0 = _mm256_unpacklo_epi64(a0, a2);
    __m256i b1 = _mm256_unpackhi_epi64(a0, a2);
    __m256i b2 = _mm256_unpacklo_epi64(a1, a3);
    __m256i b3 = _mm256_unpackhi_epi64(a1, a3);
    __m256i b4 = _mm256_unpacklo_epi64(a4, a6);
    __m256i b5 = _mm256_unpackhi_epi64(a4, a6);
    __m256i b6 = _mm256_unpacklo_epi64(a5, a7);
    __m256i b7 = _mm256_unpackhi_epi64(a5, a7);
    v[0] = _mm256_permute2x128_si256(b0, b4, 0x20);
    v[1] = _mm256_permute2x128_si256(b1, b5, 0x20);
    v[2] = _mm256_permute2x128_si256(b2, b6, 0x20);
    v[3] = _mm256_permute2x128_si256(b3, b7, 0x20);
    v[4] = _mm256_permute2x128_si256(b0, b4, 0x31);
    v[5] = _mm256_permute2x128_si256(b1, b5, 0x31);
    v[6] = _mm256_permute2x128_si256(b2, b6, 0x31);
    v[7] = _mm256_permute2x128_si256(b3, b7, 0x31);
}

/* The one-dimensional LLM butterfly on x[0..7], in place. y0 and y4 come
 * out unscaled; the other six are the products before their descale. */
static AVX2 inline void Butterfly(__m256i x[8])
{
    __m256i tmp0 = _mm256_add_epi32(x[0], x[7]), tmp7 = _mm256_sub_epi32(x[0], x[7]);
    __m256i tmp1 = _mm256_add_epi32(x[1], x[6]), tmp6 = _mm256_sub_epi32(x[1], x[6]);
    __m256i tmp2 = _mm256_add_epi32(x[2], x[5]), tmp5 = _mm256_sub_epi32(x[2], x[5]);
    __m256i tmp3 = _mm256_add_epi32(x[3], x[4]), tmp4 = _mm256_sub_epi32(x[3], x[4]);

    __m256i tmp10 = _mm256_add_epi32(tmp0, tmp3), tmp13 = _mm256_sub_epi32(tmp0, tmp3);
    __m256i tmp11 = _mm256_add_epi32(tmp1, tmp2), tmp12 = _mm256_sub_epi32(tmp1, tmp2);
    __m256i z1 = Mul(_mm256_add_epi32(tmp12, tmp13), C_0_541);
    x[0] = _mm256_add_epi32(tmp10, tmp11);
    x[4] = _mm256_sub_epi32(tmp10, tmp11);
    x[2] = _mm256_add_epi32(z1, Mul(tmp13, C_0_765));
    x[6] = _mm256_sub_epi32(z1, Mul(tmp12, C_1_847));

    __m256i o1 = _mm256_add_epi32(tmp4, tmp7);
    __m256i o2 = _mm256_add_epi32(tmp5, tmp6);
    __m256i o3 = _mm256_add_epi32(tmp4, tmp6);
    __m256i o4 = _mm256_add_epi32(tmp5, tmp7);
    __m256i z5 = Mul(_mm256_add_epi32(o3, o4), C_1_175);
    o1 = Mul(o1, -C_0_899);
    o2 = Mul(o2, -C_2_562);
    o3 = _mm256_sub_epi32(z5, Mul(o3, C_1_961));
    o4 = _mm256_sub_epi32(z5, Mul(o4, C_0_390));
    x[7] = _mm256_add_epi32(_mm256_add_epi32(Mul(tmp4, C_0_298), o1), o3);
    x[5] = _mm256_add_epi32(_mm256_add_epi32(Mul(tmp5, C_2_053), o2), o4);
    x[3] = _mm256_add_epi32(_mm256_add_epi32(Mul(tmp6, C_3_072), o2), o3);
    x[1] = _mm256_add_epi32(_mm256_add_epi32(Mul(tmp7, C_1_501), o1), o4);
}

/* (x + 2^(n-1)) >> n on the six odd-scaled outputs of a pass. */
static AVX2 inline void Descale(__m256i x[8], int n)
{
    const __m256i half = _mm256_set1_epi32(1 << (n - 1));
    const __m128i shift = _mm_cvtsi32_si128(n);
    static const int odd_scaled[6] = {1, 2, 3, 5, 6, 7};
    for (int i : odd_scaled)
        x[i] = _mm256_sra_epi32(_mm256_add_epi32(x[i], half), shift);
}

/* Quantises eight coefficients by their eight divisors (see
 * quant_reciprocal.h): sign(c) * floor(((|c| + d/2) >> 3) * m >> p). */
static AVX2 inline __m256i Quantise8(__m256i c, const uint16_t *divisors)
{
    __m256i d = _mm256_cvtepu16_epi32(_mm_loadu_si128((const __m128i *)divisors));
    __m256i recip = _mm256_i32gather_epi32((const int *)kQuantReciprocal.entry,
                                           _mm256_srli_epi32(d, 3), 4);
    __m256i n = _mm256_add_epi32(_mm256_abs_epi32(c), _mm256_srli_epi32(d, 1));
    n = _mm256_srli_epi32(n, 3);
    __m256i m = _mm256_and_si256(recip, _mm256_set1_epi32(0xFFFF));
    __m256i q = _mm256_srlv_epi32(_mm256_mullo_epi32(n, m), _mm256_srli_epi32(recip, 16));
    return _mm256_sign_epi32(q, c);
}

/* ForwardDct of one block; v[i] receives output row i. */
static AVX2 inline void ForwardDct8(const uint8_t block[64], __m256i v[8])
{
    const __m256i bias = _mm256_set1_epi32(128);
    for (int i = 0; i < 8; ++i) {
        __m128i row = _mm_loadl_epi64((const __m128i *)(block + 8 * i));
        v[i] = _mm256_sub_epi32(_mm256_cvtepu8_epi32(row), bias);
    }

    /* Rows: after the transpose v[i] holds sample i of every row. */
    Transpose8x8(v);
    Butterfly(v);
    v[0] = _mm256_slli_epi32(v[0], 2);
    v[4] = _mm256_slli_epi32(v[4], 2);
    Descale(v, 11);

    /* Columns: v[i] back to row i of the workspace, lanes are columns. */
    Transpose8x8(v);
    Butterfly(v);
    const __m256i two = _mm256_set1_epi32(2);
    v[0] = _mm256_srai_epi32(_mm256_add_epi32(v[0], two), 2);
    v[4] = _mm256_srai_epi32(_mm256_add_epi32(v[4], two), 2);
    Descale(v, 15);
}

/* Quantises the eight rows v[] into out[], natural order. */
static AVX2 inline void QuantiseRows(const __m256i v[8], const uint16_t divisors[64], int16_t out[64])
{
    for (int i = 0; i < 8; i += 2) {
        __m256i q0 = Quantise8(v[i], divisors + 8 * i);
        __m256i q1 = Quantise8(v[i + 1], divisors + 8 * i + 8);
        __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(q0, q1), 0xD8);
        _mm256_storeu_si256((__m256i *)(out + 8 * i), packed);
    }
}

AVX2 void ForwardDctAvx2(const uint8_t block[64], int32_t out[64])
{
    __m256i v[8];
    ForwardDct8(block, v);
    for (int i = 0; i < 8; ++i)
        _mm256_storeu_si256((__m256i *)(out + 8 * i), v[i]);
}

AVX2 void QuantiseBlockAvx2(const int32_t coef[64], const uint16_t divisors[64], int16_t out[64])
{
    __m256i v[8];
    for (int i = 0; i < 8; ++i)
        v[i] = _mm256_loadu_si256((const __m256i *)(coef + 8 * i));
    QuantiseRows(v, divisors, out);
}

AVX2 void TransformBlockAvx2(const uint8_t block[64], const uint16_t divisors[64], int16_t out[64])
{
    __m256i v[8];
    ForwardDct8(block, v);
    QuantiseRows(v, divisors, out);
}

#endif
