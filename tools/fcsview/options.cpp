#include "options.h"

#include <climits>
#include <cstdio>
#include <cwchar>

static bool ParseInt(const WCHAR *pszText, int nMin, int nMax, int *pnValue)
{
    WCHAR *pszEnd = nullptr;
    long n = wcstol(pszText, &pszEnd, 10);
    if (pszEnd == pszText || *pszEnd != L'\0' || n < nMin || n > nMax)
        return false;
    *pnValue = static_cast<int>(n);
    return true;
}

static bool ParseSampling(const WCHAR *pszText, int *pnSampling)
{
    static const WCHAR *const apszNames[] = {L"420", L"422", L"444"};
    for (int i = 0; i < 3; ++i) {
        if (wcscmp(pszText, apszNames[i]) == 0) {
            *pnSampling = i;
            return true;
        }
    }
    return false;
}

static bool Reject(const WCHAR *pszArg)
{
    std::printf("fcsview: cannot use argument %ls\n", pszArg);
    return false;
}

bool ParseOptions(int argc, WCHAR **argv, Options *pOptions)
{
    for (int i = 1; i < argc; ++i) {
        const WCHAR *pszArg = argv[i];
        const WCHAR *pszValue = i + 1 < argc ? argv[i + 1] : nullptr;
        const bool bTakesValue = pszArg[0] == L'-';
        if (bTakesValue && !pszValue)
            return Reject(pszArg);
        bool bOk = true;
        if (wcscmp(pszArg, L"--x") == 0)
            bOk = ParseInt(pszValue, INT_MIN, INT_MAX, &pOptions->nImageX);
        else if (wcscmp(pszArg, L"--y") == 0)
            bOk = ParseInt(pszValue, INT_MIN, INT_MAX, &pOptions->nImageY);
        else if (wcscmp(pszArg, L"--encode") == 0)
            pOptions->pszEncode = pszValue;
        else if (wcscmp(pszArg, L"-q") == 0)
            bOk = ParseInt(pszValue, 1, 100, &pOptions->nQuality);
        else if (wcscmp(pszArg, L"-s") == 0)
            bOk = ParseSampling(pszValue, &pOptions->nSampling);
        else if (wcscmp(pszArg, L"--screenshot") == 0)
            pOptions->pszScreenshot = pszValue;
        else if (wcscmp(pszArg, L"--lang") == 0)
            pOptions->pszLang = pszValue;
        else if (bTakesValue || pOptions->pszCoverSheet)
            return Reject(pszArg);
        else
            pOptions->pszCoverSheet = pszArg;
        if (!bOk)
            return Reject(pszValue);
        if (bTakesValue)
            ++i;
    }
    return true;
}

void PrintUsage()
{
    std::printf("usage: fcsview [COVER.emf] [--x N --y N] [--lang CODE] [--screenshot OUT.bmp]\n"
                "       fcsview [COVER.emf] --encode OUT.jpg [-q 1..100] [-s 420|422|444]\n"
                "Shows the cover sheet (a sample page without COVER.emf) in the preview of\n"
                "VELMORAZ.dll, or renders it at 200 dpi and encodes it with VELMORAJ.dll.\n");
}
