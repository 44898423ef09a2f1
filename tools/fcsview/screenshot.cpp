#include "screenshot.h"

#include <cstdio>

enum { FIRST_DELAY_MS = 1500, RETRY_DELAY_MS = 250, MAX_ATTEMPTS = 40 };

// The timer callback gets no user data, so the one pending capture lives here.
static struct {
    const WCHAR *pszPath;
    int nAttempts;
    bool bTaken;
} s_capture;

static BOOL CALLBACK FindFrameProc(HWND hwnd, LPARAM lParam)
{
    WCHAR szClass[64];
    if (IsWindowVisible(hwnd) && GetClassNameW(hwnd, szClass, ARRAYSIZE(szClass)) &&
        lstrcmpiW(szClass, L"VX_CHKFCS_MAINWND") == 0) {
        *reinterpret_cast<HWND *>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

static HWND FindPreviewFrame()
{
    HWND hwnd = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFrameProc, reinterpret_cast<LPARAM>(&hwnd));
    return hwnd;
}

static bool WriteBmp(const WCHAR *pszPath, const BITMAPINFOHEADER &info, const void *pvBits)
{
    const DWORD cbBits = ((info.biWidth * 24 + 31) / 32) * 4 * info.biHeight;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + cbBits;
    HANDLE hFile = CreateFileW(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD cb1 = 0, cb2 = 0, cb3 = 0;
    BOOL bOk = WriteFile(hFile, &file, sizeof(file), &cb1, nullptr) &&
               WriteFile(hFile, &info, sizeof(info), &cb2, nullptr) &&
               WriteFile(hFile, pvBits, cbBits, &cb3, nullptr);
    CloseHandle(hFile);
    return bOk && cb3 == cbBits;
}

// Copies the frame's pixels, caption and borders included, from its window
// DC, where every child has drawn itself; windows in front do not matter.
static bool CaptureWindow(HWND hwnd, const WCHAR *pszPath)
{
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = rc.right - rc.left;
    bmi.bmiHeader.biHeight = rc.bottom - rc.top;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    bmi.bmiHeader.biCompression = BI_RGB;
    void *pvBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    if (!hBitmap)
        return false;
    HDC hdcWindow = GetWindowDC(hwnd);
    HDC hdcMem = CreateCompatibleDC(hdcWindow);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    BitBlt(hdcMem, 0, 0, bmi.bmiHeader.biWidth, bmi.bmiHeader.biHeight, hdcWindow, 0, 0, SRCCOPY);
    GdiFlush();
    bool bOk = WriteBmp(pszPath, bmi.bmiHeader, pvBits);
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    ReleaseDC(hwnd, hdcWindow);
    DeleteObject(hBitmap);
    return bOk;
}

static void CALLBACK ScreenshotTimerProc(HWND, UINT, UINT_PTR idTimer, DWORD)
{
    KillTimer(nullptr, idTimer);
    HWND hwndFrame = FindPreviewFrame();
    if (!hwndFrame && ++s_capture.nAttempts < MAX_ATTEMPTS) {
        SetTimer(nullptr, 0, RETRY_DELAY_MS, ScreenshotTimerProc);
        return;
    }
    if (!hwndFrame) {
        std::printf("fcsview: the preview window did not appear\n");
        return;
    }
    s_capture.bTaken = CaptureWindow(hwndFrame, s_capture.pszPath);
    if (s_capture.bTaken)
        std::printf("fcsview: screenshot written to %ls\n", s_capture.pszPath);
    else
        std::printf("fcsview: cannot write the screenshot %ls\n", s_capture.pszPath);
    PostMessageW(hwndFrame, WM_CLOSE, 0, 0);
}

void ArmScreenshot(const WCHAR *pszPath)
{
    s_capture.pszPath = pszPath;
    s_capture.nAttempts = 0;
    s_capture.bTaken = false;
    SetTimer(nullptr, 0, FIRST_DELAY_MS, ScreenshotTimerProc);
}

bool ScreenshotTaken()
{
    return s_capture.bTaken;
}
