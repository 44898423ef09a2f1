// The zoom combo box in the toolbar's IDM_ZOOMBOX slot.
#ifndef DRIVER_DCHKFCS_WINDOW_ZOOMBOX_H
#define DRIVER_DCHKFCS_WINDOW_ZOOMBOX_H

#include "checkfcsstate.h"

// Turns the IDM_ZOOMBOX button into an 80-pixel separator and creates the
// zoom combo box over it, filled from the zoom list; stores hwndZoomBox.
void BuildZoomBox(CheckFcsState *pState);

#endif
