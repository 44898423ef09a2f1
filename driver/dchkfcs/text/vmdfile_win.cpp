// Win32 file layer of the VMD reader: the file opened for reading with read
// sharing only, so nobody can write it while it is open; zero-filled fixed
// global memory.
#include <windows.h>
#include "vmd.h"

static VmdHandle WinOpen(const UiChar *pszPath)
{
    HANDLE h = CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? VMD_NO_HANDLE : reinterpret_cast<VmdHandle>(h);
}

static HANDLE AsHandle(VmdHandle hFile)
{
    return reinterpret_cast<HANDLE>(hFile);
}

// Files of 4 GiB or more have no 32-bit size: they are read in fallback mode.
static bool WinGetSize(VmdHandle hFile, uint32_t *pcbSize)
{
    DWORD cbHigh = 0;
    DWORD cbLow = GetFileSize(AsHandle(hFile), &cbHigh);
    if (cbLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return false;
    if (cbHigh != 0)
        return false;
    *pcbSize = cbLow;
    return true;
}

static bool WinRead(VmdHandle hFile, void *pDest, uint32_t cb, uint32_t *pcbRead)
{
    DWORD cbRead = 0;
    if (!ReadFile(AsHandle(hFile), pDest, cb, &cbRead, nullptr))
        return false;
    *pcbRead = cbRead;
    return true;
}

// The high part (0) makes offsets of 2 GiB and more count as unsigned.
static bool WinSeek(VmdHandle hFile, uint32_t off)
{
    LONG offHigh = 0;
    SetLastError(NO_ERROR);
    DWORD pos = SetFilePointer(AsHandle(hFile), LONG(off), &offHigh, FILE_BEGIN);
    return !(pos == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

static void WinClose(VmdHandle hFile)
{
    CloseHandle(AsHandle(hFile));
}

static void *WinAllocZero(size_t cb)
{
    return reinterpret_cast<void *>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, cb));
}

static void WinFree(void *p)
{
    GlobalFree(reinterpret_cast<HGLOBAL>(p));
}

const VmdFileOps g_VmdPlatformFileOps = {
    WinOpen, WinGetSize, WinRead, WinSeek, WinClose, WinAllocZero, WinFree,
};
