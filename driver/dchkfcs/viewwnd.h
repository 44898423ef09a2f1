// The page view "VX_CHKFCS_VIEWWND": measures the cover sheet once, paints it
// as a page with outline and shadow, scrolls by its bars and the wheel.
#ifndef DCHKFCS_VIEWWND_H
#define DCHKFCS_VIEWWND_H

#include "checkfcsstate.h"

enum {
    PAGE_MARGIN = 8,
    PAGE_SCROLL_EXTRA = 20,
    PAGE_SHADOW = 4,
    SCROLL_LINE = 10,
    WHEEL_LINES_PER_NOTCH = 2,
};

// Registers the class (an existing registration serves) and creates the
// view over the frame's client area; stores nothing in the state itself.
HWND CreatePageView(CheckFcsState *pState);

LRESULT CALLBACK ViewWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Page size at 100 % in device pixels of hdc, from the metafile's frame
// rectangle. A metafile without a readable header or with an empty frame is
// shown as an empty A4 page, as is a frame smaller than one pixel.
void MeasurePage(CheckFcsState *pState, HDC hdc);

// Page rectangle in unscrolled view coordinates for a client rectangle.
RECT ComputePageRect(int nZoomMode, const RECT &rcClient, int cxZoomed, int cyZoomed);

// Computes the zoomed geometry and scroll bars, then draws the page into
// hdc scrolled by the bars' positions. WM_PAINT and WM_PRINTCLIENT use it.
void PaintContent(CheckFcsState *pState, HWND hwndView, HDC hdc);

// New position of a scroll bar for a request code, clamped to
// [nMin, nMax - nPage].
int ComputeScrollPos(int nCode, int nThumb, const SCROLLINFO &si);

#endif
