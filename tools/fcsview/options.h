// Command line of fcsview.
#ifndef TOOLS_FCSVIEW_OPTIONS_H
#define TOOLS_FCSVIEW_OPTIONS_H

#include <windows.h>

struct Options {
    const WCHAR *pszCoverSheet = nullptr;  // EMF file, or none for the sample
    int nImageX = 0, nImageY = 0;
    const WCHAR *pszEncode = nullptr;  // JPEG output: encode instead of showing
    int nQuality = 75;
    int nSampling = 0;                     // JPEG_SAMPLING_420
    const WCHAR *pszScreenshot = nullptr;  // BMP output: capture, then close
    const WCHAR *pszLang = nullptr;        // language folder under lang\ beside the exe
};

// Fills *pOptions from argv (argv[0] is the program). Returns false and prints
// why when the line is not understood.
bool ParseOptions(int argc, WCHAR **argv, Options *pOptions);
void PrintUsage();

#endif
