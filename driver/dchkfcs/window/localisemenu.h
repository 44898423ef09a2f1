// Writing the UI string table's texts into the frame's menu.
#ifndef DRIVER_DCHKFCS_WINDOW_LOCALISEMENU_H
#define DRIVER_DCHKFCS_WINDOW_LOCALISEMENU_H

#include <windows.h>

#include "uistrings.h"

// How a text reaches the menu: ModifyMenuW on NT 4, SetMenuItemInfoW
// elsewhere. Chosen once per LocaliseMenu call from the platform version.
struct MenuTextWriter {
    void (*pfnSetGroupTitle)(HMENU hmenuBar, int nGroup, HMENU hmenuSub, const WCHAR *pszText);
    void (*pfnSetItemText)(HMENU hmenuSub, UINT uId, const WCHAR *pszText);
};

const MenuTextWriter *ChooseMenuTextWriter(const OSVERSIONINFOW &version);

// Renames the popup at position nGroup of the menu bar (entries with id 0)
// and its items by command id, until the entry with the empty key.
void LocaliseMenuWith(const MenuTextWriter *pWriter, const UiMenuTextEntry *pList, HMENU hmenuBar,
                      int nGroup);
void LocaliseMenu(const UiMenuTextEntry *pList, HMENU hmenuBar, int nGroup);

#endif
