/* Encodes a 2x2 bitmap with the installed library: measure, then encode. */
#include <stdio.h>
#include <velmoraj.h>

int main(void)
{
    static const uint8_t pixels[16] = {0, 0, 255, 255, 255, 255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0};
    uint8_t stream[1024];
    JpegJob job = {pixels, sizeof pixels, stream, 0, 2, 2, 0, 24, 75, JPEG_SAMPLING_420, 1};
    if (Jpeg_EncodeStart(&job, JPEG_MODE_MEASURE) != 0 || job.output_size > sizeof stream)
        return 1;
    uint32_t measured = job.output_size;
    uint16_t status = Jpeg_EncodeStart(&job, JPEG_MODE_ENCODE);
    printf("status 0x%04X, %u bytes\n", status, (unsigned)job.output_size);
    return status != 0 || job.output_size != measured || stream[0] != 0xFF || stream[1] != 0xD8;
}
