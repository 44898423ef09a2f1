// The dialog bar "VX_CHKFCS_DLGBAR": a strip above the status bar carrying the
// modeless panel of dialog 103 (image position and Close) at its right end
// and an etched two-line separator along its bottom edge.
#ifndef DRIVER_DCHKFCS_WINDOW_DLGBAR_H
#define DRIVER_DCHKFCS_WINDOW_DLGBAR_H

#include "checkfcsstate.h"
#include "uistrings.h"

enum {
    DLGBAR_SEPARATOR_HEIGHT = 2,
    // Three texts of the table, two signed decimals, four spaces, terminator.
    IMAGE_POSITION_TEXT_LEN = 3 * (UI_TEXT_LEN - 1) + 2 * 11 + 4 + 1,
};

// Registers the class, creates the hidden bar and its panel, sizes the bar
// to the panel's height plus the separator and shows it. Returns the bar;
// the panel goes to hwndDlgPanel. The bar keeps the state in its user data.
HWND CreateDialogBar(CheckFcsState *pState);

// "Image Position X 12 Y -3" from the UI string table's texts.
void FormatImagePosition(WCHAR *pszDest, size_t cchDest, int nImageX, int nImageY);

LRESULT CALLBACK DlgBarWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DlgBarDlgProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

#endif
