#include "langfile.h"

#include <cstdio>
#include <initializer_list>

static bool JoinPath(WCHAR *pszDest, const WCHAR *pszFolder, const WCHAR *pszName)
{
    int n = swprintf(pszDest, MAX_PATH, L"%ls%ls", pszFolder, pszName);
    return n > 0 && n < MAX_PATH;
}

bool PlaceLanguageFile(const WCHAR *pszFolder, const WCHAR *pszCode)
{
    WCHAR szSource[MAX_PATH], szTarget[MAX_PATH], szSaved[MAX_PATH], szName[64];
    if (!JoinPath(szTarget, pszFolder, L"VELMORAD.VMD") ||
        !JoinPath(szSaved, pszFolder, L"VELMORAD.VMD.saved"))
        return false;
    // lang\ beside the program (build tree) or one folder up (the SDK
    // archive, where x64\ and x86\ share one lang\).
    bool bFound = false;
    for (const WCHAR *pszUp : {L"", L"..\\"}) {
        swprintf(szName, ARRAYSIZE(szName), L"%lslang\\%ls\\VELMORAD.VMD", pszUp, pszCode);
        if (JoinPath(szSource, pszFolder, szName) &&
            GetFileAttributesW(szSource) != INVALID_FILE_ATTRIBUTES) {
            bFound = true;
            break;
        }
    }
    if (!bFound) {
        std::printf("fcsview: no texts for language %ls (%ls)\n", pszCode, szSource);
        return false;
    }
    if (GetFileAttributesW(szTarget) != INVALID_FILE_ATTRIBUTES)
        MoveFileExW(szTarget, szSaved, MOVEFILE_REPLACE_EXISTING);
    if (!CopyFileW(szSource, szTarget, FALSE)) {
        std::printf("fcsview: cannot copy %ls\n", szSource);
        RemoveLanguageFile(pszFolder);
        return false;
    }
    return true;
}

void RemoveLanguageFile(const WCHAR *pszFolder)
{
    WCHAR szTarget[MAX_PATH], szSaved[MAX_PATH];
    if (!JoinPath(szTarget, pszFolder, L"VELMORAD.VMD") ||
        !JoinPath(szSaved, pszFolder, L"VELMORAD.VMD.saved"))
        return;
    DeleteFileW(szTarget);
    if (GetFileAttributesW(szSaved) != INVALID_FILE_ATTRIBUTES)
        MoveFileExW(szSaved, szTarget, 0);
}
