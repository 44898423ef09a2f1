// Arbitrary bytes as VELMORAD.VMD for LoadUiStrings, read once in buffer
// mode and once in fallback mode. Both must end (libFuzzer's timeout), stay
// inside the table (ASan; a write past a text field would change the next
// record's id or key) and give the same table.
#include <algorithm>
#include <stdlib.h>
#include <string.h>
#include "text_test_util.h"

// The text fields that LoadUiStrings may write: all but the zoom list's.
static std::vector<UiChar *> TextFields()
{
    std::vector<UiChar *> fields{g_UiWindowTitle.szText, g_UiClose.szText};
    for (UiMenuTextEntry &e : g_aUiZoomMenu)
        fields.push_back(e.szText);
    for (UiMenuTextEntry &e : g_aUiHelpMenu)
        fields.push_back(e.szText);
    for (UiTextEntry &e : g_aUiImagePosition)
        fields.push_back(e.szText);
    return fields;
}

// The table in force with those fields blanked.
static UiTable WithoutTexts(const UiTable &table)
{
    RestoreUiTable(table);
    for (UiChar *pszText : TextFields())
        memset(pszText, 0, UI_TEXT_LEN * sizeof(UiChar));
    return SaveUiTable();
}

// Since original: only texts changed, each terminated within its field.
// A write past a text field would change the key or id behind it.
static bool OnlyUiTextsChanged(const UiTable &original)
{
    UiTable now = SaveUiTable();
    bool fTerminated = true;
    for (const UiChar *pszText : TextFields())
        fTerminated &=
            std::find(pszText, pszText + UI_TEXT_LEN, UiChar(0)) != pszText + UI_TEXT_LEN;
    bool fSame = WithoutTexts(now) == WithoutTexts(original);
    RestoreUiTable(now);
    return fTerminated && fSame;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cbData)
{
    static DataFolder s_folder;                       // sets the module folder once
    static const UiTable s_defaults = SaveUiTable();  // the built-in texts
    s_folder.WriteVmd(Bytes(pData, pData + cbData));

    RestoreUiTable(s_defaults);
    LoadUiStrings();
    UiTable buffered = SaveUiTable();
    if (!OnlyUiTextsChanged(s_defaults))
        abort();

    RestoreUiTable(s_defaults);
    {
        ScopedFileOps ops(FileOps::FallbackSize);
        LoadUiStrings();
    }
    if (SaveUiTable() != buffered)
        abort();
    return 0;
}
