// Menu texts through both writers: ModifyMenuW on NT 4 only, the
// SetMenuItemInfoW path everywhere else. A host only ever sees the latter.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "localisemenu.h"
#include "resource.h"

static std::wstring MenuText(HMENU hmenu, UINT uItem, UINT uFlag)
{
    WCHAR sz[64] = L"";
    GetMenuStringW(hmenu, uItem, sz, 64, uFlag);
    return sz;
}

static const MenuTextWriter *Writer(DWORD dwPlatform, DWORD dwMajor)
{
    OSVERSIONINFOW v = {};
    v.dwOSVersionInfoSize = sizeof v;
    v.dwPlatformId = dwPlatform;
    v.dwMajorVersion = dwMajor;
    return ChooseMenuTextWriter(v);
}

TEST(LocaliseMenu, ModifyMenuOnlyOnNt4)
{
    const MenuTextWriter *pNt4 = Writer(VER_PLATFORM_WIN32_NT, 4);
    const MenuTextWriter *pOther = Writer(VER_PLATFORM_WIN32_NT, 6);
    EXPECT_NE(pNt4, pOther);
    EXPECT_EQ(pOther, Writer(VER_PLATFORM_WIN32_NT, 5));
    EXPECT_EQ(pOther, Writer(VER_PLATFORM_WIN32_NT, 3));
    EXPECT_EQ(pOther, Writer(VER_PLATFORM_WIN32_WINDOWS, 4));
}

TEST(LocaliseMenu, BothWritersRenameGroupAndItemsAndKeepThePopup)
{
    const UiMenuTextEntry aList[] = {
        {0, "CfcZoom", L"Zoomen"},
        {40001, "Cfcz_ZoomIn", L"Vergr\u00f6\u00dfern"},
        {40003, "Cfcz_Missing", L"not in the menu"},
        {40005, "Cfcz_ViewWholeWidth", L"Ganze Breite"},
        {-1, "", L""},
    };
    for (DWORD dwMajor : {4u, 6u}) {
        SCOPED_TRACE(dwMajor);
        HMENU hmenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU));
        ASSERT_TRUE(hmenu);
        HMENU hmenuZoom = GetSubMenu(hmenu, 0);
        LocaliseMenuWith(Writer(VER_PLATFORM_WIN32_NT, dwMajor), aList, hmenu, 0);
        EXPECT_EQ(L"Zoomen", MenuText(hmenu, 0, MF_BYPOSITION));
        EXPECT_EQ(hmenuZoom, GetSubMenu(hmenu, 0));
        EXPECT_EQ(L"Vergr\u00f6\u00dfern", MenuText(hmenuZoom, 40001, MF_BYCOMMAND));
        EXPECT_EQ(L"Zoom Out", MenuText(hmenuZoom, 40002, MF_BYCOMMAND));
        EXPECT_EQ(L"Ganze Breite", MenuText(hmenuZoom, 40005, MF_BYCOMMAND));
        EXPECT_EQ(5, GetMenuItemCount(hmenuZoom));
        EXPECT_EQ(L"Help", MenuText(hmenu, 1, MF_BYPOSITION));
        DestroyMenu(hmenu);
    }
}

TEST(LocaliseMenu, MissingPopupOnlyRenamesTheGroup)
{
    const UiMenuTextEntry aList[] = {
        {0, "CfcHelp", L"Hilfe"}, {9, "Cfch_Help", L"Hilfe..."}, {-1, "", L""}};
    for (DWORD dwMajor : {4u, 6u}) {
        HMENU hmenu = CreateMenu();
        AppendMenuW(hmenu, MF_STRING, 9, L"Help");
        LocaliseMenuWith(Writer(VER_PLATFORM_WIN32_NT, dwMajor), aList, hmenu, 0);
        EXPECT_EQ(L"Hilfe", MenuText(hmenu, 0, MF_BYPOSITION)) << dwMajor;
        EXPECT_EQ(9u, GetMenuItemID(hmenu, 0)) << dwMajor;
        DestroyMenu(hmenu);
    }
}
