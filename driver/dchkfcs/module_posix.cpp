// The library's folder on systems without modules: set by the caller.
#include <string.h>
#include "module.h"

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
