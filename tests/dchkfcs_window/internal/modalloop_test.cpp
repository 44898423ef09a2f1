// The export's modal loop: how it ends, what it leaves behind, and that it
// sleeps while idle. Timer callbacks on this thread run inside the loop.
#include <windows.h>

#include <commctrl.h>

#include "dispcheckfcs.h"
#include "module.h"
#include "resource.h"
#include "windowtest.h"

namespace {

struct Script {
    HWND hwndParent;
    HWND hwndFrame;
    int nStep;
    ULONGLONG nCpuStart, nCpuEnd;
    BOOL bParentEnabledInside;
    BOOL bWholePageCheckedAfterToggle;
};
Script g_script;

ULONGLONG ThreadCpu100ns()
{
    FILETIME ftCreate, ftExit, ftKernel, ftUser;
    GetThreadTimes(GetCurrentThread(), &ftCreate, &ftExit, &ftKernel, &ftUser);
    ULARGE_INTEGER k = {{ftKernel.dwLowDateTime, ftKernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{ftUser.dwLowDateTime, ftUser.dwHighDateTime}};
    return k.QuadPart + u.QuadPart;
}

BOOL CALLBACK MatchFrame(HWND hwnd, LPARAM lParam)
{
    WCHAR sz[32];
    GetClassNameW(hwnd, sz, 32);
    if (lstrcmpW(sz, L"VX_CHKFCS_MAINWND") != 0)
        return TRUE;
    *reinterpret_cast<HWND *>(lParam) = hwnd;
    return FALSE;
}

// The preview frame of this thread (other processes may show their own).
HWND FindFrame()
{
    HWND hwnd = NULL;
    EnumThreadWindows(GetCurrentThreadId(), MatchFrame, (LPARAM)&hwnd);
    return hwnd;
}

void CALLBACK PostQuitStep(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    g_script.hwndFrame = FindFrame();
    g_script.bParentEnabledInside = IsWindowEnabled(g_script.hwndParent);
    PostQuitMessage(7);
}

// Step 0: toggle whole page off and start measuring; step 1: read the check
// mark the idle pass left and the CPU used, then close with Esc.
void CALLBACK IdleStep(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND hwndFrame = FindFrame();
    if (g_script.nStep++ == 0) {
        SendMessageW(hwndFrame, WM_COMMAND, IDM_WHOLEPAGE, 0);
        g_script.nCpuStart = ThreadCpu100ns();
        return;
    }
    KillTimer(NULL, id);
    g_script.nCpuEnd = ThreadCpu100ns();
    HWND hwndTb = GetDlgItem(hwndFrame, IDC_TOOLBAR);
    g_script.bWholePageCheckedAfterToggle =
        (BOOL)SendMessageW(hwndTb, TB_ISBUTTONCHECKED, IDM_WHOLEPAGE, 0);
    g_script.hwndFrame = hwndFrame;
    HWND hwndBox = GetDlgItem(hwndTb, IDC_ZOOMBOX);
    PostMessageW(hwndBox ? hwndBox : hwndFrame, WM_KEYDOWN, VK_ESCAPE, 0);
}

class ModalLoopTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ZeroMemory(&g_script, sizeof g_script);
        g_script.hwndParent = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW,
                                              0, 0, 200, 100, NULL, NULL, NULL, NULL);
        m_hemf = MakeQuarterMetafile(100, 150);
    }
    void TearDown() override
    {
        DestroyWindow(g_script.hwndParent);
        WindowTest::TearDown();
    }
};

TEST_F(ModalLoopTest, NoCoverSheetShowsNothing)
{
    EXPECT_EQ(0, DispCheckFcsWindow(g_script.hwndParent, NULL, 0, 1, 2));
    EXPECT_TRUE(IsWindowEnabled(g_script.hwndParent));
    EXPECT_FALSE(FindFrame());
}

TEST_F(ModalLoopTest, QuitEndsTheLoopConsumedAndDestroysTheFrame)
{
    SetTimer(NULL, 0, 100, PostQuitStep);
    EXPECT_EQ(1, DispCheckFcsWindow(g_script.hwndParent, m_hemf, 0, 12, -3));
    EXPECT_TRUE(g_script.hwndFrame);
    EXPECT_FALSE(g_script.bParentEnabledInside);
    EXPECT_FALSE(IsWindow(g_script.hwndFrame));
    EXPECT_FALSE(FindFrame());
    EXPECT_TRUE(IsWindowEnabled(g_script.hwndParent));
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    ENHMETAHEADER header;
    EXPECT_TRUE(GetEnhMetaFileHeader(m_hemf, sizeof header, &header));
}

TEST_F(ModalLoopTest, IdlePreviewSleepsAndKeepsCheckMarksInLine)
{
    SetTimer(NULL, 0, 1000, IdleStep);
    EXPECT_EQ(1, DispCheckFcsWindow(g_script.hwndParent, m_hemf, 0, 0, 0));
    ASSERT_EQ(2, g_script.nStep);
    EXPECT_FALSE(g_script.bWholePageCheckedAfterToggle);
    // About one second open; a loop that polls would use most of it.
    EXPECT_LT(g_script.nCpuEnd - g_script.nCpuStart, 2000000u);  // 200 ms
    EXPECT_FALSE(IsWindow(g_script.hwndFrame));
    EXPECT_TRUE(IsWindowEnabled(g_script.hwndParent));
}

}  // namespace
