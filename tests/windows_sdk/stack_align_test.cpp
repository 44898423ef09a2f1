// A 32-bit host built without 16-byte stack alignment calls the exports with
// the stack aligned to 4 bytes only. Both exports, called through a thunk
// that leaves the stack at 4, 8 and 12 bytes past a 16-byte boundary, give
// the results of an aligned call and do not fault.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "previewtest.h"
#include "testimage.h"

// CallAtStackOffset(fn, args, count, offset) calls the stdcall function fn
// with count 32-bit arguments; at its call instruction the stack pointer is
// offset bytes past a multiple of 16. StackAtCall@4 returns the stack pointer
// its caller had at the call.
extern "C" uint32_t CallAtStackOffset(const void *fn, const uint32_t *args, uint32_t count,
                                      uint32_t offset);
extern "C" uint32_t __stdcall StackAtCall(uint32_t unused);
asm(R"(
    .text
    .globl _CallAtStackOffset
_CallAtStackOffset:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    movl 16(%ebp), %ecx
    leal 0(,%ecx,4), %eax
    leal -32(%esp), %edx
    subl %eax, %edx
    andl $-16, %edx
    addl 20(%ebp), %edx
    leal (%edx,%eax), %esp
    movl 12(%ebp), %esi
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    leal -4(%ebp), %esp
    popl %esi
    popl %ebp
    ret

    .globl _StackAtCall@4
_StackAtCall@4:
    leal 4(%esp), %eax
    ret $4
)");

namespace {

const uint32_t kOffsets[] = {4, 8, 12};
uint32_t g_offset = 0;

uint32_t Arg(const void *p)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

std::vector<uint8_t> Encode(const HostBitmap &bitmap, uint8_t sampling, uint32_t offset)
{
    JpegJob job = {};
    FillJob(bitmap, &job);
    job.quality = 75;
    job.sampling = sampling;
    const void *fn = reinterpret_cast<const void *>(&Jpeg_EncodeStart);
    uint32_t measure[] = {Arg(&job), JPEG_MODE_MEASURE};
    if (uint16_t(CallAtStackOffset(fn, measure, 2, offset)) != 0)
        return {};
    std::vector<uint8_t> stream(job.output_size);
    job.output = stream.data();
    uint32_t encode[] = {Arg(&job), JPEG_MODE_ENCODE};
    if (uint16_t(CallAtStackOffset(fn, encode, 2, offset)) != 0)
        return {};
    return stream;
}

DispCheckFcsWindowFn g_pfnExport = nullptr;

int WINAPI ShowAtStackOffset(HWND hwnd, HENHMETAFILE hemf, DWORD dw, int x, int y)
{
    uint32_t args[] = {Arg(hwnd), Arg(hemf), dw, uint32_t(x), uint32_t(y)};
    return int(CallAtStackOffset(reinterpret_cast<const void *>(g_pfnExport), args, 5, g_offset));
}

}  // namespace

TEST(StackAlignment, TheThunkLeavesTheStackAtEachOffset)
{
    for (uint32_t offset : kOffsets) {
        uint32_t arg = 0;
        EXPECT_EQ(offset,
                  CallAtStackOffset(reinterpret_cast<const void *>(&StackAtCall), &arg, 1, offset) %
                      16);
    }
}

TEST(StackAlignment, EncoderGivesTheAlignedStreamAtEveryOffset)
{
    const HostBitmap colour = MakeTestImage(67, 45, 24), grey = MakeTestImage(67, 45, 8);
    for (const HostBitmap *bitmap : {&colour, &grey}) {
        for (uint8_t sampling : {JPEG_SAMPLING_420, JPEG_SAMPLING_422, JPEG_SAMPLING_444}) {
            const std::vector<uint8_t> aligned = Encode(*bitmap, sampling, 0);
            ASSERT_FALSE(aligned.empty());
            for (uint32_t offset : kOffsets)
                EXPECT_EQ(aligned, Encode(*bitmap, sampling, offset))
                    << bitmap->bits_per_pixel << " bpp, sampling " << int(sampling) << ", offset "
                    << offset;
        }
    }
}

TEST_F(PreviewTest, PreviewOpensAndClosesAtEveryStackOffset)
{
    g_pfnExport = lib.pfnShow;
    lib.pfnShow = ShowAtStackOffset;
    for (uint32_t offset : kOffsets) {
        g_offset = offset;
        int nResult = RunPreview(lib, parent, sheet, 12, -3,
                                 {Wait(150), {50, [](const PreviewWindows &w) {
                                                  SendMessageW(w.frame, WM_COMMAND, IDM_ZOOMIN, 0);
                                                  PostKey(w.view, VK_ESCAPE);
                                              }}});
        ExpectClosed(nResult);
    }
}
