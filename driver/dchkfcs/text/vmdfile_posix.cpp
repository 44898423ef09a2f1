// POSIX file layer of the VMD reader: a regular file opened read-only with
// a shared advisory lock, and zero-filled heap memory.
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include "vmd.h"

static VmdHandle PosixOpen(const UiChar *pszPath)
{
    char szPath[VMD_PATH_LEN * 3];
    if (VmdUtf16ToUtf8(pszPath, szPath, sizeof szPath) == VMD_UTF8_NO_ROOM)
        return VMD_NO_HANDLE;
    int fd = open(szPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return VMD_NO_HANDLE;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flock(fd, LOCK_SH | LOCK_NB) != 0) {
        close(fd);
        return VMD_NO_HANDLE;
    }
    return fd;
}

static bool PosixGetSize(VmdHandle hFile, uint32_t *pcbSize)
{
    struct stat st;
    if (fstat(int(hFile), &st) != 0 || st.st_size < 0 || uint64_t(st.st_size) > UINT32_MAX)
        return false;
    *pcbSize = uint32_t(st.st_size);
    return true;
}

static bool PosixRead(VmdHandle hFile, void *pDest, uint32_t cb, uint32_t *pcbRead)
{
    ssize_t n;
    do {
        n = read(int(hFile), pDest, cb);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return false;
    *pcbRead = uint32_t(n);
    return true;
}

static bool PosixSeek(VmdHandle hFile, uint32_t off)
{
    return lseek(int(hFile), off_t(off), SEEK_SET) == off_t(off);
}

static void PosixClose(VmdHandle hFile)
{
    close(int(hFile));
}

static void *PosixAllocZero(size_t cb)
{
    return calloc(1, cb);
}

const VmdFileOps g_VmdPlatformFileOps = {
    PosixOpen, PosixGetSize, PosixRead, PosixSeek, PosixClose, PosixAllocZero, free,
};
