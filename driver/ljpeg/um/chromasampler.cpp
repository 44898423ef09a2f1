// Chroma samplers: the three planes of one MCU into the MCU buffer, Y
// blocks first in raster order, then one Cb and one Cr block. The means
// truncate; a mean of bytes always fits a byte.
#include <string.h>

#include "jpeginternal.h"

// The 16-wide Y plane's blocks in raster order, two per block row.
void CutYBlocks(uint8_t *mcu, const uint8_t *y, uint32_t block_rows)
{
    for (uint32_t k = 0; k < 2 * block_rows; k++) {
        const uint8_t *top_left = y + 8 * (k / 2) * 16 + 8 * (k % 2);
        for (uint32_t r = 0; r < 8; r++)
            memcpy(mcu + 64 * k + 8 * r, top_left + r * 16, 8);
    }
}

// 16x16 plane to 8x8 by the mean of each 2x2 square.
static void Reduce2x2(uint8_t *block, const uint8_t *p)
{
    for (int r = 0; r < 8; r++) {
        const uint8_t *a = p + 2 * r * 16, *b = a + 16;
        for (int c = 0; c < 8; c++) {
            block[r * 8 + c] = (uint8_t)((a[2 * c] + a[2 * c + 1] + b[2 * c] + b[2 * c + 1]) >> 2);
        }
    }
}

// 16x8 plane to 8x8 by the mean of each horizontal pair.
static void Reduce2x1(uint8_t *block, const uint8_t *p)
{
    for (int r = 0; r < 8; r++) {
        for (int c = 0; c < 8; c++)
            block[r * 8 + c] = (uint8_t)((p[r * 16 + 2 * c] + p[r * 16 + 2 * c + 1]) >> 1);
    }
}

void Sample420(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr)
{
    CutYBlocks(mcu, y, 2);
    Reduce2x2(mcu + MCU420_CB, cb);
    Reduce2x2(mcu + MCU420_CR, cr);
}

void Sample422(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr)
{
    CutYBlocks(mcu, y, 1);
    Reduce2x1(mcu + MCU422_CB, cb);
    Reduce2x1(mcu + MCU422_CR, cr);
}

void Sample444(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr)
{
    memcpy(mcu, y, BLOCK_SAMPLES);
    memcpy(mcu + MCU444_CB, cb, BLOCK_SAMPLES);
    memcpy(mcu + MCU444_CR, cr, BLOCK_SAMPLES);
}
