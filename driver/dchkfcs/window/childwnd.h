// The preview's own child window classes, registered on first use, and
// their windows made over the frame's client area (the frame lays them out).
#ifndef DRIVER_DCHKFCS_WINDOW_CHILDWND_H
#define DRIVER_DCHKFCS_WINDOW_CHILDWND_H

#include "checkfcsstate.h"

struct ChildClass {
    const WCHAR *pszName;
    WNDPROC pfnWndProc;
    int nBackgroundColour;  // COLOR_* index
};

// The child's user data receives pState at WM_NCCREATE, as for every window
// of the preview.
HWND CreateFrameChild(CheckFcsState *pState, const ChildClass &cls, DWORD dwExStyle, DWORD dwStyle,
                      int nId);

#endif
