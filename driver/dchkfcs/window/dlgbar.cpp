// Dialog bar window, its panel and its separator.
#include "dlgbar.h"

#include <string.h>
#include <wchar.h>

#include "childwnd.h"
#include "module.h"
#include "resource.h"
#include "uistrings.h"

HWND CreateDialogBar(CheckFcsState *pState)
{
    static const ChildClass barClass = {L"VX_CHKFCS_DLGBAR", DlgBarWndProc, COLOR_BTNFACE};
    HWND hwndBar = CreateFrameChild(pState, barClass, 0, WS_CHILD, IDC_DLGBAR);
    if (!hwndBar)
        return nullptr;
    RECT rc = {0, 0, 0, 0};
    GetClientRect(pState->hwndFrame, &rc);
    HWND hwndPanel = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(IDD_DLGBAR), hwndBar,
                                        DlgBarDlgProc, (LPARAM)pState);
    RECT rcPanel = {0, 0, 0, 0};
    if (hwndPanel) {
        ShowWindow(hwndPanel, SW_SHOW);
        UpdateWindow(hwndPanel);
        GetWindowRect(hwndPanel, &rcPanel);
    }
    pState->hwndDlgPanel = hwndPanel;
    MoveWindow(hwndBar, rc.left, rc.top, rc.right - rc.left,
               rcPanel.bottom - rcPanel.top + DLGBAR_SEPARATOR_HEIGHT, FALSE);
    ShowWindow(hwndBar, SW_SHOW);
    UpdateWindow(hwndBar);
    return hwndBar;
}

void FormatImagePosition(WCHAR *pszDest, size_t cchDest, int nImageX, int nImageY)
{
    memset(pszDest, 0, cchDest * sizeof(WCHAR));
    _snwprintf(pszDest, cchDest - 1, L"%s %s %d %s %d", g_aUiImagePosition[0].szText,
               g_aUiImagePosition[1].szText, nImageX, g_aUiImagePosition[2].szText, nImageY);
}

// Keeps the panel at the bar's right end, its size unchanged.
static void OnBarSize(HWND hwndBar, CheckFcsState *pState)
{
    HWND hwndPanel = pState->hwndDlgPanel;
    if (!hwndPanel)
        return;
    RECT rcClient, rcPanel;
    GetClientRect(hwndBar, &rcClient);
    GetWindowRect(hwndPanel, &rcPanel);
    int cx = rcPanel.right - rcPanel.left;
    MoveWindow(hwndPanel, rcClient.right - cx, rcClient.top, cx, rcPanel.bottom - rcPanel.top,
               TRUE);
}

static void DrawLine(HDC hdc, int nSysColor, int x0, int x1, int y)
{
    HPEN hPen = CreatePen(PS_SOLID, 0, GetSysColor(nSysColor));
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    MoveToEx(hdc, x0, y, nullptr);
    LineTo(hdc, x1, y);
    SelectObject(hdc, hOld);
    DeleteObject(hPen);
}

// Shadow line above highlight line on the bar's last two pixel rows.
static void OnBarPaint(HWND hwndBar)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwndBar, &ps);
    if (!hdc)
        return;
    RECT rc;
    GetClientRect(hwndBar, &rc);
    DrawLine(hdc, COLOR_BTNSHADOW, rc.left, rc.right, rc.bottom - 2);
    DrawLine(hdc, COLOR_BTNHIGHLIGHT, rc.left, rc.right, rc.bottom - 1);
    EndPaint(hwndBar, &ps);
}

static LRESULT OnBarCreate(HWND hwndBar, const CREATESTRUCTW *pCreate)
{
    SetWindowState(hwndBar, static_cast<CheckFcsState *>(pCreate->lpCreateParams));
    return 0;
}

static void OnBarDestroy(CheckFcsState *pState)
{
    if (IsWindow(pState->hwndDlgPanel))
        DestroyWindow(pState->hwndDlgPanel);
    pState->hwndDlgPanel = nullptr;
}

LRESULT CALLBACK DlgBarWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CREATE)
        return OnBarCreate(hwnd, reinterpret_cast<CREATESTRUCTW *>(lParam));
    CheckFcsState *pState = GetWindowState(hwnd);
    if (!pState)
        return DefWindowProcW(hwnd, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_DESTROY: OnBarDestroy(pState); return 0;
    case WM_SIZE: OnBarSize(hwnd, pState); return 0;
    case WM_PAINT: OnBarPaint(hwnd); return 0;
    }
    return DefWindowProcW(hwnd, uMsg, wParam, lParam);
}

static void OnPanelInit(HWND hwndPanel, CheckFcsState *pState)
{
    SetWindowLongPtrW(hwndPanel, DWLP_USER, (LONG_PTR)pState);
    WCHAR szText[IMAGE_POSITION_TEXT_LEN];
    FormatImagePosition(szText, IMAGE_POSITION_TEXT_LEN, pState->nImageX, pState->nImageY);
    SetDlgItemTextW(hwndPanel, IDC_IMAGEPOS, szText);
    SetDlgItemTextW(hwndPanel, IDCANCEL, g_UiClose.szText);
}

// Close (BN_CLICKED of IDCANCEL) is handed to the frame, which closes.
static INT_PTR OnPanelCommand(HWND hwndPanel, WPARAM wParam)
{
    CheckFcsState *pState =
        reinterpret_cast<CheckFcsState *>(GetWindowLongPtrW(hwndPanel, DWLP_USER));
    if (!pState || wParam != IDCANCEL)
        return FALSE;
    SendMessageW(pState->hwndFrame, WM_COMMAND, IDCANCEL, (LPARAM)GetDlgItem(hwndPanel, IDCANCEL));
    return TRUE;
}

INT_PTR CALLBACK DlgBarDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG: OnPanelInit(hwnd, reinterpret_cast<CheckFcsState *>(lParam)); return FALSE;
    case WM_COMMAND: return OnPanelCommand(hwnd, wParam);
    }
    return FALSE;
}
