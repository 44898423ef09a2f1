// Menu texts through both writers, and check marks from the zoom mode.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "cmdstate.h"
#include "localisemenu.h"
#include "module.h"
#include "resource.h"
#include "windowtest.h"

static std::wstring MenuText(HMENU hmenu, UINT uItem, UINT uFlag)
{
    WCHAR sz[64] = L"";
    GetMenuStringW(hmenu, uItem, sz, 64, uFlag);
    return sz;
}

static OSVERSIONINFOW Version(DWORD dwPlatform, DWORD dwMajor)
{
    OSVERSIONINFOW v = {};
    v.dwOSVersionInfoSize = sizeof v;
    v.dwPlatformId = dwPlatform;
    v.dwMajorVersion = dwMajor;
    return v;
}

class MenuTest : public WindowTest {};

TEST_F(MenuTest, ModifyMenuOnlyOnNt4)
{
    const MenuTextWriter *pNt4 = ChooseMenuTextWriter(Version(VER_PLATFORM_WIN32_NT, 4));
    EXPECT_NE(pNt4, ChooseMenuTextWriter(Version(VER_PLATFORM_WIN32_NT, 5)));
    EXPECT_NE(pNt4, ChooseMenuTextWriter(Version(VER_PLATFORM_WIN32_NT, 3)));
    EXPECT_NE(pNt4, ChooseMenuTextWriter(Version(VER_PLATFORM_WIN32_WINDOWS, 4)));
    EXPECT_EQ(ChooseMenuTextWriter(Version(VER_PLATFORM_WIN32_NT, 6)),
              ChooseMenuTextWriter(Version(VER_PLATFORM_WIN32_WINDOWS, 4)));
}

TEST_F(MenuTest, BothWritersRenameGroupAndItemsAndKeepThePopup)
{
    const UiMenuTextEntry aList[] = {
        {0, "CfcZoom", L"Zoomen"},
        {40001, "Cfcz_ZoomIn", L"Vergr\u00f6\u00dfern"},
        {40003, "Cfcz_Missing", L"not in the menu"},
        {40005, "Cfcz_ViewWholeWidth", L"Ganze Breite"},
        {-1, "", L""},
    };
    for (DWORD dwMajor : {4u, 6u}) {
        HMENU hmenu = LoadMenuW(g_hInstance, MAKEINTRESOURCEW(IDR_MAINMENU));
        ASSERT_TRUE(hmenu);
        HMENU hmenuZoom = GetSubMenu(hmenu, 0);
        EXPECT_EQ(L"Zoom", MenuText(hmenu, 0, MF_BYPOSITION));
        LocaliseMenuWith(ChooseMenuTextWriter(Version(VER_PLATFORM_WIN32_NT, dwMajor)), aList,
                         hmenu, 0);
        EXPECT_EQ(L"Zoomen", MenuText(hmenu, 0, MF_BYPOSITION)) << dwMajor;
        EXPECT_EQ(hmenuZoom, GetSubMenu(hmenu, 0)) << dwMajor;
        EXPECT_EQ(L"Vergr\u00f6\u00dfern", MenuText(hmenuZoom, 40001, MF_BYCOMMAND));
        EXPECT_EQ(L"Zoom Out", MenuText(hmenuZoom, 40002, MF_BYCOMMAND));
        EXPECT_EQ(L"Ganze Breite", MenuText(hmenuZoom, 40005, MF_BYCOMMAND));
        EXPECT_EQ(5, GetMenuItemCount(hmenuZoom));
        EXPECT_EQ(L"Help", MenuText(hmenu, 1, MF_BYPOSITION));
        DestroyMenu(hmenu);
    }
}

TEST_F(MenuTest, MissingPopupOnlyRenamesTheGroup)
{
    const UiMenuTextEntry aList[] = {
        {0, "CfcHelp", L"Hilfe"}, {9, "Cfch_Help", L"Hilfe..."}, {-1, "", L""}};
    for (DWORD dwMajor : {4u, 6u}) {
        HMENU hmenu = CreateMenu();
        AppendMenuW(hmenu, MF_STRING, 9, L"Help");
        LocaliseMenuWith(ChooseMenuTextWriter(Version(VER_PLATFORM_WIN32_NT, dwMajor)), aList,
                         hmenu, 0);
        EXPECT_EQ(L"Hilfe", MenuText(hmenu, 0, MF_BYPOSITION)) << dwMajor;
        EXPECT_EQ(9u, GetMenuItemID(hmenu, 0)) << dwMajor;
        DestroyMenu(hmenu);
    }
}

TEST_F(MenuTest, QueryKnowsOnlyTheTwoViewCommands)
{
    CheckFcsState state = {};
    UINT uState = 99;
    EXPECT_FALSE(QueryCommandState(&state, IDM_ZOOMIN, &uState));
    EXPECT_FALSE(QueryCommandState(&state, IDHELP, &uState));
    state.nZoomMode = ZOOM_WHOLEWIDTH;
    ASSERT_TRUE(QueryCommandState(&state, IDM_WHOLEWIDTH, &uState));
    EXPECT_EQ((UINT)CMDSTATE_CHECKED, uState);
    ASSERT_TRUE(QueryCommandState(&state, IDM_WHOLEPAGE, &uState));
    EXPECT_EQ(0u, uState);
}

TEST_F(MenuTest, CheckMarksFollowTheModeOnMenuAndToolbar)
{
    m_hemf = MakeQuarterMetafile(100, 150);
    CreateFrame(m_hemf, 700, 500);
    HMENU hmenuZoom = GetSubMenu(GetMenu(m_hwndFrame), 0);
    HWND hwndTb = m_state.hwndToolbar;
    struct Case { int nMode; bool bPage, bWidth; };
    for (Case c : {Case{ZOOM_PERCENT, false, false}, Case{ZOOM_WHOLEPAGE, true, false},
                   Case{ZOOM_WHOLEWIDTH, false, true}}) {
        m_state.nZoomMode = c.nMode;
        // A click may have left the opposite look; the update puts it back.
        SendMessageW(hwndTb, TB_CHECKBUTTON, IDM_WHOLEPAGE, !c.bPage);
        UpdateCommandState(&m_state, hmenuZoom, hwndTb);
        EXPECT_EQ(c.bPage, (GetMenuState(hmenuZoom, IDM_WHOLEPAGE, MF_BYCOMMAND) & MF_CHECKED) != 0);
        EXPECT_EQ(c.bWidth, (GetMenuState(hmenuZoom, IDM_WHOLEWIDTH, MF_BYCOMMAND) & MF_CHECKED) != 0);
        EXPECT_EQ(c.bPage, SendMessageW(hwndTb, TB_ISBUTTONCHECKED, IDM_WHOLEPAGE, 0) != 0);
        EXPECT_EQ(c.bWidth, SendMessageW(hwndTb, TB_ISBUTTONCHECKED, IDM_WHOLEWIDTH, 0) != 0);
        EXPECT_TRUE(SendMessageW(hwndTb, TB_ISBUTTONENABLED, IDM_WHOLEPAGE, 0));
        EXPECT_FALSE(GetMenuState(hmenuZoom, IDM_ZOOMIN, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED));
    }
    // The separator and the other items are not touched.
    UINT uSep = GetMenuState(hmenuZoom, 2, MF_BYPOSITION);
    EXPECT_TRUE(uSep & MF_SEPARATOR);
    EXPECT_FALSE(uSep & MF_CHECKED);
}

TEST_F(MenuTest, PopupOfTheFrameIsUpdatedWhenItOpens)
{
    m_hemf = MakeQuarterMetafile(100, 150);
    CreateFrame(m_hemf, 700, 500);
    HMENU hmenuZoom = GetSubMenu(GetMenu(m_hwndFrame), 0);
    m_state.nZoomMode = ZOOM_WHOLEWIDTH;
    SendMessageW(m_hwndFrame, WM_INITMENUPOPUP, (WPARAM)hmenuZoom, MAKELPARAM(0, TRUE));
    EXPECT_FALSE(GetMenuState(hmenuZoom, IDM_WHOLEWIDTH, MF_BYCOMMAND) & MF_CHECKED);
    SendMessageW(m_hwndFrame, WM_INITMENUPOPUP, (WPARAM)hmenuZoom, MAKELPARAM(0, FALSE));
    EXPECT_TRUE(GetMenuState(hmenuZoom, IDM_WHOLEWIDTH, MF_BYCOMMAND) & MF_CHECKED);
}
