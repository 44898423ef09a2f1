// The host's own top-level window, over which the preview opens modally.
#ifndef TOOLS_FCSVIEW_HOSTWINDOW_H
#define TOOLS_FCSVIEW_HOSTWINDOW_H

#include <windows.h>

HWND CreateHostWindow(HINSTANCE hInstance);

#endif
