// The UI string table: every translatable text of the preview window, with
// its built-in English default. LoadUiStrings overwrites texts from section
// Dlg_CheckFAXCoverSheet of VELMORAD.VMD next to the library.
#ifndef DRIVER_DCHKFCS_TEXT_UISTRINGS_H
#define DRIVER_DCHKFCS_TEXT_UISTRINGS_H

#include <stdint.h>
#include "uichar.h"

enum { UI_KEY_LEN = 32, UI_ZOOM_TEXT_LEN = 128, UI_TEXT_LEN = 64 };

// Records in each list, the terminating record included.
enum {
    UI_ZOOM_LIST_COUNT = 9,
    UI_ZOOM_MENU_COUNT = 6,
    UI_HELP_MENU_COUNT = 3,
    UI_IMAGE_POSITION_COUNT = 4
};

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
extern UiZoomEntry g_aUiZoomList[UI_ZOOM_LIST_COUNT];      // TBD_500 ... TBD_10
extern UiTextEntry g_UiWindowTitle;                        // Dlg_CheckFAXCoverSheet
extern UiMenuTextEntry g_aUiZoomMenu[UI_ZOOM_MENU_COUNT];  // CfcZoom, Cfcz_* (menu-bar position 0)
extern UiMenuTextEntry
    g_aUiHelpMenu[UI_HELP_MENU_COUNT];  // CfcHelp, Cfch_Help (menu-bar position 1)
extern UiTextEntry g_aUiImagePosition[UI_IMAGE_POSITION_COUNT];  // CfcImagePosition, ...X, ...Y
extern UiTextEntry g_UiClose;                                    // CfcClose

void LoadUiStrings();

#endif
