// QueryCommandState and UpdateCommandState.
#include "cmdstate.h"

#include <commctrl.h>

#include "resource.h"

BOOL QueryCommandState(const CheckFcsState *pState, UINT uId, UINT *puState)
{
    *puState = 0;
    int nMode;
    if (uId == IDM_WHOLEPAGE)
        nMode = ZOOM_WHOLEPAGE;
    else if (uId == IDM_WHOLEWIDTH)
        nMode = ZOOM_WHOLEWIDTH;
    else
        return FALSE;
    if (pState->nZoomMode == nMode)
        *puState |= CMDSTATE_CHECKED;
    return TRUE;
}

static void UpdateMenuState(const CheckFcsState *pState, HMENU hmenu)
{
    int nCount = GetMenuItemCount(hmenu);
    for (int i = 0; i < nCount; ++i) {
        UINT uId = GetMenuItemID(hmenu, i);
        UINT uState;
        if (!QueryCommandState(pState, uId, &uState))
            continue;
        CheckMenuItem(hmenu, uId,
                      MF_BYCOMMAND | (uState & CMDSTATE_CHECKED ? MF_CHECKED : MF_UNCHECKED));
        EnableMenuItem(hmenu, uId, MF_BYCOMMAND | MF_ENABLED);
    }
}

static void UpdateToolbarState(const CheckFcsState *pState, HWND hwndToolbar)
{
    TBBUTTON button;
    for (int i = 0; SendMessageW(hwndToolbar, TB_GETBUTTON, i, (LPARAM)&button); ++i) {
        UINT uState;
        if (!QueryCommandState(pState, (UINT)button.idCommand, &uState))
            continue;
        BYTE fsState = button.fsState | TBSTATE_ENABLED;
        if (uState & CMDSTATE_CHECKED)
            fsState |= TBSTATE_CHECKED;
        else
            fsState &= ~TBSTATE_CHECKED;
        SendMessageW(hwndToolbar, TB_SETSTATE, button.idCommand, MAKELPARAM(fsState, 0));
    }
}

void UpdateCommandState(const CheckFcsState *pState, HMENU hmenuPopup, HWND hwndToolbar)
{
    if (hmenuPopup)
        UpdateMenuState(pState, hmenuPopup);
    if (hwndToolbar)
        UpdateToolbarState(pState, hwndToolbar);
}
