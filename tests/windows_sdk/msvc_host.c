/* References both exports as an MSVC-built host does; linked by lld-link
 * against VELMORAJ.lib and VELMORAZ.lib, never run. The preview's export is
 * declared here: mingw-w64's <windows.h> does not compile for MSVC targets. */
#include <velmoraj.h>

typedef struct HWND__ *HWND;
typedef struct HENHMETAFILE__ *HENHMETAFILE;
int __stdcall DispCheckFcsWindow(HWND, HENHMETAFILE, unsigned long, int, int);

int Host(JpegJob *job)
{
    return Jpeg_EncodeStart(job, JPEG_MODE_MEASURE) + DispCheckFcsWindow(0, 0, 0, 0, 0);
}
