// The frame "VX_CHKFCS_MAINWND": builds and lays out its children and routes
// menu, toolbar, accelerator, zoom-box and help commands.
#ifndef DRIVER_DCHKFCS_WINDOW_FRAMEWND_H
#define DRIVER_DCHKFCS_WINDOW_FRAMEWND_H

#include "checkfcsstate.h"

LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

#endif
