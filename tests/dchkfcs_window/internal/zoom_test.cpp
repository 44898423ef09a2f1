// Zoom model against a real frame: the zoom box built in the toolbar, its
// item data, the status bar and the typed and stepped percentages.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "resource.h"
#include "uistrings.h"
#include "windowtest.h"
#include "zoom.h"

class ZoomTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_hemf = MakeQuarterMetafile(100, 150);
        CreateFrame(m_hemf, 700, 500);
        ASSERT_TRUE(m_state.hwndZoomBox);
    }

    std::wstring BoxText()
    {
        WCHAR sz[64] = L"";
        GetWindowTextW(m_state.hwndZoomBox, sz, 64);
        return sz;
    }

    std::wstring StatusText(int nPart)
    {
        WCHAR sz[64] = L"";
        SendMessageW(m_state.hwndStatus, SB_GETTEXTW, nPart, (LPARAM)sz);
        return sz;
    }

    void SetPercent(int nPercent)
    {
        m_state.nZoomPercent = nPercent;
        SetZoomMode(&m_state, ZOOM_PERCENT);
    }
};

TEST_F(ZoomTest, ZoomBoxSitsInAnEightyPixelSeparatorWithTheListAsItemData)
{
    TBBUTTONINFOW info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE | TBIF_SIZE;
    ASSERT_NE(-1, SendMessageW(m_state.hwndToolbar, TB_GETBUTTONINFOW, IDM_ZOOMBOX, (LPARAM)&info));
    EXPECT_EQ(TBSTYLE_SEP, info.fsStyle & TBSTYLE_SEP);
    EXPECT_EQ(80, info.cx);
    EXPECT_EQ(m_state.hwndToolbar, GetParent(m_state.hwndZoomBox));
    EXPECT_EQ(IDC_ZOOMBOX, GetDlgCtrlID(m_state.hwndZoomBox));

    ASSERT_EQ(8, SendMessageW(m_state.hwndZoomBox, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ((LRESULT)&g_aUiZoomList[i],
                  SendMessageW(m_state.hwndZoomBox, CB_GETITEMDATA, i, 0));
        WCHAR sz[32];
        SendMessageW(m_state.hwndZoomBox, CB_GETLBTEXT, i, (LPARAM)sz);
        EXPECT_STREQ(g_aUiZoomList[i].szText, sz);
    }
    EXPECT_EQ(CB_ERR, SendMessageW(m_state.hwndZoomBox, CB_GETCURSEL, 0, 0));
}

TEST_F(ZoomTest, FitModesReadTheViewClientAndShowThePercentage)
{
    HWND hwndRealView = m_state.hwndView;
    HWND hwndStandIn = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 821, 600,
                                       m_hwndFrame, NULL, NULL, NULL);
    m_state.hwndView = hwndStandIn;
    m_state.cxPage = 800;
    m_state.cyPage = 1000;

    SetZoomMode(&m_state, ZOOM_WHOLEPAGE);
    EXPECT_EQ(57, m_state.nZoomPercent);
    EXPECT_EQ(L"57%", BoxText());
    EXPECT_EQ(L"57%", StatusText(1));
    SetZoomMode(&m_state, ZOOM_WHOLEWIDTH);
    EXPECT_EQ(100, m_state.nZoomPercent);
    EXPECT_EQ(L"100%", StatusText(1));

    m_state.hwndView = hwndRealView;
    DestroyWindow(hwndStandIn);
}

TEST_F(ZoomTest, StatusBarHasTwoPartsEndingSixteenPixelsBeforeTheEdge)
{
    SetPercent(150);
    UpdateStatusZoom(&m_state);
    HDC hdc = GetDC(m_state.hwndStatus);
    SIZE size;
    GetTextExtentPoint32W(hdc, L"150%", 4, &size);
    ReleaseDC(m_state.hwndStatus, hdc);
    RECT rc;
    GetClientRect(m_hwndFrame, &rc);
    int aRight[3] = {};
    ASSERT_EQ(2, SendMessageW(m_state.hwndStatus, SB_GETPARTS, 3, (LPARAM)aRight));
    EXPECT_EQ(rc.right - 16 - 2 * size.cx, aRight[0]);
    EXPECT_EQ(rc.right - 16, aRight[1]);
    LRESULT r = SendMessageW(m_state.hwndStatus, SB_GETTEXTLENGTHW, 0, 0);
    EXPECT_EQ(0, LOWORD(r));
    EXPECT_EQ(SBT_NOBORDERS, HIWORD(r) & SBT_NOBORDERS);
    EXPECT_EQ(L"150%", StatusText(1));
}

TEST_F(ZoomTest, ZoomInAndOutStepToTheNearestListEntry)
{
    SetPercent(57);
    ZoomIn(&m_state);
    EXPECT_EQ(75, m_state.nZoomPercent);
    EXPECT_EQ(ZOOM_PERCENT, m_state.nZoomMode);
    EXPECT_EQ(4, SendMessageW(m_state.hwndZoomBox, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"75%", StatusText(1));

    SetPercent(57);
    ZoomOut(&m_state);
    EXPECT_EQ(50, m_state.nZoomPercent);
    SetPercent(150);
    ZoomIn(&m_state);
    EXPECT_EQ(200, m_state.nZoomPercent);
}

TEST_F(ZoomTest, ZoomStopsAtTheEndsOfTheListWithoutTouchingTheMode)
{
    SetZoomMode(&m_state, ZOOM_WHOLEWIDTH);
    m_state.nZoomPercent = 500;
    ZoomIn(&m_state);
    EXPECT_EQ(500, m_state.nZoomPercent);
    EXPECT_EQ(ZOOM_WHOLEWIDTH, m_state.nZoomMode);
    m_state.nZoomPercent = 10;
    ZoomOut(&m_state);
    EXPECT_EQ(10, m_state.nZoomPercent);
    EXPECT_EQ(ZOOM_WHOLEWIDTH, m_state.nZoomMode);
    EXPECT_EQ(-1, FindZoomStep(m_state.hwndZoomBox, 500, +1));
    EXPECT_EQ(-1, FindZoomStep(m_state.hwndZoomBox, 10, -1));
}

TEST_F(ZoomTest, StepsReadPercentagesThroughTheItemData)
{
    // Without data the "75%" item is skipped; with other data it counts as that.
    SendMessageW(m_state.hwndZoomBox, CB_SETITEMDATA, 4, 0);
    EXPECT_EQ(3, FindZoomStep(m_state.hwndZoomBox, 57, +1));
    SendMessageW(m_state.hwndZoomBox, CB_SETITEMDATA, 4, (LPARAM)&g_aUiZoomList[1]);
    // Two items of 200 %: the lower index wins.
    EXPECT_EQ(1, FindZoomStep(m_state.hwndZoomBox, 150, +1));
    EXPECT_EQ(1, FindZoomStep(m_state.hwndZoomBox, 500, -1));
    SetPercent(150);
    ZoomIn(&m_state);
    EXPECT_EQ(200, m_state.nZoomPercent);
    EXPECT_EQ(1, SendMessageW(m_state.hwndZoomBox, CB_GETCURSEL, 0, 0));
}

TEST_F(ZoomTest, SelectionWithoutCurrentItemChangesNothing)
{
    SetPercent(57);
    SendMessageW(m_state.hwndZoomBox, CB_SETCURSEL, (WPARAM)-1, 0);
    SendMessageW(m_state.hwndStatus, SB_SETTEXTW, 1, (LPARAM)L"untouched");
    ApplyZoomSelection(&m_state);
    EXPECT_EQ(57, m_state.nZoomPercent);
    EXPECT_EQ(L"untouched", StatusText(1));
    SendMessageW(m_state.hwndZoomBox, CB_SETCURSEL, 2, 0);
    ApplyZoomSelection(&m_state);
    EXPECT_EQ(150, m_state.nZoomPercent);
    EXPECT_EQ(L"150%", StatusText(1));
}

TEST_F(ZoomTest, TypedValueIsTakenOnlyWithFocusAndWithinLimits)
{
    SetPercent(57);
    m_state.bZoomBoxFocus = TRUE;
    SetWindowTextW(m_state.hwndZoomBox, L"80");
    ApplyTypedZoom(&m_state);
    EXPECT_EQ(80, m_state.nZoomPercent);
    EXPECT_EQ(ZOOM_PERCENT, m_state.nZoomMode);
    EXPECT_EQ(L"80%", BoxText());
    ZoomIn(&m_state);
    EXPECT_EQ(100, m_state.nZoomPercent);
    SetPercent(80);
    ZoomOut(&m_state);
    EXPECT_EQ(75, m_state.nZoomPercent);

    for (const WCHAR *psz : {L"5", L"501", L"abc"}) {
        m_state.bZoomBoxFocus = TRUE;
        SetWindowTextW(m_state.hwndZoomBox, psz);
        ApplyTypedZoom(&m_state);
        EXPECT_EQ(75, m_state.nZoomPercent) << psz;
        EXPECT_EQ(L"75%", BoxText()) << psz;
    }

    m_state.bZoomBoxFocus = FALSE;
    SetWindowTextW(m_state.hwndZoomBox, L"300");
    ApplyTypedZoom(&m_state);
    EXPECT_EQ(75, m_state.nZoomPercent);
    EXPECT_EQ(L"75%", BoxText());
}

TEST_F(ZoomTest, FocusNotificationsReachTheStateThroughTheToolbar)
{
    ShowWindow(m_hwndFrame, SW_SHOW);
    SetForegroundWindow(m_hwndFrame);
    SetFocus(m_state.hwndZoomBox);
    Pump();
    EXPECT_TRUE(m_state.bZoomBoxFocus);
    SetWindowTextW(m_state.hwndZoomBox, L"250");
    SendMessageW(m_hwndFrame, WM_COMMAND, IDOK, 0);
    Pump();
    EXPECT_EQ(250, m_state.nZoomPercent);
    EXPECT_FALSE(m_state.bZoomBoxFocus);
    EXPECT_EQ(m_hwndFrame, GetFocus());
}
