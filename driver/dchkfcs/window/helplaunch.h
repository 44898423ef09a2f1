// Help for the preview: which help file, where it lies, and the two kinds of
// request (the window's topic, per-control help).
#ifndef DRIVER_DCHKFCS_WINDOW_HELPLAUNCH_H
#define DRIVER_DCHKFCS_WINDOW_HELPLAUNCH_H

#include <windows.h>

enum { FCS_HELP_CONTEXT = 22200 };

BOOL IsNt6OrLater();
void GetHelpFilePath(WCHAR *pszDest, UINT cchDest);

// Help command, or a help request whose item is the frame: topic 22200.
void ShowHelpTopic(HWND hwndFrame, const WCHAR *pszHelpFile);
// Help request for any other window or control: the control help map.
void ShowControlHelp(HWND hwndItem, const WCHAR *pszHelpFile);

#endif
