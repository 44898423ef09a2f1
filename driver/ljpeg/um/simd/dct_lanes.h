/*
 * The forward DCT on eight vectors of 16-bit lanes, one one-dimensional
 * transform per lane, for any vector width: Ops names the vector type V
 * and the few operations used (Sse2Lanes, Avx2Lanes). Bit-exact with the
 * plain routines (dct_weights.h says why). The routines carry no target
 * attribute, so the including file is built for Ops' instruction set.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_DCT_LANES_H
#define DRIVER_LJPEG_UM_SIMD_DCT_LANES_H

#include <stdint.h>

#include "dct_weights.h"

#define LANES_INLINE __attribute__((always_inline)) inline

/* pmaddwd weights: the pair (a, b) in every 32-bit lane. */
template <class Ops>
static LANES_INLINE typename Ops::V PairWeights(int a, int b)
{
    return Ops::Set32((int)((uint32_t)(uint16_t)a | (uint32_t)(uint16_t)b << 16));
}

/* (v + 2^(N-1)) >> N on 32-bit lanes, both halves packed to 16 bits. */
template <class Ops, int N>
static LANES_INLINE typename Ops::V Descale(typename Ops::V lo, typename Ops::V hi)
{
    const typename Ops::V half = Ops::Set32(1 << (N - 1));
    return Ops::Packs32(Ops::Srai32(Ops::Add32(lo, half), N), Ops::Srai32(Ops::Add32(hi, half), N));
}

/* a * (wa, wb) + b * (wc, wd) for the interleaved pairs of a and of b. */
template <class Ops, int N>
static LANES_INLINE typename Ops::V Combine(typename Ops::V a_lo, typename Ops::V a_hi,
                                            typename Ops::V b_lo, typename Ops::V b_hi,
                                            typename Ops::V wa, typename Ops::V wb)
{
    typename Ops::V lo = Ops::Add32(Ops::Madd16(a_lo, wa), Ops::Madd16(b_lo, wb));
    typename Ops::V hi = Ops::Add32(Ops::Madd16(a_hi, wa), Ops::Madd16(b_hi, wb));
    return Descale<Ops, N>(lo, hi);
}

/* One pass on x[0..7], in place: y0 and y4 unscaled, the others descaled
 * by N bits. */
template <class Ops, int N>
static LANES_INLINE void Pass8(typename Ops::V x[8])
{
    typedef typename Ops::V V;
    V tmp0 = Ops::Add16(x[0], x[7]), tmp7 = Ops::Sub16(x[0], x[7]);
    V tmp1 = Ops::Add16(x[1], x[6]), tmp6 = Ops::Sub16(x[1], x[6]);
    V tmp2 = Ops::Add16(x[2], x[5]), tmp5 = Ops::Sub16(x[2], x[5]);
    V tmp3 = Ops::Add16(x[3], x[4]), tmp4 = Ops::Sub16(x[3], x[4]);

    V tmp10 = Ops::Add16(tmp0, tmp3), tmp13 = Ops::Sub16(tmp0, tmp3);
    V tmp11 = Ops::Add16(tmp1, tmp2), tmp12 = Ops::Sub16(tmp1, tmp2);
    x[0] = Ops::Add16(tmp10, tmp11);
    x[4] = Ops::Sub16(tmp10, tmp11);

    /* y2 = tmp13 (C_0_541 + C_0_765) + tmp12 C_0_541,
     * y6 = tmp13 C_0_541 + tmp12 (C_0_541 - C_1_847). */
    V e_lo = Ops::UnpackLo16(tmp13, tmp12), e_hi = Ops::UnpackHi16(tmp13, tmp12);
    const V w2 = PairWeights<Ops>(C_0_541 + C_0_765, C_0_541);
    const V w6 = PairWeights<Ops>(C_0_541, C_0_541 - C_1_847);
    x[2] = Descale<Ops, N>(Ops::Madd16(e_lo, w2), Ops::Madd16(e_hi, w2));
    x[6] = Descale<Ops, N>(Ops::Madd16(e_lo, w6), Ops::Madd16(e_hi, w6));

    V a_lo = Ops::UnpackLo16(tmp4, tmp5), a_hi = Ops::UnpackHi16(tmp4, tmp5);
    V b_lo = Ops::UnpackLo16(tmp6, tmp7), b_hi = Ops::UnpackHi16(tmp6, tmp7);
    x[1] = Combine<Ops, N>(a_lo, a_hi, b_lo, b_hi, PairWeights<Ops>(Y1_4, Y1_5),
                           PairWeights<Ops>(Y1_6, Y1_7));
    x[3] = Combine<Ops, N>(a_lo, a_hi, b_lo, b_hi, PairWeights<Ops>(Y3_4, Y3_5),
                           PairWeights<Ops>(Y3_6, Y3_7));
    x[5] = Combine<Ops, N>(a_lo, a_hi, b_lo, b_hi, PairWeights<Ops>(Y5_4, Y5_5),
                           PairWeights<Ops>(Y5_6, Y5_7));
    x[7] = Combine<Ops, N>(a_lo, a_hi, b_lo, b_hi, PairWeights<Ops>(Y7_4, Y7_5),
                           PairWeights<Ops>(Y7_6, Y7_7));
}

/* Transposes the 8x8 matrix in each 128-bit half. */
template <class Ops>
static LANES_INLINE void Transpose8(typename Ops::V v[8])
{
    typedef typename Ops::V V;
    V a0 = Ops::UnpackLo16(v[0], v[1]), a1 = Ops::UnpackHi16(v[0], v[1]);
    V a2 = Ops::UnpackLo16(v[2], v[3]), a3 = Ops::UnpackHi16(v[2], v[3]);
    V a4 = Ops::UnpackLo16(v[4], v[5]), a5 = Ops::UnpackHi16(v[4], v[5]);
    V a6 = Ops::UnpackLo16(v[6], v[7]), a7 = Ops::UnpackHi16(v[6], v[7]);
    V b0 = Ops::UnpackLo32(a0, a2), b1 = Ops::UnpackHi32(a0, a2);
    V b2 = Ops::UnpackLo32(a1, a3), b3 = Ops::UnpackHi32(a1, a3);
    V b4 = Ops::UnpackLo32(a4, a6), b5 = Ops::UnpackHi32(a4, a6);
    V b6 = Ops::UnpackLo32(a5, a7), b7 = Ops::UnpackHi32(a5, a7);
    v[0] = Ops::UnpackLo64(b0, b4);
    v[1] = Ops::UnpackHi64(b0, b4);
    v[2] = Ops::UnpackLo64(b1, b5);
    v[3] = Ops::UnpackHi64(b1, b5);
    v[4] = Ops::UnpackLo64(b2, b6);
    v[5] = Ops::UnpackHi64(b2, b6);
    v[6] = Ops::UnpackLo64(b3, b7);
    v[7] = Ops::UnpackHi64(b3, b7);
}

/* The DCT of the level-shifted samples v[r] = row r, in place: v[k] =
 * output row k. y0 and y4 keep two extra bits between the passes. */
template <class Ops>
static LANES_INLINE void Dct8(typename Ops::V v[8])
{
    Transpose8<Ops>(v);
    Pass8<Ops, 11>(v);
    v[0] = Ops::Slli16(v[0], 2);
    v[4] = Ops::Slli16(v[4], 2);
    Transpose8<Ops>(v);
    Pass8<Ops, 15>(v);
    const typename Ops::V two = Ops::Set16(2);
    v[0] = Ops::Srai16(Ops::Add16(v[0], two), 2);
    v[4] = Ops::Srai16(Ops::Add16(v[4], two), 2);
}

#endif
