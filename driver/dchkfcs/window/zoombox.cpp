// The zoom combo box in the toolbar's IDM_ZOOMBOX slot.
#include "zoombox.h"

#include <commctrl.h>

#include "module.h"
#include "resource.h"
#include "uistrings.h"

enum { ZOOMBOX_SLOT_WIDTH = 80, ZOOMBOX_LIST_HEIGHT = 200 };

// Makes the slot an 80-pixel separator; returns its rectangle.
static BOOL MakeZoomBoxSlot(HWND hwndToolbar, RECT *prcSlot)
{
    LRESULT nIndex = SendMessageW(hwndToolbar, TB_COMMANDTOINDEX, IDM_ZOOMBOX, 0);
    if (nIndex < 0)
        return FALSE;
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE | TBIF_SIZE;
    SendMessageW(hwndToolbar, TB_GETBUTTONINFOW, IDM_ZOOMBOX, (LPARAM)&info);
    info.fsStyle = TBSTYLE_SEP;
    info.cx = ZOOMBOX_SLOT_WIDTH;
    SendMessageW(hwndToolbar, TB_SETBUTTONINFOW, IDM_ZOOMBOX, (LPARAM)&info);
    return (BOOL)SendMessageW(hwndToolbar, TB_GETITEMRECT, nIndex, (LPARAM)prcSlot);
}

static void FillZoomBox(HWND hwndZoomBox)
{
    for (UiZoomEntry *pEntry = g_aUiZoomList; pEntry->szKey[0]; ++pEntry) {
        LRESULT nItem = SendMessageW(hwndZoomBox, CB_ADDSTRING, 0, (LPARAM)pEntry->szText);
        SendMessageW(hwndZoomBox, CB_SETITEMDATA, nItem, (LPARAM)pEntry);
    }
}

void BuildZoomBox(CheckFcsState *pState)
{
    RECT rcSlot;
    if (!MakeZoomBoxSlot(pState->hwndToolbar, &rcSlot))
        return;
    HWND hwnd =
        CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN,
                        rcSlot.left, rcSlot.top, rcSlot.right - rcSlot.left, ZOOMBOX_LIST_HEIGHT,
                        pState->hwndToolbar, (HMENU)(INT_PTR)IDC_ZOOMBOX, g_hInstance, nullptr);
    pState->hwndZoomBox = hwnd;
    if (!hwnd)
        return;
    SendMessageW(hwnd, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), TRUE);
    FillZoomBox(hwnd);
}
