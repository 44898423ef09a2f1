/*
 * The integer LLM butterfly regrouped for 16-bit vector lanes.
 *
 * Exactness: every product and sum of the plain transform is an exact
 * integer, so any regrouping of the same products gives the same values as
 * long as nothing overflows. The odd part is regrouped into four products
 * per output, each output a sum of two pmaddwd results (pairs of 16-bit
 * values times pairs of 16-bit constants, summed in 32 bits); the even
 * rotation likewise. Bounds for 8-bit samples: row inputs lie in -128..127
 * and row outputs in -4096..4096, so the column pass's sums of two and four
 * inputs stay within 16 bits, and its y0 and y4 (at most 8 * 4096 in size,
 * in fact within -32768..32640) fit 16 bits too. Products and their sums
 * stay below 2^31.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_DCT_WEIGHTS_H
#define DRIVER_LJPEG_UM_SIMD_DCT_WEIGHTS_H

#include "dctconstants.h"

/* The odd outputs as weights of tmp4, tmp5, tmp6, tmp7:
 *   z1 = -(tmp4 + tmp7) C_0_899     z2 = -(tmp5 + tmp6) C_2_562
 *   z5 = (tmp4 + tmp5 + tmp6 + tmp7) C_1_175
 *   z3 = z5 - (tmp4 + tmp6) C_1_961 z4 = z5 - (tmp5 + tmp7) C_0_390
 *   y7 = tmp4 C_0_298 + z1 + z3     y5 = tmp5 C_2_053 + z2 + z4
 *   y3 = tmp6 C_3_072 + z2 + z3     y1 = tmp7 C_1_501 + z1 + z4 */
enum {
    Y7_4 = C_0_298 - C_0_899 + C_1_175 - C_1_961,
    Y7_5 = C_1_175,
    Y7_6 = C_1_175 - C_1_961,
    Y7_7 = C_1_175 - C_0_899,
    Y5_4 = C_1_175,
    Y5_5 = C_2_053 - C_2_562 + C_1_175 - C_0_390,
    Y5_6 = C_1_175 - C_2_562,
    Y5_7 = C_1_175 - C_0_390,
    Y3_4 = C_1_175 - C_1_961,
    Y3_5 = C_1_175 - C_2_562,
    Y3_6 = C_3_072 - C_2_562 + C_1_175 - C_1_961,
    Y3_7 = C_1_175,
    Y1_4 = C_1_175 - C_0_899,
    Y1_5 = C_1_175 - C_0_390,
    Y1_6 = C_1_175,
    Y1_7 = C_1_501 - C_0_899 + C_1_175 - C_0_390
};

#endif
