// Key names and texts of a VMD file, read one byte or one UTF-16 unit at a
// time into a zeroed work buffer: whatever cannot be read ends the string.
#include <string.h>
#include "vmd.h"

// Positions are 32-bit and wrap like every offset of the format. Only a
// string that runs over 4 GiB (read in fallback mode) ever wraps.
bool VmdReadString(VmdFile *pFile, uint32_t off, char *pszDest, size_t cbDest)
{
    char work[VMD_STRING_MAX];
    memset(work, 0, sizeof work);
    for (uint32_t i = 0; i < VMD_STRING_MAX; ++i) {
        if (VmdReadAt(pFile, &work[i], 1, off + i) < 0)
            return false;
        if (work[i] == 0) {
            if (i + 1 > cbDest)
                return false;  // a cut key could match the wrong entry
            memcpy(pszDest, work, i + 1);
            return true;
        }
    }
    return false;
}

static bool IsHighSurrogate(UiChar ch)
{
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool VmdReadWideString(VmdFile *pFile, uint32_t off, UiChar *pszDest, size_t cchDest)
{
    UiChar work[VMD_STRING_MAX];
    memset(work, 0, sizeof work);
    uint32_t n = 0;
    for (; n < VMD_STRING_MAX; ++n) {
        uint8_t unit[2] = {0, 0};
        VmdReadAt(pFile, unit, 2, off + 2 * n);  // a failed read leaves the zero
        work[n] = UiChar(unit[0] | unit[1] << 8);
        if (work[n] == 0)
            break;
    }
    if (n == 0 || n == VMD_STRING_MAX || cchDest < 2)
        return false;
    size_t cchCopy = n < cchDest - 1 ? n : cchDest - 1;
    if (cchCopy < n && IsHighSurrogate(work[cchCopy - 1]))
        --cchCopy;
    if (cchCopy == 0)
        return false;
    memcpy(pszDest, work, cchCopy * sizeof(UiChar));
    pszDest[cchCopy] = 0;
    return true;
}
