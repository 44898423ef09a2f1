// LoadUiStrings: overwrites the texts of the UI string table with those of
// section Dlg_CheckFAXCoverSheet of VELMORAD.VMD in the library's folder.
#include <string.h>
#include "module.h"
#include "uistrings.h"
#include "vmdwalk.h"

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

static void ApplyToMenuGroup(VmdFile *pFile, const char *pszKey, uint32_t offText, UiMenuTextEntry *pEntry)
{
    for (; pEntry->szKey[0] != 0; ++pEntry)
        ApplyToText(pFile, pszKey, offText, pEntry->szKey, pEntry->szText);
}

static void ApplyToTextGroup(VmdFile *pFile, const char *pszKey, uint32_t offText, UiTextEntry *pEntry)
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
