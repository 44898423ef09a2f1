// The UI string table with its built-in English texts. It lives in
// writable static data for the life of the library; LoadUiStrings is the
// only writer.
#include "uistrings.h"

// The zoom list is never localised.
UiZoomEntry g_aUiZoomList[UI_ZOOM_LIST_COUNT] = {
    {"TBD_500", 500, UI_STR("500%")},
    {"TBD_200", 200, UI_STR("200%")},
    {"TBD_150", 150, UI_STR("150%")},
    {"TBD_100", 100, UI_STR("100%")},
    {"TBD_75", 75, UI_STR("75%")},
    {"TBD_50", 50, UI_STR("50%")},
    {"TBD_25", 25, UI_STR("25%")},
    {"TBD_10", 10, UI_STR("10%")},
    {"", 0, UI_STR("")},
};

UiTextEntry g_UiWindowTitle = {"Dlg_CheckFAXCoverSheet", UI_STR("Check On FAX Cover Sheet")};

// Command ids: 40001 Zoom In, 40002 Zoom Out, 40004 View Whole Page,
// 40005 View Whole Width, 9 Help; 0 names the popup itself.
UiMenuTextEntry g_aUiZoomMenu[UI_ZOOM_MENU_COUNT] = {
    {0, "CfcZoom", UI_STR("Zoom")},
    {40001, "Cfcz_ZoomIn", UI_STR("Zoom In")},
    {40002, "Cfcz_ZoomOut", UI_STR("Zoom Out")},
    {40004, "Cfcz_ViewWholePage", UI_STR("View Whole Page")},
    {40005, "Cfcz_ViewWholeWidth", UI_STR("View Whole Width")},
    {-1, "", UI_STR("")},
};

UiMenuTextEntry g_aUiHelpMenu[UI_HELP_MENU_COUNT] = {
    {0, "CfcHelp", UI_STR("Help")},
    {9, "Cfch_Help", UI_STR("Help")},
    {-1, "", UI_STR("")},
};

UiTextEntry g_aUiImagePosition[UI_IMAGE_POSITION_COUNT] = {
    {"CfcImagePosition", UI_STR("Image Position")},
    {"CfcImagePositionX", UI_STR("X")},
    {"CfcImagePositionY", UI_STR("Y")},
    {"", UI_STR("")},
};

UiTextEntry g_UiClose = {"CfcClose", UI_STR("Close")};
