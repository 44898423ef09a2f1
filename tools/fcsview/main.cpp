// fcsview: a small host for the two driver libraries. It shows a cover sheet
// in the preview of VELMORAZ.dll, loaded from the program's own folder as a
// driver loads it, or encodes the cover sheet with VELMORAJ.dll.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "coversheet.h"
#include "encode.h"
#include "hostwindow.h"
#include "langfile.h"
#include "options.h"
#include "screenshot.h"
#include "velmoraz.h"

typedef decltype(&DispCheckFcsWindow) DispCheckFcsWindowFn;

// The program's folder, ending in a backslash; both libraries lie there.
static bool GetProgramFolder(WCHAR *pszFolder)
{
    DWORD cch = GetModuleFileNameW(nullptr, pszFolder, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH)
        return false;
    WCHAR *pszSlash = wcsrchr(pszFolder, L'\\');
    if (!pszSlash)
        return false;
    pszSlash[1] = L'\0';
    return true;
}

static HENHMETAFILE LoadCoverSheet(const Options &options)
{
    if (!options.pszCoverSheet)
        return CreateSampleCoverSheet();
    HENHMETAFILE hemf = GetEnhMetaFileW(options.pszCoverSheet);
    if (!hemf)
        std::printf("fcsview: cannot read the metafile %ls\n", options.pszCoverSheet);
    return hemf;
}

// Returns the export's result, or -1 when the library could not be used.
static int ShowPreview(const WCHAR *pszFolder, HENHMETAFILE hCoverSheet, const Options &options)
{
    WCHAR szDll[MAX_PATH];
    swprintf(szDll, MAX_PATH, L"%lsVELMORAZ.dll", pszFolder);
    HMODULE hDll = LoadLibraryW(szDll);
    DispCheckFcsWindowFn pfnShow =
        hDll ? reinterpret_cast<DispCheckFcsWindowFn>(GetProcAddress(hDll, "DispCheckFcsWindow"))
             : nullptr;
    if (!pfnShow) {
        std::printf("fcsview: cannot load DispCheckFcsWindow from %ls\n", szDll);
        if (hDll)
            FreeLibrary(hDll);
        return -1;
    }
    HWND hwndHost = CreateHostWindow(GetModuleHandleW(nullptr));
    if (options.pszScreenshot)
        ArmScreenshot(options.pszScreenshot);
    int nResult = pfnShow(hwndHost, hCoverSheet, 0, options.nImageX, options.nImageY);
    std::printf("fcsview: DispCheckFcsWindow returned %d\n", nResult);
    if (hwndHost)
        DestroyWindow(hwndHost);
    FreeLibrary(hDll);
    return nResult;
}

static int Run(const Options &options)
{
    WCHAR szFolder[MAX_PATH];
    if (!GetProgramFolder(szFolder))
        return 1;
    HENHMETAFILE hCoverSheet = LoadCoverSheet(options);
    if (!hCoverSheet)
        return 1;

    bool bOk;
    if (options.pszEncode) {
        EncodeRequest request = {options.pszEncode, options.nQuality, options.nSampling};
        bOk = EncodeCoverSheet(hCoverSheet, szFolder, request);
    } else {
        const bool bPlaced = options.pszLang && PlaceLanguageFile(szFolder, options.pszLang);
        bOk = (!options.pszLang || bPlaced) && ShowPreview(szFolder, hCoverSheet, options) == 1;
        if (bPlaced)
            RemoveLanguageFile(szFolder);
        bOk = bOk && (!options.pszScreenshot || ScreenshotTaken());
    }
    DeleteEnhMetaFile(hCoverSheet);
    return bOk ? 0 : 1;
}

int main()
{
    int argc = 0;
    WCHAR **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Options options;
    if (!argv || !ParseOptions(argc, argv, &options)) {
        PrintUsage();
        return 2;
    }
    int nExit = Run(options);
    std::fflush(stdout);
    LocalFree(argv);
    return nExit;
}
