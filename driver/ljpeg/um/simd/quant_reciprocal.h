/*
 * Division by a quantiser divisor as a multiply and a shift.
 *
 * Every divisor is d = 8 * Q with Q in 1..255, and the quantiser needs
 * floor(n / d) for n = |c| + d / 2 below 2^16. Since floor(n / 8Q) equals
 * floor(floor(n / 8) / Q), the dividend becomes n' = n >> 3 < 2^13, and with
 *   l = ceil(log2 Q),  p = 13 + l,  m = ceil(2^p / Q)  (m <= 2^14 + 1)
 * floor(n' * m / 2^p) == floor(n' / Q) for every n' < 2^13: the excess
 * e = m * Q - 2^p is below Q <= 2^l, so n' * e < 2^p and the error never
 * reaches the next multiple of Q. n' * m stays below 2^27.
 */
#ifndef VELMORAJ_QUANT_RECIPROCAL_H
#define VELMORAJ_QUANT_RECIPROCAL_H

#include <stdint.h>

struct QuantReciprocalTable {
    uint32_t entry[256]; /* index Q: m in the low 16 bits, p in the high 16 */
};

static constexpr QuantReciprocalTable MakeQuantReciprocalTable()
{
    QuantReciprocalTable t{};
    t.entry[0] = 0; /* Q = 0 never occurs */
    for (uint32_t q = 1; q < 256; ++q) {
        uint32_t l = 0;
        while ((1u << l) < q)
            ++l;
        uint32_t p = 13 + l;
        uint32_t m = ((1u << p) + q - 1) / q;
        t.entry[q] = m | (p << 16);
    }
    return t;
}

/* Constant table, built by the compiler. */
inline constexpr QuantReciprocalTable kQuantReciprocal = MakeQuantReciprocalTable();

/* floor((|c| + d / 2) / d) with the sign of c, for d = 8 * Q; the scalar form
 * of what the vector quantisers do lane by lane. */
static inline int16_t QuantiseByReciprocal(int32_t c, uint16_t d)
{
    uint32_t mag = (uint32_t)(c < 0 ? -c : c);
    uint32_t n = (mag + (d >> 1)) >> 3;
    uint32_t r = kQuantReciprocal.entry[d >> 3];
    uint32_t q = (n * (r & 0xFFFF)) >> (r >> 16);
    return (int16_t)(c < 0 ? -(int32_t)q : (int32_t)q);
}

#endif
