/*
 * velmoraj.h - baseline JPEG (JFIF 1.01) encoder for bottom-up bitmaps.
 *
 * A host fills a JpegJob and calls Jpeg_EncodeStart twice: in measure mode
 * to learn the exact stream length, then in encode mode with an output
 * buffer of that length.
 */
#ifndef DRIVER_LJPEG_UM_VELMORAJ_H
#define DRIVER_LJPEG_UM_VELMORAJ_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define VELMORAJ_CALL __stdcall
#define VELMORAJ_EXPORT
#else
#define VELMORAJ_CALL
#define VELMORAJ_EXPORT __attribute__((visibility("default")))
#endif

/* One encoding job. The library reads every field and writes only
 * output_size. Natural alignment; the layout is part of the interface. */
typedef struct JpegJob {
    const uint8_t *input;    /* first byte of the bottom-up pixel rows */
    uint32_t input_size;     /* bytes that may be read at input */
    uint8_t *output;         /* encode mode: where the stream goes */
    uint32_t output_size;    /* in: capacity (encode mode); out: stream length, 0 on failure */
    uint32_t width;          /* pixels per row, 1..65535 */
    uint32_t height;         /* rows, 1..65535 */
    uint32_t reserved;       /* not read */
    uint16_t bits_per_pixel; /* 8 (grey), 16 (5-5-5), 24 or 32 */
    uint8_t quality;         /* 1..100 */
    uint8_t sampling;        /* JPEG_SAMPLING_420, _422 or _444 */
    uint8_t channel_order;   /* JPEG_ORDER_BLUE_LOW (1) or red low (any other value) */
} JpegJob;

enum { JPEG_MODE_MEASURE = 0, JPEG_MODE_ENCODE = 1 };

enum { JPEG_SAMPLING_420 = 0, JPEG_SAMPLING_422 = 1, JPEG_SAMPLING_444 = 2 };

enum { JPEG_ORDER_RED_LOW = 0, JPEG_ORDER_BLUE_LOW = 1 };

/* Status word: 0x2000 with the codes of a failure ORed in. */
enum {
    JPEG_STATUS_BASE = 0x2000,
    JPEG_ERR_SIZE = 0x0030,    /* width or height 0 (or above 65535) */
    JPEG_ERR_PARAM = 0x0F00,   /* quality, sampling or mode out of range */
    JPEG_ERR_DEPTH = 0x01A0,   /* bits per pixel not 8, 16, 24 or 32 */
    JPEG_ERR_OPTIONS = 0x0190, /* internal options record rejected */
    JPEG_ERR_BOUNDS = 0x0005,  /* read or write past a buffer */
    JPEG_ERR_APP0 = 0x0090,
    JPEG_ERR_DHT = 0x0040,
    JPEG_ERR_DQT = 0x0050,
    JPEG_ERR_SOF0 = 0x0070,
    JPEG_ERR_SCAN = 0x0080
};

/* Returns 0 on success (output_size holds the stream length), otherwise
 * the status word. */
VELMORAJ_EXPORT uint16_t VELMORAJ_CALL Jpeg_EncodeStart(JpegJob *job, uint8_t mode);

#ifdef __cplusplus
}
#endif

#endif /* DRIVER_LJPEG_UM_VELMORAJ_H */
