// The library's one export: the modal cover-sheet preview.
#ifndef DCHKFCS_DISPCHECKFCS_H
#define DCHKFCS_DISPCHECKFCS_H

#include <windows.h>

// Shows hCoverSheet in a modal frame over hwndParent until the user closes
// it. 1: shown and closed; 0: no cover sheet, or no frame could be made.
extern "C" int WINAPI DispCheckFcsWindow(HWND hwndParent, HENHMETAFILE hCoverSheet,
                                         DWORD dwCallerData, int nImageX, int nImageY);

#endif
