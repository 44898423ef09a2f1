// The help launcher: the help file next to the library (HTML Help from
// NT 6.0 on, WinHelp before) and the two kinds of help request.
#include <string.h>
#include <wchar.h>
#include "helpbind.h"
#include <htmlhelp.h>  // after windows.h, which it needs
#include "helplaunch.h"
#include "module.h"

static const WCHAR s_szChmFile[] = L"VELMORA_.CHM";
static const WCHAR s_szHlpFile[] = L"VELMORA_.HLP";

// Per-control help: no control has a topic of its own, so the map holds
// only its terminating pair.
static const DWORD s_aControlHelpMap[] = {0, 0};

BOOL IsNt6OrLater()
{
    OSVERSIONINFOW info;
    memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!HelpGetPlatform()->pfnGetVersionExW(&info))
        return FALSE;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 6;
}

// A folder so deep that the help file's path does not fit leaves the path
// empty: a cut path would name some other file.
static void BuildHelpFilePath(WCHAR *pszPath)
{
    const WCHAR *pszName = IsNt6OrLater() ? s_szChmFile : s_szHlpFile;
    if (!GetModuleFolder(pszPath, MAX_PATH) || wcslen(pszPath) + wcslen(pszName) >= MAX_PATH) {
        pszPath[0] = 0;
        return;
    }
    wcscat(pszPath, pszName);
}

void GetHelpFilePath(WCHAR *pszDest, UINT cchDest)
{
    if (cchDest == 0)
        return;
    WCHAR szPath[MAX_PATH];
    BuildHelpFilePath(szPath);
    wcsncpy(pszDest, szPath, cchDest - 1);
    pszDest[cchDest - 1] = 0;
}

void ShowHelpTopic(HWND hwndFrame, const WCHAR *pszHelpFile)
{
    if (IsNt6OrLater())
        InvokeHtmlHelp(hwndFrame, pszHelpFile, HH_HELP_CONTEXT, FCS_HELP_CONTEXT);
    else
        HelpGetPlatform()->pfnWinHelpW(hwndFrame, pszHelpFile, HELP_CONTEXT, FCS_HELP_CONTEXT);
}

void ShowControlHelp(HWND hwndItem, const WCHAR *pszHelpFile)
{
    ULONG_PTR dwMap = reinterpret_cast<ULONG_PTR>(s_aControlHelpMap);
    if (IsNt6OrLater())
        InvokeHtmlHelp(hwndItem, pszHelpFile, HH_TP_HELP_WM_HELP, dwMap);
    else
        HelpGetPlatform()->pfnWinHelpW(hwndItem, pszHelpFile, HELP_WM_HELP, dwMap);
}
