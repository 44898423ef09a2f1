#include "windowtest.h"

#include <commctrl.h>

#include "framewnd.h"
#include "module.h"
#include "resource.h"

static const WCHAR s_szTestFrameClass[] = L"VX_CHKFCS_TESTFRAME";

void WindowTest::SetUp()
{
    g_hInstance = GetModuleHandleW(nullptr);
    InitCommonControls();
    ZeroMemory(&m_state, sizeof m_state);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrameWndProc;
    wc.hInstance = g_hInstance;
    wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(NULL_BRUSH);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    wc.lpszClassName = s_szTestFrameClass;
    RegisterClassW(&wc);

    RECT rcPage = {0, 0, 10000, 15000};
    m_hemf = CloseEnhMetaFile(CreateEnhMetaFileW(nullptr, nullptr, &rcPage, nullptr));
    m_state.hCoverSheet = m_hemf;
    m_state.nZoomMode = ZOOM_WHOLEPAGE;
    DWORD dwStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
    RECT rc = {0, 0, 700, 500};
    AdjustWindowRectEx(&rc, dwStyle, TRUE, 0);
    // Hidden: showing a top-level window costs seconds under Wine without a
    // window manager.
    m_hwndFrame = CreateWindowExW(0, s_szTestFrameClass, L"test", dwStyle, 0, 0, rc.right - rc.left,
                                  rc.bottom - rc.top, nullptr, nullptr, g_hInstance, &m_state);
    ASSERT_TRUE(m_hwndFrame);
    Pump();
}

void WindowTest::TearDown()
{
    if (IsWindow(m_hwndFrame))
        DestroyWindow(m_hwndFrame);
    Pump();
    if (m_hemf)
        DeleteEnhMetaFile(m_hemf);
}

void WindowTest::Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
