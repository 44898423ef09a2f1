// The page view "VX_CHKFCS_VIEWWND": measures the cover sheet once, paints it
// through pagepaint.h, scrolls by its bars and the wheel.
#ifndef DRIVER_DCHKFCS_WINDOW_VIEWWND_H
#define DRIVER_DCHKFCS_WINDOW_VIEWWND_H

#include "checkfcsstate.h"

enum {
    SCROLL_LINE = 10,
    WHEEL_LINES_PER_NOTCH = 2,
};

// Registers the class (an existing registration serves) and creates the
// view over the frame's client area; stores nothing in the state itself.
HWND CreatePageView(CheckFcsState *pState);

LRESULT CALLBACK ViewWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// New position of a scroll bar for a request code, clamped to
// [nMin, nMax - nPage].
int ComputeScrollPos(int nCode, int nThumb, const SCROLLINFO &si);

#endif
