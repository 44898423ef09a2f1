#include "hostwindow.h"

static const WCHAR kHostClass[] = L"FcsViewHost";

static void PaintHost(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    RECT rc;
    GetClientRect(hwnd, &rc);
    const WCHAR szText[] = L"fcsview host window: the preview is open over it.";
    DrawTextW(hdc, szText, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(hwnd, &ps);
}

static LRESULT CALLBACK HostWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT: PaintHost(hwnd); return 0;
    default: return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    }
}

HWND CreateHostWindow(HINSTANCE hInstance)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kHostClass;
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, kHostClass, L"fcsview", WS_OVERLAPPEDWINDOW, 40, 40, 640, 400,
                                nullptr, nullptr, hInstance, nullptr);
    if (hwnd) {
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
    }
    return hwnd;
}
