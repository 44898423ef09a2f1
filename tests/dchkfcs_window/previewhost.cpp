#include "previewhost.h"

#include <gtest/gtest.h>

#include <cstdlib>

// ---- the library copy ---------------------------------------------------

static std::wstring ProgramFolder()
{
    WCHAR szPath[MAX_PATH];
    DWORD cch = GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring path(szPath, cch);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

static std::wstring NewTempFolder()
{
    static int s_nFolders;  // several copies per process each get their own folder
    WCHAR szTemp[MAX_PATH];
    GetTempPathW(MAX_PATH, szTemp);
    std::wstring folder = std::wstring(szTemp) + L"velmoraz-test-" +
                          std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++s_nFolders) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool PreviewLibrary::Load(const std::vector<uint8_t> *pVmd)
{
    folder = NewTempFolder();
    const std::wstring dll = folder + L"VELMORAZ.dll";
    if (!CopyFileW((ProgramFolder() + L"VELMORAZ.dll").c_str(), dll.c_str(), FALSE))
        return false;
    if (pVmd && !WriteDataFile(*pVmd))
        return false;
    hModule = LoadLibraryW(dll.c_str());
    if (!hModule)
        return false;
    pfnShow = reinterpret_cast<DispCheckFcsWindowFn>(GetProcAddress(hModule, "DispCheckFcsWindow"));
    return pfnShow != nullptr;
}

bool PreviewLibrary::WriteDataFile(const std::vector<uint8_t> &vmd) const
{
    HANDLE hFile = CreateFileW((folder + L"VELMORAD.VMD").c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD cb = 0;
    BOOL bOk = WriteFile(hFile, vmd.data(), static_cast<DWORD>(vmd.size()), &cb, nullptr);
    CloseHandle(hFile);
    return bOk && cb == vmd.size();
}

void PreviewLibrary::RemoveDataFile() const
{
    DeleteFileW((folder + L"VELMORAD.VMD").c_str());
}

PreviewLibrary::~PreviewLibrary()
{
    if (hModule)
        FreeLibrary(hModule);
    if (folder.empty())
        return;
    RemoveDataFile();
    DeleteFileW((folder + L"VELMORAZ.dll").c_str());
    RemoveDirectoryW(folder.c_str());
}

// ---- windows ----------------------------------------------------------------

std::wstring WindowText(HWND hwnd)
{
    WCHAR sz[512] = L"";
    GetWindowTextW(hwnd, sz, ARRAYSIZE(sz));
    return sz;
}

std::wstring ClassName(HWND hwnd)
{
    WCHAR sz[256] = L"";
    GetClassNameW(hwnd, sz, ARRAYSIZE(sz));
    return sz;
}

RECT WindowRectIn(HWND hwnd, HWND hwndReference)
{
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(HWND_DESKTOP, hwndReference, reinterpret_cast<POINT *>(&rc), 2);
    return rc;
}

RECT ClientRect(HWND hwnd)
{
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    return rc;
}

static BOOL CALLBACK FindFrameProc(HWND hwnd, LPARAM lParam)
{
    if (ClassName(hwnd) == L"VX_CHKFCS_MAINWND") {
        *reinterpret_cast<HWND *>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindPreviewFrame()
{
    HWND hwnd = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFrameProc, reinterpret_cast<LPARAM>(&hwnd));
    return hwnd;
}

static PreviewWindows FindPreviewWindows()
{
    PreviewWindows w;
    w.frame = FindPreviewFrame();
    if (!w.frame)
        return w;
    w.toolbar = GetDlgItem(w.frame, IDC_TOOLBAR);
    w.zoomBox = GetDlgItem(w.toolbar, IDC_ZOOMBOX);
    w.view = GetDlgItem(w.frame, IDC_VIEW);
    w.dlgBar = GetDlgItem(w.frame, IDC_DLGBAR);
    w.dialog = GetWindow(w.dlgBar, GW_CHILD);
    w.status = GetDlgItem(w.frame, IDC_STATUSBAR);
    return w;
}

static LRESULT CALLBACK ParentWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

HWND CreateParentWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VelmorazTestParent";
    RegisterClassW(&wc);  // a second registration fails harmlessly
    return CreateWindowExW(0, wc.lpszClassName, L"test parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                           0, 320, 200, nullptr, nullptr, wc.hInstance, nullptr);
}

void PostKey(HWND hwnd, UINT vk)
{
    PostMessageW(hwnd, WM_KEYDOWN, vk, 1);
    PostMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
}

int ShownPercent(const PreviewWindows &w)
{
    std::wstring text = WindowText(w.zoomBox);
    if (text.empty() || text.back() != L'%')
        return -1;
    return _wtoi(text.c_str());
}

// ---- steps on timer ticks ------------------------------------------------

namespace {
struct StepRun {
    std::vector<PreviewStep> steps;
    size_t next = 0;
    int nTicksAfterLast = 0;
    UINT_PTR idTimer = 0;
    bool bSettling = false;
};
}  // namespace

enum { AFTER_LAST_TICK_MS = 100, AFTER_LAST_TICKS = 50, SETTLE_MS = 15 };

// Timer callbacks carry no user data: the steps of the one open preview.
static StepRun *s_pRun;

static void CALLBACK StepTimerProc(HWND, UINT, UINT_PTR idTimer, DWORD);

static void ScheduleNext(StepRun *pRun)
{
    UINT delay =
        pRun->next < pRun->steps.size() ? pRun->steps[pRun->next].delayMs : AFTER_LAST_TICK_MS;
    pRun->idTimer = SetTimer(nullptr, 0, delay, StepTimerProc);
}

static void CALLBACK StepTimerProc(HWND, UINT, UINT_PTR idTimer, DWORD)
{
    KillTimer(nullptr, idTimer);
    StepRun *pRun = s_pRun;
    if (!pRun || idTimer != pRun->idTimer)
        return;  // a tick left over from an earlier preview
    // A timer that is already due when the queue runs dry is taken before the
    // loop's idle pass. A second, short wait starts on an empty queue, so the
    // idle pass (toolbar check marks) has run when the step sees the windows.
    pRun->bSettling = !pRun->bSettling;
    if (pRun->bSettling) {
        pRun->idTimer = SetTimer(nullptr, 0, SETTLE_MS, StepTimerProc);
        return;
    }
    PreviewWindows w = FindPreviewWindows();
    if (pRun->next < pRun->steps.size()) {
        if (!w.frame) {
            ADD_FAILURE() << "no preview frame for step " << pRun->next + 1;
            return;
        }
        pRun->steps[pRun->next++].run(w);
    } else if (w.frame && ++pRun->nTicksAfterLast >= AFTER_LAST_TICKS) {
        ADD_FAILURE() << "the preview is still open after its last step";
        DestroyWindow(w.frame);
        return;
    }
    ScheduleNext(pRun);
}

PreviewStep Wait(UINT delayMs)
{
    return {delayMs, [](const PreviewWindows &) {}};
}

int RunPreview(const PreviewLibrary &lib, HWND hwndParent, HENHMETAFILE hCoverSheet, int nImageX,
               int nImageY, std::vector<PreviewStep> steps)
{
    StepRun run;
    run.steps = std::move(steps);
    s_pRun = &run;
    ScheduleNext(&run);
    int nResult = lib.pfnShow(hwndParent, hCoverSheet, 0, nImageX, nImageY);
    KillTimer(nullptr, run.idTimer);
    s_pRun = nullptr;
    EXPECT_EQ(run.steps.size(), run.next) << "the preview closed before all steps ran";
    return nResult;
}

// ---- cover sheets and pixels ---------------------------------------------

HENHMETAFILE CreateCoverSheet(int cxHimetric, int cyHimetric)
{
    RECT rcFrame = {0, 0, cxHimetric, cyHimetric};
    HDC hdc = CreateEnhMetaFileW(nullptr, nullptr, &rcFrame, nullptr);
    const int cx =
        MulDiv(cxHimetric, GetDeviceCaps(hdc, HORZRES), GetDeviceCaps(hdc, HORZSIZE) * 100);
    const int cy =
        MulDiv(cyHimetric, GetDeviceCaps(hdc, VERTRES), GetDeviceCaps(hdc, VERTSIZE) * 100);
    RECT rcBlock = {cx / 10, cy / 10, cx * 3 / 10, cy * 2 / 10};
    HBRUSH hRed = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hdc, &rcBlock, hRed);
    DeleteObject(hRed);
    return CloseEnhMetaFile(hdc);
}

// Converts two points from 0.01 mm to device pixels on hwnd's device.
static SIZE HimetricToPixels(HWND hwnd, int cx, int cy)
{
    HDC hdc = GetDC(hwnd);
    SaveDC(hdc);
    SetMapMode(hdc, MM_HIMETRIC);
    SetViewportOrgEx(hdc, 0, 0, nullptr);
    POINT pts[2] = {{0, 0}, {cx, cy}};
    LPtoDP(hdc, pts, 2);
    RestoreDC(hdc, -1);
    ReleaseDC(hwnd, hdc);
    return {std::abs(pts[1].x - pts[0].x), std::abs(pts[1].y - pts[0].y)};
}

SIZE PageSizeOnDevice(HWND hwnd, HENHMETAFILE hCoverSheet)
{
    ENHMETAHEADER header = {};
    GetEnhMetaFileHeader(hCoverSheet, sizeof(header), &header);
    return HimetricToPixels(hwnd, header.rclFrame.right - header.rclFrame.left,
                            header.rclFrame.bottom - header.rclFrame.top);
}

SIZE HimetricForPixels(HWND hwnd, int cx, int cy)
{
    HDC hdc = GetDC(hwnd);
    SIZE size = {MulDiv(cx, 2540, GetDeviceCaps(hdc, LOGPIXELSX)),
                 MulDiv(cy, 2540, GetDeviceCaps(hdc, LOGPIXELSY))};
    ReleaseDC(hwnd, hdc);
    for (int i = 0; i < 200; ++i) {
        SIZE px = HimetricToPixels(hwnd, size.cx, size.cy);
        if (px.cx == cx && px.cy == cy)
            break;
        size.cx += px.cx < cx ? 1 : px.cx > cx ? -1 : 0;
        size.cy += px.cy < cy ? 1 : px.cy > cy ? -1 : 0;
    }
    return size;
}

Capture CaptureClient(HWND hwnd, bool bPrintClient)
{
    Capture capture;
    RECT rc = ClientRect(hwnd);
    capture.cx = rc.right;
    capture.cy = rc.bottom;
    if (capture.cx <= 0 || capture.cy <= 0)
        return capture;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = capture.cx;
    bmi.bmiHeader.biHeight = -capture.cy;  // top row first
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void *pvBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    HDC hdcWindow = GetDC(hwnd);
    HDC hdcMem = CreateCompatibleDC(hdcWindow);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    if (bPrintClient) {
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdcMem),
                     PRF_CLIENT | PRF_ERASEBKGND);
    } else {
        BitBlt(hdcMem, 0, 0, capture.cx, capture.cy, hdcWindow, 0, 0, SRCCOPY);
    }
    GdiFlush();
    const uint32_t *pBgra = static_cast<const uint32_t *>(pvBits);
    capture.pixels.resize(static_cast<size_t>(capture.cx) * capture.cy);
    for (size_t i = 0; i < capture.pixels.size(); ++i) {
        uint32_t v = pBgra[i];
        capture.pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    ReleaseDC(hwnd, hdcWindow);
    DeleteObject(hBitmap);
    return capture;
}
