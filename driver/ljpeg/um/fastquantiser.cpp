#include "fastquantiser.h"

void PrepareFastQuantiser(const uint16_t divisors[64], FastQuantiser *f)
{
    for (int k = 0; k < 64; ++k) {
        uint32_t q = divisors[k] >> 3;
        uint32_t l = 1;
        while ((1u << l) < q)
            ++l;
        int i = FastQuantiserIndex(k);
        f->half[i] = (uint16_t)(divisors[k] >> 1);
        f->multiplier[i] = (uint16_t)(4 * (((1u << (11 + l)) + q - 1) / q));
        f->scale[i] = (uint16_t)(1u << (16 - l));
        for (int copy = 0; copy < 2; ++copy) {
            f->pair[0][k / 8][8 * copy + k % 8] = f->half[i];
            f->pair[1][k / 8][8 * copy + k % 8] = f->multiplier[i];
            f->pair[2][k / 8][8 * copy + k % 8] = f->scale[i];
        }
    }
}
