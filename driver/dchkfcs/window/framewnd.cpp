// Frame window procedure: children, layout and commands.
#include "framewnd.h"

#include <commctrl.h>

#include "cmdstate.h"
#include "dlgbar.h"
#include "helplaunch.h"
#include "localisemenu.h"
#include "resource.h"
#include "statusbar.h"
#include "toolbar.h"
#include "uistrings.h"
#include "viewwnd.h"
#include "zoom.h"

// Whole wParam of the zoom box's notifications as they reach the frame.
enum {
    ZOOMBOX_SETFOCUS = MAKELONG(IDC_ZOOMBOX, CBN_SETFOCUS),
    ZOOMBOX_KILLFOCUS = MAKELONG(IDC_ZOOMBOX, CBN_KILLFOCUS),
    ZOOMBOX_SELENDOK = MAKELONG(IDC_ZOOMBOX, CBN_SELENDOK),
};

static LRESULT OnCreate(HWND hwnd, const CREATESTRUCTW *pCreate)
{
    CheckFcsState *pState = static_cast<CheckFcsState *>(pCreate->lpCreateParams);
    SetWindowState(hwnd, pState);
    pState->hwndFrame = hwnd;
    HMENU hmenu = GetMenu(hwnd);
    if (hmenu) {
        LocaliseMenu(g_aUiZoomMenu, hmenu, 0);
        LocaliseMenu(g_aUiHelpMenu, hmenu, 1);
    }
    BuildToolbar(pState);
    pState->hwndStatus = CreateStatusBar(pState);
    UpdateStatusZoom(pState);
    pState->hwndDlgBar = CreateDialogBar(pState);
    pState->hwndView = CreatePageView(pState);
    SetZoomMode(pState, ZOOM_WHOLEPAGE);
    return 0;
}

static int WindowHeight(HWND hwnd)
{
    RECT rc;
    if (!hwnd || !GetWindowRect(hwnd, &rc))
        return 0;
    return rc.bottom - rc.top;
}

// Toolbar on top, then the view, the dialog bar and the status bar; a
// missing child takes no room.
static void LayoutFrame(CheckFcsState *pState, WPARAM wParam, LPARAM lParam)
{
    RECT rc;
    GetClientRect(pState->hwndFrame, &rc);
    if (pState->hwndToolbar)
        SendMessageW(pState->hwndToolbar, WM_SIZE, wParam, lParam);
    int cyToolbar = WindowHeight(pState->hwndToolbar);
    int cyStatus = WindowHeight(pState->hwndStatus);
    int cyDlgBar = WindowHeight(pState->hwndDlgBar);
    int cxClient = rc.right - rc.left;
    if (pState->hwndView)
        MoveWindow(pState->hwndView, 0, cyToolbar, cxClient,
                   rc.bottom - rc.top - cyToolbar - cyStatus - cyDlgBar, TRUE);
    if (pState->hwndDlgBar)
        MoveWindow(pState->hwndDlgBar, rc.left, rc.bottom - cyDlgBar - cyStatus, cxClient, cyDlgBar,
                   TRUE);
    if (pState->hwndStatus)
        SendMessageW(pState->hwndStatus, WM_SIZE, wParam, lParam);
    UpdateStatusZoom(pState);
    SetZoomMode(pState, pState->nZoomMode);
}

// The frame's class brush paints nothing, but a themed toolbar hands its
// background to the frame; without this it would stay unpainted (black).
static LRESULT OnEraseBackground(HWND hwnd, HDC hdc)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
}

static void OnHelp(CheckFcsState *pState, const HELPINFO *pInfo)
{
    HWND hwndItem = (HWND)pInfo->hItemHandle;
    if (hwndItem == pState->hwndFrame)
        ShowHelpTopic(pState->hwndFrame, pState->szHelpFile);
    else
        ShowControlHelp(hwndItem, pState->szHelpFile);
}

static void OnZoomBoxNotify(CheckFcsState *pState, WPARAM wParam)
{
    switch (wParam) {
    case ZOOMBOX_SETFOCUS: pState->bZoomBoxFocus = TRUE; break;
    case ZOOMBOX_KILLFOCUS: pState->bZoomBoxFocus = FALSE; break;
    case ZOOMBOX_SELENDOK: ApplyZoomSelection(pState); break;
    }
}

static void OnCommand(CheckFcsState *pState, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDOK: ApplyTypedZoom(pState); break;
    case IDCANCEL: PostMessageW(pState->hwndFrame, WM_CLOSE, 0, 0); break;
    case IDHELP: ShowHelpTopic(pState->hwndFrame, pState->szHelpFile); break;
    case IDM_ZOOMIN: ZoomIn(pState); break;
    case IDM_ZOOMOUT: ZoomOut(pState); break;
    case IDM_WHOLEPAGE: ToggleWholePage(pState); break;
    case IDM_WHOLEWIDTH: ToggleWholeWidth(pState); break;
    default: OnZoomBoxNotify(pState, wParam); break;
    }
}

LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CREATE)
        return OnCreate(hwnd, reinterpret_cast<CREATESTRUCTW *>(lParam));
    CheckFcsState *pState = GetWindowState(hwnd);
    if (!pState)
        return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_SIZE: LayoutFrame(pState, wParam, lParam); return 0;
    case WM_ERASEBKGND: return OnEraseBackground(hwnd, (HDC)wParam);
    case WM_HELP: OnHelp(pState, reinterpret_cast<const HELPINFO *>(lParam)); return 1;
    case WM_COMMAND: OnCommand(pState, wParam); return 0;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam))
            UpdateCommandState(pState, (HMENU)wParam, nullptr);
        break;
    case WM_MOUSEWHEEL:
        if (pState->hwndView)
            return SendMessageW(pState->hwndView, uMsg, wParam, lParam);
        break;
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}
