// Zoom model and commands.
#include "zoom.h"

#include <commctrl.h>
#include <stdlib.h>
#include <wchar.h>

#include "statusbar.h"
#include "uistrings.h"

static int ClampZoomPercent(int nPercent)
{
    if (nPercent <= ZOOM_MIN_PERCENT)
        nPercent = ZOOM_MIN_PERCENT;
    if (nPercent >= ZOOM_MAX_PERCENT)
        nPercent = ZOOM_MAX_PERCENT;
    return nPercent;
}

int FitZoomPercent(int nMode, int cxView, int cyView, int cxPage, int cyPage)
{
    // The view measures every page it shows (an unusable one as A4), so a
    // size of 0 only comes from a view that could not measure: show 100 %.
    if (cxPage <= 0 || cyPage <= 0)
        return 100;
    int nFitW = (cxView - ZOOM_FIT_MARGIN) * 100 / cxPage;
    int nFitH = (cyView - ZOOM_FIT_MARGIN) * 100 / cyPage;
    int nPercent = nFitW;
    if (nMode == ZOOM_WHOLEPAGE && nFitH < nFitW)
        nPercent = nFitH;
    return ClampZoomPercent(nPercent);
}

BOOL ParseTypedZoom(const WCHAR *pszText, int *pnPercent)
{
    int nValue = _wtoi(pszText);
    if (nValue < ZOOM_MIN_PERCENT || nValue > ZOOM_MAX_PERCENT)
        return FALSE;
    *pnPercent = nValue;
    return TRUE;
}

void FormatZoomPercent(WCHAR *pszText, size_t cchText, int nPercent)
{
    _snwprintf(pszText, cchText, L"%d%%", nPercent);
    pszText[cchText - 1] = L'\0';
}

static const UiZoomEntry *ZoomItemEntry(HWND hwndZoomBox, int nIndex)
{
    LRESULT lData = SendMessageW(hwndZoomBox, CB_GETITEMDATA, nIndex, 0);
    if (lData == CB_ERR)
        return nullptr;
    return reinterpret_cast<const UiZoomEntry *>(lData);
}

int FindZoomStep(HWND hwndZoomBox, int nCurrent, int nDirection)
{
    int nCount = (int)SendMessageW(hwndZoomBox, CB_GETCOUNT, 0, 0);
    int nTaken = -1;
    int nTakenPercent = 0;
    for (int i = 0; i < nCount; ++i) {
        const UiZoomEntry *pEntry = ZoomItemEntry(hwndZoomBox, i);
        if (!pEntry)
            continue;
        int p = pEntry->nZoomPercent;
        bool bBeyond = nDirection > 0 ? p > nCurrent : p < nCurrent;
        bool bNearer = nDirection > 0 ? p < nTakenPercent : p > nTakenPercent;
        if (bBeyond && (nTaken < 0 || bNearer)) {
            nTaken = i;
            nTakenPercent = p;
        }
    }
    return nTaken;
}

void SetZoomMode(CheckFcsState *pState, int nMode)
{
    pState->nZoomMode = nMode;
    if (nMode == ZOOM_WHOLEPAGE || nMode == ZOOM_WHOLEWIDTH) {
        RECT rc = {0, 0, 0, 0};
        if (pState->hwndView)
            GetClientRect(pState->hwndView, &rc);
        pState->nZoomPercent =
            FitZoomPercent(nMode, abs(rc.right - rc.left), abs(rc.bottom - rc.top), pState->cxPage,
                           pState->cyPage);
        ShowZoomPercent(pState);
    }
    if (pState->hwndView)
        InvalidateRect(pState->hwndView, nullptr, TRUE);
}

void ShowZoomPercent(CheckFcsState *pState)
{
    WCHAR szText[ZOOM_PERCENT_TEXT_LEN];
    FormatZoomPercent(szText, ZOOM_PERCENT_TEXT_LEN, pState->nZoomPercent);
    if (pState->hwndZoomBox)
        SetWindowTextW(pState->hwndZoomBox, szText);
    UpdateStatusZoom(pState);
}

void ApplyZoomSelection(CheckFcsState *pState)
{
    if (!pState->hwndZoomBox)
        return;
    LRESULT nIndex = SendMessageW(pState->hwndZoomBox, CB_GETCURSEL, 0, 0);
    if (nIndex == CB_ERR)
        return;
    const UiZoomEntry *pEntry = ZoomItemEntry(pState->hwndZoomBox, (int)nIndex);
    if (pEntry) {
        pState->nZoomPercent = pEntry->nZoomPercent;
        SetZoomMode(pState, ZOOM_PERCENT);
    }
    UpdateStatusZoom(pState);
}

void ApplyTypedZoom(CheckFcsState *pState)
{
    if (pState->bZoomBoxFocus) {
        // The box holds a zoom list text, a percentage or what was typed.
        WCHAR szText[UI_ZOOM_TEXT_LEN] = L"";
        GetWindowTextW(pState->hwndZoomBox, szText, UI_ZOOM_TEXT_LEN);
        int nPercent;
        if (ParseTypedZoom(szText, &nPercent)) {
            pState->nZoomPercent = nPercent;
            SetZoomMode(pState, ZOOM_PERCENT);
        }
        SetFocus(pState->hwndFrame);
    }
    ShowZoomPercent(pState);
}

static void StepZoom(CheckFcsState *pState, int nDirection)
{
    if (!pState->hwndZoomBox)
        return;
    int nIndex = FindZoomStep(pState->hwndZoomBox, pState->nZoomPercent, nDirection);
    if (nIndex < 0)
        return;
    SendMessageW(pState->hwndZoomBox, CB_SETCURSEL, nIndex, 0);
    ApplyZoomSelection(pState);
}

void ZoomIn(CheckFcsState *pState)
{
    StepZoom(pState, +1);
}

void ZoomOut(CheckFcsState *pState)
{
    StepZoom(pState, -1);
}

// Choosing the active fit mode again keeps its percentage as a fixed zoom.
static void ToggleFitMode(CheckFcsState *pState, int nFitMode)
{
    SetZoomMode(pState, pState->nZoomMode == nFitMode ? ZOOM_PERCENT : nFitMode);
}

void ToggleWholePage(CheckFcsState *pState)
{
    ToggleFitMode(pState, ZOOM_WHOLEPAGE);
}

void ToggleWholeWidth(CheckFcsState *pState)
{
    ToggleFitMode(pState, ZOOM_WHOLEWIDTH);
}
