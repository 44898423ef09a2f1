// The library's folder on Windows: drive and directory of its own file.
#include <string.h>
#include "module.h"

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
