/*
 * bytestream.h - the byte stream record, and the routines through which
 * the block coders hand over the bits they pack themselves.
 */
#ifndef DRIVER_LJPEG_UM_BYTESTREAM_H
#define DRIVER_LJPEG_UM_BYTESTREAM_H

#include <stdint.h>

/* A stream's kind flag, and the encoder context's stream kind, which is
 * its output's flag with bit 1 set. */
enum StreamKind {
    STREAM_KIND_COUNTING = 0,
    STREAM_KIND_MEMORY = 1,
    STREAM_KIND_MEASURE = 2 | STREAM_KIND_COUNTING,
    STREAM_KIND_ENCODE = 2 | STREAM_KIND_MEMORY
};

/* Byte order of Read16/Read32 and Write16/Write32; any value but
 * STREAM_LITTLE_ENDIAN reads and writes big-endian. */
enum ByteOrder : uint32_t { STREAM_BIG_ENDIAN = 0, STREAM_LITTLE_ENDIAN = 1 };

enum SeekOrigin : uint32_t { SEEK_FROM_START = 0, SEEK_FROM_CURRENT = 1, SEEK_FROM_END = 2 };

/* Fourteen operation slots, then the state. Both kinds share the layout;
 * the kind only decides which routines fill the slots. The byte order of
 * Read16/Read32 and Write16/Write32 is also a choice of routines, so
 * SetReadOrder and SetWriteOrder refill those slots. */
typedef struct ByteStream ByteStream;
struct ByteStream {
    void (*SetReadOrder)(ByteStream *s, ByteOrder order);
    void (*SetWriteOrder)(ByteStream *s, ByteOrder order);
    uint32_t (*Tell)(ByteStream *s);
    int (*Seek)(ByteStream *s, int32_t offset, SeekOrigin origin);
    int (*ReadBit)(ByteStream *s, uint16_t *bit);
    int (*ReadByte)(ByteStream *s, uint8_t *value);
    int (*Read16)(ByteStream *s, uint16_t *value);
    int (*Read32)(ByteStream *s, uint32_t *value);
    int (*WriteBit)(ByteStream *s, uint32_t bit);
    int (*WriteByte)(ByteStream *s, uint8_t value);
    int (*Write16)(ByteStream *s, uint16_t value);
    int (*Write32)(ByteStream *s, uint32_t value);
    int (*FlushBits)(ByteStream *s);
    int (*WriteBits)(ByteStream *s, uint8_t count, uint16_t value);

    uint32_t bit_accumulator; /* byte being assembled / being read */
    uint32_t bit_count;       /* bits placed (writing) or left (reading) */
    uint8_t kind;             /* STREAM_KIND_MEMORY or STREAM_KIND_COUNTING */
    uint8_t *data;            /* memory stream: the buffer */
    uint32_t size;            /* memory: buffer length; counting: high-water mark */
    uint32_t position;        /* next byte (memory) or bytes counted (counting) */
};

void InitMemoryStream(ByteStream *s, uint32_t size, uint8_t *buffer);
void InitCountingStream(ByteStream *s);

/* ---- Handing bits over ---------------------------------------------
 * A coder takes the pending bits, packs its own bits after them with the
 * stuffing below, appends the finished bytes and gives the bits of the
 * last partial byte back. */

static inline bool StreamIsCounting(const ByteStream *s)
{
    return s->kind == STREAM_KIND_COUNTING;
}

/* The bits of the partial byte, right-aligned; *count receives how many
 * (0 to 7). */
static inline uint32_t TakePendingBits(const ByteStream *s, uint32_t *count)
{
    *count = s->bit_count;
    return (s->bit_accumulator & 0xFFu) >> (8 - s->bit_count);
}

/* Makes the low count bits of bits (count below 8) the partial byte. */
static inline void GivePendingBits(ByteStream *s, uint64_t bits, uint32_t count)
{
    s->bit_accumulator = (uint32_t)(bits << (8 - count)) & 0xFFu;
    s->bit_count = count;
}

/* Bytes that may still be appended: up to the buffer's end, or up to the
 * largest count a 32-bit length can report. */
static inline uint32_t RoomLeft(const ByteStream *s)
{
    return (StreamIsCounting(s) ? UINT32_MAX : s->size) - s->position;
}

/* Where a coder that writes in place stores the next bytes; nullptr for a
 * counting stream, whose bytes are only counted. */
static inline uint8_t *NextBytes(ByteStream *s)
{
    return StreamIsCounting(s) ? nullptr : s->data + s->position;
}

/* Moves past count bytes (at most RoomLeft) stored at NextBytes; a
 * counting stream raises its high-water mark. */
static inline void CommitBytes(ByteStream *s, uint32_t count)
{
    s->position += count;
    if (StreamIsCounting(s) && s->position > s->size)
        s->size = s->position;
}

/* Appends count bytes whole, or none and returns 0 when they do not fit. */
int AppendBytes(ByteStream *s, const uint8_t *bytes, uint32_t count);

/* Entropy-coded data carries a stuffed 0x00 after every 0xFF byte. A
 * packer appends a finished byte to out[*len] with PutStuffed, or only
 * counts it with CountStuffed. */
static inline void PutStuffed(uint8_t *out, uint32_t *len, uint8_t byte)
{
    out[(*len)++] = byte;
    if (byte == 0xFF)
        out[(*len)++] = 0x00;
}

static inline void CountStuffed(uint32_t *len, uint8_t byte)
{
    ++*len;
    if (byte == 0xFF)
        ++*len;
}

#endif /* DRIVER_LJPEG_UM_BYTESTREAM_H */
