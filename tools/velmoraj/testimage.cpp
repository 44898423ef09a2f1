#include "testimage.h"

#include <algorithm>

namespace {

struct Rgb {
    int r, g, b;
};

}  // namespace

static uint32_t Hash(uint32_t x, uint32_t y)
{
    uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

// Triangle wave of period 2 * half, from 0 to 255.
static int Wave(int64_t t, int64_t half)
{
    int64_t m = t % (2 * half);
    return static_cast<int>((m < half ? m : 2 * half - m) * 255 / half);
}

static Rgb Background(uint32_t x, uint32_t y, uint32_t w, uint32_t h)
{
    int64_t u = int64_t{x} * 1024 / w, v = int64_t{y} * 1024 / h;
    return {Wave(u + 200, 700) * 3 / 4 + 40, Wave(v + 100, 900) * 2 / 3 + 50,
            Wave(u + v, 1300) / 2 + 90};
}

// A disc, a dark bar and a letter F on the left half, a fine checkerboard
// at the bottom right; everything in units of the shorter side.
static bool Shape(uint32_t x, uint32_t y, uint32_t w, uint32_t h, Rgb *c)
{
    int64_t s = std::max<int64_t>(std::min(w, h), 1);
    int64_t px = int64_t{x} * 1000 / s, py = int64_t{y} * 1000 / s;
    int64_t dx = px - 700, dy = py - 330;
    if (dx * dx + dy * dy < 180 * 180) {
        *c = {220, 40, 30};
        return true;
    }
    if (py > 600 && py < 680 && px > 80) {
        *c = {20, 30, 160};
        return true;
    }
    bool stem = px >= 100 && px < 160 && py >= 100 && py < 500;
    bool top = px >= 100 && px < 380 && py >= 100 && py < 160;
    bool mid = px >= 100 && px < 300 && py >= 260 && py < 320;
    if (stem || top || mid) {
        *c = {250, 250, 240};
        return true;
    }
    if (x > w * 3 / 4 && y > h * 3 / 4) {
        int v = ((x / 2 + y / 2) & 1) ? 230 : 25;
        *c = {v, v, v};
        return true;
    }
    return false;
}

static uint8_t Clamp(int v)
{
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

HostBitmap MakeTestImage(uint32_t width, uint32_t height, uint16_t bits_per_pixel)
{
    HostBitmap b;
    ResizeHostBitmap(&b, width, height, bits_per_pixel);
    for (uint32_t y = 0; y < height; y++) {
        uint8_t *row = TopDownRow(&b, y);
        for (uint32_t x = 0; x < width; x++) {
            Rgb c = Background(x, y, width, height);
            bool solid = Shape(x, y, width, height, &c);
            int grain = solid ? 0 : static_cast<int>(Hash(x, y) % 25) - 12;
            uint8_t r = Clamp(c.r + grain), g = Clamp(c.g + grain), bl = Clamp(c.b + grain);
            if (bits_per_pixel == 8) {
                row[x] = static_cast<uint8_t>((77 * r + 150 * g + 29 * bl + 128) >> 8);
            } else {
                row[3 * x] = bl;
                row[3 * x + 1] = g;
                row[3 * x + 2] = r;
            }
        }
    }
    return b;
}
