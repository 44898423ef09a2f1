// The help launcher: file choice and path, the calls of each request, and
// the run-time binding of HTML Help, watched through a platform table of
// fakes; one test binds the real control under Windows or Wine.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "help_fakes.h"
#include "helplaunch.h"
#include "module.h"

namespace {

const wchar_t kClsidKey[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const wchar_t *const kRegistered = kFakeRegisteredControl;

class HelpLauncher : public testing::Test {
protected:
    FakeHelp m_fake;
    FakeHelpWorld &m_world = m_fake.world;
    HWND const m_hwndFrame = reinterpret_cast<HWND>(0x111);
    HWND const m_hwndItem = reinterpret_cast<HWND>(0x222);
    const wchar_t *const m_pszFile = L"C:\\drv\\VELMORA_.CHM";
};

// The platform picks the file and the viewer. The window's topic goes to
// the frame, per-control help to the item with a map that holds only
// (0, 0). WinHelp never binds HTML Help.
TEST_F(HelpLauncher, PlatformPicksFileAndViewerForBothRequests)
{
    UiChar szFolder[MAX_PATH];
    ASSERT_TRUE(GetModuleFolder(szFolder, MAX_PATH));
    const struct {
        DWORD dwPlatformId, dwMajor;
        BOOL fNt6;
    } aCases[] = {
        {VER_PLATFORM_WIN32_NT, 5, FALSE},
        {VER_PLATFORM_WIN32_WINDOWS, 6, FALSE},
        {VER_PLATFORM_WIN32_NT, 6, TRUE},
        {VER_PLATFORM_WIN32_NT, 10, TRUE},
    };
    for (const auto &c : aCases) {
        m_world.dwPlatformId = c.dwPlatformId;
        m_world.dwMajor = c.dwMajor;
        m_world.calls.clear();
        EXPECT_EQ(IsNt6OrLater(), c.fNt6) << c.dwMajor;
        WCHAR szPath[MAX_PATH];
        GetHelpFilePath(szPath, MAX_PATH);
        EXPECT_EQ(std::wstring(szPath),
                  std::wstring(szFolder) + (c.fNt6 ? L"VELMORA_.CHM" : L"VELMORA_.HLP"));

        ShowHelpTopic(m_hwndFrame, m_pszFile);
        ShowControlHelp(m_hwndItem, m_pszFile);
        ASSERT_EQ(m_world.calls.size(), 2u) << c.dwMajor;
        const HelpCall &topic = m_world.calls[0], &control = m_world.calls[1];
        const char *pszApi = c.fNt6 ? "HtmlHelpW" : "WinHelpW";
        EXPECT_EQ(topic.strApi + control.strApi, std::string(pszApi) + pszApi);
        EXPECT_EQ(topic.hwnd, m_hwndFrame);
        EXPECT_EQ(control.hwnd, m_hwndItem);
        EXPECT_EQ(topic.strFile + control.strFile, std::wstring(m_pszFile) + m_pszFile);
        EXPECT_EQ(topic.uCommand, c.fNt6 ? 15u : UINT(HELP_CONTEXT));    // HH_HELP_CONTEXT
        EXPECT_EQ(control.uCommand, c.fNt6 ? 17u : UINT(HELP_WM_HELP));  // HH_TP_HELP_WM_HELP
        EXPECT_EQ(topic.dwData, ULONG_PTR(22200));
        const DWORD *pMap = reinterpret_cast<const DWORD *>(control.dwData);
        ASSERT_NE(pMap, nullptr);
        EXPECT_EQ(pMap[0] | pMap[1], 0u);
        EXPECT_EQ(m_world.loads.empty(), !c.fNt6);
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

// Three requests in a row: the first binds (registry value, then the
// control by name, then ordinal 15), the others reuse the binding or, when
// it failed, do nothing without a new attempt.
TEST_F(HelpLauncher, BindingOrderAndItsFailureAreKept)
{
    const std::vector<std::wstring> kBoth{kRegistered, L"hhctrl.ocx"};
    const struct {
        bool fRegistered, fRegisteredLoads, fNamedLoads, fHasOrdinal;
        std::vector<std::wstring> loads;
        size_t nCalls;
    } aCases[] = {
        {true, true, true, true, {kRegistered}, 3},  {false, true, true, true, {L"hhctrl.ocx"}, 3},
        {true, false, true, true, kBoth, 3},         {true, false, false, true, kBoth, 0},
        {true, true, true, false, {kRegistered}, 0},
    };
    for (const auto &c : aCases) {
        m_fake.Reset();  // a fresh world, and the last binding forgotten
        m_world.fRegistered = c.fRegistered;
        m_world.fRegisteredLoads = c.fRegisteredLoads;
        m_world.fNamedLoads = c.fNamedLoads;
        m_world.fHasOrdinal = c.fHasOrdinal;
        ShowHelpTopic(m_hwndFrame, m_pszFile);
        ShowControlHelp(m_hwndItem, m_pszFile);
        ShowHelpTopic(m_hwndFrame, m_pszFile);
        size_t nCase = &c - aCases;
        EXPECT_EQ(m_world.queries, std::vector<std::wstring>{kClsidKey}) << nCase;
        EXPECT_EQ(m_world.loads, c.loads) << nCase;
        EXPECT_EQ(m_world.procs, c.fRegisteredLoads || c.fNamedLoads ? std::vector<ULONG_PTR>{15}
                                                                     : std::vector<ULONG_PTR>{})
            << nCase;
        EXPECT_EQ(m_world.calls.size(), c.nCalls) << nCase;
    }
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
    ShowHelpTopic(m_hwndFrame, m_pszFile);
    ASSERT_NE(g_pfnBound, nullptr);
    HMODULE hControl = GetModuleHandleW(L"hhctrl.ocx");
    ASSERT_NE(hControl, nullptr);
    EXPECT_EQ(g_pfnBound, GetProcAddress(hControl, "HtmlHelpW"));
    EXPECT_EQ(m_world.calls.size(), 1u);
}

}  // namespace
