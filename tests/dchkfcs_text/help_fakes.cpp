#include "help_fakes.h"

#include <wchar.h>

const wchar_t kFakeRegisteredControl[] = L"C:\\x\\registered.ocx";

// The world of the FakeHelp in force: the table's calls carry no context.
static FakeHelpWorld *s_pWorld;

// The module handle the fake LoadLibraryW gives for a control that loads.
static HMODULE const s_hControl = reinterpret_cast<HMODULE>(0x5000);

static BOOL WINAPI FakeGetVersionExW(LPOSVERSIONINFOW pInfo)
{
    pInfo->dwPlatformId = s_pWorld->dwPlatformId;
    pInfo->dwMajorVersion = s_pWorld->dwMajor;
    return pInfo->dwOSVersionInfoSize == sizeof(OSVERSIONINFOW);
}

static BOOL WINAPI FakeWinHelpW(HWND hwnd, LPCWSTR pszFile, UINT uCommand, ULONG_PTR dwData)
{
    s_pWorld->calls.push_back(HelpCall{"WinHelpW", hwnd, pszFile, uCommand, dwData});
    return TRUE;
}

HWND WINAPI FakeHtmlHelpW(HWND hwnd, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData)
{
    s_pWorld->calls.push_back(HelpCall{"HtmlHelpW", hwnd, pszFile, uCommand, dwData});
    return nullptr;
}

static LONG WINAPI FakeRegQueryValueW(HKEY hKey, LPCWSTR pszSubKey, LPWSTR pszData, PLONG pcbData)
{
    s_pWorld->queries.push_back(hKey == HKEY_CLASSES_ROOT ? pszSubKey : L"(other root)");
    if (!s_pWorld->fRegistered || *pcbData != 260)
        return ERROR_FILE_NOT_FOUND;
    wcscpy(pszData, kFakeRegisteredControl);
    return ERROR_SUCCESS;
}

static HMODULE WINAPI FakeLoadLibraryW(LPCWSTR pszFile)
{
    s_pWorld->loads.push_back(pszFile);
    bool fLoads = wcscmp(pszFile, kFakeRegisteredControl) == 0
                      ? s_pWorld->fRegisteredLoads
                      : wcscmp(pszFile, L"hhctrl.ocx") == 0 && s_pWorld->fNamedLoads;
    return fLoads ? s_hControl : nullptr;
}

static FARPROC WINAPI FakeGetProcAddress(HMODULE hModule, LPCSTR pszProc)
{
    s_pWorld->procs.push_back(reinterpret_cast<ULONG_PTR>(pszProc));
    if (hModule != s_hControl || !s_pWorld->fHasOrdinal ||
        reinterpret_cast<ULONG_PTR>(pszProc) != 15)
        return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(FakeHtmlHelpW));
}

const HelpPlatform kFakeHelpPlatform = {
    FakeGetVersionExW, FakeWinHelpW, FakeRegQueryValueW, FakeLoadLibraryW, FakeGetProcAddress,
};

FakeHelp::FakeHelp() : m_pOld(HelpSetPlatform(&kFakeHelpPlatform))
{
    s_pWorld = &world;
}

FakeHelp::~FakeHelp()
{
    HelpSetPlatform(m_pOld);
    s_pWorld = nullptr;
}

void FakeHelp::Reset()
{
    HelpSetPlatform(&kFakeHelpPlatform);
    world = FakeHelpWorld();
}
