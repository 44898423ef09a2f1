// The status bar and its zoom percentage.
#include "statusbar.h"

#include <commctrl.h>
#include <wchar.h>

#include "module.h"
#include "resource.h"
#include "zoom.h"

HWND CreateStatusBar(const CheckFcsState *pState)
{
    return CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                           0, 0, 0, pState->hwndFrame, (HMENU)(INT_PTR)IDC_STATUSBAR, g_hInstance,
                           nullptr);
}

// Right edges of the status bar's two parts for a frame client width and
// the width of the percentage part.
static void ComputeStatusParts(int cxClient, int cxPart, int aRight[2])
{
    aRight[0] = cxClient - STATUS_RIGHT_RESERVE - cxPart;
    aRight[1] = cxClient - STATUS_RIGHT_RESERVE;
}

// Twice the text's width on a fresh DC of the status bar (its own font is
// not selected into it), or 50 pixels without a DC.
static int StatusPartWidth(HWND hwndStatus, const WCHAR *pszText)
{
    HDC hdc = GetDC(hwndStatus);
    if (!hdc)
        return STATUS_DEFAULT_PART;
    SIZE size = {0, 0};
    GetTextExtentPoint32W(hdc, pszText, (int)wcslen(pszText), &size);
    ReleaseDC(hwndStatus, hdc);
    return 2 * size.cx;
}

void UpdateStatusZoom(CheckFcsState *pState)
{
    if (!pState->hwndStatus)
        return;
    WCHAR szText[ZOOM_PERCENT_TEXT_LEN];
    FormatZoomPercent(szText, ZOOM_PERCENT_TEXT_LEN, pState->nZoomPercent);
    RECT rcClient = {0, 0, 0, 0};
    GetClientRect(pState->hwndFrame, &rcClient);
    int aRight[2];
    ComputeStatusParts(rcClient.right, StatusPartWidth(pState->hwndStatus, szText), aRight);
    SendMessageW(pState->hwndStatus, SB_SETPARTS, 2, (LPARAM)aRight);
    SendMessageW(pState->hwndStatus, SB_SETTEXTW, 0 | SBT_NOBORDERS, (LPARAM)L"");
    SendMessageW(pState->hwndStatus, SB_SETTEXTW, 1, (LPARAM)szText);
}
