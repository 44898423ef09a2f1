// The frame's status bar: an empty part and, at the right, the zoom
// percentage in a part twice as wide as its text.
#ifndef DRIVER_DCHKFCS_WINDOW_STATUSBAR_H
#define DRIVER_DCHKFCS_WINDOW_STATUSBAR_H

#include "checkfcsstate.h"

enum { STATUS_DEFAULT_PART = 50, STATUS_RIGHT_RESERVE = 16 };

// Creates the status bar, which places itself along the frame's bottom edge.
HWND CreateStatusBar(const CheckFcsState *pState);

// Lays out the two parts for the frame's width and shows nZoomPercent.
void UpdateStatusZoom(CheckFcsState *pState);

#endif
