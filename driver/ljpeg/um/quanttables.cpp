// Quantisation base tables and quality scaling.
#include "jpeginternal.h"

// Two entries of one Pq/Tq byte and 64 base values in natural order:
// ITU-T T.81 Table K.1 (luminance) and Table K.2 (chrominance).
const uint8_t kBaseQuantTables[130] = {
    0x00, 16,  11, 10, 16,  24,  40,  51, 61,   12,  12, 14, 19, 26, 58, 60,  55,  14,  13,
    16,   24,  40, 57, 69,  56,  14,  17, 22,   29,  51, 87, 80, 62, 18, 22,  37,  56,  68,
    109,  103, 77, 24, 35,  55,  64,  81, 104,  113, 92, 49, 64, 78, 87, 103, 121, 120, 101,
    72,   92,  95, 98, 112, 100, 103, 99, 0x01, 17,  18, 24, 47, 99, 99, 99,  99,  18,  21,
    26,   66,  99, 99, 99,  99,  24,  26, 56,   99,  99, 99, 99, 99, 47, 66,  99,  99,  99,
    99,   99,  99, 99, 99,  99,  99,  99, 99,   99,  99, 99, 99, 99, 99, 99,  99,  99,  99,
    99,   99,  99, 99, 99,  99,  99,  99, 99,   99,  99, 99, 99, 99, 99, 99,
};

// Percentage applied to the base tables: 5000 / q below 50, else 200 - 2q
// (q 50 keeps the tables, q 100 gives 0, which the clamp turns into 1).
uint32_t QualityScale(uint8_t quality)
{
    return quality < 50 ? 5000u / quality : 200u - 2u * quality;
}

// Each value is (b * S + 50) / 100 clamped to 1..255. The divisor carries
// a factor 8 because the forward DCT's output is scaled up by 8.
void ScaleQuantTable(const uint8_t *entry, uint32_t scale, QuantTable *table, uint8_t values[64])
{
    table->pq = (uint8_t)(entry[0] >> 4);
    table->tq = (uint8_t)(entry[0] & 0x0F);
    for (int i = 0; i < 64; i++) {
        uint32_t v = (entry[1 + i] * scale + 50) / 100;
        if (v > 255)
            v = 255;
        if (v == 0)
            v = 1;
        values[i] = (uint8_t)v;
        table->divisors[i] = (uint16_t)(8 * v);
    }
    PrepareFastQuantiser(table->divisors, &table->fast);
}
