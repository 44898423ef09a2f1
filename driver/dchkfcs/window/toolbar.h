// The frame's toolbar: seven buttons from bitmap 101 and the zoom box in the
// slot of IDM_ZOOMBOX.
#ifndef DRIVER_DCHKFCS_WINDOW_TOOLBAR_H
#define DRIVER_DCHKFCS_WINDOW_TOOLBAR_H

#include "checkfcsstate.h"

// Builds the toolbar and its zoom box, shows it and stores hwndToolbar and
// hwndZoomBox; a toolbar that cannot be created is left out.
void BuildToolbar(CheckFcsState *pState);

#endif
