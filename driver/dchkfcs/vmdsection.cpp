// Finding a section of a VMD file by name.
#include <string.h>
#include "vmdwalk.h"

static char LowerAscii(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? char(ch - 'A' + 'a') : ch;
}

bool VmdNamesEqual(const char *pszA, const char *pszB)
{
    for (;; ++pszA, ++pszB) {
        if (LowerAscii(*pszA) != LowerAscii(*pszB))
            return false;
        if (*pszA == 0)
            return true;
    }
}

// The name field holds at most 31 characters and a NUL; a field without
// one is taken as a name of 32 characters.
static bool SectionNameIs(const uint8_t *pHead, const char *pszName)
{
    char szField[VMD_SECTION_NAME_LEN + 1];
    memcpy(szField, pHead, VMD_SECTION_NAME_LEN);
    szField[VMD_SECTION_NAME_LEN] = 0;
    return VmdNamesEqual(szField, pszName);
}

uint32_t VmdFindSection(VmdFile *pFile, const char *pszName)
{
    VmdSectionWalk walk;
    uint8_t head[VMD_SECTION_HEAD_SIZE];
    VmdStartSectionWalk(pFile, &walk);
    while (VmdReadNextSection(pFile, &walk, head) == VMD_WALK_RECORD) {
        if (SectionNameIs(head, pszName))
            return walk.offSection < walk.uLimit ? walk.offSection : 0;
    }
    return 0;
}
