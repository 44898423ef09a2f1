// Byte streams: a memory stream over a caller's buffer and a counting
// stream that only measures. Both fill the same fourteen slots; the shared
// bit packing is written once over an emitter that differs by kind.
#include <string.h>

#include "jpeginternal.h"

typedef int (*EmitFn)(ByteStream *s, uint8_t byte);

// Stores one byte at the position; 0 when it would pass the end.
static int MemoryEmit(ByteStream *s, uint8_t byte)
{
    if ((uint64_t)s->position + 1 > s->size)
        return 0;
    s->data[s->position++] = byte;
    return 1;
}

// Counts one byte and raises the high-water mark. A length that no longer
// fits 32 bits cannot be reported, so it fails instead of wrapping.
static int CountEmit(ByteStream *s, uint8_t)
{
    if (s->position == UINT32_MAX)
        return 0;
    s->position++;
    if (s->position > s->size)
        s->size = s->position;
    return 1;
}

// Places one bit MSB first; a completed byte goes out, with a stuffed 0x00
// after 0xFF. Returns 0 when an emission fails, without a status code; a
// byte that could not be emitted stays whole in the accumulator, and the
// stream takes no further bits.
template <EmitFn Emit>
static int PlaceBit(ByteStream *s, uint32_t bit)
{
    if (s->bit_count >= 8)
        return 0;
    s->bit_accumulator |= (bit & 1u) << (7 - s->bit_count);
    if (++s->bit_count < 8)
        return 1;
    uint8_t byte = (uint8_t)s->bit_accumulator;
    if (!Emit(s, byte))
        return 0;
    s->bit_count = 0;
    s->bit_accumulator = 0;
    return byte != 0xFF || Emit(s, 0x00);
}

template <EmitFn Emit>
static int WriteBitOp(ByteStream *s, uint32_t bit)
{
    if (PlaceBit<Emit>(s, bit))
        return 1;
    JpegStatusOr(JPEG_ERR_BOUNDS);
    return 0;
}

// Failing WriteBits reports no code of its own.
template <EmitFn Emit>
static int WriteBitsOp(ByteStream *s, uint8_t count, uint16_t value)
{
    for (int i = count - 1; i >= 0; i--) {
        uint32_t bit = i < 16 ? (uint32_t)(value >> i) & 1u : 0u; /* a 16-bit value has no bit 16 */
        if (!PlaceBit<Emit>(s, bit))
            return 0;
    }
    return 1;
}

// A pending partial byte goes out first, zero-padded and unstuffed; the
// byte itself is never stuffed.
template <EmitFn Emit>
static int WriteByteOp(ByteStream *s, uint8_t value)
{
    if (s->bit_count != 0) {
        uint8_t pending = (uint8_t)(s->bit_accumulator & (0xFF00u >> s->bit_count));
        if (!Emit(s, pending)) {
            JpegStatusOr(JPEG_ERR_BOUNDS);
            return 0;
        }
        s->bit_count = 0;
    }
    if (Emit(s, value))
        return 1;
    JpegStatusOr(JPEG_ERR_BOUNDS);
    return 0;
}

// Completes a partial byte with 1-bits (0xFF >> n) and emits it.
template <EmitFn Emit>
static int FlushBitsOp(ByteStream *s)
{
    if (s->bit_count == 0)
        return 1;
    uint8_t byte = (uint8_t)(s->bit_accumulator | (0xFFu >> s->bit_count));
    if (Emit(s, byte)) {
        s->bit_count = 0;
        if (byte != 0xFF || Emit(s, 0x00))
            return 1;
    }
    JpegStatusOr(JPEG_ERR_BOUNDS);
    return 0;
}

static int Write16Big(ByteStream *s, uint16_t v)
{
    return s->WriteByte(s, (uint8_t)(v >> 8)) && s->WriteByte(s, (uint8_t)v);
}
static int Write16Little(ByteStream *s, uint16_t v)
{
    return s->WriteByte(s, (uint8_t)v) && s->WriteByte(s, (uint8_t)(v >> 8));
}
static int Write32Big(ByteStream *s, uint32_t v)
{
    return s->Write16(s, (uint16_t)(v >> 16)) && s->Write16(s, (uint16_t)v);
}
static int Write32Little(ByteStream *s, uint32_t v)
{
    return s->Write16(s, (uint16_t)v) && s->Write16(s, (uint16_t)(v >> 16));
}

static void SetWriteOrder(ByteStream *s, ByteOrder order)
{
    s->Write16 = order == STREAM_LITTLE_ENDIAN ? Write16Little : Write16Big;
    s->Write32 = order == STREAM_LITTLE_ENDIAN ? Write32Little : Write32Big;
}

static uint32_t Tell(ByteStream *s)
{
    return s->position;
}

// ---- Memory stream reads --------------------------------------------

// Checks that n bytes can be read at the position; discards unread bits.
static const uint8_t *TakeBytes(ByteStream *s, uint32_t n)
{
    s->bit_count = 0;
    if ((uint64_t)s->position + n > s->size) {
        JpegStatusOr(JPEG_ERR_BOUNDS);
        return nullptr;
    }
    const uint8_t *p = s->data + s->position;
    s->position += n;
    return p;
}

static int MemoryReadByte(ByteStream *s, uint8_t *value)
{
    const uint8_t *p = TakeBytes(s, 1);
    if (!p)
        return 0;
    *value = p[0];
    return 1;
}

static int Read16Little(ByteStream *s, uint16_t *value)
{
    const uint8_t *p = TakeBytes(s, 2);
    if (!p)
        return 0;
    *value = (uint16_t)(p[0] | p[1] << 8);
    return 1;
}
static int Read16Big(ByteStream *s, uint16_t *value)
{
    const uint8_t *p = TakeBytes(s, 2);
    if (!p)
        return 0;
    *value = (uint16_t)(p[0] << 8 | p[1]);
    return 1;
}
static int Read32Little(ByteStream *s, uint32_t *value)
{
    const uint8_t *p = TakeBytes(s, 4);
    if (!p)
        return 0;
    *value = (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
    return 1;
}
static int Read32Big(ByteStream *s, uint32_t *value)
{
    const uint8_t *p = TakeBytes(s, 4);
    if (!p)
        return 0;
    *value = (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | (uint32_t)p[3];
    return 1;
}

static void MemorySetReadOrder(ByteStream *s, ByteOrder order)
{
    s->Read16 = order == STREAM_LITTLE_ENDIAN ? Read16Little : Read16Big;
    s->Read32 = order == STREAM_LITTLE_ENDIAN ? Read32Little : Read32Big;
}

// Bits come MSB first; a 0xFF byte must be followed by a stuffed 0x00,
// which is skipped. A bad or missing stuffing byte fails after the bit
// has been delivered.
static int MemoryReadBit(ByteStream *s, uint16_t *bit)
{
    if (s->bit_count > 0) {
        s->bit_count--;
        *bit = (uint16_t)((s->bit_accumulator >> s->bit_count) & 1u);
        return 1;
    }
    if ((uint64_t)s->position + 1 > s->size) {
        JpegStatusOr(JPEG_ERR_BOUNDS);
        return 0;
    }
    s->bit_accumulator = s->data[s->position++];
    s->bit_count = 7;
    *bit = (uint16_t)(s->bit_accumulator >> 7);
    if (s->bit_accumulator != 0xFF)
        return 1;
    if (s->position < s->size && s->data[s->position] == 0x00) {
        s->position++;
        return 1;
    }
    JpegStatusOr(JPEG_ERR_BOUNDS);
    return 0;
}

// Targets wrap in 32 bits and must lie inside the buffer; the end itself
// is not a valid target.
static int MemorySeek(ByteStream *s, int32_t offset, SeekOrigin origin)
{
    uint32_t base;
    switch (origin) {
    case SEEK_FROM_START: base = 0; break;
    case SEEK_FROM_CURRENT: base = s->position; break;
    case SEEK_FROM_END: base = s->size; break;
    default: return 0;
    }
    uint32_t target = base + (uint32_t)offset;
    if (target >= s->size) {
        JpegStatusOr(JPEG_ERR_BOUNDS);
        return 0;
    }
    s->position = target;
    return 1;
}

// ---- Counting stream ------------------------------------------------

static void CountingSetOrder(ByteStream *, ByteOrder) {}
static int CountingReadBit(ByteStream *, uint16_t *)
{
    return 0;
}
static int CountingReadByte(ByteStream *, uint8_t *)
{
    return 0;
}
static int CountingRead16(ByteStream *, uint16_t *)
{
    return 0;
}
static int CountingRead32(ByteStream *, uint32_t *)
{
    return 0;
}

static int CountingSeek(ByteStream *s, int32_t offset, SeekOrigin origin)
{
    int64_t base;
    switch (origin) {
    case SEEK_FROM_START: base = 0; break;
    case SEEK_FROM_CURRENT: base = s->position; break;
    case SEEK_FROM_END: base = s->size; break;
    default: return 0;
    }
    int64_t target = base + offset;
    if (target < 0)
        return 0;
    s->position = (uint32_t)target;
    return 1;
}

// Big-endian unless told otherwise, so the counting stream's Write16 and
// Write32 slots are filled like a memory stream's; the counts are equal.
void InitCountingStream(ByteStream *s)
{
    memset(s, 0, sizeof *s);
    s->SetReadOrder = CountingSetOrder;
    s->SetWriteOrder = CountingSetOrder;
    s->Tell = Tell;
    s->Seek = CountingSeek;
    s->ReadBit = CountingReadBit;
    s->ReadByte = CountingReadByte;
    s->Read16 = CountingRead16;
    s->Read32 = CountingRead32;
    s->WriteBit = WriteBitOp<CountEmit>;
    s->WriteByte = WriteByteOp<CountEmit>;
    s->Write16 = Write16Big;
    s->Write32 = Write32Big;
    s->FlushBits = FlushBitsOp<CountEmit>;
    s->WriteBits = WriteBitsOp<CountEmit>;
    s->kind = STREAM_KIND_COUNTING;
}

void InitMemoryStream(ByteStream *s, uint32_t size, uint8_t *buffer)
{
    memset(s, 0, sizeof *s);
    s->SetReadOrder = MemorySetReadOrder;
    s->SetWriteOrder = SetWriteOrder;
    s->Tell = Tell;
    s->Seek = MemorySeek;
    s->ReadBit = MemoryReadBit;
    s->ReadByte = MemoryReadByte;
    s->WriteBit = WriteBitOp<MemoryEmit>;
    s->WriteByte = WriteByteOp<MemoryEmit>;
    s->FlushBits = FlushBitsOp<MemoryEmit>;
    s->WriteBits = WriteBitsOp<MemoryEmit>;
    s->kind = STREAM_KIND_MEMORY;
    s->data = buffer;
    s->size = buffer ? size : 0;
    s->SetReadOrder(s, STREAM_LITTLE_ENDIAN);
    s->SetWriteOrder(s, STREAM_LITTLE_ENDIAN);
}

int AppendBytes(ByteStream *s, const uint8_t *bytes, uint32_t count)
{
    if (count > RoomLeft(s))
        return 0;
    if (!StreamIsCounting(s))
        memcpy(NextBytes(s), bytes, count);
    CommitBytes(s, count);
    return 1;
}
