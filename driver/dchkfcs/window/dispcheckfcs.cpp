// DispCheckFcsWindow: the frame class, the frame and the modal loop.
#include "velmoraz.h"

#include <commctrl.h>

#include "checkfcsstate.h"
#include "cmdstate.h"
#include "framewnd.h"
#include "helplaunch.h"
#include "module.h"
#include "resource.h"
#include "uistrings.h"

static const WCHAR s_szFrameClass[] = L"VX_CHKFCS_MAINWND";
static const DWORD FRAME_STYLE = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;

static void RegisterFrameClass()
{
    WNDCLASSW wc = {};
    wc.style = 0;
    wc.lpfnWndProc = FrameWndProc;
    wc.hInstance = g_hInstance;
    wc.hIcon = LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_COVERSHEET));
    wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(NULL_BRUSH);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    wc.lpszClassName = s_szFrameClass;
    RegisterClassW(&wc);  // an earlier call's registration serves as well
}

// Dispatches until the frame is gone or WM_QUIT arrives (consumed). Whenever
// the queue has been emptied, the toolbar's check marks are brought in line
// with the zoom mode and the thread sleeps until the next message.
static void RunModalLoop(CheckFcsState *pState, HWND hwndFrame, HACCEL hAccel)
{
    MSG msg;
    while (IsWindow(hwndFrame)) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            UpdateCommandState(pState, nullptr, pState->hwndToolbar);
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT)
            break;
        if (!TranslateAcceleratorW(hwndFrame, hAccel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

extern "C" int WINAPI DispCheckFcsWindow(HWND hwndParent, HENHMETAFILE hCoverSheet,
                                         DWORD dwCallerData, int nImageX, int nImageY)
{
    if (!hCoverSheet)
        return 0;
    InitCommonControls();
    LoadUiStrings();

    CheckFcsState state;
    ZeroMemory(&state, sizeof state);
    state.hCoverSheet = hCoverSheet;
    state.dwCallerData = dwCallerData;
    state.nImageX = nImageX;
    state.nImageY = nImageY;
    GetHelpFilePath(state.szHelpFile, FCS_PATH_LEN);
    state.nZoomMode = ZOOM_WHOLEPAGE;

    HACCEL hAccel = LoadAcceleratorsW(g_hInstance, MAKEINTRESOURCEW(IDR_ACCEL));
    RegisterFrameClass();
    EnableWindow(hwndParent, FALSE);
    HWND hwndFrame = CreateWindowExW(0, s_szFrameClass, g_UiWindowTitle.szText, FRAME_STYLE,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                     hwndParent, nullptr, g_hInstance, &state);
    if (!hwndFrame) {
        DestroyAcceleratorTable(hAccel);
        EnableWindow(hwndParent, TRUE);
        return 0;
    }
    ShowWindow(hwndFrame, SW_SHOW);
    UpdateWindow(hwndFrame);
    RunModalLoop(&state, hwndFrame, hAccel);
    // Every load is matched by a release: some platforms make a new table
    // per load, and a host may open the preview many times.
    DestroyAcceleratorTable(hAccel);

    // After WM_QUIT the frame still exists; it must not outlive the state.
    if (IsWindow(hwndFrame))
        DestroyWindow(hwndFrame);
    EnableWindow(hwndParent, TRUE);
    SetForegroundWindow(hwndParent);
    return 1;
}
