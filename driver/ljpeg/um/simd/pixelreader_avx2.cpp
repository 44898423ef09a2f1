/*
 * Pixel readers in AVX2: sixteen pixels per step, the same integer colour
 * conversion as RgbToYcc.
 *
 * An MCU wholly inside the image needs one bound check, of its top row.
 * At the edges the reader first finds a pointer to the pixels of each MCU
 * row, checking each row against the input size in the plain reader's
 * order. Rows that end before the MCU's right edge are copied to a local
 * buffer and completed with copies of their last pixel; rows below the
 * image reuse the row above. Repeating a pixel before conversion gives the
 * same samples as repeating its converted samples. Vector loads never
 * reach past the pixels of a row: a step reads exactly eight pixels from
 * each of two pointers.
 *
 * The conversion in 16-bit lanes, the weighted sums by pmaddubsw:
 *   Y  = (77 R + 150 G + 29 B + 128) >> 8, at most 65408 >> 8 = 255, unsigned;
 *   Cb = ((x + 128) >> 8) + 128 with x = 128 B - 43 R - 85 G in [-32640, 32640],
 *        computed as (x + 32768 + 128) >> 8: x + 32768 as an unsigned lane,
 *        and pavgw with 127 adds 128 and halves in 17 bits, so nothing
 *        overflows; pure blue gives 256, which packing with unsigned
 *        saturation limits to 255. Cr likewise with R, G, B.
 */
#include "fast_routines.h"

#if VELMORAJ_X86
#include <immintrin.h>
#include <string.h>

#include "jpeginternal.h"
#include "mcuplace.h"
#include "target_attrs.h"

/* The three channel pairs the conversion weighs, as (low byte, high byte)
 * of each 16-bit lane: (R, G), (G, B) and (B, R), by channel index. */
static constexpr int kPairs[3][2] = {{0, 1}, {1, 2}, {2, 0}};

/* pshufb controls that move the channel bytes of pair p of pixel i into
 * 16-bit lane i, for pixels whose red byte is red_at (0 or 2): from the
 * first load (pixel bytes 0..15) or from the second one, which starts
 * second_at bytes in. */
struct PairShuffles {
    uint8_t first[3][16];
    uint8_t second[3][16];
};

static constexpr PairShuffles MakePairShuffles(int bytes_per_pixel, int second_at, int red_at)
{
    PairShuffles t{};
    for (int p = 0; p < 3; ++p)
        for (int i = 0; i < 16; ++i) {
            int channel = kPairs[p][i % 2];
            int at = bytes_per_pixel * (i / 2) + (channel == 1   ? 1
                                                  : channel == 0 ? red_at
                                                                 : 2 - red_at);
            t.first[p][i] = (uint8_t)(at < 16 ? at : 0x80);
            t.second[p][i] = (uint8_t)(at < 16 ? 0x80 : at - second_at);
        }
    return t;
}

template <int kBytes, int kRed>
struct PairTables {
    static constexpr PairShuffles kShuffles = MakePairShuffles(kBytes, kBytes == 3 ? 8 : 16, kRed);
};

/* Sixteen bytes at a in the low lane, at b in the high lane. */
static AVX2 inline __m256i LoadPair(const uint8_t *a, const uint8_t *b)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128((const __m128i *)a)),
                                   _mm_loadu_si128((const __m128i *)b), 1);
}

static AVX2 inline __m256i Gather(__m256i first, __m256i second, const PairShuffles &t, int p)
{
    __m256i f = _mm256_broadcastsi128_si256(_mm_loadu_si128((const __m128i *)t.first[p]));
    __m256i s = _mm256_broadcastsi128_si256(_mm_loadu_si128((const __m128i *)t.second[p]));
    return _mm256_or_si256(_mm256_shuffle_epi8(first, f), _mm256_shuffle_epi8(second, s));
}

/* Channel pairs of sixteen pixels, eight at a and eight at b. */
struct ChannelPairs {
    __m256i rg, gb, br;
};

/* Pixel formats: eight pixels at a and eight at b as channel pairs.
 * kRed is the byte (or 5-bit field) that holds red; blue is the other end. */
template <int kBytes, int kRed>
struct Bytes {
    enum { kBytesPerPixel = kBytes };
    static AVX2 inline ChannelPairs Load(const uint8_t *a, const uint8_t *b)
    {
        const PairShuffles &t = PairTables<kBytes, kRed>::kShuffles;
        const int second_at = kBytes == 3 ? 8 : 16;
        __m256i first = LoadPair(a, b);
        __m256i second = LoadPair(a + second_at, b + second_at);
        return {Gather(first, second, t, 0), Gather(first, second, t, 1),
                Gather(first, second, t, 2)};
    }
};

template <int kRed>
struct Bits555 {
    enum { kBytesPerPixel = 2 };
    static AVX2 inline ChannelPairs Load(const uint8_t *a, const uint8_t *b)
    {
        const __m256i five = _mm256_set1_epi16(0x1F << 3);
        __m256i v = LoadPair(a, b);
        __m256i low = _mm256_and_si256(_mm256_slli_epi16(v, 3), five);
        __m256i high = _mm256_and_si256(_mm256_srli_epi16(v, 7), five);
        __m256i g = _mm256_and_si256(_mm256_srli_epi16(v, 2), five);
        __m256i r = kRed == 0 ? low : high, bl = kRed == 0 ? high : low;
        return {_mm256_or_si256(r, _mm256_slli_epi16(g, 8)),
                _mm256_or_si256(g, _mm256_slli_epi16(bl, 8)),
                _mm256_or_si256(bl, _mm256_slli_epi16(r, 8))};
    }
};

/* ((x + 128) >> 8) + 128 for a chroma difference x (see above). */
static AVX2 inline __m256i ChromaFromDifference(__m256i x)
{
    __m256i biased = _mm256_xor_si256(x, _mm256_set1_epi16((int16_t)0x8000));
    return _mm256_srli_epi16(_mm256_avg_epu16(biased, _mm256_set1_epi16(127)), 7);
}

/* Sixteen pixels, eight at a and eight at b, as Y, Cb, Cr in 16-bit
 * lanes; Cb and Cr not yet limited (pure blue or red gives 256). */
struct Ycc16 {
    __m256i y, cb, cr;
};

/* pmaddubsw weights: a for the low byte of each 16-bit lane, b for the
 * high byte. */
static AVX2 inline __m256i ByteWeights(int a, int b)
{
    return _mm256_set1_epi16((int16_t)((uint8_t)a | (uint8_t)b << 8));
}

template <class Pixel>
static AVX2 inline Ycc16 Convert16(const uint8_t *a, const uint8_t *b)
{
    ChannelPairs p = Pixel::Load(a, b);
    /* Each pmaddubsw forms a weighted sum of a pair, each product at most
     * 128 * 255 in size, so none saturates; 128 B and 128 R are taken as
     * 64 twice, from two pairs. */
    Ycc16 c;
    /* 77 R + 150 G + 29 B + 128 as (77 R + 51 G) + (99 G + 29 B) + 128, at
     * most 65408: unsigned 16-bit. */
    c.y = _mm256_add_epi16(_mm256_add_epi16(_mm256_maddubs_epi16(p.rg, ByteWeights(77, 51)),
                                            _mm256_maddubs_epi16(p.gb, ByteWeights(99, 29))),
                           _mm256_set1_epi16(128));
    c.y = _mm256_srli_epi16(c.y, 8);
    c.cb = ChromaFromDifference(_mm256_add_epi16(_mm256_maddubs_epi16(p.br, ByteWeights(64, -43)),
                                                 _mm256_maddubs_epi16(p.gb, ByteWeights(-85, 64))));
    c.cr = ChromaFromDifference(_mm256_add_epi16(_mm256_maddubs_epi16(p.rg, ByteWeights(64, -107)),
                                                 _mm256_maddubs_epi16(p.br, ByteWeights(-21, 64))));
    return c;
}

/* Sixteen samples of 16-bit lanes, limited to 255, as bytes at p. */
static AVX2 inline void Store16(uint8_t *p, __m256i v)
{
    __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(v, v), 0xD8);
    _mm_storeu_si128((__m128i *)p, _mm256_castsi256_si128(bytes));
}

/* The first eight lanes as bytes at left, the last eight at right. */
static AVX2 inline void StoreHalves(uint8_t *left, uint8_t *right, __m256i v)
{
    __m256i bytes = _mm256_packus_epi16(v, v);
    _mm_storel_epi64((__m128i *)left, _mm256_castsi256_si128(bytes));
    _mm_storel_epi64((__m128i *)right, _mm256_extracti128_si256(bytes, 1));
}

/* Chroma limited to 255, as the sampler sees it. */
static AVX2 inline __m256i Limit(__m256i v)
{
    return _mm256_min_epi16(v, _mm256_set1_epi16(255));
}

/* Sums of the eight horizontal pairs of lanes of cb and of cr (each sum
 * below 2^15), shifted right, as eight bytes at cb_at and at cr_at. */
static AVX2 inline void StorePairMeans(uint8_t *cb_at, uint8_t *cr_at, __m256i cb, __m256i cr,
                                       int shift)
{
    const __m256i ones = _mm256_set1_epi16(1);
    /* Words Cb 0-3, Cr 0-3 in the low half, Cb 4-7, Cr 4-7 in the high. */
    __m256i sums = _mm256_packs_epi32(_mm256_madd_epi16(cb, ones), _mm256_madd_epi16(cr, ones));
    __m256i bytes = _mm256_packus_epi16(_mm256_srli_epi16(sums, shift), sums);
    __m128i both = _mm256_castsi256_si128(
        _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 0, 0, 0, 0)));
    _mm_storel_epi64((__m128i *)cb_at, both);
    _mm_storel_epi64((__m128i *)cr_at, _mm_unpackhi_epi64(both, both));
}

/* The MCU buffer for each sampling, built from the converted rows with
 * the samplers' means (truncating, of samples limited to 255). */
enum { MCU_420, MCU_422, MCU_444 };

/* Converts the MCU's rows, given by their pixel pointers. */
template <class Pixel, int kOut, class RowAt>
static AVX2 inline void ConvertRows(RowAt row, uint8_t *mcu)
{
    enum { BPP = Pixel::kBytesPerPixel };
    if (kOut == MCU_420) {
        /* Y blocks top-left, top-right, bottom-left, bottom-right. */
        for (uint32_t i = 0; i < 16; i += 2) {
            Ycc16 top = Convert16<Pixel>(row(i), row(i) + 8 * BPP);
            Ycc16 low = Convert16<Pixel>(row(i + 1), row(i + 1) + 8 * BPP);
            uint8_t *y = mcu + 128 * (i / 8) + 8 * (i % 8);
            StoreHalves(y, y + 64, top.y);
            StoreHalves(y + 8, y + 72, low.y);
            StorePairMeans(mcu + MCU420_CB + 4 * i, mcu + MCU420_CR + 4 * i,
                           _mm256_add_epi16(Limit(top.cb), Limit(low.cb)),
                           _mm256_add_epi16(Limit(top.cr), Limit(low.cr)), 2);
        }
    } else if (kOut == MCU_422) {
        for (uint32_t i = 0; i < 8; ++i) {
            Ycc16 c = Convert16<Pixel>(row(i), row(i) + 8 * BPP);
            StoreHalves(mcu + 8 * i, mcu + 64 + 8 * i, c.y);
            StorePairMeans(mcu + MCU422_CB + 8 * i, mcu + MCU422_CR + 8 * i, Limit(c.cb),
                           Limit(c.cr), 1);
        }
    } else {
        /* Two 8-wide rows a step; the blocks are the planes. */
        for (uint32_t i = 0; i < 8; i += 2) {
            Ycc16 c = Convert16<Pixel>(row(i), row(i + 1));
            Store16(mcu + 8 * i, c.y);
            Store16(mcu + MCU444_CB + 8 * i, c.cb);
            Store16(mcu + MCU444_CR + 8 * i, c.cr);
        }
    }
}

/* A row that ends inside the MCU, completed with copies of its last pixel. */
static void PadRow(uint8_t *dst, const uint8_t *src, uint32_t columns, uint32_t mcu_width,
                   uint32_t bpp)
{
    memcpy(dst, src, (size_t)columns * bpp);
    for (uint32_t j = columns; j < mcu_width; ++j)
        memcpy(dst + (size_t)j * bpp, dst + (size_t)(columns - 1) * bpp, bpp);
}

/* The MCU as kOut says, from the pixels of its rows. */
template <class Pixel, int kOut>
static AVX2 int ReadColourMcuAvx2(EncoderContext *ctx, uint8_t *mcu)
{
    enum { BPP = Pixel::kBytesPerPixel };
    const ByteStream *in = ctx->input;
    const uint32_t width = ctx->mcu_width, height = ctx->mcu_height;
    const McuPlace m = PlaceMcu(ctx);
    const uint32_t stride = ctx->row_stride;
    uint64_t offset = TopRowOffset(ctx, &m, BPP);

    if (m.columns == width && m.rows_available >= height) {
        /* The top row lies highest in memory: if it fits, all rows do, and
         * if not, the plain reader fails on it too. */
        if (offset + (uint64_t)m.columns * BPP > in->size) {
            JpegStatusOr(JPEG_ERR_BOUNDS);
            return 0;
        }
        const uint8_t *top = in->data + offset;
        ConvertRows<Pixel, kOut>([top, stride](uint32_t i) { return top - (size_t)i * stride; },
                                 mcu);
        return 1;
    }
    uint8_t padded[16][16 * BPP];
    const uint8_t *rows[16];
    for (uint32_t i = 0; i < height; ++i) {
        if (i >= m.rows_available) {
            rows[i] = rows[i - 1];
            continue;
        }
        if (offset + (uint64_t)m.columns * BPP > in->size) {
            JpegStatusOr(JPEG_ERR_BOUNDS);
            return 0;
        }
        rows[i] = in->data + offset;
        if (m.columns < width) {
            PadRow(padded[i], rows[i], m.columns, width, BPP);
            rows[i] = padded[i];
        }
        offset -= stride;
    }
    ConvertRows<Pixel, kOut>([&rows](uint32_t i) { return rows[i]; }, mcu);
    return 1;
}

/* The readers of one output form, by depth (16, 24, 32) and channel order
 * (red low, blue low). */
template <int kOut>
struct ReaderSet {
    static constexpr PixelReader kReaders[3][2] = {
        {ReadColourMcuAvx2<Bits555<0>, kOut>, ReadColourMcuAvx2<Bits555<2>, kOut>},
        {ReadColourMcuAvx2<Bytes<3, 0>, kOut>, ReadColourMcuAvx2<Bytes<3, 2>, kOut>},
        {ReadColourMcuAvx2<Bytes<4, 0>, kOut>, ReadColourMcuAvx2<Bytes<4, 2>, kOut>},
    };
};

PixelReader ColourReaderAvx2(uint16_t bits_per_pixel, bool blue_low, uint8_t sampling)
{
    const int depth = bits_per_pixel / 8 - 2;
    switch (sampling) {
    case JPEG_SAMPLING_420: return ReaderSet<MCU_420>::kReaders[depth][blue_low];
    case JPEG_SAMPLING_422: return ReaderSet<MCU_422>::kReaders[depth][blue_low];
    default: return ReaderSet<MCU_444>::kReaders[depth][blue_low];
    }
}

#endif
