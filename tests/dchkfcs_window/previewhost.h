// Drives the real VELMORAZ.dll from a test: loads a private copy of it, opens
// the preview over a parent window and runs test steps on timer ticks of the
// calling thread while the preview's own modal loop is running.
#ifndef TESTS_DCHKFCS_WINDOW_PREVIEWHOST_H
#define TESTS_DCHKFCS_WINDOW_PREVIEWHOST_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Command and child-window ids that a host sees on the preview's windows.
enum {
    ID_OK = 1,
    ID_CANCEL = 2,
    ID_HELP = 9,
    IDM_ZOOMIN = 40001,
    IDM_ZOOMOUT = 40002,
    IDM_ZOOMBOX = 40003,
    IDM_WHOLEPAGE = 40004,
    IDM_WHOLEWIDTH = 40005,
    IDC_IMAGEPOS = 1001,
    IDC_TOOLBAR = 0x1001,
    IDC_VIEW = 0x1002,
    IDC_DLGBAR = 0x1003,
    IDC_STATUSBAR = 0x1004,
    IDC_ZOOMBOX = 0x1005
};

typedef int(WINAPI *DispCheckFcsWindowFn)(HWND, HENHMETAFILE, DWORD, int, int);

// A copy of VELMORAZ.dll in a fresh temporary folder, optionally with a
// VELMORAD.VMD beside it.
struct PreviewLibrary {
    std::wstring folder;  // ends in a backslash
    HMODULE hModule = nullptr;
    DispCheckFcsWindowFn pfnShow = nullptr;

    bool Load(const std::vector<uint8_t> *pVmd = nullptr);
    bool WriteDataFile(const std::vector<uint8_t> &vmd) const;
    void RemoveDataFile() const;
    ~PreviewLibrary();
};

// The preview's windows, found from its frame at the time of a step.
struct PreviewWindows {
    HWND frame = nullptr, toolbar = nullptr, zoomBox = nullptr, view = nullptr;
    HWND dlgBar = nullptr, dialog = nullptr, status = nullptr;
};

// One step: runs delayMs after the previous one (or after the preview opened).
struct PreviewStep {
    UINT delayMs;
    std::function<void(const PreviewWindows &)> run;
};

// A step that only waits, so the loop can go idle (and update the toolbar).
PreviewStep Wait(UINT delayMs);

// Opens the preview and runs the steps; the last step is expected to close it.
// A preview still open 5 s after the last step is a test failure and is
// destroyed. Returns the export's result.
int RunPreview(const PreviewLibrary &lib, HWND hwndParent, HENHMETAFILE hCoverSheet, int nImageX,
               int nImageY, std::vector<PreviewStep> steps);

// A visible top-level window that stands for the host.
HWND CreateParentWindow();

// The open preview frame of this thread, or none.
HWND FindPreviewFrame();

// A cover sheet of the given frame size (0.01 mm) with a red block in its
// top-left area (10..30 % across, 10..20 % down) and nothing else.
HENHMETAFILE CreateCoverSheet(int cxHimetric, int cyHimetric);

// The page size at 100 % in pixels of the view's device, measured the way the
// platform maps 0.01 mm to device pixels.
SIZE PageSizeOnDevice(HWND hwnd, HENHMETAFILE hCoverSheet);

// A frame size in 0.01 mm that maps to exactly the given pixels on hwnd's device.
SIZE HimetricForPixels(HWND hwnd, int cx, int cy);

std::wstring WindowText(HWND hwnd);
std::wstring ClassName(HWND hwnd);
RECT WindowRectIn(HWND hwnd, HWND hwndReference);  // window rect in reference's client coordinates
RECT ClientRect(HWND hwnd);

// Sends a key press (down and up) to the focused window through the queue, so
// the preview's loop translates it.
void PostKey(HWND hwnd, UINT vk);

// The client area of a window as it is on screen, pixel by pixel, or as the
// window renders it into a memory bitmap on WM_PRINTCLIENT.
struct Capture {
    int cx = 0, cy = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * cx + x]; }
};
Capture CaptureClient(HWND hwnd, bool bPrintClient = false);

// The percentage shown in the zoom box ("57%" gives 57), or -1.
int ShownPercent(const PreviewWindows &w);

#endif
