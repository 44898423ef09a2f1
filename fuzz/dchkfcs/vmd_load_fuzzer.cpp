// Arbitrary bytes as VELMORAD.VMD for LoadUiStrings, read once in buffer
// mode and once in fallback mode. Both must end (libFuzzer's timeout), stay
// inside the table (ASan, and the checks below) and give the same table.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <vector>
#include "text_test_util.h"

static bool Terminated(const UiChar *psz, size_t cch)
{
    for (size_t i = 0; i < cch; ++i) {
        if (psz[i] == 0)
            return true;
    }
    return false;
}

// Keys, ids and the zoom list never change; every text stays terminated
// within its field. A write past a text field would hit the next record's
// id or key.
static void CheckTable(const UiTableSnapshot &defaults)
{
    UiTableSnapshot now;
    UiZoomEntry aZoom[UI_ZOOM_LIST_COUNT];
    memcpy(aZoom, g_aUiZoomList, sizeof aZoom);
    defaults.Restore();
    bool fZoomSame = memcmp(aZoom, g_aUiZoomList, sizeof aZoom) == 0;
    UiMenuTextEntry aZoomMenu[UI_ZOOM_MENU_COUNT], aHelpMenu[UI_HELP_MENU_COUNT];
    UiTextEntry aImage[UI_IMAGE_POSITION_COUNT], title = g_UiWindowTitle, close = g_UiClose;
    memcpy(aZoomMenu, g_aUiZoomMenu, sizeof aZoomMenu);
    memcpy(aHelpMenu, g_aUiHelpMenu, sizeof aHelpMenu);
    memcpy(aImage, g_aUiImagePosition, sizeof aImage);
    now.Restore();
    if (!fZoomSame || strcmp(title.szKey, g_UiWindowTitle.szKey) != 0 || strcmp(close.szKey, g_UiClose.szKey) != 0)
        abort();
    if (!Terminated(g_UiWindowTitle.szText, UI_TEXT_LEN) || !Terminated(g_UiClose.szText, UI_TEXT_LEN))
        abort();
    for (int i = 0; i < UI_ZOOM_MENU_COUNT; ++i) {
        if (aZoomMenu[i].nCommandId != g_aUiZoomMenu[i].nCommandId ||
            strcmp(aZoomMenu[i].szKey, g_aUiZoomMenu[i].szKey) != 0 || !Terminated(g_aUiZoomMenu[i].szText, UI_TEXT_LEN))
            abort();
    }
    for (int i = 0; i < UI_HELP_MENU_COUNT; ++i) {
        if (aHelpMenu[i].nCommandId != g_aUiHelpMenu[i].nCommandId ||
            strcmp(aHelpMenu[i].szKey, g_aUiHelpMenu[i].szKey) != 0 || !Terminated(g_aUiHelpMenu[i].szText, UI_TEXT_LEN))
            abort();
    }
    for (int i = 0; i < UI_IMAGE_POSITION_COUNT; ++i) {
        if (strcmp(aImage[i].szKey, g_aUiImagePosition[i].szKey) != 0 ||
            !Terminated(g_aUiImagePosition[i].szText, UI_TEXT_LEN))
            abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cbData)
{
    static DataFolder s_folder;          // sets the module folder once
    static UiTableSnapshot s_defaults;   // the built-in texts
    s_folder.WriteVmd(std::vector<uint8_t>(pData, pData + cbData));

    s_defaults.Restore();
    LoadUiStrings();
    CheckTable(s_defaults);
    UiTableSnapshot buffered;

    s_defaults.Restore();
    {
        ScopedFileOps ops(ReadMode::FallbackSize);
        LoadUiStrings();
    }
    CheckTable(s_defaults);
    if (!(UiTableSnapshot() == buffered))
        abort();
    return 0;
}
