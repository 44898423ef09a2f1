/*
 * Fast variants of the encoder's hot routines. Each gives exactly the
 * result of its plain counterpart; set-up puts them in the encoder
 * context's routine slots when the CPU has the instructions they need.
 */
#ifndef DRIVER_LJPEG_UM_SIMD_FAST_ROUTINES_H
#define DRIVER_LJPEG_UM_SIMD_FAST_ROUTINES_H

#include <stdint.h>

#include "jpeginternal.h"

#if defined(__x86_64__) || defined(__i386__)
#define VELMORAJ_X86 1
#else
#define VELMORAJ_X86 0
#endif

/* Instruction sets found at run time. */
enum {
    CPU_SSE2 = 1,
    CPU_AVX2 = 2,
    CPU_BMI2 = 4,  /* with BMI1 and LZCNT */
    CPU_AVX512 = 8 /* F and BW */
};

/* The instruction sets of the running CPU (0 on other architectures). */
unsigned CpuFeatures(void);

/* ForwardDct, QuantiseBlock and the two in one, in AVX2 and in SSE2; the
 * transforms use the table's fast quantiser. */
void ForwardDctAvx2(const uint8_t block[64], int32_t out[64]);
void QuantiseBlockAvx2(const int32_t coef[64], const FastQuantiser *fq, int16_t out[64]);
void TransformBlockAvx2(const uint8_t block[64], const QuantTable *table, int16_t out[64]);
void ForwardDctSse2(const uint8_t block[64], int32_t out[64]);
void QuantiseBlockSse2(const int32_t coef[64], const FastQuantiser *fq, int16_t out[64]);
void TransformBlockSse2(const uint8_t block[64], const QuantTable *table, int16_t out[64]);

/* EncodeBlock for SSE2, and for AVX2 with BMI2. */
int EncodeBlockSse2(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64]);
int EncodeBlockBmi2(EncoderContext *ctx, ComponentSpec *comp, const int16_t block[64]);

/* The interval's MCU loop (the MCU coder slot) with those coders' packing,
 * the bit buffer kept in registers between blocks: for SSE2 through the
 * transform slot, and for AVX2 with BMI2 with the AVX2 transform built in
 * (two blocks at a time where it can). */
int EncodeMcusSse2(EncoderContext *ctx, uint32_t end);
int EncodeMcusAvx2(EncoderContext *ctx, uint32_t end);
/* The same with the packer's input formed in AVX-512, for CPUs that also
 * have AVX-512 F and BW. */
int EncodeMcusAvx512(EncoderContext *ctx, uint32_t end);
/* Both again for dense streams (high quality): eight bytes are stored
 * after every code instead of a branch on a full word, into a buffer
 * whose bytes each step then stuffs into the output or counts. */
int EncodeMcusAvx2Dense(EncoderContext *ctx, uint32_t end);
int EncodeMcusAvx512Dense(EncoderContext *ctx, uint32_t end);

/* The AVX2 colour reader for a depth (16, 24, 32 bits per pixel), channel
 * order and sampling value (0 to 2). It converts sixteen pixels a step and
 * builds the MCU buffer itself with the sampling's means, so the context's
 * sampler is not called. */
PixelReader ColourReaderAvx2(uint16_t bits_per_pixel, bool blue_low, uint8_t sampling);

/* The grey reader without a stream call per byte (portable). */
int ReadGreyMcuFast(EncoderContext *ctx, uint8_t *mcu);

/* Chroma samplers in SSE2. */
void Sample420Sse2(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr);
void Sample422Sse2(uint8_t *mcu, const uint8_t *y, const uint8_t *cb, const uint8_t *cr);

/* Replaces the plain routines in opts by the fastest variants this CPU
 * runs, AVX-512 ones only when allowed; the slots must hold the plain
 * routines for the job already. */
void SelectFastRoutines(const JpegJob *job, bool avx512, EncoderOptions *opts);

#endif
