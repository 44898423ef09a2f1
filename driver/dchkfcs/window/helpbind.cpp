// Binding of the HTML Help API at run time, as the HTML Help SDK's import
// library does it: the control named in the registry under its class id,
// else hhctrl.ocx by name, and its entry point by ordinal.
#include "helpbind.h"

typedef HWND(WINAPI *HtmlHelpProc)(HWND hwnd, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData);

enum { HTMLHELPW_ORDINAL = 15, CONTROL_PATH_BYTES = 260 };

static const WCHAR s_szControlKey[] =
    L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

const HelpPlatform g_HelpPlatformDefault = {
    GetVersionExW, WinHelpW, RegQueryValueW, LoadLibraryW, GetProcAddress,
};

enum BindState { BIND_NOT_TRIED, BIND_DONE, BIND_FAILED };

// Process-wide: the binding, once made or failed, holds for the rest of the
// process, and the table of platform calls it was made with.
static const HelpPlatform *s_pPlatform = &g_HelpPlatformDefault;
static BindState s_bindState = BIND_NOT_TRIED;
static HtmlHelpProc s_pfnHtmlHelp;

const HelpPlatform *HelpGetPlatform()
{
    return s_pPlatform;
}

const HelpPlatform *HelpSetPlatform(const HelpPlatform *pPlatform)
{
    const HelpPlatform *pOld = s_pPlatform;
    s_pPlatform = pPlatform;
    s_bindState = BIND_NOT_TRIED;
    s_pfnHtmlHelp = nullptr;
    return pOld;
}

static HMODULE LoadHelpControl()
{
    WCHAR szPath[CONTROL_PATH_BYTES / sizeof(WCHAR) + 1] = {0};
    LONG cbPath = CONTROL_PATH_BYTES;
    if (s_pPlatform->pfnRegQueryValueW(HKEY_CLASSES_ROOT, s_szControlKey, szPath, &cbPath) ==
            ERROR_SUCCESS &&
        szPath[0] != 0) {
        HMODULE hControl = s_pPlatform->pfnLoadLibraryW(szPath);
        if (hControl)
            return hControl;
    }
    return s_pPlatform->pfnLoadLibraryW(L"hhctrl.ocx");
}

static void BindHtmlHelp()
{
    s_bindState = BIND_FAILED;
    HMODULE hControl = LoadHelpControl();
    if (!hControl)
        return;
    FARPROC pfn = s_pPlatform->pfnGetProcAddress(hControl, MAKEINTRESOURCEA(HTMLHELPW_ORDINAL));
    if (!pfn)
        return;
    s_pfnHtmlHelp = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void (*)()>(pfn));
    s_bindState = BIND_DONE;
}

void InvokeHtmlHelp(HWND hwnd, const WCHAR *pszHelpFile, UINT uCommand, DWORD_PTR dwData)
{
    if (s_bindState == BIND_NOT_TRIED)
        BindHtmlHelp();
    if (s_bindState == BIND_DONE)
        s_pfnHtmlHelp(hwnd, pszHelpFile, uCommand, dwData);
}
