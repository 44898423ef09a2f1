// Positioned reads from a VMD file: memory copies in buffer mode, file
// reads in fallback mode, and the fixed-size readers on top.
#include <string.h>
#include "vmd.h"

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
