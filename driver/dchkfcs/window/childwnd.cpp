// Registration and creation of the preview's own child windows.
#include "childwnd.h"

#include "module.h"

HWND CreateFrameChild(CheckFcsState *pState, const ChildClass &cls, DWORD dwExStyle, DWORD dwStyle,
                      int nId)
{
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = cls.pfnWndProc;
    wc.hInstance = g_hInstance;
    wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(INT_PTR)(cls.nBackgroundColour + 1);
    wc.lpszClassName = cls.pszName;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    RECT rc = {0, 0, 0, 0};
    GetClientRect(pState->hwndFrame, &rc);
    return CreateWindowExW(dwExStyle, cls.pszName, L"", dwStyle, rc.left, rc.top,
                           rc.right - rc.left, rc.bottom - rc.top, pState->hwndFrame,
                           (HMENU)(INT_PTR)nId, g_hInstance, pState);
}
