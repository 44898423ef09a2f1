// The help launcher: file choice and path, the calls of each request, and
// the run-time binding of HTML Help, watched through a platform table of
// fakes; one test binds the real control under Windows or Wine.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "helpbind.h"
#include "helplaunch.h"
#include "module.h"

namespace {

const wchar_t kClsidKey[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
HMODULE const kRegisteredControl = reinterpret_cast<HMODULE>(0x5000);
HMODULE const kNamedControl = reinterpret_cast<HMODULE>(0x6000);

struct HelpCall {
    std::string strApi;  // "HtmlHelpW" or "WinHelpW"
    HWND hwnd;
    std::wstring strFile;
    UINT uCommand;
    ULONG_PTR dwData;
};

// What the fakes answer and what they saw.
struct FakeWorld {
    DWORD dwPlatformId = VER_PLATFORM_WIN32_NT;
    DWORD dwMajor = 6;
    bool fRegistered = true;
    bool fRegisteredLoads = true;
    bool fNamedLoads = true;
    bool fHasOrdinal = true;
    std::vector<std::wstring> loads;
    std::vector<std::wstring> queries;
    std::vector<ULONG_PTR> procs;
    std::vector<HelpCall> calls;
};
FakeWorld *g_pWorld;

BOOL WINAPI FakeGetVersionExW(LPOSVERSIONINFOW pInfo)
{
    if (pInfo->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW))
        return FALSE;
    pInfo->dwPlatformId = g_pWorld->dwPlatformId;
    pInfo->dwMajorVersion = g_pWorld->dwMajor;
    return TRUE;
}

BOOL WINAPI FakeWinHelpW(HWND hwnd, LPCWSTR pszFile, UINT uCommand, ULONG_PTR dwData)
{
    g_pWorld->calls.push_back(HelpCall{"WinHelpW", hwnd, pszFile, uCommand, dwData});
    return TRUE;
}

LONG WINAPI FakeRegQueryValueW(HKEY hKey, LPCWSTR pszSubKey, LPWSTR pszData, PLONG pcbData)
{
    g_pWorld->queries.push_back(hKey == HKEY_CLASSES_ROOT ? pszSubKey : L"(other root)");
    if (!g_pWorld->fRegistered)
        return ERROR_FILE_NOT_FOUND;
    if (*pcbData != 260)
        return ERROR_INVALID_PARAMETER;
    wcscpy(pszData, L"C:\\x\\registered.ocx");
    return ERROR_SUCCESS;
}

HMODULE WINAPI FakeLoadLibraryW(LPCWSTR pszFile)
{
    g_pWorld->loads.push_back(pszFile);
    if (wcscmp(pszFile, L"C:\\x\\registered.ocx") == 0)
        return g_pWorld->fRegisteredLoads ? kRegisteredControl : nullptr;
    if (wcscmp(pszFile, L"hhctrl.ocx") == 0)
        return g_pWorld->fNamedLoads ? kNamedControl : nullptr;
    return nullptr;
}

HWND WINAPI FakeHtmlHelpW(HWND hwnd, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData)
{
    g_pWorld->calls.push_back(HelpCall{"HtmlHelpW", hwnd, pszFile, uCommand, dwData});
    return nullptr;
}

FARPROC WINAPI FakeGetProcAddress(HMODULE hModule, LPCSTR pszProc)
{
    g_pWorld->procs.push_back(reinterpret_cast<ULONG_PTR>(pszProc));
    if (hModule != kRegisteredControl && hModule != kNamedControl)
        return nullptr;
    if (!g_pWorld->fHasOrdinal || reinterpret_cast<ULONG_PTR>(pszProc) != 15)
        return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(FakeHtmlHelpW));
}

const HelpPlatform kFakePlatform = {
    FakeGetVersionExW, FakeWinHelpW, FakeRegQueryValueW, FakeLoadLibraryW, FakeGetProcAddress,
};

class HelpLauncher : public testing::Test {
protected:
    HelpLauncher() : m_pOld(HelpSetPlatform(&kFakePlatform)) { g_pWorld = &m_world; }
    ~HelpLauncher() override
    {
        HelpSetPlatform(m_pOld);
        g_pWorld = nullptr;
    }

    FakeWorld m_world;
    const HelpPlatform *m_pOld;
    HWND const m_hwndFrame = reinterpret_cast<HWND>(0x111);
    HWND const m_hwndItem = reinterpret_cast<HWND>(0x222);
    const wchar_t *const m_pszFile = L"C:\\drv\\VELMORA_.CHM";
};

std::wstring ModuleFolder()
{
    UiChar szFolder[MAX_PATH];
    EXPECT_TRUE(GetModuleFolder(szFolder, MAX_PATH));
    return szFolder;
}

TEST_F(HelpLauncher, NtSixAndLaterTakeTheCompiledHelpFile)
{
    const struct { DWORD dwPlatformId, dwMajor; BOOL fNt6; const wchar_t *pszName; } aCases[] = {
        {VER_PLATFORM_WIN32_NT, 6, TRUE, L"VELMORA_.CHM"},
        {VER_PLATFORM_WIN32_NT, 10, TRUE, L"VELMORA_.CHM"},
        {VER_PLATFORM_WIN32_NT, 5, FALSE, L"VELMORA_.HLP"},
        {VER_PLATFORM_WIN32_WINDOWS, 6, FALSE, L"VELMORA_.HLP"},
    };
    for (const auto &c : aCases) {
        m_world.dwPlatformId = c.dwPlatformId;
        m_world.dwMajor = c.dwMajor;
        EXPECT_EQ(IsNt6OrLater(), c.fNt6) << c.dwMajor;
        WCHAR szPath[MAX_PATH];
        GetHelpFilePath(szPath, MAX_PATH);
        EXPECT_EQ(std::wstring(szPath), ModuleFolder() + c.pszName);
    }
}

TEST_F(HelpLauncher, HelpPathIsCutToTheCapacityAndTerminated)
{
    WCHAR szFull[MAX_PATH];
    GetHelpFilePath(szFull, MAX_PATH);
    WCHAR szPath[12];
    wmemset(szPath, L'#', 12);
    GetHelpFilePath(szPath, 10);
    EXPECT_EQ(std::wstring(szPath), std::wstring(szFull, 9));
    EXPECT_EQ(szPath[10], L'#');
    GetHelpFilePath(szPath, 0);  // nothing may be written
    EXPECT_EQ(szPath[0], szFull[0]);
}

TEST_F(HelpLauncher, WindowTopicOnNtSixBindsThroughTheRegistry)
{
    ShowHelpTopic(m_hwndFrame, m_pszFile);
    ASSERT_EQ(m_world.queries.size(), 1u);
    EXPECT_EQ(m_world.queries[0], kClsidKey);
    EXPECT_EQ(m_world.loads, std::vector<std::wstring>{L"C:\\x\\registered.ocx"});
    EXPECT_EQ(m_world.procs, std::vector<ULONG_PTR>{15});
    ASSERT_EQ(m_world.calls.size(), 1u);
    const HelpCall &call = m_world.calls[0];
    EXPECT_EQ(call.strApi, "HtmlHelpW");
    EXPECT_EQ(call.hwnd, m_hwndFrame);
    EXPECT_EQ(call.strFile, m_pszFile);
    EXPECT_EQ(call.uCommand, 15u);  // HH_HELP_CONTEXT
    EXPECT_EQ(call.dwData, ULONG_PTR(FCS_HELP_CONTEXT));
    EXPECT_EQ(FCS_HELP_CONTEXT, 22200);

    // The binding is kept: the next request loads nothing.
    ShowControlHelp(m_hwndItem, m_pszFile);
    EXPECT_EQ(m_world.loads.size(), 1u);
    ASSERT_EQ(m_world.calls.size(), 2u);
    EXPECT_EQ(m_world.calls[1].hwnd, m_hwndItem);
    EXPECT_EQ(m_world.calls[1].uCommand, 17u);  // HH_TP_HELP_WM_HELP
    const DWORD *pMap = reinterpret_cast<const DWORD *>(m_world.calls[1].dwData);
    ASSERT_NE(pMap, nullptr);
    EXPECT_EQ(pMap[0], 0u);
    EXPECT_EQ(pMap[1], 0u);
}

TEST_F(HelpLauncher, ControlIsLoadedByNameWhenTheRegistryFails)
{
    for (bool fRegistered : {false, true}) {
        HelpSetPlatform(&kFakePlatform);  // forget the last binding
        m_world = FakeWorld();
        m_world.fRegistered = fRegistered;
        m_world.fRegisteredLoads = false;
        ShowHelpTopic(m_hwndFrame, m_pszFile);
        std::vector<std::wstring> loads{L"hhctrl.ocx"};
        if (fRegistered)
            loads.insert(loads.begin(), L"C:\\x\\registered.ocx");
        EXPECT_EQ(m_world.loads, loads);
        EXPECT_EQ(m_world.calls.size(), 1u);
    }
}

TEST_F(HelpLauncher, FailedBindingIsRememberedForTheProcess)
{
    for (int nCase = 0; nCase < 2; ++nCase) {
        HelpSetPlatform(&kFakePlatform);  // forget the binding of the last case
        m_world = FakeWorld();
        m_world.fNamedLoads = m_world.fRegisteredLoads = nCase == 1;
        m_world.fHasOrdinal = false;
        ShowHelpTopic(m_hwndFrame, m_pszFile);
        ShowControlHelp(m_hwndItem, m_pszFile);
        ShowHelpTopic(m_hwndFrame, m_pszFile);
        EXPECT_EQ(m_world.queries.size(), 1u) << nCase;
        EXPECT_EQ(m_world.loads.size(), nCase == 1 ? 1u : 2u) << nCase;
        EXPECT_EQ(m_world.procs.size(), nCase == 1 ? 1u : 0u) << nCase;
        EXPECT_TRUE(m_world.calls.empty()) << nCase;
    }
}

TEST_F(HelpLauncher, OlderSystemsUseWinHelpAndNeverBindHtmlHelp)
{
    m_world.dwMajor = 5;
    ShowHelpTopic(m_hwndFrame, m_pszFile);
    ShowControlHelp(m_hwndItem, m_pszFile);
    EXPECT_TRUE(m_world.loads.empty());
    ASSERT_EQ(m_world.calls.size(), 2u);
    EXPECT_EQ(m_world.calls[0].strApi, "WinHelpW");
    EXPECT_EQ(m_world.calls[0].hwnd, m_hwndFrame);
    EXPECT_EQ(m_world.calls[0].uCommand, UINT(HELP_CONTEXT));
    EXPECT_EQ(m_world.calls[0].dwData, ULONG_PTR(22200));
    EXPECT_EQ(m_world.calls[1].strApi, "WinHelpW");
    EXPECT_EQ(m_world.calls[1].hwnd, m_hwndItem);
    EXPECT_EQ(m_world.calls[1].strFile, m_pszFile);
    EXPECT_EQ(m_world.calls[1].uCommand, UINT(HELP_WM_HELP));
    const DWORD *pMap = reinterpret_cast<const DWORD *>(m_world.calls[1].dwData);
    EXPECT_EQ(pMap[0], 0u);
    EXPECT_EQ(pMap[1], 0u);
}

// The real registry and control: the entry point found by ordinal 15 is
// HtmlHelpW. The viewer itself is not called.
FARPROC g_pfnBound;
FARPROC WINAPI RecordingGetProcAddress(HMODULE hModule, LPCSTR pszProc)
{
    g_pfnBound = GetProcAddress(hModule, pszProc);
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(FakeHtmlHelpW));
}

TEST_F(HelpLauncher, RealControlExportsHtmlHelpWAtOrdinal15)
{
    HelpPlatform real = g_HelpPlatformDefault;
    real.pfnGetProcAddress = RecordingGetProcAddress;
    HelpSetPlatform(&real);
    g_pfnBound = nullptr;
    ShowHelpTopic(m_hwndFrame, m_pszFile);
    ASSERT_NE(g_pfnBound, nullptr);
    HMODULE hControl = GetModuleHandleW(L"hhctrl.ocx");
    ASSERT_NE(hControl, nullptr);
    EXPECT_EQ(g_pfnBound, GetProcAddress(hControl, "HtmlHelpW"));
    EXPECT_EQ(m_world.calls.size(), 1u);
    HelpSetPlatform(&kFakePlatform);
}

}  // namespace
