// The VMD reader: opening a file (loaded whole when it can be), positioned
// reads from the buffer or the file, key names and texts read one unit at a
// time, and finding a section by name.
#include <string.h>
#include "vmd.h"
#include "vmdwalk.h"

// The file layer that VmdOpen gives to new files; only tests change it.
static const VmdFileOps *s_pFileOps = &g_VmdPlatformFileOps;

const VmdFileOps *VmdSetFileOps(const VmdFileOps *pOps)
{
    const VmdFileOps *pOld = s_pFileOps;
    s_pFileOps = pOps;
    return pOld;
}

// Buffer mode when the whole file can be read; otherwise the record stays
// in fallback mode.
static void LoadWholeFile(VmdFile *pFile)
{
    const VmdFileOps *pOps = pFile->pOps;
    uint32_t cbSize;
    if (!pOps->GetSize(pFile->hFile, &cbSize))
        return;
    // One byte at least, so that an empty file also gets a buffer.
    uint8_t *pbData = static_cast<uint8_t *>(pOps->AllocZero(cbSize ? cbSize : 1));
    if (!pbData)
        return;
    uint32_t cbDone = 0;
    while (cbDone < cbSize) {
        uint32_t cbRead = 0;
        if (!pOps->Read(pFile->hFile, pbData + cbDone, cbSize - cbDone, &cbRead)) {
            pOps->Free(pbData);
            return;
        }
        if (cbRead == 0)
            break;  // the file is shorter than it said; the rest stays zero
        cbDone += cbRead;
    }
    pFile->pbData = pbData;
    pFile->cbData = cbSize;
    pOps->Seek(pFile->hFile, 0);
}

VmdFile *VmdOpen(const UiChar *pszPath)
{
    const VmdFileOps *pOps = s_pFileOps;
    size_t cchPath = UiTextLength(pszPath, VMD_PATH_LEN);
    if (cchPath >= VMD_PATH_LEN)
        return nullptr;
    VmdFile *pFile = static_cast<VmdFile *>(pOps->AllocZero(sizeof(VmdFile)));
    if (!pFile)
        return nullptr;
    pFile->pOps = pOps;
    memcpy(pFile->szPath, pszPath, cchPath * sizeof(UiChar));
    pFile->hFile = pOps->Open(pFile->szPath);
    if (pFile->hFile == VMD_NO_HANDLE) {
        pOps->Free(pFile);
        return nullptr;
    }
    LoadWholeFile(pFile);
    return pFile;
}

void VmdClose(VmdFile *pFile)
{
    if (!pFile)
        return;
    const VmdFileOps *pOps = pFile->pOps;
    pOps->Close(pFile->hFile);
    if (pFile->pbData)
        pOps->Free(pFile->pbData);
    pOps->Free(pFile);
}

uint32_t VmdGetU32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

static int32_t ReadFromBuffer(VmdFile *pFile, void *pDest, uint32_t cb, uint32_t off)
{
    if (off >= pFile->cbData)
        return 0;
    uint32_t cbAvail = pFile->cbData - off;
    uint32_t cbCopy = cb < cbAvail ? cb : cbAvail;
    memcpy(pDest, pFile->pbData + off, cbCopy);
    return int32_t(cbCopy);
}

static int32_t ReadFromFile(VmdFile *pFile, void *pDest, uint32_t cb, uint32_t off)
{
    const VmdFileOps *pOps = pFile->pOps;
    if (!pOps->Seek(pFile->hFile, off))
        return 0;
    uint32_t cbDone = 0;
    while (cbDone < cb) {
        uint32_t cbRead = 0;
        if (!pOps->Read(pFile->hFile, static_cast<uint8_t *>(pDest) + cbDone, cb - cbDone, &cbRead))
            return -1;
        if (cbRead == 0)
            break;
        cbDone += cbRead;
    }
    return int32_t(cbDone);
}

int32_t VmdReadAt(VmdFile *pFile, void *pDest, uint32_t cb, uint32_t off)
{
    if (cb > uint32_t(INT32_MAX))
        cb = INT32_MAX;  // the count must stay representable in the result
    if (pFile->pbData)
        return ReadFromBuffer(pFile, pDest, cb, off);
    return ReadFromFile(pFile, pDest, cb, off);
}

// A read error counts as failure too: a head read only in part is not
// reported as read.
bool VmdReadSectionHead(VmdFile *pFile, uint32_t off, uint8_t *pHead)
{
    return off != 0 && VmdReadAt(pFile, pHead, VMD_SECTION_HEAD_SIZE, off) > 0;
}

bool VmdReadSectionCounts(VmdFile *pFile, uint32_t off, uint8_t *pCounts)
{
    return VmdReadAt(pFile, pCounts, VMD_SECTION_COUNTS_SIZE, off) > 0;
}

bool VmdReadBlock(VmdFile *pFile, uint32_t off, uint32_t cb, void *pDest)
{
    return VmdReadAt(pFile, pDest, cb, off) != -1;
}

// Key names and texts are read one byte or one UTF-16 unit at a time into a
// zeroed work buffer: whatever cannot be read ends the string. Positions are
// 32-bit and wrap like every offset of the format; only a string that runs
// over 4 GiB (read in fallback mode) ever wraps.
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
    if (cchCopy < n && UiIsHighSurrogate(work[cchCopy - 1]))
        --cchCopy;
    if (cchCopy == 0)
        return false;
    memcpy(pszDest, work, cchCopy * sizeof(UiChar));
    pszDest[cchCopy] = 0;
    return true;
}

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
