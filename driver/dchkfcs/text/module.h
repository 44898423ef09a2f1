// The preview library's own module: its instance handle (recorded by DllMain
// at process attach) and its folder, where VELMORAD.VMD and the help files lie.
#ifndef DRIVER_DCHKFCS_TEXT_MODULE_H
#define DRIVER_DCHKFCS_TEXT_MODULE_H

#include <stddef.h>
#include "uichar.h"

#ifdef _WIN32
#include <windows.h>
// The one process-wide handle: resources, the data file and the help file
// are all found through it.
extern HINSTANCE g_hInstance;
#endif

// Writes the library's folder (drive and directory, ending in a separator)
// into pszDest; returns false when it does not fit in cchDest units.
bool GetModuleFolder(UiChar *pszDest, size_t cchDest);

#ifndef _WIN32
// Natively the library has no module of its own: the folder is whatever was
// set here (by tests and tools), none until then. Returns false when the
// folder needs 260 units or more.
bool SetModuleFolder(const UiChar *pszFolder);
#endif

#endif
