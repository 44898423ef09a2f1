/*
 * Division by a quantiser divisor as two 16-bit multiplies.
 *
 * Every divisor is d = 8 * Q with Q in 1..255, and the quantiser needs
 * floor(n / d) for n = |c| + d / 2; for every DCT output of 8-bit samples
 * n < 2^14. Since floor(n / 8Q) = floor(n' / Q) with n' = n >> 3 < 2^11, take
 *   l = max(1, ceil(log2 Q)),  m = ceil(2^(11 + l) / Q)  (at most 2^12 + 1).
 * The excess e = m * Q - 2^(11 + l) is below Q <= 2^l, so n' * e < 2^(11 + l)
 * and floor(n' * m / 2^(11 + l)) = floor(n' / Q). In 16-bit lanes, with
 * 8 n' = n & ~7 (below 2^14) and 4 m (at most 16388):
 *   y = (8 n' * 4 m) >> 16 = floor(n' * m / 2^11)
 *   q = (y * 2^(16 - l)) >> 16 = floor(y / 2^l)     (2^(16 - l) <= 2^15)
 * both "multiply, keep the high half" (pmulhuw).
 */
#ifndef DRIVER_LJPEG_UM_FASTQUANTISER_H
#define DRIVER_LJPEG_UM_FASTQUANTISER_H

#include <stdint.h>

/* Per-table constants of the fast quantisers, in the row order of the
 * vector transform's output: rows 0 4 1 5 2 6 3 7, eight entries each. */
typedef struct FastQuantiser {
    uint16_t half[64];       /* d / 2 */
    uint16_t multiplier[64]; /* 4 m */
    uint16_t scale[64];      /* 2^(16 - l) */
    /* The same by natural row, each row twice, for transforms of two
     * blocks at once: half, multiplier, scale. */
    uint16_t pair[3][8][16];
} FastQuantiser;

/* Fills f for the 64 divisors (natural order, each 8 * Q, Q in 1..255). */
void PrepareFastQuantiser(const uint16_t divisors[64], FastQuantiser *f);

/* Index in FastQuantiser of natural position k. */
static inline int FastQuantiserIndex(int k)
{
    int row = k / 8;
    return 8 * (row < 4 ? 2 * row : 2 * (row - 4) + 1) + k % 8;
}

/* The same arithmetic for one coefficient (the vector code does it lane by
 * lane); for |c| + d / 2 below 2^14. */
static inline int16_t QuantiseFast(int32_t c, uint16_t half, uint16_t multiplier, uint16_t scale)
{
    uint32_t n = (uint32_t)(c < 0 ? -c : c) + half;
    uint32_t y = ((n & ~7u) * multiplier) >> 16;
    uint32_t q = (y * scale) >> 16;
    return (int16_t)(c < 0 ? -(int32_t)q : (int32_t)q);
}

#endif
