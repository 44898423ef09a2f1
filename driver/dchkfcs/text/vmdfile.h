// The VMD reader's file layer: the few platform operations it needs, as one
// table of routines (Win32 on Windows, POSIX natively). Tests install their
// own table to make single operations fail.
#ifndef DRIVER_DCHKFCS_TEXT_VMDFILE_H
#define DRIVER_DCHKFCS_TEXT_VMDFILE_H

#include <stddef.h>
#include <stdint.h>
#include "uichar.h"

typedef intptr_t VmdHandle;
const VmdHandle VMD_NO_HANDLE = -1;

struct VmdFileOps {
    // Opens an existing file read-only, others may read it too.
    VmdHandle (*Open)(const UiChar *pszPath);
    bool (*GetSize)(VmdHandle hFile, uint32_t *pcbSize);
    // False on a read error; *pcbRead is 0 at the end of the file.
    bool (*Read)(VmdHandle hFile, void *pDest, uint32_t cb, uint32_t *pcbRead);
    bool (*Seek)(VmdHandle hFile, uint32_t off);
    void (*Close)(VmdHandle hFile);
    void *(*AllocZero)(size_t cb);
    void (*Free)(void *p);
};

extern const VmdFileOps g_VmdPlatformFileOps;

#endif
