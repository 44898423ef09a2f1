// Texts from a VELMORAD.VMD beside the library: built-in defaults without the
// file, translations with it, and translations that stay for the life of the
// library once loaded.
#include "previewtest.h"
#include "vmdbytes.h"

struct ShownTexts {
    std::wstring title, zoomMenu, helpMenu, zoomIn, zoomOut, wholePage, wholeWidth, help;
    std::wstring position, close, zoomItem100;
};

static std::wstring MenuText(HMENU hMenu, UINT uItem, UINT uFlags)
{
    WCHAR sz[128] = L"";
    GetMenuStringW(hMenu, uItem, sz, ARRAYSIZE(sz), uFlags);
    return sz;
}

static ShownTexts ReadTexts(const PreviewWindows &w)
{
    ShownTexts t;
    HMENU hMenu = GetMenu(w.frame);
    HMENU hZoom = GetSubMenu(hMenu, 0), hHelp = GetSubMenu(hMenu, 1);
    t.title = WindowText(w.frame);
    t.zoomMenu = MenuText(hMenu, 0, MF_BYPOSITION);
    t.helpMenu = MenuText(hMenu, 1, MF_BYPOSITION);
    t.zoomIn = MenuText(hZoom, IDM_ZOOMIN, MF_BYCOMMAND);
    t.zoomOut = MenuText(hZoom, IDM_ZOOMOUT, MF_BYCOMMAND);
    t.wholePage = MenuText(hZoom, IDM_WHOLEPAGE, MF_BYCOMMAND);
    t.wholeWidth = MenuText(hZoom, IDM_WHOLEWIDTH, MF_BYCOMMAND);
    t.help = MenuText(hHelp, ID_HELP, MF_BYCOMMAND);
    t.position = WindowText(GetDlgItem(w.dialog, IDC_IMAGEPOS));
    t.close = WindowText(GetDlgItem(w.dialog, ID_CANCEL));
    WCHAR sz[32] = L"";
    SendMessageW(w.zoomBox, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(sz));
    t.zoomItem100 = sz;
    return t;
}

static void ExpectTranslated(const ShownTexts &t)
{
    EXPECT_EQ(L"\x8868\x7D19\x306E\x78BA\x8A8D", t.title);
    EXPECT_EQ(L"\x30BA\x30FC\x30E0(&Z)", t.zoomMenu);
    EXPECT_EQ(L"Enlarge", t.zoomIn);
    EXPECT_EQ(L"Zoom Out", t.zoomOut);             // not in the file
    EXPECT_EQ(L"Fit Page", t.wholePage);           // the last of two entries
    EXPECT_EQ(L"View Whole Width", t.wholeWidth);  // empty text in the file
    EXPECT_EQ(L"Help", t.helpMenu);
    EXPECT_EQ(L"Manual", t.help);
    EXPECT_EQ(L"Pos H 12 V -3", t.position);
    EXPECT_EQ(L"Done", t.close);
    EXPECT_EQ(L"100%", t.zoomItem100);  // the zoom list is never translated
}

static std::vector<uint8_t> TranslationFile()
{
    return BuildVmd("dlg_checkfaxcoversheet",  // the section name in other letter case
                    {{"Dlg_CheckFAXCoverSheet", L"\x8868\x7D19\x306E\x78BA\x8A8D"},
                     {"cfczoom", L"\x30BA\x30FC\x30E0(&Z)"},
                     {"Cfcz_ZoomIn", L"Enlarge"},
                     {"Cfcz_ViewWholePage", L"Whole Page"},
                     {"Cfcz_ViewWholeWidth", L""},
                     {"TBD_100", L"hundred"},
                     {"Cfcz_ViewWholePage", L"Fit Page"},
                     {"Cfch_Help", L"Manual"},
                     {"CfcImagePosition", L"Pos"},
                     {"CFCIMAGEPOSITIONX", L"H"},
                     {"CfcImagePositionY", L"V"},
                     {"CfcUnknownKey", L"ignored"},
                     {"CfcClose", L"Done"}});
}

TEST(PreviewTexts, DefaultsThenTranslationsThatOutliveTheFile)
{
    PreviewLibrary lib;
    ASSERT_TRUE(lib.Load());
    HWND parent = CreateParentWindow();
    HENHMETAFILE sheet = CreateCoverSheet(21000, 29700);
    auto readAndClose = [](ShownTexts *pTexts) {
        return std::vector<PreviewStep>{{50, [pTexts](const PreviewWindows &w) {
            *pTexts = ReadTexts(w);
            PostMessageW(w.frame, WM_CLOSE, 0, 0);
        }}};
    };

    ShownTexts shown;
    EXPECT_EQ(1, RunPreview(lib, parent, sheet, 12, -3, readAndClose(&shown)));
    EXPECT_EQ(L"Check On FAX Cover Sheet", shown.title);
    EXPECT_EQ(L"Zoom", shown.zoomMenu);
    EXPECT_EQ(L"Help", shown.helpMenu);
    EXPECT_EQ(L"Zoom In", shown.zoomIn);
    EXPECT_EQ(L"View Whole Page", shown.wholePage);
    EXPECT_EQ(L"Help", shown.help);
    EXPECT_EQ(L"Image Position X 12 Y -3", shown.position);
    EXPECT_EQ(L"Close", shown.close);

    ASSERT_TRUE(lib.WriteDataFile(TranslationFile()));
    EXPECT_EQ(1, RunPreview(lib, parent, sheet, 12, -3, readAndClose(&shown)));
    {
        SCOPED_TRACE("with the file");
        ExpectTranslated(shown);
    }

    lib.RemoveDataFile();
    EXPECT_EQ(1, RunPreview(lib, parent, sheet, 12, -3, readAndClose(&shown)));
    {
        SCOPED_TRACE("after the file is gone");
        ExpectTranslated(shown);
    }

    // A file without the section changes nothing either.
    ASSERT_TRUE(lib.WriteDataFile(BuildVmd("Dlg_Other", {{"CfcClose", L"Shut"}})));
    EXPECT_EQ(1, RunPreview(lib, parent, sheet, 12, -3, readAndClose(&shown)));
    EXPECT_EQ(L"Done", shown.close);
    DeleteEnhMetaFile(sheet);
    DestroyWindow(parent);
}

TEST(PreviewTexts, AFreshLibraryStartsFromTheDefaults)
{
    PreviewLibrary lib;
    ASSERT_TRUE(lib.Load());
    HWND parent = CreateParentWindow();
    HENHMETAFILE sheet = CreateCoverSheet(21000, 29700);
    ShownTexts shown;
    EXPECT_EQ(1, RunPreview(lib, parent, sheet, 1, 2, {{50, [&](const PreviewWindows &w) {
        shown = ReadTexts(w);
        PostMessageW(w.frame, WM_CLOSE, 0, 0);
    }}}));
    EXPECT_EQ(L"Check On FAX Cover Sheet", shown.title);
    EXPECT_EQ(L"Close", shown.close);
    EXPECT_EQ(L"Image Position X 1 Y 2", shown.position);
    DeleteEnhMetaFile(sheet);
    DestroyWindow(parent);
}
