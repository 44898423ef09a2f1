/*
 * jpeginternal.h - records and routines shared by the encoder's stages.
 * Not installed: tests and the benchmark include it to drive single stages.
 */
#ifndef DRIVER_LJPEG_UM_JPEGINTERNAL_H
#define DRIVER_LJPEG_UM_JPEGINTERNAL_H

#include <stdint.h>

#include "bytestream.h"
#include "fastquantiser.h"
#include "velmoraj.h"

/* ---- Status word (jpegstatus.cpp) ---------------------------------- */

void JpegStatusReset(void);
void JpegStatusOr(uint16_t code);
uint16_t JpegStatusGet(void);

/* ---- Tables -------------------------------------------------------- */

typedef struct QuantTable {
    uint8_t pq;
    uint8_t tq;
    uint16_t divisors[64]; /* 8 x the scaled value, natural order */
    FastQuantiser fast;    /* the same divisions as multiplies, for the fast transforms */
} QuantTable;

typedef struct HuffmanTable {
    uint8_t th;
    uint8_t ehufsi[256];  /* code length by symbol */
    uint16_t ehufco[256]; /* code by symbol, right-aligned */
    /* AC tables only, for the fast coders: by run * 16 + 16 - category
     * (category 1 to 16, the symbol masked to 8 bits as above), the
     * symbol's code shifted up by the category, and the length of code and
     * magnitude bits. */
    uint32_t run_code[256];
    uint8_t run_size[256];
} HuffmanTable;

typedef struct ComponentSpec {
    uint8_t id;
    uint8_t h;
    uint8_t v;
    int16_t dc_predictor;
    const HuffmanTable *dc_table;
    const HuffmanTable *ac_table;
    const QuantTable *quant_table;
} ComponentSpec;

/* ---- Encoder context and its routine slots ------------------------- */

typedef struct EncoderContext EncoderContext;

typedef int (*PixelReader)(EncoderContext *ctx, uint8_t *mcu);
typedef void (*ChromaSampler)(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr);
typedef void (*BlockTransform)(const uint8_t block[64], const QuantTable *table, int16_t out[64]);
typedef int (*BlockCoder)(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64]);
/* Codes the MCUs from MCUs done up to end (exclusive) of one interval. */
typedef int (*McuCoder)(EncoderContext *ctx, uint32_t end);

struct EncoderContext {
    uint8_t component_count;
    uint16_t image_height16;
    uint16_t image_width16;
    uint16_t restart_interval;
    uint32_t width;
    uint32_t height;
    uint32_t pixel_data_start;
    uint8_t quality;
    uint16_t stream_kind; /* STREAM_KIND_MEASURE or STREAM_KIND_ENCODE */
    uint8_t mcu_width;
    uint8_t mcu_height;
    uint16_t mcus_per_row;
    uint32_t total_mcus;
    uint32_t mcus_done;
    ComponentSpec components[3];
    uint32_t row_stride;
    ByteStream *input;
    ByteStream *output;
    PixelReader pixel_reader;
    BlockCoder block_coder;
    ChromaSampler chroma_sampler;   /* null for grey */
    BlockTransform block_transform; /* DCT and quantiser of one block */
    McuCoder mcu_coder;             /* the interval's MCU loop */
};

/* What the entry point hands to the encoder set-up. The routine slots are
 * filled by SelectRoutines, the one place that picks variants. */
typedef struct EncoderOptions {
    uint16_t version;
    uint16_t reserved;
    uint8_t quality;
    uint16_t restart_interval;
    uint16_t stream_kind;
    PixelReader pixel_reader;
    BlockCoder block_coder;
    ChromaSampler chroma_sampler;
    BlockTransform block_transform;
    McuCoder mcu_coder;
} EncoderOptions;

/* ---- Entry point (jpegentry.cpp, jpegsetup.cpp) -------------------- */

/* The routines set-up may choose from: the fastest this CPU runs, the same
 * without AVX-512, or only the plain reference routines. */
enum RoutineChoice : uint8_t { ROUTINES_FASTEST = 0, ROUTINES_NO_AVX512 = 1, ROUTINES_PLAIN = 2 };

typedef struct JpegInternalOptions {
    uint16_t restart_interval; /* MCUs per interval, 0 = one interval */
    uint8_t routines;          /* a RoutineChoice */
} JpegInternalOptions;

/* Jpeg_EncodeStart with a choice of restart interval and routines;
 * a null opts means the export's defaults. */
uint16_t JpegEncodeInternal(JpegJob *job, uint8_t mode, const JpegInternalOptions *opts);

void SelectRoutines(const JpegJob *job, uint8_t routines, EncoderOptions *opts);
int EncoderSetup(const JpegJob *job, const EncoderOptions *opts, ByteStream *input,
                 ByteStream *output, EncoderContext *ctx);

/* ---- MCU buffer and input rows --------------------------------------
 * The MCU buffer holds up to six blocks of 64 samples, row by row: the Y
 * blocks in raster order, then Cb, then Cr. */

enum {
    BLOCK_SAMPLES = 64,
    MCU_BUFFER_SIZE = 6 * BLOCK_SAMPLES,
    MCU420_CB = 4 * BLOCK_SAMPLES, /* after four Y blocks */
    MCU420_CR = 5 * BLOCK_SAMPLES,
    MCU422_CB = 2 * BLOCK_SAMPLES, /* after two */
    MCU422_CR = 3 * BLOCK_SAMPLES,
    MCU444_CB = 1 * BLOCK_SAMPLES, /* after one */
    MCU444_CR = 2 * BLOCK_SAMPLES,
    MCU_PLANE_SIZE = 16 * 16 /* a sample plane of the largest MCU */
};

/* Bytes per row of a bottom-up bitmap: rows are padded to 32 bits. */
static inline uint32_t DibRowStride(uint32_t width, uint32_t bits_per_pixel)
{
    return (uint32_t)(((uint64_t)width * bits_per_pixel + 31) / 32 * 4);
}

/* ---- Pixel readers (pixelreader.cpp) and samplers (chromasampler.cpp) */

int ReadGreyMcu(EncoderContext *ctx, uint8_t *mcu);
int ReadRgb16Mcu(EncoderContext *ctx, uint8_t *mcu); /* 5-5-5, red low */
int ReadBgr16Mcu(EncoderContext *ctx, uint8_t *mcu); /* 5-5-5, blue low */
int ReadRgb24Mcu(EncoderContext *ctx, uint8_t *mcu);
int ReadBgr24Mcu(EncoderContext *ctx, uint8_t *mcu);
int ReadRgb32Mcu(EncoderContext *ctx, uint8_t *mcu);
int ReadBgr32Mcu(EncoderContext *ctx, uint8_t *mcu);

void RgbToYcc(int r, int g, int b, uint8_t *y, uint8_t *cb, uint8_t *cr);

/* The Y blocks of a 16-wide MCU with block_rows rows of two blocks, from
 * its Y plane; the samplers' common first step. */
void CutYBlocks(uint8_t *mcu, const uint8_t *y, uint32_t block_rows);
void Sample420(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr);
void Sample422(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr);
void Sample444(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr);

/* ---- Headers (jpegheaders.cpp) ------------------------------------- */

int WriteJpegStream(EncoderContext *ctx);
int WriteApp0(EncoderContext *ctx);
int WriteDht(EncoderContext *ctx, HuffmanTable tables[4]);
int WriteDqt(EncoderContext *ctx, QuantTable tables[2]);
int WriteSof0(EncoderContext *ctx);
int WriteSos(EncoderContext *ctx);
int WriteDri(EncoderContext *ctx);

/* ---- Quantisation tables (quanttables.cpp) ------------------------- */

extern const uint8_t kBaseQuantTables[130];
/* k-th entry: natural (row-major) position of the k-th coefficient in the
 * zigzag order of T.81 Figure A.6. */
inline constexpr uint8_t kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

uint32_t QualityScale(uint8_t quality);
/* Fills the table from a 65-byte base entry; values receives the 64
 * scaled bytes in natural order. */
void ScaleQuantTable(const uint8_t *entry, uint32_t scale, QuantTable *table, uint8_t values[64]);

/* ---- DCT and quantiser (forwarddct.cpp) ---------------------------- */

void ForwardDct(const uint8_t block[64], int32_t out[64]);
void QuantiseBlock(const int32_t coef[64], const uint16_t divisors[64], int16_t out[64]);
void TransformBlock(const uint8_t block[64], const QuantTable *table, int16_t out[64]);

/* ---- Huffman tables (huffmantables.cpp) and coder (huffmancoder.cpp) */

extern const uint8_t kHuffmanTables[416];

uint16_t GenerateSizeTable(const uint8_t bits[16], uint8_t huffsize[257]);
void GenerateCodeTable(const uint8_t huffsize[257], uint16_t huffcode[256]);
/* Reads one table definition (Tc/Th, BITS, HUFFVAL) and builds its lookup;
 * returns the definition's length in bytes. */
uint32_t BuildHuffmanTable(const uint8_t *definition, HuffmanTable *table);

/* Magnitude category: the bit length of |x|. Without a branch: a DC
 * difference of 0 is common and unpredictable. */
static inline uint32_t Category(int32_t x)
{
    uint32_t a = (uint32_t)(x < 0 ? -x : x);
    return ((uint32_t)__builtin_clz(a | 1u) ^ 31u) + (a != 0);
}

/* The s low bits of x, or of x - 1 when x is negative (the one's
 * complement of |x|): the bits that follow the code of category s. */
static inline uint32_t MagnitudeBits(int32_t x, uint32_t s)
{
    return (uint32_t)(x - (x < 0)) & ((1u << s) - 1u);
}

int EncodeBlock(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64]);
int EncodeDc(EncoderContext *ctx, const HuffmanTable *table, int32_t diff);
int EncodeAc(EncoderContext *ctx, const HuffmanTable *table, const int16_t block[64]);

/* ---- Scan (scandriver.cpp) ----------------------------------------- */

int EncodeScan(EncoderContext *ctx);
int EncodeInterval(EncoderContext *ctx);
int EncodeMcus(EncoderContext *ctx, uint32_t end);

#endif /* DRIVER_LJPEG_UM_JPEGINTERNAL_H */
