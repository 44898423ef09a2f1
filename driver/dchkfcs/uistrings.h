// The UI string table: every translatable text of the preview window, with
// its built-in English default. LoadUiStrings overwrites texts from section
// Dlg_CheckFAXCoverSheet of VELMORAD.VMD next to the library.
#ifndef DCHKFCS_UISTRINGS_H
#define DCHKFCS_UISTRINGS_H

#include <stdint.h>
#include "uichar.h"

enum { UI_KEY_LEN = 32, UI_ZOOM_TEXT_LEN = 128, UI_TEXT_LEN = 64 };

struct UiZoomEntry {
    char szKey[UI_KEY_LEN];
    int32_t nZoomPercent;
    UiChar szText[UI_ZOOM_TEXT_LEN];
};

struct UiTextEntry {
    char szKey[UI_KEY_LEN];
    UiChar szText[UI_TEXT_LEN];
};

struct UiMenuTextEntry {
    int32_t nCommandId;  // 0: the menu-bar popup itself; -1 on the terminator
    char szKey[UI_KEY_LEN];
    UiChar szText[UI_TEXT_LEN];
};

// Lists end at the first record with an empty key.
extern UiZoomEntry g_aUiZoomList[];        // TBD_500 ... TBD_10
extern UiTextEntry g_UiWindowTitle;        // Dlg_CheckFAXCoverSheet
extern UiMenuTextEntry g_aUiZoomMenu[];    // CfcZoom, Cfcz_*  (menu-bar position 0)
extern UiMenuTextEntry g_aUiHelpMenu[];    // CfcHelp, Cfch_Help (menu-bar position 1)
extern UiTextEntry g_aUiImagePosition[];   // CfcImagePosition, CfcImagePositionX, CfcImagePositionY
extern UiTextEntry g_UiClose;              // CfcClose

void LoadUiStrings();

#endif
