/*
 * velmoraz.h - the modal fax cover-sheet preview of VELMORAZ.dll.
 *
 * Usable from C89, C99 and C++ hosts; link VELMORAZ.lib (MSVC) or
 * libvelmoraz.dll.a (mingw-w64), or bind the plain name at run time.
 */
#ifndef DRIVER_DCHKFCS_VELMORAZ_H
#define DRIVER_DCHKFCS_VELMORAZ_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Shows hCoverSheet in a modal frame over hwndParent until the user closes
 * it; nImageX and nImageY are shown as the image position, dwCallerData is
 * kept but not used. Returns 1 when shown and closed, 0 when there is no
 * cover sheet or no frame could be made. */
int WINAPI DispCheckFcsWindow(HWND hwndParent, HENHMETAFILE hCoverSheet, DWORD dwCallerData,
                              int nImageX, int nImageY);

#ifdef __cplusplus
}
#endif

#endif /* DRIVER_DCHKFCS_VELMORAZ_H */
