#include "encode.h"

#include <cstdio>
#include <vector>

#include "velmoraj.h"

typedef uint16_t(VELMORAJ_CALL *EncodeStartFn)(JpegJob *, uint8_t);

enum { FAX_DPI = 200, HIMETRIC_PER_INCH = 2540 };

// A bottom-up 24-bit DIB section with the page played into it on white.
struct PageBitmap {
    HBITMAP hBitmap = nullptr;
    const uint8_t *pBits = nullptr;
    int cx = 0, cy = 0;
    uint32_t cbStride = 0;
};

static bool RenderPage(HENHMETAFILE hCoverSheet, PageBitmap *pPage)
{
    ENHMETAHEADER header = {};
    if (!GetEnhMetaFileHeader(hCoverSheet, sizeof(header), &header))
        return false;
    pPage->cx = MulDiv(header.rclFrame.right - header.rclFrame.left, FAX_DPI, HIMETRIC_PER_INCH);
    pPage->cy = MulDiv(header.rclFrame.bottom - header.rclFrame.top, FAX_DPI, HIMETRIC_PER_INCH);
    if (pPage->cx <= 0 || pPage->cy <= 0)
        return false;

    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = pPage->cx;
    bmi.bmiHeader.biHeight = pPage->cy;  // positive: bottom row first
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    void *pvBits = nullptr;
    pPage->hBitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (!pPage->hBitmap)
        return false;
    pPage->pBits = static_cast<const uint8_t *>(pvBits);
    pPage->cbStride = ((pPage->cx * 24 + 31) / 32) * 4;

    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, pPage->hBitmap);
    RECT rc = {0, 0, pPage->cx, pPage->cy};
    FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PlayEnhMetaFile(hdc, hCoverSheet, &rc);
    GdiFlush();
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return true;
}

static bool WriteFileBytes(const WCHAR *pszPath, const std::vector<uint8_t> &bytes)
{
    HANDLE hFile = CreateFileW(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD cbWritten = 0;
    BOOL bOk =
        WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten, nullptr);
    CloseHandle(hFile);
    return bOk && cbWritten == bytes.size();
}

// Measure first, then encode into a buffer of exactly the measured length,
// as a driver does.
static bool EncodeBitmap(EncodeStartFn pfnEncode, const PageBitmap &page,
                         const EncodeRequest &request, std::vector<uint8_t> *pJpeg)
{
    JpegJob job = {};
    job.input = page.pBits;
    job.input_size = page.cbStride * static_cast<uint32_t>(page.cy);
    job.width = static_cast<uint32_t>(page.cx);
    job.height = static_cast<uint32_t>(page.cy);
    job.bits_per_pixel = 24;
    job.quality = static_cast<uint8_t>(request.nQuality);
    job.sampling = static_cast<uint8_t>(request.nSampling);
    job.channel_order = JPEG_ORDER_BLUE_LOW;  // DIB pixels are blue, green, red

    uint16_t status = pfnEncode(&job, JPEG_MODE_MEASURE);
    if (status != 0) {
        std::printf("fcsview: measuring failed, status 0x%04X\n", status);
        return false;
    }
    const uint32_t cbMeasured = job.output_size;
    pJpeg->assign(cbMeasured, 0);
    job.output = pJpeg->data();
    job.output_size = cbMeasured;
    status = pfnEncode(&job, JPEG_MODE_ENCODE);
    if (status != 0 || job.output_size != cbMeasured) {
        std::printf("fcsview: encoding failed, status 0x%04X, %u of %u bytes\n", status,
                    job.output_size, cbMeasured);
        return false;
    }
    return true;
}

bool EncodeCoverSheet(HENHMETAFILE hCoverSheet, const WCHAR *pszFolder,
                      const EncodeRequest &request)
{
    WCHAR szDll[MAX_PATH];
    if (swprintf(szDll, MAX_PATH, L"%lsVELMORAJ.dll", pszFolder) < 0)
        return false;
    HMODULE hDll = LoadLibraryW(szDll);
    EncodeStartFn pfnEncode =
        hDll ? reinterpret_cast<EncodeStartFn>(GetProcAddress(hDll, "Jpeg_EncodeStart")) : nullptr;
    if (!pfnEncode) {
        std::printf("fcsview: cannot load Jpeg_EncodeStart from %ls\n", szDll);
        if (hDll)
            FreeLibrary(hDll);
        return false;
    }

    PageBitmap page;
    std::vector<uint8_t> jpeg;
    bool bOk = RenderPage(hCoverSheet, &page);
    if (!bOk)
        std::printf("fcsview: cannot render the cover sheet\n");
    bOk = bOk && EncodeBitmap(pfnEncode, page, request, &jpeg);
    if (bOk && !WriteFileBytes(request.pszOutput, jpeg)) {
        std::printf("fcsview: cannot write %ls\n", request.pszOutput);
        bOk = false;
    }
    if (bOk)
        std::printf("fcsview: encoded %dx%d at %d dpi, quality %d, sampling %s: %u bytes to %ls\n",
                    page.cx, page.cy, FAX_DPI, request.nQuality,
                    request.nSampling == JPEG_SAMPLING_420   ? "4:2:0"
                    : request.nSampling == JPEG_SAMPLING_422 ? "4:2:2"
                                                             : "4:4:4",
                    static_cast<unsigned>(jpeg.size()), request.pszOutput);
    if (page.hBitmap)
        DeleteObject(page.hBitmap);
    FreeLibrary(hDll);
    return bOk;
}
