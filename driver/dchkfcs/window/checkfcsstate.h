// Per-call state of the preview. It lives in the frame of DispCheckFcsWindow;
// every window of the preview reaches it through its user data.
#ifndef DRIVER_DCHKFCS_WINDOW_CHECKFCSSTATE_H
#define DRIVER_DCHKFCS_WINDOW_CHECKFCSSTATE_H

#include <windows.h>

enum { ZOOM_WHOLEPAGE = 0, ZOOM_WHOLEWIDTH = 1, ZOOM_PERCENT = 2 };
enum { FCS_PATH_LEN = 260 };

struct CheckFcsState {
    HENHMETAFILE hCoverSheet;
    DWORD dwCallerData;  // stored, never read
    int nImageX;
    int nImageY;
    WCHAR szHelpFile[FCS_PATH_LEN];
    int nZoomMode;
    int nZoomPercent;
    HWND hwndFrame;
    HWND hwndToolbar;
    HWND hwndZoomBox;
    HWND hwndStatus;
    HWND hwndDlgBar;
    HWND hwndDlgPanel;  // dialog 103 inside the dialog bar
    HWND hwndView;
    BOOL bZoomBoxFocus;
    int cxPage, cyPage;      // page at 100 %, screen pixels
    int cxScroll, cyScroll;  // zoomed size plus 20
    int cxZoomed, cyZoomed;
    RECT rcPage;  // unscrolled view coordinates
};

// The state pointer kept in a window's user data (GWLP_USERDATA).
inline CheckFcsState *GetWindowState(HWND hwnd)
{
    return reinterpret_cast<CheckFcsState *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

inline void SetWindowState(HWND hwnd, CheckFcsState *pState)
{
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pState));
}

#endif
