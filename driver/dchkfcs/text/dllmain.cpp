// Entry point of the preview library: it records its instance handle when
// it is attached to a process, and does nothing else.
#include <windows.h>
#include "module.h"

HINSTANCE g_hInstance;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        g_hInstance = hInstance;
    return TRUE;
}
