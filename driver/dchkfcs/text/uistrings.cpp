// The UI string table with its built-in English texts, and LoadUiStrings,
// which overwrites them from section Dlg_CheckFAXCoverSheet of VELMORAD.VMD
// in the library's folder. The table lives in writable static data for the
// life of the library; LoadUiStrings is its only writer.
#include "uistrings.h"

#include <string.h>

#include "module.h"
#include "resource.h"
#include "vmdwalk.h"

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

// Id 0 names the popup itself.
UiMenuTextEntry g_aUiZoomMenu[UI_ZOOM_MENU_COUNT] = {
    {0, "CfcZoom", UI_STR("Zoom")},
    {IDM_ZOOMIN, "Cfcz_ZoomIn", UI_STR("Zoom In")},
    {IDM_ZOOMOUT, "Cfcz_ZoomOut", UI_STR("Zoom Out")},
    {IDM_WHOLEPAGE, "Cfcz_ViewWholePage", UI_STR("View Whole Page")},
    {IDM_WHOLEWIDTH, "Cfcz_ViewWholeWidth", UI_STR("View Whole Width")},
    {-1, "", UI_STR("")},
};

UiMenuTextEntry g_aUiHelpMenu[UI_HELP_MENU_COUNT] = {
    {0, "CfcHelp", UI_STR("Help")},
    {IDHELP, "Cfch_Help", UI_STR("Help")},
    {-1, "", UI_STR("")},
};

UiTextEntry g_aUiImagePosition[UI_IMAGE_POSITION_COUNT] = {
    {"CfcImagePosition", UI_STR("Image Position")},
    {"CfcImagePositionX", UI_STR("X")},
    {"CfcImagePositionY", UI_STR("Y")},
    {"", UI_STR("")},
};

UiTextEntry g_UiClose = {"CfcClose", UI_STR("Close")};

static const char s_szSection[] = "Dlg_CheckFAXCoverSheet";
static const UiChar s_szDataFile[] = UI_STR("VELMORAD.VMD");

enum { KEY_BUFFER_LEN = 260 };

// A folder so deep that the whole path does not fit counts as no file.
static bool BuildDataFilePath(UiChar *pszPath)
{
    if (!GetModuleFolder(pszPath, VMD_PATH_LEN))
        return false;
    size_t cchFolder = UiTextLength(pszPath, VMD_PATH_LEN);
    if (cchFolder + sizeof s_szDataFile / sizeof(UiChar) > VMD_PATH_LEN)
        return false;
    memcpy(pszPath + cchFolder, s_szDataFile, sizeof s_szDataFile);
    return true;
}

static void ApplyToText(VmdFile *pFile, const char *pszKey, uint32_t offText,
                        const char *pszEntryKey, UiChar *pszText)
{
    if (VmdNamesEqual(pszKey, pszEntryKey))
        VmdReadWideString(pFile, offText, pszText, UI_TEXT_LEN);
}

static void ApplyToMenuGroup(VmdFile *pFile, const char *pszKey, uint32_t offText,
                             UiMenuTextEntry *pEntry)
{
    for (; pEntry->szKey[0] != 0; ++pEntry)
        ApplyToText(pFile, pszKey, offText, pEntry->szKey, pEntry->szText);
}

static void ApplyToTextGroup(VmdFile *pFile, const char *pszKey, uint32_t offText,
                             UiTextEntry *pEntry)
{
    for (; pEntry->szKey[0] != 0; ++pEntry)
        ApplyToText(pFile, pszKey, offText, pEntry->szKey, pEntry->szText);
}

// Every matching entry takes the text, in table order; the zoom list is
// not looked at.
static void ApplyEntry(VmdFile *pFile, const char *pszKey, uint32_t offText)
{
    ApplyToText(pFile, pszKey, offText, g_UiWindowTitle.szKey, g_UiWindowTitle.szText);
    ApplyToMenuGroup(pFile, pszKey, offText, g_aUiZoomMenu);
    ApplyToMenuGroup(pFile, pszKey, offText, g_aUiHelpMenu);
    ApplyToTextGroup(pFile, pszKey, offText, g_aUiImagePosition);
    ApplyToText(pFile, pszKey, offText, g_UiClose.szKey, g_UiClose.szText);
}

// Reads that fail leave zeros: the key is then empty and matches nothing.
static void ApplySection(VmdFile *pFile, uint32_t offSection, const uint8_t *pHead)
{
    uint8_t counts[VMD_SECTION_COUNTS_SIZE];
    memset(counts, 0, sizeof counts);
    VmdReadSectionCounts(pFile, offSection + VMD_SECTION_HEAD_SIZE, counts);
    VmdEntryWalk walk;
    uint8_t entry[VMD_ENTRY_SIZE];
    VmdStartEntryWalk(&walk, pHead, counts);
    while (VmdReadNextEntry(pFile, &walk, entry) == VMD_WALK_RECORD) {
        char szKey[KEY_BUFFER_LEN];
        memset(szKey, 0, sizeof szKey);
        VmdReadString(pFile, VmdGetU32(entry + VMD_ENTRY_KEY), szKey, sizeof szKey);
        ApplyEntry(pFile, szKey, VmdGetU32(entry + VMD_ENTRY_TEXT));
    }
}

void LoadUiStrings()
{
    UiChar szPath[VMD_PATH_LEN];
    if (!BuildDataFilePath(szPath))
        return;
    VmdFile *pFile = VmdOpen(szPath);
    if (!pFile)
        return;
    uint8_t head[VMD_SECTION_HEAD_SIZE];
    uint32_t offSection = VmdFindSection(pFile, s_szSection);
    if (VmdReadSectionHead(pFile, offSection, head))
        ApplySection(pFile, offSection, head);
    VmdClose(pFile);
}
