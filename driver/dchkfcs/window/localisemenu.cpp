// LocaliseMenu and its two ways of writing menu texts.
#include "localisemenu.h"

#include <wchar.h>

static void ModifyGroupTitle(HMENU hmenuBar, int nGroup, HMENU hmenuSub, const WCHAR *pszText)
{
    if (hmenuSub) {
        ModifyMenuW(hmenuBar, nGroup, MF_BYPOSITION | MF_POPUP, (UINT_PTR)hmenuSub, pszText);
    } else {
        // Not a popup: keep the item's own command id.
        ModifyMenuW(hmenuBar, nGroup, MF_BYPOSITION | MF_STRING, GetMenuItemID(hmenuBar, nGroup),
                    pszText);
    }
}

static void ModifyItemText(HMENU hmenuSub, UINT uId, const WCHAR *pszText)
{
    ModifyMenuW(hmenuSub, uId, MF_BYCOMMAND | MF_STRING, uId, pszText);
}

static void SetStringInfo(HMENU hmenu, UINT uItem, BOOL bByPosition, const WCHAR *pszText)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.fType = 0;
    info.dwTypeData = const_cast<WCHAR *>(pszText);
    info.cch = (UINT)wcslen(pszText);
    SetMenuItemInfoW(hmenu, uItem, bByPosition, &info);
}

static void SetInfoGroupTitle(HMENU hmenuBar, int nGroup, HMENU, const WCHAR *pszText)
{
    SetStringInfo(hmenuBar, (UINT)nGroup, TRUE, pszText);
}

static void SetInfoItemText(HMENU hmenuSub, UINT uId, const WCHAR *pszText)
{
    SetStringInfo(hmenuSub, uId, FALSE, pszText);
}

static const MenuTextWriter s_ModifyMenuWriter = {ModifyGroupTitle, ModifyItemText};
static const MenuTextWriter s_MenuItemInfoWriter = {SetInfoGroupTitle, SetInfoItemText};

const MenuTextWriter *ChooseMenuTextWriter(const OSVERSIONINFOW &version)
{
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 4)
        return &s_ModifyMenuWriter;
    return &s_MenuItemInfoWriter;
}

void LocaliseMenuWith(const MenuTextWriter *pWriter, const UiMenuTextEntry *pList, HMENU hmenuBar,
                      int nGroup)
{
    HMENU hmenuSub = GetSubMenu(hmenuBar, nGroup);
    for (const UiMenuTextEntry *pEntry = pList; pEntry->szKey[0]; ++pEntry) {
        if (pEntry->nCommandId == 0)
            pWriter->pfnSetGroupTitle(hmenuBar, nGroup, hmenuSub, pEntry->szText);
        else if (hmenuSub)
            pWriter->pfnSetItemText(hmenuSub, (UINT)pEntry->nCommandId, pEntry->szText);
    }
}

void LocaliseMenu(const UiMenuTextEntry *pList, HMENU hmenuBar, int nGroup)
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);
    LocaliseMenuWith(ChooseMenuTextWriter(version), pList, hmenuBar, nGroup);
}
