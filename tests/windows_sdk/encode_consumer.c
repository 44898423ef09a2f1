/* A C host of VELMORAJ: encodes a 2x2 bitmap, measure then encode.
 * Returns 0 when both calls agree on a JPEG stream. */
#include <velmoraj.h>

#include "consumer.h"

int CheckEncoder(void)
{
    static const uint8_t pixels[16] = {0, 0, 255, 255, 255, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0};
    uint8_t stream[1024];
    uint32_t measured;
    JpegJob job = {0};
    job.input = pixels;
    job.input_size = sizeof pixels;
    job.width = 2;
    job.height = 2;
    job.bits_per_pixel = 24;
    job.quality = 75;
    job.sampling = JPEG_SAMPLING_420;
    job.channel_order = JPEG_ORDER_BLUE_LOW;
    if (Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE) != 0 || job.output_size > sizeof stream)
        return 1;
    measured = job.output_size;
    job.output = stream;
    if (Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE) != 0)
        return 2;
    return job.output_size != measured || stream[0] != 0xFF || stream[1] != 0xD8;
}
