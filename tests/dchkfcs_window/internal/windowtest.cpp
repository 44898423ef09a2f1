#include "windowtest.h"

#include <windows.h>

#include <commctrl.h>

#include "framewnd.h"
#include "module.h"
#include "resource.h"

static const WCHAR s_szTestFrameClass[] = L"VX_CHKFCS_TESTFRAME";

HENHMETAFILE MakeQuarterMetafile(int wMm, int hMm)
{
    HDC hdcRef = GetDC(NULL);
    RECT rcFrame = {0, 0, wMm * 100, hMm * 100};
    HDC hdc = CreateEnhMetaFileW(hdcRef, NULL, &rcFrame, NULL);
    ReleaseDC(NULL, hdcRef);
    SetMapMode(hdc, MM_HIMETRIC);
    // Himetric y grows upwards: the frame's top-left quarter is x < w/2, y > -h/2.
    HBRUSH hBlue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(hdc, hBlue);
    SelectObject(hdc, GetStockObject(NULL_PEN));
    Rectangle(hdc, 0, 0, wMm * 50, -hMm * 50);
    HENHMETAFILE hemf = CloseEnhMetaFile(hdc);
    DeleteObject(hBlue);
    return hemf;
}

SIZE ScreenPixelsOfHimetric(int cx, int cy)
{
    HDC hdc = GetDC(NULL);
    SetMapMode(hdc, MM_HIMETRIC);
    POINT pt[2] = {{0, 0}, {cx, cy}};
    LPtoDP(hdc, pt, 2);
    SetMapMode(hdc, MM_TEXT);
    ReleaseDC(NULL, hdc);
    SIZE size = {abs(pt[1].x - pt[0].x), abs(pt[1].y - pt[0].y)};
    return size;
}

void WindowTest::SetUp()
{
    g_hInstance = GetModuleHandleW(NULL);
    InitCommonControls();
    ZeroMemory(&m_state, sizeof m_state);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrameWndProc;
    wc.hInstance = g_hInstance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(NULL_BRUSH);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    wc.lpszClassName = s_szTestFrameClass;
    RegisterClassW(&wc);
}

void WindowTest::TearDown()
{
    if (IsWindow(m_hwndFrame))
        DestroyWindow(m_hwndFrame);
    Pump();
    if (m_hemf)
        DeleteEnhMetaFile(m_hemf);
}

HWND WindowTest::CreateFrame(HENHMETAFILE hemf, int cx, int cy, bool bShow)
{
    m_state.hCoverSheet = hemf;
    m_state.nZoomMode = ZOOM_WHOLEPAGE;
    DWORD dwStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
    RECT rc = {0, 0, cx, cy};
    AdjustWindowRectEx(&rc, dwStyle, TRUE, 0);
    m_hwndFrame = CreateWindowExW(0, s_szTestFrameClass, L"test", dwStyle, 0, 0,
                                  rc.right - rc.left, rc.bottom - rc.top, NULL, NULL,
                                  g_hInstance, &m_state);
    if (bShow) {
        ShowWindow(m_hwndFrame, SW_SHOW);
        UpdateWindow(m_hwndFrame);
    }
    Pump();
    return m_hwndFrame;
}

void WindowTest::Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
