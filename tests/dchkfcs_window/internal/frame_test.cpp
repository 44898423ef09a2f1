// The frame with its real children, where a host cannot reach: missing
// children, odd item data in the zoom box, the panel's command filter and
// the help requests, watched through the help platform table.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>
#include <wchar.h>

#include "help_fakes.h"
#include "resource.h"
#include "uistrings.h"
#include "windowtest.h"
#include "zoom.h"

// Window rectangle of a child in its parent's client coordinates.
static RECT ChildRect(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
}

enum { MSG_KEYF1 = 0x004D };  // WM_KEYF1, which the mingw-w64 headers lack

class FrameTest : public WindowTest {
protected:
    // F1 as the platform delivers it: WM_KEYF1 to the window with the focus,
    // whose default processing sends WM_HELP naming that window; children
    // pass WM_HELP on to their parents.
    static void PressF1(HWND hwndFocus)
    {
        PostMessageW(hwndFocus, MSG_KEYF1, 0, 0);
        Pump();
    }

    void Resize(int cx, int cy)
    {
        SetWindowPos(m_hwndFrame, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    }

    void SetPercent(int nPercent)
    {
        m_state.nZoomPercent = nPercent;
        SetZoomMode(&m_state, ZOOM_PERCENT);
    }

    std::wstring StatusText()
    {
        WCHAR sz[64] = L"";
        SendMessageW(m_state.hwndStatus, SB_GETTEXTW, 1, (LPARAM)sz);
        return sz;
    }
};

TEST_F(FrameTest, MissingChildrenTakeNoRoom)
{
    DestroyWindow(m_state.hwndDlgBar);
    DestroyWindow(m_state.hwndStatus);
    m_state.hwndDlgBar = nullptr;
    m_state.hwndStatus = nullptr;
    Resize(640, 480);
    RECT rcClient, rcView = ChildRect(m_state.hwndView);
    GetClientRect(m_hwndFrame, &rcClient);
    EXPECT_EQ(rcClient.bottom, rcView.bottom);
    EXPECT_EQ(ChildRect(m_state.hwndToolbar).bottom, rcView.top);

    DestroyWindow(m_state.hwndToolbar);
    m_state.hwndToolbar = nullptr;
    m_state.hwndZoomBox = nullptr;
    Resize(600, 400);
    EXPECT_EQ(0, ChildRect(m_state.hwndView).top);
    // The zoom commands find no list and leave the zoom alone.
    int nPercent = m_state.nZoomPercent;
    SendMessageW(m_hwndFrame, WM_COMMAND, IDM_ZOOMIN, 0);
    EXPECT_EQ(nPercent, m_state.nZoomPercent);
}

TEST_F(FrameTest, StepsReadPercentagesThroughTheItemData)
{
    HWND hwndBox = m_state.hwndZoomBox;
    ASSERT_TRUE(hwndBox);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ((LRESULT)&g_aUiZoomList[i], SendMessageW(hwndBox, CB_GETITEMDATA, i, 0));
    // At the ends nothing happens, not even to a fit mode.
    SetZoomMode(&m_state, ZOOM_WHOLEWIDTH);
    m_state.nZoomPercent = 500;
    ZoomIn(&m_state);
    m_state.nZoomPercent = 10;
    ZoomOut(&m_state);
    EXPECT_EQ(10, m_state.nZoomPercent);
    EXPECT_EQ(ZOOM_WHOLEWIDTH, m_state.nZoomMode);

    // Without data the "75%" item is skipped; with other data it counts as that.
    SendMessageW(hwndBox, CB_SETITEMDATA, 4, 0);
    EXPECT_EQ(3, FindZoomStep(hwndBox, 57, +1));
    SendMessageW(hwndBox, CB_SETITEMDATA, 4, (LPARAM)&g_aUiZoomList[1]);
    // Two items of 200 %: the lower index wins.
    EXPECT_EQ(1, FindZoomStep(hwndBox, 500, -1));
    SetPercent(150);
    ZoomIn(&m_state);
    EXPECT_EQ(200, m_state.nZoomPercent);
    EXPECT_EQ(1, SendMessageW(hwndBox, CB_GETCURSEL, 0, 0));
}

TEST_F(FrameTest, SelectionWithoutCurrentItemChangesNothing)
{
    SetPercent(57);
    SendMessageW(m_state.hwndZoomBox, CB_SETCURSEL, (WPARAM)-1, 0);
    SendMessageW(m_state.hwndStatus, SB_SETTEXTW, 1, (LPARAM)L"untouched");
    ApplyZoomSelection(&m_state);
    EXPECT_EQ(57, m_state.nZoomPercent);
    EXPECT_EQ(L"untouched", StatusText());
}

TEST_F(FrameTest, PanelPassesOnlyTheCloseClickToTheFrame)
{
    HWND hwndPanel = m_state.hwndDlgPanel;
    ASSERT_TRUE(IsWindow(hwndPanel));
    SendMessageW(hwndPanel, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_SETFOCUS), 0);
    SendMessageW(hwndPanel, WM_COMMAND, MAKEWPARAM(IDC_IMAGEPOS, BN_CLICKED), 0);
    Pump();
    EXPECT_TRUE(IsWindow(m_hwndFrame));
    SendMessageW(hwndPanel, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    Pump();
    EXPECT_FALSE(IsWindow(m_hwndFrame));
    EXPECT_FALSE(IsWindow(hwndPanel));
}

// The Help command and F1 on the frame open topic 22200 for the frame; F1 in
// the zoom box asks for per-control help on the window that holds the focus
// there, with a map that holds only (0, 0). No viewer is opened.
TEST_F(FrameTest, HelpCommandAndF1AskForTheFramesTopicOrTheControls)
{
    FakeHelp help;
    wcscpy(m_state.szHelpFile, L"C:\\drv\\VELMORA_.CHM");
    SendMessageW(m_hwndFrame, WM_COMMAND, IDHELP, 0);
    PressF1(m_hwndFrame);
    SetFocus(m_state.hwndZoomBox);
    HWND hwndFocus = GetFocus();  // the box's edit field
    ASSERT_TRUE(hwndFocus == m_state.hwndZoomBox || IsChild(m_state.hwndZoomBox, hwndFocus));
    PressF1(hwndFocus);

    const std::vector<HelpCall> &calls = help.world.calls;
    ASSERT_EQ(3u, calls.size());
    for (const HelpCall &call : calls) {
        EXPECT_EQ("HtmlHelpW", call.strApi);  // NT 6: HTML Help
        EXPECT_EQ(m_state.szHelpFile, call.strFile);
    }
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(m_hwndFrame, calls[i].hwnd) << i;
        EXPECT_EQ(15u, calls[i].uCommand) << i;  // HH_HELP_CONTEXT
        EXPECT_EQ(22200u, calls[i].dwData) << i;
    }
    EXPECT_EQ(hwndFocus, calls[2].hwnd);
    ASSERT_EQ(17u, calls[2].uCommand);  // HH_TP_HELP_WM_HELP: dwData is the map
    const DWORD *pMap = reinterpret_cast<const DWORD *>(calls[2].dwData);
    ASSERT_NE(nullptr, pMap);
    EXPECT_EQ(0u, pMap[0]);
    EXPECT_EQ(0u, pMap[1]);
}
