// The platform calls of the help launcher, as one table of routines, and
// the HTML Help API bound at run time. Tests install their own table to
// watch the calls without a viewer appearing.
#ifndef DRIVER_DCHKFCS_WINDOW_HELPBIND_H
#define DRIVER_DCHKFCS_WINDOW_HELPBIND_H

#include <windows.h>

struct HelpPlatform {
    BOOL(WINAPI *pfnGetVersionExW)(LPOSVERSIONINFOW pInfo);
    BOOL(WINAPI *pfnWinHelpW)(HWND hwnd, LPCWSTR pszHelpFile, UINT uCommand, ULONG_PTR dwData);
    LONG(WINAPI *pfnRegQueryValueW)(HKEY hKey, LPCWSTR pszSubKey, LPWSTR pszData, PLONG pcbData);
    HMODULE(WINAPI *pfnLoadLibraryW)(LPCWSTR pszFile);
    FARPROC(WINAPI *pfnGetProcAddress)(HMODULE hModule, LPCSTR pszProc);
};

extern const HelpPlatform g_HelpPlatformDefault;

// The table in use; HelpSetPlatform also forgets an earlier binding and
// returns the table used until then.
const HelpPlatform *HelpGetPlatform();
const HelpPlatform *HelpSetPlatform(const HelpPlatform *pPlatform);

// HtmlHelpW through the HTML Help control, bound at the first call of the
// process. If the control or its entry point is missing the call does
// nothing, now and at every later call.
void InvokeHtmlHelp(HWND hwnd, const WCHAR *pszHelpFile, UINT uCommand, DWORD_PTR dwData);

#endif
