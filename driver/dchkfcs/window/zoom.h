// Zoom model: the mode and percentage in CheckFcsState, the zoom box's list
// and the five zoom commands; statusbar.h shows the percentage.
#ifndef DRIVER_DCHKFCS_WINDOW_ZOOM_H
#define DRIVER_DCHKFCS_WINDOW_ZOOM_H

#include "checkfcsstate.h"

enum {
    ZOOM_MIN_PERCENT = 10,
    ZOOM_MAX_PERCENT = 500,
    ZOOM_FIT_MARGIN = 21,
    ZOOM_PERCENT_TEXT_LEN = 16,  // "-2147483648%" and its terminator fit
};

// Percentage that fits a page of cxPage x cyPage pixels into a view of
// cxView x cyView pixels: the smaller of both fits for the whole page, the
// width fit for the whole width; clamped to 10..500.
int FitZoomPercent(int nMode, int cxView, int cyView, int cxPage, int cyPage);

// A typed zoom box text: its _wtoi value when that lies within 10..500.
BOOL ParseTypedZoom(const WCHAR *pszText, int *pnPercent);

// Index of the zoom box item whose percentage is the nearest one above
// (nDirection > 0) or below (nDirection < 0) nCurrent; -1 when there is none.
int FindZoomStep(HWND hwndZoomBox, int nCurrent, int nDirection);

// "57%": nPercent as the zoom box and the status bar show it.
void FormatZoomPercent(WCHAR *pszText, size_t cchText, int nPercent);

void SetZoomMode(CheckFcsState *pState, int nMode);
void ShowZoomPercent(CheckFcsState *pState);
void ApplyZoomSelection(CheckFcsState *pState);
void ApplyTypedZoom(CheckFcsState *pState);
void ZoomIn(CheckFcsState *pState);
void ZoomOut(CheckFcsState *pState);
void ToggleWholePage(CheckFcsState *pState);
void ToggleWholeWidth(CheckFcsState *pState);

#endif
