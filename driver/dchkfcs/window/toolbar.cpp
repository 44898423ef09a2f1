// Toolbar construction.
#include "toolbar.h"

#include <commctrl.h>

#include "module.h"
#include "resource.h"
#include "zoombox.h"

enum { TOOLBAR_IMAGE_COUNT = 4, TOOLBAR_IMAGE_SIZE = 20 };

static const TBBUTTON s_aButtons[] = {
    {0, IDM_ZOOMIN, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {1, IDM_ZOOMOUT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {2, IDM_WHOLEPAGE, TBSTATE_ENABLED, TBSTYLE_CHECK, {0}, 0, 0},
    {3, IDM_WHOLEWIDTH, TBSTATE_ENABLED, TBSTYLE_CHECK, {0}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    {0, IDM_ZOOMBOX, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0},
};

void BuildToolbar(CheckFcsState *pState)
{
    HWND hwnd =
        CreateToolbarEx(pState->hwndFrame, WS_CHILD, IDC_TOOLBAR, TOOLBAR_IMAGE_COUNT, g_hInstance,
                        IDB_TOOLBAR, s_aButtons, (int)(sizeof s_aButtons / sizeof s_aButtons[0]), 0,
                        0, TOOLBAR_IMAGE_SIZE, TOOLBAR_IMAGE_SIZE, sizeof(TBBUTTON));
    pState->hwndToolbar = hwnd;
    if (hwnd) {
        LONG_PTR nStyle = GetWindowLongPtrW(hwnd, GWL_STYLE);
        SetWindowLongPtrW(hwnd, GWL_STYLE, nStyle & ~(LONG_PTR)TBSTYLE_TRANSPARENT);
        BuildZoomBox(pState);
    }
    // Both calls accept a missing window and then do nothing.
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
}
