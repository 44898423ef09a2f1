// The frame's children, their layout, and the dialog bar's panel.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "dlgbar.h"
#include "framewnd.h"
#include "resource.h"
#include "uistrings.h"
#include "windowtest.h"

// Window rectangle of a child in its parent's client coordinates.
static RECT ChildRect(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(NULL, GetParent(hwnd), reinterpret_cast<POINT *>(&rc), 2);
    return rc;
}

class FrameTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hemf = MakeQuarterMetafile(100, 150);
        CreateFrame(m_hemf, 700, 500);
    }

    void Resize(int cx, int cy)
    {
        SetWindowPos(m_hwndFrame, NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
        Pump();
    }
};

TEST_F(FrameTest, MissingChildrenTakeNoRoom)
{
    DestroyWindow(m_state.hwndDlgBar);
    DestroyWindow(m_state.hwndStatus);
    m_state.hwndDlgBar = NULL;
    m_state.hwndStatus = NULL;
    Resize(640, 480);
    RECT rcClient, rcView = ChildRect(m_state.hwndView);
    GetClientRect(m_hwndFrame, &rcClient);
    EXPECT_EQ(rcClient.bottom, rcView.bottom);
    EXPECT_EQ(ChildRect(m_state.hwndToolbar).bottom, rcView.top);

    DestroyWindow(m_state.hwndToolbar);
    m_state.hwndToolbar = NULL;
    m_state.hwndZoomBox = NULL;
    Resize(600, 400);
    rcView = ChildRect(m_state.hwndView);
    EXPECT_EQ(0, rcView.top);
    // The zoom commands find no list and leave the zoom alone.
    int nPercent = m_state.nZoomPercent;
    SendMessageW(m_hwndFrame, WM_COMMAND, IDM_ZOOMIN, 0);
    EXPECT_EQ(nPercent, m_state.nZoomPercent);
}

TEST_F(FrameTest, DialogBarCarriesThePanelAtItsRightEndAboveTheSeparator)
{
    HWND hwndPanel = reinterpret_cast<HWND>(GetWindowLongPtrW(m_state.hwndDlgBar, GWLP_USERDATA));
    ASSERT_TRUE(IsWindow(hwndPanel));
    EXPECT_EQ(m_state.hwndDlgBar, GetParent(hwndPanel));
    RECT rcBar, rcPanel = ChildRect(hwndPanel);
    GetClientRect(m_state.hwndDlgBar, &rcBar);
    EXPECT_EQ(rcBar.right, rcPanel.right);
    EXPECT_EQ(0, rcPanel.top);
    EXPECT_EQ(rcPanel.bottom + 2, rcBar.bottom);

    // Narrower than the panel: the Close button stays at the right end.
    Resize(200, 400);
    GetClientRect(m_state.hwndDlgBar, &rcBar);
    rcPanel = ChildRect(hwndPanel);
    EXPECT_EQ(rcBar.right, rcPanel.right);
    EXPECT_LT(rcPanel.left, 0);
}

TEST_F(FrameTest, PanelShowsThePositionAndForwardsCloseToTheFrame)
{
    HWND hwndPanel = reinterpret_cast<HWND>(GetWindowLongPtrW(m_state.hwndDlgBar, GWLP_USERDATA));
    WCHAR sz[64];
    GetDlgItemTextW(hwndPanel, IDC_IMAGEPOS, sz, 64);
    EXPECT_STREQ(L"Image Position X 0 Y 0", sz);
    GetDlgItemTextW(hwndPanel, IDCANCEL, sz, 64);
    EXPECT_STREQ(g_UiClose.szText, sz);

    SendMessageW(hwndPanel, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_SETFOCUS), 0);
    SendMessageW(hwndPanel, WM_COMMAND, MAKEWPARAM(IDC_IMAGEPOS, BN_CLICKED), 0);
    Pump();
    EXPECT_TRUE(IsWindow(m_hwndFrame));
    SendMessageW(hwndPanel, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    Pump();
    EXPECT_FALSE(IsWindow(m_hwndFrame));
    EXPECT_FALSE(IsWindow(hwndPanel));
}

TEST(FormatImagePosition, SignedValuesAfterTheirLabelsWithinTheBuffer)
{
    WCHAR sz[260];
    FormatImagePosition(sz, 260, 12, -3);
    EXPECT_STREQ(L"Image Position X 12 Y -3", sz);
    FormatImagePosition(sz, 260, -2147483647 - 1, 2147483647);
    EXPECT_STREQ(L"Image Position X -2147483648 Y 2147483647", sz);
    WCHAR szSmall[12];
    wmemset(szSmall, L'#', 12);
    FormatImagePosition(szSmall, 10, 12, -3);
    EXPECT_EQ(L'\0', szSmall[9]);
    EXPECT_EQ(L'#', szSmall[10]);
}

TEST_F(FrameTest, FrameErasesWithButtonFaceForAThemedToolbar)
{
    HDC hdcScreen = GetDC(NULL);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, 16, 16);
    ReleaseDC(NULL, hdcScreen);
    HGDIOBJ hOld = SelectObject(hdc, hbm);
    EXPECT_TRUE(SendMessageW(m_hwndFrame, WM_ERASEBKGND, (WPARAM)hdc, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(hdc, 5, 5));
    SelectObject(hdc, hOld);
    DeleteObject(hbm);
    DeleteDC(hdc);
}
