// The page view window: class, creation, scrolling and the wheel.
#include "viewwnd.h"

#include "childwnd.h"
#include "pagepaint.h"
#include "resource.h"

HWND CreatePageView(CheckFcsState *pState)
{
    static const ChildClass viewClass = {L"VX_CHKFCS_VIEWWND", ViewWndProc, COLOR_WINDOW};
    return CreateFrameChild(pState, viewClass, WS_EX_CLIENTEDGE,
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, IDC_VIEW);
}

int ComputeScrollPos(int nCode, int nThumb, const SCROLLINFO &si)
{
    int nLast = si.nMax - (int)si.nPage;
    int nNew;
    switch (nCode) {
    case SB_LINEUP: nNew = si.nPos - SCROLL_LINE; break;
    case SB_LINEDOWN: nNew = si.nPos + SCROLL_LINE; break;
    case SB_PAGEUP: nNew = si.nPos - (int)si.nPage; break;
    case SB_PAGEDOWN: nNew = si.nPos + (int)si.nPage; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: nNew = nThumb; break;
    case SB_TOP: nNew = si.nMin; break;
    case SB_BOTTOM: nNew = nLast; break;
    default: nNew = si.nPos; break;
    }
    if (nNew > nLast)
        nNew = nLast;
    if (nNew < si.nMin)
        nNew = si.nMin;
    return nNew;
}

// Number of line requests for a wheel delta: 2 per whole notch.
static int WheelLineCount(int nDelta)
{
    return WHEEL_LINES_PER_NOTCH * abs(nDelta / WHEEL_DELTA);
}

// Moves one bar and shifts the drawn pixels by the distance, read back from
// the bar; the platform invalidates the uncovered strip.
static void OnScroll(HWND hwnd, int nBar, WPARAM wParam)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(hwnd, nBar, &si);
    int nNew = ComputeScrollPos(LOWORD(wParam), HIWORD(wParam), si);
    SetScrollPos(hwnd, nBar, nNew, TRUE);
    int nDistance = si.nPos - GetScrollPos(hwnd, nBar);
    if (nBar == SB_HORZ)
        ScrollWindow(hwnd, nDistance, 0, nullptr, nullptr);
    else
        ScrollWindow(hwnd, 0, nDistance, nullptr, nullptr);
}

static void OnMouseWheel(HWND hwnd, WPARAM wParam)
{
    int nDelta = (short)HIWORD(wParam);
    WPARAM nCode = nDelta > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int n = WheelLineCount(nDelta); n > 0; --n)
        SendMessageW(hwnd, WM_VSCROLL, nCode, 0);
}

static LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW *pCreate)
{
    CheckFcsState *pState = static_cast<CheckFcsState *>(pCreate->lpCreateParams);
    SetWindowState(hwnd, pState);
    HDC hdc = GetDC(hwnd);
    if (hdc) {
        MeasurePage(pState, hdc);
        ReleaseDC(hwnd, hdc);
    }
    return 0;
}

static void OnPaint(HWND hwnd, CheckFcsState *pState)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (!hdc)
        return;
    PaintContent(pState, hwnd, hdc);
    EndPaint(hwnd, &ps);
}

static void OnPrintClient(HWND hwnd, CheckFcsState *pState, HDC hdc, LPARAM nFlags)
{
    if (nFlags & PRF_ERASEBKGND) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOW));
    }
    PaintContent(pState, hwnd, hdc);
}

LRESULT CALLBACK ViewWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CREATE)
        return OnCreate(hwnd, reinterpret_cast<CREATESTRUCTW *>(lParam));
    CheckFcsState *pState = GetWindowState(hwnd);
    if (!pState)
        return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_PAINT: OnPaint(hwnd, pState); return 0;
    case WM_PRINTCLIENT: OnPrintClient(hwnd, pState, (HDC)wParam, lParam); return 0;
    case WM_HSCROLL: OnScroll(hwnd, SB_HORZ, wParam); return 0;
    case WM_VSCROLL: OnScroll(hwnd, SB_VERT, wParam); return 0;
    case WM_MOUSEWHEEL: OnMouseWheel(hwnd, wParam); return 0;
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}
