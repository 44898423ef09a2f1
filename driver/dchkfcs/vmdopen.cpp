// Opening and closing VMD files: the whole file is loaded into one
// zero-filled buffer when its size and the memory are available.
#include <string.h>
#include "vmd.h"

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
