// The library's folder: on Windows drive and directory of its own file; on
// systems without modules whatever the caller set.
#include <string.h>
#include "module.h"

#ifdef _WIN32

// Length of drive and directory: everything up to the last separator.
static size_t FolderLength(const WCHAR *pszPath)
{
    size_t cchFolder = 0;
    for (size_t i = 0; pszPath[i] != 0; ++i) {
        if (pszPath[i] == L'\\' || pszPath[i] == L'/' || pszPath[i] == L':')
            cchFolder = i + 1;
    }
    return cchFolder;
}

// A module path that fills the whole buffer may have been cut: no folder.
bool GetModuleFolder(UiChar *pszDest, size_t cchDest)
{
    WCHAR szPath[MAX_PATH];
    DWORD cchPath = GetModuleFileNameW(g_hInstance, szPath, MAX_PATH);
    if (cchPath == 0 || cchPath >= MAX_PATH)
        return false;
    size_t cchFolder = FolderLength(szPath);
    if (cchFolder >= cchDest)
        return false;
    memcpy(pszDest, szPath, cchFolder * sizeof(WCHAR));
    pszDest[cchFolder] = 0;
    return true;
}

#else

enum { FOLDER_LEN = 260 };

// The folder given to SetModuleFolder; empty means none.
static UiChar s_szFolder[FOLDER_LEN];

bool SetModuleFolder(const UiChar *pszFolder)
{
    size_t cch = UiTextLength(pszFolder, FOLDER_LEN);
    if (cch >= FOLDER_LEN)
        return false;
    memcpy(s_szFolder, pszFolder, cch * sizeof(UiChar));
    s_szFolder[cch] = 0;
    return true;
}

bool GetModuleFolder(UiChar *pszDest, size_t cchDest)
{
    size_t cch = UiTextLength(s_szFolder, FOLDER_LEN);
    if (cch == 0 || cch >= cchDest)
        return false;
    memcpy(pszDest, s_szFolder, (cch + 1) * sizeof(UiChar));
    return true;
}

#endif
