// Fixed-point multipliers of the integer forward DCT, shared by the plain
// transform and its vector variants.
#ifndef DRIVER_LJPEG_UM_DCTCONSTANTS_H
#define DRIVER_LJPEG_UM_DCTCONSTANTS_H

// The butterfly's multipliers are real constants scaled by 2^13 and
// rounded. The row pass descales by 2^11 instead of 2^13, keeping two bits
// of extra precision for the column pass, which then descales by 2^15.
// Each descale adds half its divisor first. The outputs are 8 times the
// orthonormal DCT coefficients of the level-shifted block.
enum {
    C_0_298 = 2446,   // 0.298631336
    C_0_390 = 3196,   // 0.390180644
    C_0_541 = 4433,   // 0.541196100
    C_0_765 = 6270,   // 0.765366865
    C_0_899 = 7373,   // 0.899976223
    C_1_175 = 9633,   // 1.175875602
    C_1_501 = 12299,  // 1.501321110
    C_1_847 = 15137,  // 1.847759065
    C_1_961 = 16069,  // 1.961570560
    C_2_053 = 16819,  // 2.053119869
    C_2_562 = 20995,  // 2.562915447
    C_3_072 = 25172,  // 3.072711026
};

#endif
