// The frame "VX_CHKFCS_MAINWND": builds and lays out its children and routes
// menu, toolbar, accelerator, zoom-box and help commands.
#ifndef DCHKFCS_FRAMEWND_H
#define DCHKFCS_FRAMEWND_H

#include "checkfcsstate.h"

LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Places the children in the frame's client rectangle: toolbar on top, then
// the view, the dialog bar and the status bar. Missing children take no room.
void LayoutFrame(CheckFcsState *pState, WPARAM wParam, LPARAM lParam);

#endif
