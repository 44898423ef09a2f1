// The page as the view shows it: measured once from the metafile header,
// then laid out and painted at the current zoom.
#ifndef DRIVER_DCHKFCS_WINDOW_PAGEPAINT_H
#define DRIVER_DCHKFCS_WINDOW_PAGEPAINT_H

#include "checkfcsstate.h"

enum {
    PAGE_MARGIN = 8,
    PAGE_SCROLL_EXTRA = 20,
    PAGE_SHADOW = 4,
};

// Page size at 100 % in device pixels of hdc, from the metafile's frame
// rectangle. A metafile without a readable header or with an empty frame is
// shown as an empty A4 page, as is a frame smaller than one pixel.
void MeasurePage(CheckFcsState *pState, HDC hdc);

// Page rectangle in unscrolled view coordinates for a client rectangle.
RECT ComputePageRect(int nZoomMode, const RECT &rcClient, int cxZoomed, int cyZoomed);

// Computes the zoomed geometry and scroll bars, then draws the page into
// hdc scrolled by the bars' positions. WM_PAINT and WM_PRINTCLIENT use it.
void PaintContent(CheckFcsState *pState, HWND hwndView, HDC hdc);

#endif
